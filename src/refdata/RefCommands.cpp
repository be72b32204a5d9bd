// The pickers of the main window: pitch, roughness and expansion coefficient
// from pick lists, and the pipe series page.
#include "form/ComboBoxU.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"
#include "refdata/UnitPickList.h"

#include <cstdio>
#include <filesystem>

namespace kolvane {

namespace {
constexpr const char* kUnavailable = "参考数据不可用：";
} // namespace

void TFormKolvane::initRefCommands() {
    auto on = [this](const char* name, void (TFormKolvane::*h)()) {
        form_.get<TButton>(name).onClick = [this, h](Component&) { (this->*h)(); };
    };
    on("SBP3", &TFormKolvane::SBP3Click);
    on("SBP5", &TFormKolvane::SBP5Click);
    on("SBP11", &TFormKolvane::SBP11Click);
    on("SBDi", &TFormKolvane::SBDiClick);
    on("BTPipeSelect", &TFormKolvane::Button3Click);
    on("BTPipeMaintain", &TFormKolvane::Button2Click);
}

void TFormKolvane::OpenReferenceTables() {
    refTables_.open((std::filesystem::path(programDir_) / "Piples.db").string());
}

void TFormKolvane::SBP3Click() {
    const PickList& l = PitchList();
    TEditD& pitch = f(fid::DspD);
    TFormPickList pick(l.values, l.names, l.unit, pitch.text(), l.caption, l.prompt);
    if (!ui_.pickFromList(pick)) return; // cancelled: nothing changes
    pitch.setText(pick.result(true));
    OptionChanged(pitch);
}

void TFormKolvane::SBP5Click() {
    const PickList& l = RoughnessList();
    TEditD& roughness = f(fid::EiD);
    std::string current;
    if (!IsBlank(roughness)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%2.2f", roughness.SIValue() * 1000);
        current = buf;
    }
    TFormPickList pick(l.values, l.names, l.unit, current, l.caption, l.prompt);
    // A cancelled pick leaves the field exactly as it was, not rounded to
    // the list's two decimals.
    if (!ui_.pickFromList(pick)) return;
    const std::string chosen = pick.result(true);
    if (TrimControl(chosen).empty()) return;
    roughness.SetSIValue(StrToFloat(chosen) / 1000);
    OptionChanged(roughness);
}

void TFormKolvane::SBP11Click() {
    if (!refTables_.available()) {
        ui_.message(kTitle, kUnavailable + refTables_.problem(), MessageKind::Warning);
        return;
    }
    std::vector<std::string> values, names;
    for (const ExpansionRow& r : refTables_.expansion()) {
        values.push_back(FloatToStr15(r.ec * 1e-4));
        names.push_back(r.name);
    }
    TEditD& beta = f(fid::BtoD);
    TFormPickList pick(values, names, "1/K", beta.text(), "液体膨胀系数选择", "膨胀系数");
    if (!ui_.pickFromList(pick)) return;
    const std::string chosen = pick.result(true);
    if (TrimControl(chosen).empty()) return;
    beta.SetSIValue(StrToFloat(chosen));
    OptionChanged(beta);
}

void TFormKolvane::SBDiClick() {
    ui_.showPage("TSPipes");
}

void TFormKolvane::Button3Click() {
    if (!refTables_.available()) {
        ui_.message(kTitle, kUnavailable + refTables_.problem(), MessageKind::Warning);
        return;
    }
    const auto& pipes = refTables_.pipes();
    const int i = refTables_.currentPipe();
    if (i < 0 || i >= static_cast<int>(pipes.size())) return;
    PipeSize size;
    try {
        size = ParseDesignation(pipes[static_cast<std::size_t>(i)].dn);
    } catch (const Error& e) {
        throw Error("序号 " + std::to_string(pipes[static_cast<std::size_t>(i)].id) + "：" +
                    e.what() + "，管径未改变");
    }
    f(fid::dioD).SetSIValue(size.outside / 1000);
    f(fid::diiD).SetSIValue(size.inside / 1000);
    ui_.showPage("TSCalc");
    OptionChanged(f(fid::dioD));
}

void TFormKolvane::Button2Click() {
    if (!refTables_.available()) {
        ui_.message(kTitle, kUnavailable + refTables_.problem(), MessageKind::Warning);
        return;
    }
    const std::vector<std::string> skipped = refTables_.maintain();
    std::string text = "已按管子规格重算外径和内径。";
    if (!skipped.empty()) {
        text += "以下规格无法识别，未修改：";
        for (const auto& s : skipped)
            text += "\n" + s;
    }
    ui_.message(kTitle, text, skipped.empty() ? MessageKind::Information : MessageKind::Warning);
}

} // namespace kolvane
