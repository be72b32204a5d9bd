#pragma once

#include "form/Colors.h"

#include <QColor>
#include <QPalette>

namespace kolvane {

// A stored colour (platform reference or system-colour code) as a Qt colour;
// system colours come from the palette.
inline QColor ToQColor(Color c, const QPalette& palette) {
    if (c == kClWindow) return palette.color(QPalette::Active, QPalette::Base);
    if (c == kClWindowText) return palette.color(QPalette::Active, QPalette::Text);
    if (c == kClBtnFace) return QColor(0xEC, 0xE9, 0xD8).darker(103);
    if (IsSystemColor(c)) return palette.color(QPalette::Active, QPalette::Window);
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace kolvane
