#include "form/FormKolvane.h"

#include "engine/MainFormTables.h"
#include "form/UiServices.h"

#include <stdexcept>

namespace kolvane {

namespace {

std::vector<std::string> ItemsOf(const ChoiceList& list) {
    return {list.items.begin(), list.items.end()};
}

} // namespace

TFormKolvane::TFormKolvane(UiServices& ui, std::string programDir)
    : ui_(ui), programDir_(std::move(programDir)) {
    build();
    project_.bind();
    pickers_.bind();
    pickers_.openTables();
}

void TFormKolvane::build() {
    for (const ControlRow& row : MainLayout()) {
        Component* parent = *row.parent ? form_.find(row.parent) : nullptr;
        switch (row.kind) {
        case ControlKind::Page:
            form_.add<TContainer>(parent, row.name, row.caption, "TTabSheet");
            break;
        case ControlKind::Group:
            form_.add<TContainer>(parent, row.name, row.caption, "TGroupBox");
            break;
        case ControlKind::Quantity:
            buildQuantity(row, parent);
            break;
        case ControlKind::Label:
            form_.add<TLabel>(parent, row.name, row.caption);
            break;
        case ControlKind::Text: {
            if (*row.caption) form_.add<TLabel>(parent, LabelName(row.name), row.caption);
            auto& e = form_.add<TEdit>(parent, row.name);
            e.setText(row.extra);
            std::string_view n = row.name;
            if (n == "HToD" || n == "HTiD") {
                // Heat-direction texts: set by the phase handler, never typed.
                e.setReadOnly(true);
                e.setColor(kClBtnFace);
                e.setFontColor(kBlue);
            } else if (n == "LaoD") {
                e.setEnabled(false);
            }
            break;
        }
        case ControlKind::Choice: {
            if (*row.caption) form_.add<TLabel>(parent, LabelName(row.name), row.caption);
            const ChoiceList* list = FindChoiceList(row.extra);
            if (!list) throw std::logic_error(std::string("no choice list ") + row.extra);
            auto& c = form_.add<TComboBox>(parent, row.name, ItemsOf(*list));
            c.setItemIndex(list->defaultIndex);
            break;
        }
        case ControlKind::Check:
            form_.add<TCheckBox>(parent, row.name, row.caption);
            break;
        case ControlKind::Rich:
            if (*row.caption) form_.add<TLabel>(parent, LabelName(row.name), row.caption);
            form_.add<TRichEdit>(parent, row.name);
            break;
        case ControlKind::Button:
        case ControlKind::PushButton: {
            auto& b = form_.add<TButton>(parent, row.name, row.caption,
                                         row.kind == ControlKind::PushButton ? "TButton"
                                                                             : "TSpeedButton");
            b.setHint(row.extra);
            break;
        }
        }
    }

    // Menu commands whose state the core decides.
    save_ = &form_.add<TButton>(nullptr, "MFSave", "&S 保存", "TMenuItem");
    save_->setEnabled(false);
    projectChanged_ = false;

    // End of loading: every unit selector on its first item.
    for (const auto& c : form_.components())
        if (auto* u = dynamic_cast<TComboBoxU*>(c.get())) u->Loaded();

    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i] = &form_.get<TEditD>(FieldTable()[i].name);
        selectors_[i] = selectorOf(*fields_[i]);
    }
    wireHandlers();
}

void TFormKolvane::wireHandlers() {
    options_.phi = &list("PhiD");
    options_.tshape = &list("TShapeD");
    options_.evt = &list("EVTD");
    options_.tubeMaterial = &list("TmD");
    options_.vesselMaterial = &list("SmD");
    options_.insulation = &list("PmD");
    options_.stirrer = &list("mitD");
    options_.vessel = &list("VND");
    options_.ifMix = &form_.get<TCheckBox>("ifMix");
    options_.htTube = &form_.get<TEdit>("HTiD");
    options_.htVessel = &form_.get<TEdit>("HToD");

    auto bind = [this](void (TFormKolvane::*h)(Component&)) {
        return [this, h](Component& c) { (this->*h)(c); };
    };
    // An option that changes what the results mean runs the pass after its
    // own handler; loading a project runs the handlers alone.
    auto thenPass = [this](void (TFormKolvane::*h)(Component&)) {
        return [this, h](Component& c) {
            (this->*h)(c);
            OptionChanged(c);
        };
    };
    options_.phi->onChange = thenPass(&TFormKolvane::PhiDChange);
    options_.phi->onExit = bind(&TFormKolvane::MaoDExit);
    list("PhoD").onExit = bind(&TFormKolvane::MaoDExit);
    options_.tshape->onChange = thenPass(&TFormKolvane::TShapeDChange);
    options_.vessel->onClick = bind(&TFormKolvane::VNDClick);
    options_.vessel->onChange = thenPass(&TFormKolvane::VNDChange);
    options_.ifMix->onClick = thenPass(&TFormKolvane::ifMixClick);
    for (TComboBox* l :
         {options_.evt, options_.tubeMaterial, options_.vesselMaterial, options_.insulation})
        l->onChange = thenPass(&TFormKolvane::MaoDChange);
    options_.stirrer->onChange = bind(&TFormKolvane::OptionChanged);
    // The stirred correlations read the blade and the speed from the vessel
    // page: leaving them, with stirring on, runs the pass, which also checks
    // the blade against the vessel (the vessel diameter's own handler runs
    // the pass for it). So does carrying area and mass over.
    for (auto id : {fid::midD, fid::rvD})
        f(id).onExit = [this](Component& c) {
            if (options_.ifMix->checked()) OptionChanged(c);
        };
    form_.get<TButton>("BTVessel").onClick = bind(&TFormKolvane::BTVesselClick);
    // "容器定义…" beside the basic data: the vessel page, where the shape,
    // volume and fill give the loss area and the mass.
    form_.get<TButton>("SBVessel").onClick = [this](Component&) { ui_.showPage("TSVessel"); };
    trackProjectEdits();

    // The vessel page opens laid out for its first shape, stirring off.
    VNDChange(*options_.vessel);
    ifMixClick(*options_.ifMix);
}

