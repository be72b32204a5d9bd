#include "cli/Cli.h"
#include "cli/FormJson.h"
#include "cli/ProjectWindow.h"

#include "files/AtomicFile.h"
#include "form/FormKolvane.h"
#include "form/SimpProps.h"
#include "form/UiServices.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"
#include "refdata/UnitPickList.h"
#include "report/Report.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>

namespace kolvane {

namespace {

struct StepType;
struct StepContext;

struct Step {
    const StepType* type;
    std::string name;
    std::string value;
    std::string option; // as typed, for messages
};

// What a step needs and does; one row per step option.
struct StepType {
    const char* option;
    const char* valueName; // in --help
    const char* help;
    // How the option's value reads: NAME=VALUE (the text after "takes" in
    // the message when it does not), a component name, or a plain value.
    enum class Syntax { Assignment, Name, Value } syntax;
    const char* assignment;
    // A complaint when the step cannot run on this window, before any does.
    std::string (*check)(const TFormKolvane& w, const Step& s);
    void (*run)(StepContext& context, const Step& s);
};

// What the steps run against.
struct StepContext {
    TFormKolvane& window;
    ScriptedUiServices& ui;
    TFormSimpPL& library;
    std::ostream& err;
    bool& failed;
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

// A component of kind T named by the step, or the complaint.
template <typename T>
std::string NeedsComponent(const TFormKolvane& w, const Step& s, const char* what) {
    Component* c = w.form().find(s.name);
    if (!c) return "no component named '" + s.name + "'";
    if (!dynamic_cast<T*>(c)) return "'" + s.name + "' is not " + what;
    return {};
}

// An item of the list: a whole number from 0 to its last item.
std::string NeedsItemOf(const TComboBox& list, const Step& s) {
    int index = 0;
    if (!ParseIndex(s.value, index)) return "'" + s.value + "' is not an item index";
    const auto items = static_cast<int>(list.items().size());
    if (index < 0 || index >= items)
        return "'" + s.value + "' is not an item of " + list.name() + " (0 to " +
               std::to_string(items - 1) + ")";
    return {};
}

// The extension of a path in lower case (ASCII).
std::string LowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& ch : ext)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return ext;
}

// A path ending in ".kvt" (any letter case) is a template.
bool IsTemplatePath(const std::string& path) {
    return LowerExtension(path) == ".kvt";
}

void Leave(Component& c) {
    if (c.onExit) c.onExit(c);
}

// A text the program writes and nobody types, such as the heat direction:
// the clear command does not reach it, so no step may type in it.
bool IsProgramsText(const Component& c) {
    auto* t = dynamic_cast<const TEdit*>(&c);
    return t && !dynamic_cast<const TEditD*>(t) && t->readOnly();
}

// --set: type the text (its change event), then leave the field.
std::string CheckSet(const TFormKolvane& w, const Step& s) {
    Component* c = w.form().find(s.name);
    if (!c) return "no component named '" + s.name + "'";
    if (!dynamic_cast<TEdit*>(c) && !dynamic_cast<TRichEdit*>(c))
        return "'" + s.name + "' is not a text field";
    if (IsProgramsText(*c)) return "'" + s.name + "' is read-only: the program writes it";
    return {};
}
void RunSet(StepContext& x, const Step& s) {
    Component& c = *x.window.form().find(s.name);
    if (IsProgramsText(c)) throw Error(s.name + "是只读的，由程序填写，不能输入");
    if (auto* e = dynamic_cast<TEditD*>(&c); e && e->readOnly()) {
        // A computed value is locked in the window too: a user first clears it
        // with the toolbar's "清除光标处数据" and answers 是, which makes the
        // field an input again; then the typed value is an input like any other.
        x.ui.answers.insert(x.ui.answers.begin(), Answer::Yes);
        x.window.SBClearClick(e);
    }
    if (auto* t = dynamic_cast<TEdit*>(&c))
        t->setText(s.value);
    else
        static_cast<TRichEdit&>(c).setText(s.value);
    Leave(c);
}

// --unit: a unit item of a quantity field, or of a selector by its own name.
std::string CheckUnit(const TFormKolvane& w, const Step& s) {
    Component* c = w.form().find(s.name);
    if (!c) return "no component named '" + s.name + "'";
    if (auto* e = dynamic_cast<TEditD*>(c); e && w.selectorOf(*e))
        return NeedsItemOf(*w.selectorOf(*e), s);
    if (auto* u = dynamic_cast<TComboBoxU*>(c)) return NeedsItemOf(*u, s);
    int index = 0;
    if (!ParseIndex(s.value, index)) return "'" + s.value + "' is not an item index";
    return "'" + s.name + "' has no unit selector";
}
void RunUnit(StepContext& x, const Step& s) {
    Component& c = *x.window.form().find(s.name);
    int index = 0;
    ParseIndex(s.value, index);
    auto* u = dynamic_cast<TComboBoxU*>(&c);
    if (!u) u = x.window.selectorOf(static_cast<TEditD&>(c));
    u->Select(index);
}

// --choose: an item of a list (click and change), then leave it.
std::string CheckChoose(const TFormKolvane& w, const Step& s) {
    Component* c = w.form().find(s.name);
    if (!c) return "no component named '" + s.name + "'";
    auto* list = dynamic_cast<TComboBox*>(c);
    if (!list) {
        int index = 0;
        if (!ParseIndex(s.value, index)) return "'" + s.value + "' is not an item index";
        return "'" + s.name + "' is not a list";
    }
    return NeedsItemOf(*list, s);
}
void RunChoose(StepContext& x, const Step& s) {
    Component& c = *x.window.form().find(s.name);
    int index = 0;
    ParseIndex(s.value, index);
    static_cast<TComboBox&>(c).Select(index);
    Leave(c);
}

// --check: as a click does, nothing when the box already has that state.
std::string CheckCheck(const TFormKolvane& w, const Step& s) {
    if (!w.form().find(s.name)) return "no component named '" + s.name + "'";
    if (s.value != "0" && s.value != "1") return "--check takes 0 or 1";
    return NeedsComponent<TCheckBox>(w, s, "a check box");
}
void RunCheck(StepContext& x, const Step& s) {
    auto& box = x.window.form().get<TCheckBox>(s.name);
    if (box.checked() != (s.value == "1")) box.Click();
}

// The answer of --press NAME=yes|no to the question the press asks.
std::optional<Answer> PressAnswer(const std::string& value) {
    if (value == "yes" || value == "是") return Answer::Yes;
    if (value == "no" || value == "否") return Answer::No;
    return std::nullopt;
}
std::string CheckPress(const TFormKolvane& w, const Step& s) {
    if (!s.value.empty() && !PressAnswer(s.value))
        return "--press answers the question of the button with yes or no, not '" + s.value + "'";
    return NeedsComponent<TButton>(w, s, "a button");
}
// Without an answer a question the press asks takes its default (是 for the
// vessel page's mass). An answer is for this press alone: one it does not
// ask for is left for no later step.
void RunPress(StepContext& x, const Step& s) {
    TButton& button = x.window.form().get<TButton>(s.name);
    if (s.value.empty()) return button.Click();
    struct Scoped {
        std::vector<Answer>& answers;
        std::vector<Answer> later;
        ~Scoped() { answers = std::move(later); }
    } scoped{x.ui.answers, std::exchange(x.ui.answers, {*PressAnswer(s.value)})};
    button.Click();
}

std::string CheckSave(const TFormKolvane&, const Step& s) {
    return s.value.empty() ? "--save needs a file name" : "";
}
// As the File menu saves: a template leaves out the report and changes
// nothing else; a project becomes the current project file.
void RunSave(StepContext& x, const Step& s) {
    if (IsTemplatePath(s.value))
        x.window.SaveTemplate(s.value);
    else
        x.window.SaveProjectAs(s.value);
}

std::string CheckOpen(const TFormKolvane&, const Step& s) {
    return s.value.empty() ? "--open needs a file name" : "";
}
// As File > 打开: a changed project is offered for saving, and the answer
// is No; then the file is chosen in the dialog.
void RunOpen(StepContext& x, const Step& s) {
    if (x.window.ProjectChanged()) x.ui.answers.insert(x.ui.answers.begin(), Answer::No);
    x.window.BeforeNOC();
    if (!x.window.OpenProjectFile(s.value)) throw IoError("cannot open '" + s.value + "'");
}

std::string CheckPick(const TFormKolvane& w, const Step& s) {
    if (s.name != "SBP3" && s.name != "SBP5" && s.name != "SBP11")
        return "--pick takes SBP3, SBP5 or SBP11, not '" + s.name + "'";
    if (s.value != "cancel" && (s.value.empty() || (s.value[0] != '#' && s.value[0] != '=')))
        return "--pick answers #N, =TEXT or cancel, not '" + s.value + "'";
    if (s.value[0] != '#') return {};
    // The rows of the list the button opens; without the reference tables
    // the expansion list does not open at all, which the step then tells.
    const RefTables& tables = w.refTables();
    const bool known = s.name != "SBP11" || tables.available();
    const std::size_t rows = s.name == "SBP3"   ? PitchList().values.size()
                             : s.name == "SBP5" ? RoughnessList().values.size()
                             : known            ? tables.expansion().size()
                                                : std::numeric_limits<int>::max();
    if (ScriptedPickRow(s.value, rows)) return {};
    return "'" + s.value.substr(1) + "' is not a row of " + s.name + "'s list" +
           (known ? " (1 to " + std::to_string(rows) + ")" : "");
}
// The answer waits for the dialog the button opens.
void RunPick(StepContext& x, const Step& s) {
    x.ui.pickAnswers = {s.value};
    x.window.form().get<TButton>(s.name).Click();
    const bool answered = x.ui.pickAnswers.empty();
    x.ui.pickAnswers.clear();
    if (!answered) throw Error("--pick " + s.name + ": 选择列表没有打开，未作选择");
}

std::string CheckPipe(const TFormKolvane& w, const Step& s) {
    int row = 0;
    if (!ParseIndex(s.value, row) || row < 1) return "--pipe takes a row number from 1";
    // Without the tables the step tells why when it runs.
    const RefTables& tables = w.refTables();
    if (tables.available() && row > static_cast<int>(tables.pipes().size()))
        return "--pipe takes a row number from 1 to " + std::to_string(tables.pipes().size()) +
               ", the rows of the pipe series";
    return {};
}
void RunPipe(StepContext& x, const Step& s) {
    int row = 0;
    ParseIndex(s.value, row);
    RefTables& tables = x.window.refTables();
    if (!tables.available()) throw Error("参考数据不可用：" + tables.problem());
    if (row > static_cast<int>(tables.pipes().size()))
        throw Error("--pipe " + s.value + ": the pipe series has " +
                    std::to_string(tables.pipes().size()) + " rows");
    tables.setCurrentPipe(row - 1);
    x.window.form().get<TButton>("BTPipeSelect").Click();
}

// FLUID[,t=T][,p=P] in its parts.
std::vector<std::string> PropParts(const std::string& value) {
    std::vector<std::string> parts;
    std::string rest = value;
    for (std::size_t at; (at = rest.find(',')) != std::string::npos; rest = rest.substr(at + 1))
        parts.push_back(rest.substr(0, at));
    parts.push_back(rest);
    return parts;
}

std::string CheckProp(const TFormKolvane&, const Step& s) {
    if (s.name != "SBP1" && s.name != "SBP2" && s.name != "SBP2v")
        return "--prop takes SBP1, SBP2 or SBP2v, not '" + s.name + "'";
    const std::vector<std::string> parts = PropParts(s.value);
    if (parts[0].empty()) return "--prop " + s.name + " needs a fluid";
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string& kv = parts[i];
        if (kv.size() < 2 || kv[1] != '=' || (kv[0] != 't' && kv[0] != 'p'))
            return "--prop takes t=T and p=P after the fluid, not '" + kv + "'";
        if (std::string bad = NeedsStateNumber(kv.substr(0, 1), kv.substr(2)); !bad.empty())
            return kv.substr(0, 1) + " " + bad;
    }
    return {};
}
// A property button pressed, a fluid made current, t and p set in the grid,
// compute and confirm, as a user does in the library window.
void RunProp(StepContext& x, const Step& s) {
    TFormSimpPL& lib = x.library;
    if (lib.libraryPath().empty()) lib.FormCreate();
    // A library that cannot be read has no fluid to look for.
    if (!lib.loadProblem().empty()) throw Error(lib.loadProblem());
    const std::vector<std::string> parts = PropParts(s.value);
    // The tube side's buttons open the library at the steam's pressure.
    if (auto p = x.window.SteamPressureKPa(); p && s.name != "SBP1")
        lib.MyValues1().SetValueByName("p", FloatToStr15(*p));
    lib.Open(s.name);
    const int index = lib.find(parts[0]);
    if (index < 0) throw Error("no fluid '" + parts[0] + "' in the library");
    lib.setCurrent(index);
    for (std::size_t i = 1; i < parts.size(); ++i)
        lib.MyValues1().SetValueByName(parts[i].substr(0, 1), parts[i].substr(2));
    try {
        lib.BBCalClick();
    } catch (const CalculationError& e) {
        // The user sees the message and still confirms what was computed.
        for (const auto& line : e.lines())
            x.err << "error: " << line << '\n';
        x.failed = true;
    }
    // What the computation gave belongs to this fluid and state; without
    // any (no temperature) there is nothing to confirm, and it was told.
    if (lib.resultsCurrent() && lib.BBOKClick(x.window))
        x.window.OptionChanged(x.window.form().get<TButton>(s.name));
}

