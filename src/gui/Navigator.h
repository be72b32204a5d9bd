// The row of record-navigation buttons above a table (first, previous,
// next, last, and for an editable table insert, delete, edit, post, cancel,
// refresh).
#pragma once

#include <QString>
#include <QStyle>

#include <functional>
#include <span>
#include <utility>
#include <vector>

class QToolButton;
class QWidget;

namespace kolvane {

struct NavEntry {
    const char* hint;
    QStyle::StandardPixmap icon; // SP_CustomBase: `text` instead
    const char* text;
};

using NavButtons = std::vector<std::pair<QString, QToolButton*>>;

// Lays the buttons out on `bar`, each with its hint as tooltip, taking no
// focus; a click calls `onClick` with the button's hint.
NavButtons BuildNavigator(QWidget* bar, std::span<const NavEntry> entries,
                          const std::function<void(const QString&)>& onClick);

} // namespace kolvane