void TFormKolvane::trackProjectEdits() {
    // Whatever the project keeps and the user can change — a typed text on
    // any page, a comment, a choice, a unit, the stirring switch — marks the
    // project changed before its own handler runs, so that no question about
    // unsaved changes is skipped. The quantity fields do so by their table.
    // The report page is no input: it is made anew from the window.
    auto marking = [this](Component::Handler own) {
        return [this, own = std::move(own)](Component& c) {
            setProjectChanged(true);
            if (own) own(c);
        };
    };
    for (const auto& owned : form_.components()) {
        Component& c = *owned;
        if (dynamic_cast<TEditD*>(&c) || c.name() == "RichEditReport") continue;
        if (dynamic_cast<TEdit*>(&c) || dynamic_cast<TRichEdit*>(&c) ||
            dynamic_cast<TComboBox*>(&c))
            c.onChange = marking(std::move(c.onChange));
        else if (dynamic_cast<TCheckBox*>(&c))
            c.onClick = marking(std::move(c.onClick));
    }
}

void TFormKolvane::enableRow(std::string_view fieldName, bool on) {
    // A field's row: caption label, field and unit selector together.
    TEditD& e = field(fieldName);
    e.setEnabled(on);
    if (TLabel* l = e.MyLabel()) l->setEnabled(on);
    if (TComboBoxU* u = selectorOf(e)) u->setEnabled(on);
}

void TFormKolvane::buildQuantity(const ControlRow& row, Component* parent) {
    const FieldRow* f = FindField(row.name);
    if (!f) throw std::logic_error(std::string("no field row for ") + row.name);
    auto& label = form_.add<TLabel>(parent, LabelName(f->name), f->caption);
    auto& e = form_.add<TEditD>(parent, f->name);
    std::vector<std::string> items;
    for (const UnitItem& u : UnitLists()[static_cast<std::size_t>(f->unitList - 1)])
        items.push_back(UnitItemText(u));
    auto& unit = form_.add<TComboBoxU>(parent, SelectorName(f->name), std::move(items));
    unit.setAssociated(&e);
    e.setMyLabel(label.name());

    e.setFontColor(std::string_view(f->name) == "PivD" ? kBlue : kClWindowText);
    switch (f->start) {
    case StartLook::Input:
        break;
    case StartLook::Result:
        e.setColor(kClBtnFace);
        e.setReadOnly(true);
        break;
    case StartLook::ResultEditable:
    case StartLook::InputOnButtonFace:
        e.setColor(kClBtnFace);
        break;
    case StartLook::Disabled:
        e.setEnabled(false);
        label.setEnabled(false);
        unit.setEnabled(false);
        break;
    }
    e.setText(f->text);
    if (f->changeHandler) e.onChange = [this](Component& c) { MaoDChange(c); };
    switch (f->exit) {
    case ExitHandler::None:
        break;
    case ExitHandler::MaoDExit:
        e.onExit = [this](Component& c) { MaoDExit(c); };
        break;
    case ExitHandler::VsDExit:
        e.onExit = [this](Component& c) { VsDExit(c); };
        break;
    }
}

TComboBoxU* TFormKolvane::selectorOf(const TEditD& field) const {
    return form_.findAs<TComboBoxU>(SelectorName(field.name()));
}

void TFormKolvane::setProjectChanged(bool changed) {
    projectChanged_ = changed;
    MFSave().setEnabled(changed);
}

void TFormKolvane::MaoDChange(Component&) {
    setProjectChanged(true);
}

void TFormKolvane::SBClearClick(TEditD* focused) {
    if (!focused) return;
    if (ui_.question("清除数据", "你要清除数据:" + focused->caption() + "?", false, Answer::No) ==
        Answer::Yes)
        focused->setText("");
    // A computed value the user wants to type over becomes an input again,
    // whatever the answer: the whole input look, cursor included.
    focused->setColor(kClWindow);
    focused->setEnabled(true);
    focused->setReadOnly(false);
    focused->setCursor(Cursor::Default);
}

} // namespace kolvane
