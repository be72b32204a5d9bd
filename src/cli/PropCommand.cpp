// kolvane-cli prop: the property library's values, as the library window
// computes them, without the window.
#include "cli/Cli.h"
#include "cli/Json.h"

#include "files/DataFolder.h"
#include "form/ComboBoxU.h"
#include "form/Component.h"
#include "form/EditD.h"
#include "form/SimpProps.h"
#include "form/UiServices.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"
#include "props/PropFormulas.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <ostream>
#include <tuple>
#include <unistd.h>

namespace kolvane {

namespace {

constexpr const char* kUsage =
    "prop (--fluid NO_OR_NAME | --text PROPERTY_TEXT --name CP|MD|VI|TC|ST|HV [--cn NAME])\n"
    "      [--t T] [--p P] [--for SBP1|SBP2|SBP2v] [--json]   |   prop --list [--json]";

// The six properties as the compute command names them, with their fields.
constexpr std::pair<const char*, const char*> kProperties[] = {
    {"CP", "CPD"}, {"MD", "MDD"}, {"VI", "VID"}, {"TC", "TCD"}, {"ST", "STD"}, {"HV", "HVD"}};

Json NumberOrNull(const TEditD& e) {
    auto v = e.SIValueOrNull();
    return v ? JsonNumber(*v) : Json(nullptr);
}

// The property buttons of the main window, named in any ASCII case.
bool CanonicalCaller(std::string& caller) {
    for (const char* button : {"SBP1", "SBP2", "SBP2v"})
        if (EqualsIgnoreAsciiCase(caller, button)) {
            caller = button;
            return true;
        }
    return false;
}

} // namespace

std::string NeedsStateNumber(const std::string& name, const std::string& text) {
    // Read as the library reads the grid, so that what passes here is the
    // number it computes with; an empty text is the library's own question.
    if (TrimControl(text).empty() || ParseExactReal(TrimControl(text))) return {};
    return std::string("takes a number (") + (name == "t" ? "°C" : "kPa") + "), not '" + text + "'";
}

std::string ProgramFileFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path().string() : exe.parent_path().string();
}

std::string ProgramFolder() {
    return DataFolder(ProgramFileFolder());
}

namespace {

struct PropOptions {
    std::string fluid, text, name, cn, t = "20", p = "100", caller = "SBP2";
    bool json = false, list = false, haveText = false;
};

int RunProp(const PropOptions& options, std::ostream& out, std::ostream& err) {
    const auto& [fluid, text, name, cn, t, p, caller, json, list, haveText] = options;
    const bool byFluid = !fluid.empty();
    if (list == (byFluid || haveText)) {
        err << "error: give one of --fluid, --text and --list\nusage: kolvane-cli " << kUsage
            << '\n';
        return kCliBadArguments;
    }

    ScriptedUiServices ui;
    ui.onShown = [&err](const ScriptedUiServices::Shown& s) {
        if (s.kind != "beep") err << s.kind << ": " << s.text << '\n';
    };
    TFormSimpPL lib(ui, ProgramFolder());
    if (list || byFluid) {
        lib.FormCreate();
        // A library that cannot be read is no empty list and has no fluid.
        if (!lib.loadProblem().empty()) {
            err << "error: " << lib.loadProblem() << '\n';
            return kCliFailed;
        }
    }

    if (list) {
        Json rows = Json::array();
        for (const PropertyRecord& r : lib.records()) {
            if (json) {
                Json row;
                for (const PropertyField& f : PropertyFields())
                    row[f.name] = r.*f.member;
                rows.push_back(std::move(row));
            } else {
                out << r.NO << '\t' << r.CN << '\t' << r.EN << '\n';
            }
        }
        if (json) out << DumpJson(rows) << '\n';
        return kCliOk;
    }

    lib.Open(caller);
    lib.MyValues1().SetValueByName("t", t);
    lib.MyValues1().SetValueByName("p", p);
    if (haveText) {
        // One property text, as the library would evaluate it for a fluid
        // of that Chinese name.
        PropertyRecord r;
        r.NO = "1";
        r.CN = cn;
        r.*FindPropertyField(name)->member = text;
        lib.records() = {r};
        lib.setCurrent(0);
    } else {
        const int index = lib.find(fluid);
        if (index < 0) {
            err << "error: no fluid '" << fluid << "' in the library\n";
            return kCliFailed;
        }
        lib.setCurrent(index);
    }

    bool failed = false;
    try {
        if (haveText) {
            // Only the named property: the others have no text.
            for (auto [prop, field] : kProperties)
                if (FindPropertyField(prop) == FindPropertyField(name))
                    lib.CalcProp(prop == std::string_view("CP") ? "Cp" : prop, lib.result(field));
        } else {
            lib.BBCalClick();
        }
    } catch (const CalculationError& e) {
        for (const auto& line : e.lines())
            err << "error: " << line << '\n';
        failed = true;
    } catch (const Error& e) {
        err << "error: " << e.what() << '\n';
        failed = true;
    }
    if (lib.MyValues1().ValueByName("t").empty()) failed = true;

    Json values;
    for (auto [prop, field] : kProperties) {
        if (haveText && FindPropertyField(prop) != FindPropertyField(name)) continue;
        const TEditD& e = lib.result(field);
        if (json)
            values[prop] = NumberOrNull(e);
        else
            out << prop << '\t' << (e.text().empty() ? "-" : e.text()) << '\n';
    }
    if (json) out << DumpJson(values) << '\n';
    return failed ? kCliFailed : kCliOk;
}

// A CLI11 check: "" when `complaint` finds nothing wrong with the value,
// which it may put in its canonical form (as a transform).
CLI::Validator Check(std::function<std::string(std::string&)> complaint) {
    return CLI::Validator(std::move(complaint), "");
}

} // namespace