using Syntax = StepType::Syntax;
// clang-format off
const StepType kStepTypes[] = {
    {"--set", "NAME=TEXT",
     "Type TEXT into component NAME, then leave it (a computed field is cleared first)",
     Syntax::Assignment, "NAME=VALUE", CheckSet, RunSet},
    {"--unit", "NAME=INDEX",
     "Unit item INDEX (from 0) of quantity field NAME, or of the selector NAME",
     Syntax::Assignment, "NAME=VALUE", CheckUnit, RunUnit},
    {"--choose", "NAME=INDEX", "Item INDEX (from 0) of list NAME, then leave the list",
     Syntax::Assignment, "NAME=VALUE", CheckChoose, RunChoose},
    {"--check", "NAME=0|1", "Check box NAME as a click sets it",
     Syntax::Assignment, "NAME=VALUE", CheckCheck, RunCheck},
    {"--press", "NAME[=yes|no]", "Press button NAME; yes or no answers the question it asks",
     Syntax::Name, nullptr, CheckPress, RunPress},
    {"--save", "PATH", "Save the state at this point: a project, or a template if PATH ends in .kvt",
     Syntax::Value, nullptr, CheckSave, RunSave},
    {"--open", "PATH", "Open another project as File > 打开 does",
     Syntax::Value, nullptr, CheckOpen, RunOpen},
    {"--pick", "BUTTON=#N|=TEXT|cancel", "Answer the pick list of SBP3, SBP5 or SBP11",
     Syntax::Assignment, "BUTTON=ANSWER", CheckPick, RunPick},
    {"--pipe", "N", "Row N (from 1) of the pipe series into the tube diameters",
     Syntax::Value, nullptr, CheckPipe, RunPipe},
    {"--prop", "BUTTON=FLUID[,t=T][,p=P]",
     "The property library from SBP1, SBP2 or SBP2v: FLUID computed and confirmed",
     Syntax::Assignment, "BUTTON=FLUID", CheckProp, RunProp},
};
// clang-format on

