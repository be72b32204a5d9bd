#include "cli/Cli.h"
#include "cli/FormJson.h"

#include "engine/FormKolvane.h"
#include "engine/UiServices.h"
#include "model/Errors.h"
#include "props/SimpProps.h"
#include "records/AtomicFile.h"
#include "report/Report.h"

#include <charconv>
#include <filesystem>
#include <ostream>

namespace kolvane {

namespace {

enum class StepKind { Set, Unit, Choose, Check, Press, Save, Open, Prop, Pick, Pipe };

struct Step {
    StepKind kind;
    std::string name;
    std::string value;
    std::string option; // as typed, for messages
};

bool SplitAssignment(const std::string& arg, std::string& name, std::string& value) {
    auto eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    name = arg.substr(0, eq);
    value = arg.substr(eq + 1);
    return true;
}

bool ParseIndex(const std::string& text, int& out) {
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && p == text.data() + text.size();
}

// Checks that a step names a component of the right kind before anything runs.
std::string CheckStep(const TFormKolvane& w, const Step& s) {
    if (s.kind == StepKind::Save) return s.value.empty() ? "--save needs a file name" : "";
    if (s.kind == StepKind::Open) return s.value.empty() ? "--open needs a file name" : "";
    if (s.kind == StepKind::Pick) {
        if (s.name != "SBP3" && s.name != "SBP5" && s.name != "SBP11")
            return "--pick takes SBP3, SBP5 or SBP11, not '" + s.name + "'";
        if (s.value != "cancel" && (s.value.empty() || (s.value[0] != '#' && s.value[0] != '=')))
            return "--pick answers #N, =TEXT or cancel, not '" + s.value + "'";
        return {};
    }
    if (s.kind == StepKind::Pipe) {
        int row = 0;
        return ParseIndex(s.value, row) && row >= 1 ? "" : "--pipe takes a row number from 1";
    }
    if (s.kind == StepKind::Prop)
        return s.name == "SBP1" || s.name == "SBP2" || s.name == "SBP2v"
                   ? ""
                   : "--prop takes SBP1, SBP2 or SBP2v, not '" + s.name + "'";
    Component* c = w.form().find(s.name);
    if (!c) return "no component named '" + s.name + "'";
    int index = 0;
    switch (s.kind) {
    case StepKind::Set:
        if (!dynamic_cast<TEdit*>(c) && !dynamic_cast<TRichEdit*>(c))
            return "'" + s.name + "' is not a text field";
        return {};
    case StepKind::Unit:
        if (!ParseIndex(s.value, index)) return "'" + s.value + "' is not an item index";
        if (auto* e = dynamic_cast<TEditD*>(c); e && w.selectorOf(*e)) return {};
        if (dynamic_cast<TComboBoxU*>(c)) return {};
        return "'" + s.name + "' has no unit selector";
    case StepKind::Choose:
        if (!ParseIndex(s.value, index)) return "'" + s.value + "' is not an item index";
        if (!dynamic_cast<TComboBox*>(c)) return "'" + s.name + "' is not a list";
        return {};
    case StepKind::Check:
        if (s.value != "0" && s.value != "1") return "--check takes 0 or 1";
        if (!dynamic_cast<TCheckBox*>(c)) return "'" + s.name + "' is not a check box";
        return {};
    case StepKind::Press:
        if (!dynamic_cast<TButton*>(c)) return "'" + s.name + "' is not a button";
        return {};
    case StepKind::Save:
    case StepKind::Open:
    case StepKind::Prop:
    case StepKind::Pick:
    case StepKind::Pipe:
        return {};
    }
    return {};
}

// A path ending in ".kvt" (any letter case) is a template.
bool IsTemplatePath(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& ch : ext)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return ext == ".kvt";
}

void Leave(Component& c) {
    if (c.onExit) c.onExit(c);
}

// A property button pressed, a fluid made current, t and p set in the grid,
// compute and confirm, as a user does in the library window.
void RunPropStep(TFormKolvane& w, TFormSimpPL& lib, const Step& s, std::ostream& err,
                 bool& failed) {
    if (lib.libraryPath().empty()) lib.FormCreate();
    std::vector<std::string> parts;
    std::string rest = s.value;
    for (std::size_t at; (at = rest.find(',')) != std::string::npos; rest = rest.substr(at + 1))
        parts.push_back(rest.substr(0, at));
    parts.push_back(rest);
    lib.Open(s.name);
    const int index = lib.find(parts[0]);
    if (index < 0) throw Error("no fluid '" + parts[0] + "' in the library");
    lib.setCurrent(index);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string& kv = parts[i];
        if (kv.size() < 2 || kv[1] != '=' || (kv[0] != 't' && kv[0] != 'p'))
            throw Error("--prop takes t=T and p=P after the fluid, not '" + kv + "'");
        lib.MyValues1().SetValueByName(kv.substr(0, 1), kv.substr(2));
    }
    try {
        lib.BBCalClick();
    } catch (const CalculationError& e) {
        // The user sees the message and still confirms what was computed.
        for (const auto& line : e.lines())
            err << "error: " << line << '\n';
        failed = true;
    }
    if (lib.BBOKClick(w)) w.OptionChanged(w.form().get<TButton>(s.name));
}

