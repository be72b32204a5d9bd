#pragma once

#include "engine/Case.h"
#include "engine/MainFormTables.h"
#include "engine/PassReport.h"
#include "files/IoError.h"
#include "form/CalculationError.h"
#include "form/ComboBoxU.h"
#include "form/Controls.h"
#include "form/EditD.h"
#include "form/Form.h"
#include "form/Pickers.h"
#include "form/ProjectCommands.h"
#include "form/Recalculation.h"
#include "form/ReportCommands.h"
#include "form/StudyRecord.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

class UiServices;
struct FormRecordNotes;

// The controls the pass, the vessel page and the option handlers read on
// every run, found once when the window is built.
struct OptionControls {
    TComboBox* phi = nullptr;
    TComboBox* tshape = nullptr;
    TComboBox* evt = nullptr;
    TComboBox* tubeMaterial = nullptr;
    TComboBox* vesselMaterial = nullptr;
    TComboBox* insulation = nullptr;
    TComboBox* stirrer = nullptr;
    TComboBox* vessel = nullptr;
    TCheckBox* ifMix = nullptr;
    TEdit* htTube = nullptr;
    TEdit* htVessel = nullptr;
};

// The main window without the window: the form built from the tables and
// the handlers. The GUI binds widgets to its components and the CLI drives
// them the same way, so both run the same code. The handlers of each concern
// live in a class the window owns — the project commands, the pickers and
// their reference data, the report, the recalculation pass — and the
// window's handler names forward to them.
class TFormKolvane {
public:
    static constexpr const char* kTitle = "容器传热计算(Kolvane)V2012.10.01.10";

    explicit TFormKolvane(UiServices& ui, std::string programDir = {});
    TFormKolvane(const TFormKolvane&) = delete;
    TFormKolvane& operator=(const TFormKolvane&) = delete;

    Form& form() { return form_; }
    const Form& form() const { return form_; }
    UiServices& ui() { return ui_; }

    TEditD& field(std::string_view name) const { return form_.get<TEditD>(name); }
    // Direct access for the calculation, without a name look-up.
    TEditD& f(fid::FieldId id) const { return *fields_[static_cast<std::size_t>(id)]; }
    // A field's unit selector, found once.
    TComboBoxU* selectorOf(fid::FieldId id) const {
        return selectors_[static_cast<std::size_t>(id)];
    }
    TComboBox& list(std::string_view name) const { return form_.get<TComboBox>(name); }
    const OptionControls& options() const { return options_; }

    ProjectCommands& project() { return project_; }
    Recalculation& pass() { return pass_; }

    const std::string& title() const { return project_.title(); }
    const std::string& ProgramDir() const { return programDir_; }
    const std::string& ProjectFileName() const { return project_.fileName(); }
    bool ProjectChanged() const { return projectChanged_; }
    // The steam's pressure in kPa, as the property library's grid takes it,
    // when condensing steam is chosen and a valid pressure is given; the
    // tube side's property buttons open the library at that pressure.
    std::optional<double> SteamPressureKPa() const;
    // The Save command is enabled with the changed flag.
    TButton& MFSave() const { return *save_; }

    // The changed flag; Save is enabled exactly when it is set.
    void setProjectChanged(bool changed);
    void setProjectFileName(std::string path) { project_.setFileName(std::move(path)); }
    void setTitle(std::string title) { project_.setTitle(std::move(title)); }

    // Change event of the calculation page's data controls: marks the
    // project changed and enables Save.
    void MaoDChange(Component& sender);

