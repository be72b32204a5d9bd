// The pickers of the main window: pitch, roughness and expansion coefficient
// from pick lists, and the pipe series page.
#include "form/Pickers.h"

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

void Pickers::bind() {
    auto on = [this](const char* name, void (TFormKolvane::*h)()) {
        w_.form().get<TButton>(name).onClick = [this, h](Component&) { (w_.*h)(); };
    };
    on("SBP3", &TFormKolvane::SBP3Click);
    on("SBP5", &TFormKolvane::SBP5Click);
    on("SBP11", &TFormKolvane::SBP11Click);
    on("SBDi", &TFormKolvane::SBDiClick);
    on("BTPipeSelect", &TFormKolvane::Button3Click);
    on("BTPipeMaintain", &TFormKolvane::Button2Click);
}

void Pickers::openTables() {
    tables_.open((std::filesystem::path(w_.ProgramDir()) / "Piples.db").string());
}

bool Pickers::available() {
    if (tables_.available()) return true;
    w_.ui().message(TFormKolvane::kTitle, kUnavailable + tables_.problem(), MessageKind::Warning);
    return false;
}

void Pickers::pitch() {
    const PickList& l = PitchList();
    TEditD& pitch = w_.f(fid::DspD);
    TFormPickList pick(l.values, l.names, l.unit, pitch.text(), l.caption, l.prompt);
    if (!w_.ui().pickFromList(pick)) return; // cancelled: nothing changes
    pitch.setText(pick.result(true));
    w_.OptionChanged(pitch);
}

void Pickers::roughness() {
    const PickList& l = RoughnessList();
    TEditD& roughness = w_.f(fid::EiD);
    std::string current;
    if (!IsBlank(roughness)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%2.2f", roughness.SIValue() * 1000);
        current = buf;
    }
    TFormPickList pick(l.values, l.names, l.unit, current, l.caption, l.prompt);
    // A cancelled pick leaves the field exactly as it was, not rounded to
    // the list's two decimals.
    if (!w_.ui().pickFromList(pick)) return;
    const std::string chosen = pick.result(true);
    if (TrimControl(chosen).empty()) return;
    roughness.SetSIValue(StrToFloat(chosen) / 1000);
    w_.OptionChanged(roughness);
}

void Pickers::expansion() {
    if (!available()) return;
    std::vector<std::string> values, names;
    for (const ExpansionRow& r : tables_.expansion()) {
        values.push_back(FloatToStr15(r.ec * 1e-4));
        names.push_back(r.name);
    }
    TEditD& beta = w_.f(fid::BtoD);
    TFormPickList pick(values, names, "1/K", beta.text(), "液体膨胀系数选择", "膨胀系数");
    if (!w_.ui().pickFromList(pick)) return;
    const std::string chosen = pick.result(true);
    if (TrimControl(chosen).empty()) return;
    beta.SetSIValue(StrToFloat(chosen));
    w_.OptionChanged(beta);
}

void Pickers::pipesPage() {
    w_.ui().showPage("TSPipes");
}

void Pickers::selectPipe() {
    if (!available()) return;
    const auto& pipes = tables_.pipes();
    const int i = tables_.currentPipe();
    if (i < 0 || i >= static_cast<int>(pipes.size())) return;
    PipeSize size;
    try {
        size = ParseDesignation(pipes[static_cast<std::size_t>(i)].dn);
    } catch (const Error& e) {
        throw Error("序号 " + std::to_string(pipes[static_cast<std::size_t>(i)].id) + "：" +
                    e.what() + "，管径未改变");
    }
    w_.f(fid::dioD).SetSIValue(size.outside / 1000);
    w_.f(fid::diiD).SetSIValue(size.inside / 1000);
    w_.ui().showPage("TSCalc");
    w_.OptionChanged(w_.f(fid::dioD));
}

void Pickers::applyDesign(const Design& d) {
    w_.f(fid::dioD).SetSIValue(d.outside);
    w_.f(fid::diiD).SetSIValue(d.inside);
    w_.f(fid::DspD).SetSIValue(d.pitch);
    w_.f(fid::SlD).SetSIValue(d.size);
    w_.ui().showPage("TSCalc");
    w_.OptionChanged(w_.f(fid::SlD));
}

void Pickers::maintainPipes() {
    if (!available()) return;
    const std::vector<std::string> skipped = tables_.maintain();
    std::string text = "已按管子规格重算外径和内径。";
    if (!skipped.empty()) {
        text += "以下规格无法识别，未修改：";
        for (const auto& s : skipped)
            text += "\n" + s;
    }
    w_.ui().message(TFormKolvane::kTitle, text,
                    skipped.empty() ? MessageKind::Information : MessageKind::Warning);
}

} // namespace kolvane