// Runs one step as the user would do it in the window.
void RunStep(TFormKolvane& w, ScriptedUiServices& ui, const Step& s) {
    if (s.kind == StepKind::Pick) {
        // The answer waits for the dialog the button opens.
        ui.pickAnswers = {s.value};
        w.form().get<TButton>(s.name).Click();
        ui.pickAnswers.clear();
        return;
    }
    if (s.kind == StepKind::Pipe) {
        int row = 0;
        ParseIndex(s.value, row);
        if (!w.refTables().available()) throw Error("参考数据不可用：" + w.refTables().problem());
        if (row > static_cast<int>(w.refTables().pipes().size()))
            throw Error("--pipe " + s.value + ": the pipe series has " +
                        std::to_string(w.refTables().pipes().size()) + " rows");
        w.refTables().setCurrentPipe(row - 1);
        w.form().get<TButton>("BTPipeSelect").Click();
        return;
    }
    if (s.kind == StepKind::Open) {
        // As File > 打开: a changed project is offered for saving, and the
        // answer is No; then the file is chosen in the dialog.
        if (w.ProjectChanged()) ui.answers.insert(ui.answers.begin(), Answer::No);
        w.BeforeNOC();
        if (!w.OpenProjectFile(s.value)) throw IoError("cannot open '" + s.value + "'");
        return;
    }
    if (s.kind == StepKind::Save) {
        // As the File menu saves: a template leaves out the report and
        // changes nothing else; a project becomes the current project file.
        if (IsTemplatePath(s.value))
            w.SaveTemplate(s.value);
        else
            w.SaveProjectAs(s.value);
        return;
    }
    Component& c = *w.form().find(s.name);
    int index = 0;
    switch (s.kind) {
    case StepKind::Set:
        if (auto* t = dynamic_cast<TEdit*>(&c))
            t->setText(s.value);
        else
            static_cast<TRichEdit&>(c).setText(s.value);
        Leave(c);
        break;
    case StepKind::Unit: {
        ParseIndex(s.value, index);
        auto* u = dynamic_cast<TComboBoxU*>(&c);
        if (!u) u = w.selectorOf(static_cast<TEditD&>(c));
        u->Select(index);
        break;
    }
    case StepKind::Choose:
        ParseIndex(s.value, index);
        static_cast<TComboBox&>(c).Select(index);
        Leave(c);
        break;
    case StepKind::Check: {
        auto& box = static_cast<TCheckBox&>(c);
        if (box.checked() != (s.value == "1")) box.Click();
        break;
    }
    case StepKind::Press:
        static_cast<TButton&>(c).Click();
        break;
    case StepKind::Save:
    case StepKind::Open:
    case StepKind::Prop:
    case StepKind::Pick:
    case StepKind::Pipe:
        break;
    }
}

} // namespace

int RunCalcCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<Step> steps;
    bool json = false;
    std::string file, reportPath, curvePath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto needValue = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                err << "error: " << a << " needs a value\n";
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--json") {
            json = true;
        } else if (a == "--report" || a == "--curve") {
            const std::string* v = needValue();
            if (!v) return kCliBadArguments;
            (a == "--report" ? reportPath : curvePath) = *v;
        } else if (a == "--set" || a == "--unit" || a == "--choose" || a == "--check") {
            const std::string* v = needValue();
            if (!v) return kCliBadArguments;
            Step s{a == "--set"      ? StepKind::Set
                   : a == "--unit"   ? StepKind::Unit
                   : a == "--choose" ? StepKind::Choose
                                     : StepKind::Check,
                   "", "", a + " " + *v};
            if (!SplitAssignment(*v, s.name, s.value)) {
                err << "error: " << a << " takes NAME=VALUE, not '" << *v << "'\n";
                return kCliBadArguments;
            }
            steps.push_back(std::move(s));
        } else if (a == "--pick") {
            const std::string* v = needValue();
            if (!v) return kCliBadArguments;
            Step s{StepKind::Pick, "", "", a + " " + *v};
            if (!SplitAssignment(*v, s.name, s.value)) {
                err << "error: --pick takes BUTTON=ANSWER, not '" << *v << "'\n";
                return kCliBadArguments;
            }
            steps.push_back(std::move(s));
        } else if (a == "--pipe") {
            const std::string* v = needValue();
            if (!v) return kCliBadArguments;
            steps.push_back({StepKind::Pipe, "", *v, a + " " + *v});
        } else if (a == "--prop") {
            const std::string* v = needValue();
            if (!v) return kCliBadArguments;
            Step s{StepKind::Prop, "", "", a + " " + *v};
            if (!SplitAssignment(*v, s.name, s.value)) {
                err << "error: --prop takes BUTTON=FLUID, not '" << *v << "'\n";
                return kCliBadArguments;
            }
            steps.push_back(std::move(s));
        } else if (a == "--press") {
            const std::string* v = needValue();
            if (!v) return kCliBadArguments;
            steps.push_back({StepKind::Press, *v, "", a + " " + *v});
        } else if (a == "--save" || a == "--open") {
            const std::string* v = needValue();
            if (!v) return kCliBadArguments;
            steps.push_back(
                {a == "--save" ? StepKind::Save : StepKind::Open, "", *v, a + " " + *v});
        } else if (i == 0 && a.rfind("--", 0) != 0) {
            file = a;
        } else {
            err << "error: unknown argument '" << a << "'\n";
            return kCliBadArguments;
        }
    }

    ScriptedUiServices ui;
    ui.onShown = [&err](const ScriptedUiServices::Shown& s) {
        if (s.kind == "beep") return;
        err << s.kind << ": " << s.text << '\n';
    };
    TFormKolvane window(ui, std::filesystem::current_path().string());
    // The reference tables lie beside the program, wherever it is run from.
    window.refTables().open((std::filesystem::path(ProgramFolder()) / "Piples.db").string());

    for (const Step& s : steps) {
        std::string problem = CheckStep(window, s);
        if (!problem.empty()) {
            err << "error: " << s.option << ": " << problem << '\n';
            return kCliBadArguments;
        }
    }

    // The file is opened as the Open command does, option handlers included;
    // a file that is missing, no project or damaged stops here.
    if (!file.empty()) {
        try {
            if (!window.OpenProjectFile(file)) {
                err << "error: cannot open '" << file << "'\n";
                return kCliFailed;
            }
        } catch (const std::exception& e) {
            err << "error: " << e.what() << '\n';
            return kCliFailed;
        }
    }

    TFormSimpPL library(ui, ProgramFolder());
    bool failed = false;
    for (const Step& s : steps) {
        try {
            if (s.kind == StepKind::Prop)
                RunPropStep(window, library, s, err, failed);
            else
                RunStep(window, ui, s);
        } catch (const CalculationError& e) {
            for (const auto& line : e.lines())
                err << "error: " << line << '\n';
            failed = true;
        } catch (const std::exception& e) {
            err << "error: " << e.what() << '\n';
            failed = true;
        }
    }
    // The warnings of the state the steps left; they do not change the exit code.
    for (const auto& warning : window.lastPass().warnings)
        err << "warning: " << warning.text << '\n';

    // The report and the curve of the state the steps left: a file written
    // on request follows one more pass, so that it holds the heating curve
    // and the warnings even when no step left a field.
    if (!reportPath.empty() || !curvePath.empty()) {
        try {
            window.MaoDExit(window.field("TaoD"));
        } catch (const CalculationError& e) {
            for (const auto& line : e.lines())
                err << "error: " << line << '\n';
            failed = true;
        }
    }
    window.SBRSimpleClick();
    auto write = [&](const std::string& path, const std::string& bytes, const char* what) {
        try {
            WriteFileAtomically(path, bytes);
        } catch (const std::exception& e) {
            err << "error: " << what << ": " << e.what() << '\n';
            failed = true;
        }
    };
    if (!reportPath.empty()) {
        std::string ext = std::filesystem::path(reportPath).extension().string();
        for (char& ch : ext)
            if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        if (ext == ".txt") {
            write(reportPath, ReportPlainText(window.reportDocument()), "--report");
        } else if (ext == ".rtf" || ext == ".doc") {
            write(reportPath, ReportRtf(window.reportDocument()), "--report");
        } else {
            err << "error: --report writes .txt, .rtf or .doc, not '" << reportPath << "'\n";
            failed = true;
        }
    }
    if (!curvePath.empty()) {
        const std::string csv = HeatingCurveCsv(window);
        if (csv.empty()) {
            err << "error: --curve: no heating curve: the theoretical area was not computed\n";
            failed = true;
        } else {
            write(curvePath, csv, "--curve");
        }
    }

    if (json) {
        out << FormToJson(window) << '\n';
    } else {
        out << FieldsTable(window);
        if (reportPath.empty() && curvePath.empty())
            out << '\n' << ReportPlainText(window.reportDocument());
    }
    return failed ? kCliFailed : kCliOk;
}

} // namespace kolvane
