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

#include <filesystem>
#include <ostream>
#include <unistd.h>

namespace kolvane {

namespace {

constexpr const char* kUsage =
    "usage: kolvane-cli prop (--fluid NO_OR_NAME | --text PROPERTY_TEXT --name "
    "CP|MD|VI|TC|ST|HV [--cn CHINESE_NAME]) [--t T] [--p P]\n"
    "                        [--for SBP1|SBP2|SBP2v] [--json]\n"
    "       kolvane-cli prop --list [--json]\n"
    "  --fluid  the running number (its leading zeros may be left off: 1 for 001),\n"
    "           the Chinese or the English name\n"
    "  --for    compute as the library window opened from that button does\n"
    "           (SBP2v: the steam of a saturated key; default SBP2)\n";

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
    return name + " takes a number (" + (name == "t" ? "°C" : "kPa") + "), not '" + text + "'";
}

std::string ProgramFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return DataFolder(ec ? std::filesystem::current_path().string() : exe.parent_path().string());
}

int RunPropCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string fluid, text, name, cn, t = "20", p = "100", caller = "SBP2";
    bool json = false, list = false, haveText = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        bool ok = true;
        if (a == "--json")
            json = true;
        else if (a == "--list")
            list = true;
        else if (a == "--fluid")
            ok = value(fluid);
        else if (a == "--text")
            ok = haveText = value(text);
        else if (a == "--name")
            ok = value(name);
        else if (a == "--cn")
            ok = value(cn);
        else if (a == "--t")
            ok = value(t);
        else if (a == "--p")
            ok = value(p);
        else if (a == "--for")
            ok = value(caller) && CanonicalCaller(caller);
        else
            ok = false;
        if (!ok) {
            err << "error: bad argument '" << a << "'\n" << kUsage;
            return kCliBadArguments;
        }
    }
    for (const auto& [option, text] : {std::pair{"t", &t}, std::pair{"p", &p}})
        if (std::string bad = NeedsStateNumber(option, *text); !bad.empty()) {
            err << "error: --" << bad << '\n' << kUsage;
            return kCliBadArguments;
        }
    const bool byFluid = !fluid.empty();
    if (list == (byFluid || haveText) || (byFluid && haveText) ||
        (haveText && !FindPropertyField(name))) {
        err << kUsage;
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

} // namespace kolvane