    // --- Calculation handlers (Recalculation.cpp, VesselPage.cpp, Options.cpp) ---
    // The convergence tolerance of the latest recalculation pass; 0 before
    // the first pass.
    double tolerance() const { return pass_.tolerance(); }
    // The theoretical area (m2) of the heat-transfer model for the fields as
    // they are, or -1 when an input it needs is missing or the model fails.
    // Writes nothing but the blank heat loss's "0.00": the recalculation
    // pass writes the model's results.
    double GetFx() { return pass_.theoreticalArea(); }
    // The recalculation pass, run when a calculation field is left. Every
    // result is afterwards computed from the current inputs or empty. Raises
    // CalculationError for refused inputs and failed steps it has not told
    // before; the report holds all of them, the warnings and the hints.
    void MaoDExit(Component& sender) { pass_.run(sender); }
    // An option that changes what the results mean was changed: the pass runs.
    void OptionChanged(Component& sender) { pass_.run(sender); }
    const PassReport& lastPass() const { return pass_.last(); }
    // The case that pass evaluated.
    const Case& lastCase() const { return pass_.lastCase(); }
    // The calculation page as a case: every quantity field by its id, what
    // its look says it holds, and the options. The blank heat loss reads
    // "0.00" afterwards, as before any pass.
    Case readCase() { return pass_.readCase(); }
    // Called after every pass and when a load discards the report.
    std::function<void()> onPassReport;
    // Vessel page: geometry pass, vessel type, carry-over, stirring, blade check.
    void VsDExit(Component& sender);
    void VNDClick(Component& sender);
    void VNDChange(Component& sender);
    // Carries the loss area and the contents' mass to the calculation page and
    // runs the pass; says what is missing when there is nothing to carry. A
    // typed mass that differs from the filled mass by more than 0.1 % is
    // replaced only when the user answers 是.
    void BTVesselClick(Component& sender);
    void ifMixClick(Component& sender);
    // The vessel page's dimensions that are no number or cannot be physical,
    // on the fields its shape uses; the pass tells them with its own.
    std::vector<PassReport::Problem> vesselProblems() const;
    // Tube-side phase and tube form options.
    void PhiDChange(Component& sender);
    void TShapeDChange(Component& sender);

    // The clear command of the toolbar, for the field that has the focus
    // (nullptr when the focus is elsewhere): asks whether to empty it and in
    // any case makes it an input field again.
    void SBClearClick(TEditD* focused);

    // --- Project commands (ProjectCommands.cpp) ---
    static constexpr const char* kProjectFilter =
        "Kolvane 项目文件（*.kvp）|*.kvp|Kolvane 模板文件（*.kvt）|*.kvt";
    // The report page is not part of a template.
    static constexpr const char* kTemplateSkip = "RichEditReport";

    // The recent-files list and the File menu it puts its entries into.
    TMostRecentFiles& MRF() { return project_.recentFiles(); }
    const MenuModel& MFile() const { return project_.menu(); }

    // Offers to save a changed project before it is replaced (Yes/No).
    void BeforeNOC() { project_.offerSave(); }
    // Save: asks for a name when the project has none. False when the user
    // cancelled the dialog; IoError when writing fails.
    bool DirectSaveProj() { return project_.save(); }
    void MFSaveClick() { project_.save(); }
    void MFAsClick() { project_.saveAs(); }
    void MFTempClick() { project_.saveAsTemplate(); }
    void MFNewClick() { project_.newFromTemplate(); }
    void MFOpenClick() { project_.open(); }
    void OpenProj() { project_.open(); }
    // A recent-file entry was chosen (the list has moved it to the top).
    void MRFMenuClick(const std::string& fileName) { project_.reopen(fileName); }
    // A later start of the program handed `path` to this window: it offers
    // to save unsaved changes and opens the file as Open does. False when
    // the file could not be opened (told; the project stays).
    bool OpenHandedFile(const std::string& path) { return project_.openHanded(path); }
    // Exit and closing the window: true when the program may end. Unsaved
    // changes are offered for saving with Yes, No and Cancel.
    bool MFExitClick() { return project_.closeQuery(); }
    bool FormCloseQuery() { return project_.closeQuery(); }

    // The commands' work without their dialogs, also used by the command
    // line. OpenProjectFile loads a project (or a template) and makes it the
    // project file; when the file is missing or no form record file it tells
    // the user, changes nothing and returns false. A damaged file raises
    // FormRecordError and changes nothing either.
    bool OpenProjectFile(const std::string& path) { return project_.openFile(path); }
    void SaveProjectAs(const std::string& path) { project_.saveFileAs(path); }
    void SaveTemplate(const std::string& path) const { project_.saveTemplateFile(path); }
    // The title naming the project file.
    static std::string ProjectTitle(const std::string& path) {
        return std::string(kTitle) + "-[" + path + "]";
    }
    // Where the file dialogs start: the current project's folder, "" (the
    // user's documents folder) for an unnamed project.
    std::string ProjectFolder() const { return project_.folder(); }
    // The status-bar notice of the latest load (records the window does not
    // know), "" when it had none. The pass that follows a load writes its own
    // status; repeatLoadNotice puts the notice back in front of it.
    const std::string& loadNotice() const { return project_.loadNotice(); }
    void repeatLoadNotice() { project_.repeatLoadNotice(); }
    // How messages name a control: a field by its caption (with the side
    // where two share one), a unit selector after its field, other controls
    // by their label or caption; the component name when there is none.
    std::string CaptionOf(const Component& c) const;