void TellCalculationError(const CalculationError& e, std::ostream& err) {
    for (const auto& line : e.lines())
        err << "error: " << line << '\n';
}

// The report of the state the steps left, made once: one more pass first,
// so that it holds the heating curve and the warnings even when no step
// left a field, then the generation. Every report, curve and printed
// report of a run is this one.
class CurrentReport {
public:
    CurrentReport(TFormKolvane& window, std::ostream& err, bool& failed)
        : window_(window), err_(err), failed_(failed) {}
    const ReportDocument& get() {
        if (!made_) {
            made_ = true;
            try {
                window_.MaoDExit(window_.field("TaoD"));
            } catch (const CalculationError& e) {
                TellCalculationError(e, err_);
                failed_ = true;
            }
            window_.SBRSimpleClick();
        }
        return window_.reportDocument();
    }

private:
    TFormKolvane& window_;
    std::ostream& err_;
    bool& failed_;
    bool made_ = false;
};

// The formats of --report by extension.
enum class ReportFormat { None, Text, Rtf, Pdf };
ReportFormat ReportFormatOf(const std::string& path) {
    const std::string ext = LowerExtension(path);
    if (ext == ".txt") return ReportFormat::Text;
    if (ext == ".rtf" || ext == ".doc") return ReportFormat::Rtf;
    if (ext == ".pdf") return ReportFormat::Pdf;
    return ReportFormat::None;
}

