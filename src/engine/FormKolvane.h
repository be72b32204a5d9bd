#pragma once

#include "engine/ComboBoxU.h"
#include "engine/Controls.h"
#include "engine/EditD.h"
#include "engine/Form.h"
#include "engine/MainFormTables.h"

#include <array>
#include <string>
#include <string_view>

namespace kolvane {

class UiServices;

// The main window without the window: the form built from the tables, the
// project state and the handlers. The GUI binds widgets to its components
// and the CLI drives them the same way, so both run the same code.
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
    TComboBox& list(std::string_view name) const { return form_.get<TComboBox>(name); }

    const std::string& title() const { return title_; }
    const std::string& ProgramDir() const { return programDir_; }
    const std::string& ProjectFileName() const { return projectFileName_; }
    bool ProjectChanged() const { return projectChanged_; }
    // The Save command is enabled with the changed flag.
    TButton& MFSave() const { return *save_; }

    // The changed flag; Save is enabled exactly when it is set.
    void setProjectChanged(bool changed);
    void setProjectFileName(std::string path) { projectFileName_ = std::move(path); }
    void setTitle(std::string title) { title_ = std::move(title); }

    // Change event of the calculation page's data controls: marks the
    // project changed and enables Save.
    void MaoDChange(Component& sender);

    // --- Calculation handlers (engine) ---
    // The convergence tolerance of the latest recalculation pass; 0 before
    // the first pass.
    double tolerance() const { return tolerance_; }
    // The theoretical area (m2) of the heat-transfer model, or -1 when an
    // input it needs is empty. Writes the film, loss and maintenance fields.
    double GetFx();
    // The recalculation pass, run when a calculation field is left.
    void MaoDExit(Component& sender);
    // Vessel page: geometry pass, vessel type, carry-over, stirring, blade check.
    void VsDExit(Component& sender);
    void VNDClick(Component& sender);
    void VNDChange(Component& sender);
    void BTVesselClick(Component& sender);
    void ifMixClick(Component& sender);
    void midDExit(Component& sender);
    // Tube-side phase and tube form options.
    void PhiDChange(Component& sender);
    void TShapeDChange(Component& sender);

    // --- Project commands (records/ProjectCommands.cpp) ---

    // The unit selector that belongs to a quantity field.
    TComboBoxU* selectorOf(const TEditD& field) const;

private:
    void build();
    void buildQuantity(const struct ControlRow& row, Component* parent);
    void wireHandlers();
    void refreshHeatDirection(bool clearWhenIncomplete);
    void enableRow(std::string_view fieldName, bool on);
    double passTolerance() const;

    UiServices& ui_;
    Form form_;
    std::string title_ = kTitle;
    std::string programDir_;
    std::string projectFileName_;
    bool projectChanged_ = false;
    double tolerance_ = 0;
    TButton* save_ = nullptr;
    std::array<TEditD*, fid::kCount> fields_{};
    // Controls the calculation reads on every pass.
    TComboBox* phi_ = nullptr;
    TComboBox* tshape_ = nullptr;
    TComboBox* evt_ = nullptr;
    TComboBox* tubeMaterial_ = nullptr;
    TComboBox* vesselMaterial_ = nullptr;
    TComboBox* insulation_ = nullptr;
    TComboBox* stirrer_ = nullptr;
    TComboBox* vessel_ = nullptr;
    TCheckBox* ifMix_ = nullptr;
    TEdit* htTube_ = nullptr;
    TEdit* htVessel_ = nullptr;
};

} // namespace kolvane