    // --- Reference data and pickers (PickerCommands.cpp) ---
    RefTables& refTables() { return pickers_.tables(); }
    const RefTables& refTables() const { return pickers_.tables(); }
    // Opens Piples.db in the program folder; unavailable data is told when
    // it is needed, the program starts regardless.
    void OpenReferenceTables() { pickers_.openTables(); }
    void SBP3Click() { pickers_.pitch(); }            // pitch from the pick list
    void SBP5Click() { pickers_.roughness(); }        // roughness from the pick list
    void SBP11Click() { pickers_.expansion(); }       // expansion coefficient of a liquid
    void SBDiClick() { pickers_.pipesPage(); }        // the pipe page
    void Button3Click() { pickers_.selectPipe(); }    // "选择": the current pipe into the tubes
    void Button2Click() { pickers_.maintainPipes(); } // "维护": Do and Di from the designations
    // "采用" on the design studies' page: a layout's tube diameters, pitch and
    // coil diameter (leg length) into the calculation page, then the pass.
    void ApplyDesign(const Design& d) { pickers_.applyDesign(d); }

    // --- Design studies ---
    // What was last studied on this calculation; a project opened or made
    // new starts with none.
    StudyRecord& studies() { return studies_; }
    const StudyRecord& studies() const { return studies_; }

    // --- The report (ReportCommands.cpp) ---
    // Generates the report of the window as it stands into the report page
    // (its text, which projects keep) and brings the page to the front.
    void SBRSimpleClick() { report_.generate(); }
    const ReportDocument& reportDocument() const { return report_.document(); }

    // --- Help (HelpCommands.cpp) ---
    static constexpr const char* kManualFile = "Manual.pdf";
    // The bookmark of the manual's chapter on using the program, where the
    // help menu opens it (its first chapter is about installing it).
    static constexpr const char* kUsageTopic = "第二章 程序窗口 ";
    // The key code of F1.
    static constexpr int kKeyF1 = 112;
    // The title of the manual bookmark that the next help call jumps to.
    const std::string& HelpTopic() const { return helpTopic_; }
    // The help topic of a control: a quantity field's caption followed by
    // one blank; "" for other controls and for a field without a caption.
    static std::string HelpTopicOf(const Component* control);
    // Where the manual is: "Manual.pdf" in the program folder.
    std::string ManualPath() const;
    // "帮助文档": the manual at its chapter on using the program.
    void MHPDFClick();
    // "这是什么？" for the control that has the focus (nullptr when none):
    // the manual at a quantity field's caption, nothing for other controls.
    void SBHPDFClick(const Component* focused);
    // A key in a quantity field: F1 shows the manual at the field's caption.
    void MaoDKeyDown(const Component& sender, int key);
    // Shows the manual at HelpTopic; a manual that is not there is told.
    void ShowManual();

    // The unit selector that belongs to a quantity field.
    TComboBoxU* selectorOf(const TEditD& field) const;

private:
    void solveVesselGeometry();
    bool askReplaceMass(const TEditD& mass, double contents);

    void build();
    void buildQuantity(const struct ControlRow& row, Component* parent);
    void wireHandlers();
    void trackProjectEdits();
    void refreshHeatDirection();
    bool carryVesselOver();
    void enableRow(std::string_view fieldName, bool on);

    UiServices& ui_;
    Form form_;
    std::string programDir_;
    bool projectChanged_ = false;
    TButton* save_ = nullptr;
    std::array<TEditD*, fid::kCount> fields_{};
    std::array<TComboBoxU*, fid::kCount> selectors_{};
    std::string helpTopic_;
    // The handlers by concern; they reach the form through this window.
    ProjectCommands project_{*this};
    Recalculation pass_{*this};
    Pickers pickers_{*this};
    ReportCommands report_{*this};
    OptionControls options_;
    StudyRecord studies_;
};

} // namespace kolvane