// The arguments of calc: the steps in the order given, as typed.
struct CalcArguments {
    std::string file, reportPath, curvePath;
    bool json = false;
    std::vector<std::pair<const StepType*, std::string>> steps;
};

int RunCalc(const CalcArguments& args, std::ostream& out, std::ostream& err,
            const CliEnvironment& env) {
    std::vector<Step> steps;
    const bool json = args.json;
    const std::string &file = args.file, &reportPath = args.reportPath, &curvePath = args.curvePath;
    for (const auto& [type, v] : args.steps) {
        const std::string a = type->option;
        Step s{type, "", "", a + " " + v};
        switch (type->syntax) {
        case Syntax::Assignment:
            if (!SplitAssignment(v, s.name, s.value)) {
                err << "error: " << a << " takes " << type->assignment << ", not '" << v << "'\n";
                return kCliBadArguments;
            }
            break;
        case Syntax::Name:
            // NAME, or NAME=ANSWER for the question the step asks.
            if (!SplitAssignment(v, s.name, s.value)) s.name = v;
            break;
        case Syntax::Value:
            s.value = v;
            break;
        }
        steps.push_back(std::move(s));
    }

    ProjectWindow project(err);
    ScriptedUiServices& ui = project.ui;
    TFormKolvane& window = project.window;

    for (const Step& s : steps) {
        std::string problem = s.type->check(window, s);
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
    StepContext context{window, ui, library, err, failed};
    for (const Step& s : steps) {
        try {
            s.type->run(context, s);
        } catch (const CalculationError& e) {
            TellCalculationError(e, err);
            failed = true;
        } catch (const std::exception& e) {
            err << "error: " << e.what() << '\n';
            failed = true;
        }
    }

    CurrentReport report(window, err, failed);
    const bool printReport = !json && reportPath.empty() && curvePath.empty();
    if (printReport || !reportPath.empty() || !curvePath.empty()) report.get();
    // The warnings of the final state; they do not change the exit code.
    for (const auto& warning : window.lastPass().warnings)
        err << "warning: " << warning.text << '\n';

    auto write = [&](const std::string& path, const std::string& bytes, const char* what) {
        try {
            WriteFileAtomically(path, bytes);
        } catch (const std::exception& e) {
            err << "error: " << what << ": " << e.what() << '\n';
            failed = true;
        }
    };
    if (!reportPath.empty()) {
        switch (ReportFormatOf(reportPath)) {
        case ReportFormat::Text:
            write(reportPath, ReportPlainText(report.get()), "--report");
            break;
        case ReportFormat::Rtf:
            write(reportPath, ReportRtf(report.get()), "--report");
            break;
        case ReportFormat::Pdf:
            if (!env.writeReportPdf) {
                err << "error: --report: this kolvane-cli was built without the Qt user "
                       "interface (KOLVANE_GUI=OFF) and cannot lay out PDF pages; write .txt, "
                       ".rtf or .doc instead\n";
                failed = true;
                break;
            }
            try {
                report.get();
                env.writeReportPdf(window, reportPath);
            } catch (const std::exception& e) {
                err << "error: --report: " << e.what() << '\n';
                failed = true;
            }
            break;
        case ReportFormat::None:
            err << "error: --report writes .txt, .rtf, .doc or .pdf, not '" << reportPath << "'\n";
            failed = true;
            break;
        }
    }
    if (!curvePath.empty()) {
        report.get();
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
        if (printReport) out << '\n' << ReportPlainText(report.get());
    }
    return failed ? kCliFailed : kCliOk;
}

} // namespace

