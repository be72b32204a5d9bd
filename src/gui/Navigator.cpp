#include "gui/Navigator.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QWidget>

namespace kolvane {

NavButtons BuildNavigator(QWidget* bar, std::span<const NavEntry> entries,
                          const std::function<void(const QString&)>& onClick) {
    auto* h = new QHBoxLayout(bar);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    NavButtons buttons;
    for (const NavEntry& e : entries) {
        auto* b = new QToolButton(bar);
        const QString hint = QString::fromUtf8(e.hint);
        if (e.icon == QStyle::SP_CustomBase)
            b->setText(QString::fromUtf8(e.text));
        else
            b->setIcon(bar->style()->standardIcon(e.icon));
        b->setToolTip(hint);
        b->setFixedSize(25, 23);
        b->setFocusPolicy(Qt::NoFocus);
        QObject::connect(b, &QToolButton::clicked, bar, [onClick, hint] { onClick(hint); });
        h->addWidget(b);
        buttons.emplace_back(hint, b);
    }
    h->addStretch();
    return buttons;
}

} // namespace kolvane
