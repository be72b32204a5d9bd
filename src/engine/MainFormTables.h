#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kolvane {

// The main window's content as data: the quantity fields, their unit lists,
// the choice lists and the layout of every control. Both the core form and
// the Qt widgets are built from these tables.

struct UnitItem {
    const char* label;
    const char* factor; // the factor to SI, as the item text carries it
};

// How a field looks when the window opens.
enum class StartLook {
    Input,             // window background, editable
    Result,            // button-face background, read-only
    ResultEditable,    // button-face background, editable
    InputOnButtonFace, // filled by the pipe picker or typed
    Disabled,          // enabled only for condensing steam
};

// The handler that runs when the focus leaves a field.
enum class ExitHandler { None, MaoDExit, VsDExit };

struct FieldRow {
    const char* name;    // TaoD
    const char* caption; // label text
    const char* group;   // caption of the group box that holds it
    const char* siUnit;  // the SI unit of its value, for documentation and reports
    int unitList;        // 1-based index into UnitLists()
    StartLook start;
    ExitHandler exit;
    const char* text;   // starting text
    bool changeHandler; // MaoDChange runs on every change of the text
};

enum class ControlKind { Page, Group, Quantity, Label, Text, Choice, Check, Rich, Button };

// One control of the layout, in creation order; a container comes before
// what it holds. For a Quantity the field row gives the rest; a Text or
// Choice with a caption gets a label named after it (base name + "L").
struct ControlRow {
    ControlKind kind;
    const char* name;
    const char* parent;  // the container's name, "" for a page
    const char* caption; // label, group, page or button caption
    const char* extra;   // Choice: list name; Button: hint; Text: starting text
};

struct ChoiceList {
    const char* name; // the list control's name
    std::span<const std::string_view> items;
    int defaultIndex;
};

// The quantity fields in table order, for direct access in the calculation.
namespace fid {
enum FieldId : int {
    TaoD,
    sfD,
    SetErrD,
    AtD,
    ArD,
    TTaD,
    KTaD,
    LtD,
    WcD,
    MaoD,
    CopD,
    Tom1D,
    Tom2D,
    QoD,
    VioD,
    LdoD,
    DenoD,
    QLD,
    BtoD,
    BpD,
    TwaD,
    TeD,
    KeD,
    AeD,
    StD,
    KcD,
    WiD,
    CipD,
    Ti1D,
    Ti2D,
    QiD,
    DHiD,
    ViiD,
    LdiD,
    DeniD,
    denivD,
    PivD,
    ViivD,
    LaiD,
    dioD,
    diiD,
    kiD,
    RiD,
    UivD,
    UiD,
    DpiD,
    EiD,
    RoD,
    DspD,
    SlD,
    mD,
    koD,
    VsD,
    KvD,
    Ae1D,
    WsD,
    HsD,
    DsD,
    midD,
    rvD,
    kCount
};
} // namespace fid

std::span<const FieldRow> FieldTable();
std::span<const std::span<const UnitItem>> UnitLists();
std::span<const ControlRow> MainLayout();
std::span<const ChoiceList> ChoiceLists();

const FieldRow* FindField(std::string_view name);
const ChoiceList* FindChoiceList(std::string_view name);

// TaoD -> Tao; the label and selector names add "L" and "U".
std::string BaseName(std::string_view controlName);
std::string LabelName(std::string_view controlName);
// The unit selector of a field: the final D replaced by U (DHiD -> DhiU).
std::string SelectorName(std::string_view fieldName);

// The item text of a unit (label, blanks, bar, factor).
std::string UnitItemText(const UnitItem& u);

} // namespace kolvane