CliCommand AddCalcCommand(CLI::App& cli, const CliEnvironment& env) {
    auto args = std::make_shared<CalcArguments>();
    CLI::App* calc = cli.add_subcommand(
        "calc", "Open FILE, run the steps in the order given, each as a user does it in the "
                "window, and print the fields (and the report) of the final state.");
    calc->add_option("FILE", args->file, "A project (.kvp) or template (.kvt), opened first");
    for (const StepType& type : kStepTypes)
        AddRepeatedOption(
            *calc, type.option, type.valueName, type.help,
            [args, &type](const std::string& v) { args->steps.emplace_back(&type, v); });
    calc->add_flag("--json", args->json, "Print the components and what the pass told as JSON");
    calc->add_option("--report", args->reportPath, "Write the report of the final state")
        ->type_name("PATH.txt|.rtf|.doc|.pdf");
    calc->add_option("--curve", args->curvePath, "Write the heating curve as CSV")
        ->type_name("PATH.csv");
    calc->footer("Exit code: 0 when no step failed, 1 otherwise, 2 for bad arguments (then no "
                 "step runs).");
    return {
        calc,
        "calc [FILE] [--set NAME=TEXT | --unit NAME=INDEX | --choose NAME=INDEX | --save PATH |\n"
        "      --open PATH | --check NAME=0|1 | --press NAME | --prop BUTTON=FLUID[,t=T][,p=P] |\n"
        "      --pick BUTTON=#N|=TEXT|cancel | --pipe N]... [--json]\n"
        "      [--report PATH.txt|.rtf|.doc|.pdf] [--curve PATH.csv]",
        false, [args, &env](const std::vector<std::string>&, std::ostream& out, std::ostream& err) {
            return RunCalc(*args, out, err, env);
        }};
}

} // namespace kolvane
