#include "gui/ControlWidgets.h"
#include "print/QtText.h"

#include "form/ComboBoxU.h"
#include "form/Controls.h"
#include "gui/ColorMap.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QWheelEvent>

namespace kolvane {

namespace {
template <typename W, typename F> void Observe(Component& c, W* w, F f) {
    QPointer<W> self(w);
    c.subscribe([self, f](Component& comp, Change ch) {
        if (self) f(self.data(), comp, ch);
    });
}
} // namespace

void BindCommon(Component& c, QWidget* w) {
    w->setObjectName(Q(c.name()));
    w->setEnabled(c.enabled());
    if (!c.hint().empty()) {
        w->setToolTip(Q(c.hint()));
        w->setProperty("hint", Q(c.hint()));
    }
    Observe(c, w, [](QWidget* self, Component& comp, Change ch) {
        if (ch == Change::Enabled) self->setEnabled(comp.enabled());
    });
}

ListWidget::ListWidget(TComboBox& list, Guard guard, QWidget* parent)
    : QComboBox(parent), list_(list), guard_(std::move(guard)) {
    BindCommon(list, this);
    if (dynamic_cast<TComboBoxU*>(&list)) setFocusPolicy(Qt::ClickFocus); // never a tab stop
    reload();
    Observe(list, this, [](ListWidget* self, Component&, Change ch) {
        if (ch == Change::Items || ch == Change::Selection) self->reload();
    });
    connect(this, &QComboBox::activated, this,
            [this](int index) { guard_([&] { list_.Select(index); }); });
}

void ListWidget::reload() {
    QSignalBlocker block(this);
    // Rebuilt when the items changed, also in their labels alone (a unit
    // renamed with the tube form).
    QStringList labels;
    for (const auto& item : list_.items())
        labels << Q(ItemLabel(item));
    bool same = count() == labels.size();
    for (int i = 0; same && i < count(); ++i)
        same = itemText(i) == labels[i];
    if (!same) {
        clear();
        addItems(labels);
    }
    setCurrentIndex(list_.itemIndex());
}

void ListWidget::focusOutEvent(QFocusEvent* e) {
    QComboBox::focusOutEvent(e);
    if (ExitRunsOn(e) && list_.onExit) guard_([this] { list_.onExit(list_); });
}

void ListWidget::wheelEvent(QWheelEvent* e) {
    e->ignore();
}

QWidget* CreateControlWidget(Component& c, const Guard& guard, QWidget* parent) {
    if (auto* label = dynamic_cast<TLabel*>(&c)) {
        auto* w = new QLabel(Q(label->caption()), parent);
        BindCommon(c, w);
        Observe(c, w, [](QLabel* self, Component& comp, Change ch) {
            if (ch == Change::Caption) self->setText(Q(static_cast<TLabel&>(comp).caption()));
        });
        return w;
    }
    if (auto* edit = dynamic_cast<TEdit*>(&c)) {
        auto* w = new QLineEdit(Q(edit->text()), parent);
        BindCommon(c, w);
        auto look = [](QLineEdit* self, TEdit& e) {
            self->setReadOnly(e.readOnly());
            // A text the program writes (the heat direction) is no stop for
            // Tab and Enter; a click still reaches it.
            self->setFocusPolicy(e.readOnly() ? Qt::ClickFocus : Qt::StrongFocus);
            // System colours from the style, not from the colours set before.
            const QPalette system = QApplication::palette(self);
            QPalette p = self->palette();
            for (auto group : {QPalette::Active, QPalette::Inactive}) {
                p.setColor(group, QPalette::Base, ToQColor(e.color(), system));
                p.setColor(group, QPalette::Text, ToQColor(e.fontColor(), system));
            }
            p.setColor(QPalette::Disabled, QPalette::Text, ToQColor(kGrayText, system));
            self->setPalette(p);
        };
        look(w, *edit);
        Observe(c, w, [look](QLineEdit* self, Component& comp, Change ch) {
            auto& e = static_cast<TEdit&>(comp);
            if (ch == Change::Text && self->text() != Q(e.text())) self->setText(Q(e.text()));
            if (ch == Change::Look) look(self, e);
        });
        QObject::connect(w, &QLineEdit::textEdited, w, [edit, guard](const QString& t) {
            guard([&] { edit->setText(t.toStdString()); });
        });
        return w;
    }
    if (auto* box = dynamic_cast<TCheckBox*>(&c)) {
        auto* w = new QCheckBox(Q(box->caption()), parent);
        w->setChecked(box->checked());
        BindCommon(c, w);
        Observe(c, w, [](QCheckBox* self, Component& comp, Change ch) {
            if (ch != Change::Checked) return;
            QSignalBlocker block(self);
            self->setChecked(static_cast<TCheckBox&>(comp).checked());
        });
        QObject::connect(w, &QCheckBox::clicked, w, [box, guard](bool checked) {
            if (box->checked() != checked) guard([&] { box->Click(); });
        });
        return w;
    }
    if (auto* rich = dynamic_cast<TRichEdit*>(&c)) {
        auto* w = new QPlainTextEdit(Q(rich->text()), parent);
        // Enter and the arrow keys stay in the box for its lines; Tab leaves
        // it, as it leaves every other control.
        w->setTabChangesFocus(true);
        BindCommon(c, w);
        Observe(c, w, [](QPlainTextEdit* self, Component& comp, Change ch) {
            const auto& t = static_cast<TRichEdit&>(comp).text();
            if (ch == Change::Text && self->toPlainText().toStdString() != t)
                self->setPlainText(Q(t));
        });
        QObject::connect(w, &QPlainTextEdit::textChanged, w, [w, rich, guard] {
            std::string t = w->toPlainText().toStdString();
            if (t != rich->text()) guard([&] { rich->setText(t); });
        });
        return w;
    }
    if (auto* button = dynamic_cast<TButton*>(&c)) {
        auto* w = new QPushButton(Q(button->caption()), parent);
        w->setFocusPolicy(Qt::NoFocus); // like speed buttons: the field keeps the focus
        BindCommon(c, w);
        QObject::connect(w, &QPushButton::clicked, w,
                         [button, guard] { guard([&] { button->Click(); }); });
        return w;
    }
    return nullptr;
}

} // namespace kolvane