CliCommand AddPropCommand(CLI::App& cli) {
    auto options = std::make_shared<PropOptions>();
    CLI::App* prop = cli.add_subcommand(
        "prop", "The property library's values of a fluid, as its window computes them.");
    auto* fluid = prop->add_option("--fluid", options->fluid,
                                   "The running number (its leading zeros may be left off: 1 for "
                                   "001), the Chinese or the English name");
    fluid->type_name("NO_OR_NAME");
    auto* text = prop->add_option("--text", options->text,
                                  "One property text, computed as the library would for a fluid");
    text->type_name("PROPERTY_TEXT")->excludes(fluid);
    auto* name = prop->add_option("--name", options->name, "The property --text gives");
    name->type_name("CP|MD|VI|TC|ST|HV")->check(Check([](std::string& v) -> std::string {
        for (auto [property, field] : kProperties)
            if (EqualsIgnoreAsciiCase(v, property)) return {};
        return "is CP, MD, VI, TC, ST or HV, not '" + v + "'";
    }));
    text->needs(name);
    prop->add_option("--cn", options->cn, "The fluid's Chinese name for --text")->type_name("NAME");
    for (auto [option, value, what] :
         {std::tuple{"--t", &options->t, "Temperature, °C (default 20; empty: none)"},
          std::tuple{"--p", &options->p, "Pressure, kPa (default 100; empty: none)"}}) {
        const std::string letter = option + 2;
        prop->add_option(option, *value, what)
            ->type_name(letter == "t" ? "T" : "P")
            ->check(Check([letter](std::string& v) { return NeedsStateNumber(letter, v); }));
    }
    prop->add_option("--for", options->caller,
                     "Compute as the library window opened from that button does (SBP2v: the "
                     "steam of a saturated key; default SBP2)")
        ->type_name("SBP1|SBP2|SBP2v")
        ->transform(Check([](std::string& v) -> std::string {
            return CanonicalCaller(v) ? "" : "takes SBP1, SBP2 or SBP2v, not '" + v + "'";
        }));
    prop->add_flag("--list", options->list, "List the fluids of the library")
        ->excludes(fluid)
        ->excludes(text);
    prop->add_flag("--json", options->json, "Print JSON");
    return {prop, kUsage, false,
            [options, text](const std::vector<std::string>&, std::ostream& out, std::ostream& err) {
                // An empty text is a text all the same.
                options->haveText = text->count() > 0;
                return RunProp(*options, out, err);
            }};
}

} // namespace kolvane
