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

// Button: a tool button of the calculation page (a speed button in a project
// file); PushButton: a page's command button.
enum class ControlKind {
    Page,
    Group,
    Quantity,
    Label,
    Text,
    Choice,
    Check,
    Rich,
    Button,
    PushButton
};

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

// The data behind the material and stirrer lists, by item position.
struct MaterialRow {
    const char* name;
    double conductivity; // W/(m.K)
    double density = 0;  // kg/m3, given for the tube materials
};
struct StirrerRow {
    const char* name;
    double a1, a2; // the stirred-vessel correlation's coefficients
};

struct ChoiceList {
    const char* name; // the list control's name
    std::span<const std::string_view> items;
    int defaultIndex;
};

// The quantity fields, in the order of the field table and of a project
// file. Every list of them (the ids here, the table's rows) is made from
// this one, and each row of the table is checked against its id when the
// program is built.
// clang-format off
#define KOLVANE_QUANTITIES(X) \
    X(TaoD) X(sfD) X(SetErrD) X(AtD) X(ArD) X(TTaD) X(KTaD) X(LtD) \
    X(WcD) X(MaoD) X(CopD) X(Tom1D) X(Tom2D) X(QoD) X(VioD) X(LdoD) \
    X(DenoD) X(QLD) X(BtoD) X(BpD) X(TwaD) X(TeD) X(KeD) X(AeD) \
    X(StD) X(KcD) X(WiD) X(CipD) X(Ti1D) X(Ti2D) X(QiD) X(DHiD) \
    X(ViiD) X(LdiD) X(DeniD) X(denivD) X(PivD) X(ViivD) X(LaiD) X(dioD) \
    X(diiD) X(kiD) X(RiD) X(UivD) X(UiD) X(DpiD) X(EiD) X(RoD) \
    X(DspD) X(SlD) X(mD) X(koD) X(VsD) X(KvD) X(Ae1D) X(WsD) \
    X(HsD) X(DsD) X(midD) X(rvD)
// clang-format on

namespace fid {
enum FieldId : int {
#define KOLVANE_ID(name) name,
    KOLVANE_QUANTITIES(KOLVANE_ID)
#undef KOLVANE_ID
        kCount
};
} // namespace fid

std::span<const FieldRow> FieldTable();
std::span<const std::span<const UnitItem>> UnitLists();
std::span<const ControlRow> MainLayout();
std::span<const ChoiceList> ChoiceLists();
std::span<const StirrerRow> Stirrers();
std::span<const MaterialRow> WallMaterials(); // the vessel's wall
std::span<const MaterialRow> TubeMaterials(); // the first of the walls'
std::span<const MaterialRow> InsulationMaterials();

const FieldRow* FindField(std::string_view name);
const ChoiceList* FindChoiceList(std::string_view name);

// TaoD -> Tao; the label and selector names add "L" and "U".
std::string BaseName(std::string_view controlName);
std::string LabelName(std::string_view controlName);
// The unit selector of a field: the final D replaced by U (DHiD -> DhiU).
std::string SelectorName(std::string_view fieldName);

} // namespace kolvane
