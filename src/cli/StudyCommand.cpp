// Studies without the window: a sweep of one or two inputs over a project's
// case, and a batch of projects each opened as the window opens it.
#include "cli/Cli.h"
#include "cli/CliWindow.h"
#include "cli/FormJson.h"
#include "cli/Json.h"

#include "engine/Optimiser.h"
#include "engine/Study.h"
#include "files/AtomicFile.h"
#include "formula/NumberFormat.h"
#include "refdata/UnitPickList.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <memory>
#include <ostream>
#include <sstream>

namespace kolvane {

namespace {

struct StudyArguments {
    std::string file, out, csvPath;
    std::vector<std::string> vary;
    bool json = false;
};

// NAME=FROM:TO:N[:log]; "" and the axis, or the complaint.
std::string ParseAxis(const std::string& text, SweepAxis& axis) {
    const std::string wrong = "--vary takes NAME=FROM:TO:N[:log], not '" + text + "'";
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return wrong;
    const FieldRow* row = FindField(text.substr(0, eq));
    if (!row) return "--vary: no quantity field named '" + text.substr(0, eq) + "'";
    axis.id = static_cast<fid::FieldId>(row - FieldTable().data());
    std::vector<std::string> parts;
    std::stringstream rest(text.substr(eq + 1));
    for (std::string part; std::getline(rest, part, ':');)
        parts.push_back(part);
    if (parts.size() < 3 || parts.size() > 4 || (parts.size() == 4 && parts[3] != "log"))
        return wrong;
    const auto from = ParseExactReal(parts[0]), to = ParseExactReal(parts[1]);
    const char* first = parts[2].data();
    const char* last = first + parts[2].size();
    const auto [end, ec] = std::from_chars(first, last, axis.points);
    if (!from || !to || ec != std::errc() || end != last) return wrong;
    axis.from = *from;
    axis.to = *to;
    axis.log = parts.size() == 4;
    return {};
}

// The outputs by name, comma-separated; "" and the list, or the complaint.
std::string ParseOutputs(const std::string& text, std::vector<StudyOutput>& outputs) {
    std::stringstream names(text);
    for (std::string name; std::getline(names, name, ',');) {
        const auto o = StudyOutputNamed(name);
        if (!o) return "--out: '" + name + "' is neither a quantity field nor areaNeeded or ratio";
        outputs.push_back(*o);
    }
    if (outputs.empty()) return "--out names no output";
    return {};
}

int RunStudy(const StudyArguments& args, std::ostream& out, std::ostream& err) {
    std::vector<SweepAxis> axes;
    for (const std::string& v : args.vary) {
        SweepAxis axis;
        if (std::string problem = ParseAxis(v, axis); !problem.empty()) {
            err << "error: " << problem << '\n';
            return kCliBadArguments;
        }
        axes.push_back(axis);
    }
    if (axes.empty() || axes.size() > 2) {
        err << "error: study varies one or two inputs (--vary), not " << axes.size() << '\n';
        return kCliBadArguments;
    }
    std::vector<StudyOutput> outputs;
    if (std::string problem = ParseOutputs(args.out, outputs); !problem.empty()) {
        err << "error: " << problem << '\n';
        return kCliBadArguments;
    }

    CliWindow shown(&err);
    std::string error;
    if (!shown.open(args.file, error)) {
        err << "error: " << error << '\n';
        return kCliFailed;
    }
    const Case base = shown.window.readCase();
    for (const SweepAxis& a : axes)
        if (std::string problem = SweepAxisProblem(base, a); !problem.empty()) {
            err << "error: " << problem << '\n';
            return kCliFailed;
        }
    const std::vector<SweepPoint> points = RunSweep(base, axes, outputs);

    std::vector<std::string> inNames, outNames;
    for (const SweepAxis& a : axes)
        inNames.push_back(FieldTable()[static_cast<std::size_t>(a.id)].name);
    for (const StudyOutput& o : outputs)
        outNames.push_back(StudyOutputName(o));
    bool failed = false;
    for (const SweepPoint& p : points)
        failed = failed || !p.message.empty();

    if (!args.csvPath.empty()) {
        try {
            WriteFileAtomically(args.csvPath, SweepCsv(inNames, outNames, points));
        } catch (const std::exception& e) {
            err << "error: --csv: " << e.what() << '\n';
            return kCliFailed;
        }
    }

    if (args.json) {
        Json list = Json::array();
        for (const SweepPoint& p : points) {
            Json inputs = Json::object(), results = Json::object();
            for (std::size_t i = 0; i < inNames.size(); ++i)
                inputs[inNames[i]] = JsonNumber(p.inputs[i]);
            for (std::size_t i = 0; i < outNames.size(); ++i)
                results[outNames[i]] = JsonNumber(p.results[i]);
            list.push_back({{"inputs", inputs},
                            {"results", results},
                            {"message", p.message.empty() ? Json(nullptr) : Json(p.message)}});
        }
        out << DumpJson({{"vary", inNames}, {"out", outNames}, {"points", list}}) << '\n';
    } else {
        constexpr std::size_t kWidth = 16;
        for (const SweepAxis& a : axes)
            out << PadRight(StudyHeading(base, {StudyOutput::Kind::Field, a.id}), kWidth);
        for (const StudyOutput& o : outputs)
            out << PadRight(StudyHeading(base, o), kWidth);
        out << "说明\n";
        for (const SweepPoint& p : points) {
            for (double v : p.inputs)
                out << PadRight(FormatGeneral(v, 7, 4), kWidth);
            for (double v : p.results)
                out << PadRight(std::isfinite(v) ? FormatGeneral(v, 7, 4) : "-", kWidth);
            out << p.message << '\n';
        }
    }
    return failed ? kCliFailed : kCliOk;
}

struct BatchArguments {
    std::vector<std::string> files;
    bool jsonl = false;
};

int RunBatch(const BatchArguments& args, std::ostream& out, std::ostream& err) {
    bool failed = false;
    if (!args.jsonl) out << PadRight("文件", 40) << PadRight("理论面积 m2", 16) << "说明\n";
    for (const std::string& file : args.files) {
        // Each project in a window of its own, as a fresh start opens it;
        // opening needs no reference tables.
        CliWindow shown(nullptr, false);
        std::string error;
        const bool opened = shown.open(file, error);
        failed = failed || !opened;
        // What the window would have said in its message box says why.
        for (const auto& m : shown.ui.shown)
            if (!opened && m.kind == "message") error = m.text;
        if (args.jsonl) {
            if (!opened)
                out << DumpJson({{"file", file}, {"error", error}}) << '\n';
            else
                // The calc --json object, with the file first.
                out << "{\"file\":" << DumpJson(file) << ',' << FormToJson(shown.window).substr(1)
                    << '\n';
            continue;
        }
        out << PadRight(file, 40);
        if (!opened) {
            out << PadRight("-", 16) << "错误：" << error << '\n';
            continue;
        }
        const PassReport& r = shown.window.lastPass();
        out << PadRight(shown.window.f(fid::AtD).FloatStr(), 16) << r.statusText() << '\n';
    }
    if (failed && !args.jsonl) err << "error: some projects could not be opened\n";
    return failed ? kCliFailed : kCliOk;
}

struct OptimiseArguments {
    std::string file, by = "length", velocity;
    double maxDp = 1e5, clearance = 0.1, steamVelocity = 40;
    bool json = false;
};

int RunOptimise(const OptimiseArguments& args, std::ostream& out, std::ostream& err) {
    DesignLimits limits;
    limits.maxPressureDrop = args.maxDp;
    limits.clearance = args.clearance;
    limits.steamVelocityMax = args.steamVelocity;
    if (!args.velocity.empty()) {
        const auto colon = args.velocity.find(':');
        const auto lo = ParseExactReal(args.velocity.substr(0, colon));
        const auto hi = colon == std::string::npos
                            ? std::nullopt
                            : ParseExactReal(args.velocity.substr(colon + 1));
        if (!lo || !hi || !(*lo >= 0 && *lo < *hi)) {
            err << "error: --velocity takes FROM:TO in m/s with 0 <= FROM < TO, not '"
                << args.velocity << "'\n";
            return kCliBadArguments;
        }
        limits.velocityMin = *lo;
        limits.velocityMax = *hi;
    }
    const DesignRank rank = args.by == "area"   ? DesignRank::Area
                            : args.by == "mass" ? DesignRank::Mass
                                                : DesignRank::Length;

    CliWindow shown(&err);
    std::string error;
    if (!shown.open(args.file, error)) {
        err << "error: " << error << '\n';
        return kCliFailed;
    }
    const RefTables& tables = shown.window.refTables();
    if (tables.pipes().empty()) {
        err << "error: 钢管系列表不可用：" << tables.problem() << '\n';
        return kCliFailed;
    }
    const std::vector<DesignPipe> pipes = SeriesPipes(tables);
    const std::vector<double> pitches = PitchValues();
    const Case base = shown.window.readCase();
    const DesignSearch found = SearchDesigns(base, pipes, pitches, limits, rank);
    if (!found.problem.empty()) {
        err << "error: " << found.problem << '\n';
        return kCliFailed;
    }
    const bool coil = base.options.tube == TubeForm::Coil;
    if (args.json) {
        Json designs = Json::array();
        for (const Design& d : found.designs)
            designs.push_back({{"pipeRow", d.pipeRow},
                               {"Do_m", JsonNumber(d.outside)},
                               {"Di_m", JsonNumber(d.inside)},
                               {"pitch", JsonNumber(d.pitch)},
                               {coil ? "coilDiameter_m" : "legLength_m", JsonNumber(d.size)},
                               {"area_m2", JsonNumber(d.area)},
                               {"length_m", JsonNumber(d.length)},
                               {"turnsOrPasses", JsonNumber(d.turnsOrPasses)},
                               {"velocity_m_s", JsonNumber(d.velocity)},
                               {"dp_Pa", JsonNumber(d.dp)},
                               {"margin", JsonNumber(d.margin)},
                               {"mass_kg", JsonNumber(d.mass)}});
        out << DumpJson({{"by", args.by},
                         {"designs", designs},
                         {"tried", found.tried},
                         {"feasible", found.feasible}})
            << '\n';
    } else {
        out << PadRight("钢管", 12);
        for (const std::string& h : DesignHeadings(base))
            out << PadRight(h, 14);
        out << '\n';
        for (const Design& d : found.designs) {
            const std::string dn = tables.pipes()[static_cast<std::size_t>(d.pipeRow - 1)].dn;
            out << PadRight(std::to_string(d.pipeRow) + " " + dn, 12);
            for (double v : DesignValues(d))
                out << PadRight(FormatGeneral(v, 5, 1), 14);
            out << '\n';
        }
        out << "共试算" << found.tried << "种设计，满足条件" << found.feasible << "种\n";
    }
    if (found.designs.empty()) {
        err << "error: 没有满足条件的设计：在加热时间内达到目标温度，流速、压力降在限值内，"
            << (coil ? "盘管装得进容器" : "U型管装得进容器") << '\n';
        return kCliFailed;
    }
    return kCliOk;
}

} // namespace

CliCommand AddStudyCommand(CLI::App& cli) {
    auto args = std::make_shared<StudyArguments>();
    CLI::App* study = cli.add_subcommand(
        "study", "Sweep one or two inputs of FILE's calculation over a range and tabulate "
                 "results; every point starts from the project as opened, which is not changed.");
    study->add_option("FILE", args->file, "A project (.kvp) or template (.kvt)")->required();
    AddRepeatedOption(*study, "--vary", "NAME=FROM:TO:N[:log]",
                      "An input field and its range in the unit the window shows it in, N "
                      "points, evenly spaced or on a logarithmic scale (one or two)",
                      [args](const std::string& v) { args->vary.push_back(v); });
    args->out = "AtD,ArD,LtD";
    study
        ->add_option("--out", args->out,
                     "Results to tabulate: quantity field names, areaNeeded (the area the "
                     "dynamic check needs, m2) and ratio (that area over the theoretical one)")
        ->type_name("NAME,...")
        ->capture_default_str();
    study->add_option("--csv", args->csvPath, "Write the table as CSV")->type_name("PATH.csv");
    study->add_flag("--json", args->json, "Print the table as JSON");
    study->footer("Exit code: 0 when every point was computed, 1 when a point failed (its "
                  "message is in its row) or the project cannot be opened, 2 for bad arguments.");
    return {study,
            "study FILE --vary NAME=FROM:TO:N[:log] [--vary NAME=...] [--out NAME,...]\n"
            "      [--csv PATH] [--json]",
            false, [args](const std::vector<std::string>&, std::ostream& out, std::ostream& err) {
                return RunStudy(*args, out, err);
            }};
}

CliCommand AddBatchCommand(CLI::App& cli) {
    auto args = std::make_shared<BatchArguments>();
    CLI::App* batch = cli.add_subcommand(
        "batch", "Open each project as the window opens it (with the recalculation) and print "
                 "a line for it; a file that cannot be opened does not stop the others.");
    batch->add_option("FILE", args->files, "Projects (.kvp) or templates (.kvt)")->required();
    batch->add_flag("--jsonl", args->jsonl,
                    "One JSON object per line: the calc --json object with \"file\" first, or "
                    "{\"file\", \"error\"}");
    batch->footer("Exit code: 0 when every file was opened, 1 otherwise, 2 for bad arguments.");
    return {batch, "batch FILE... [--jsonl]", false,
            [args](const std::vector<std::string>&, std::ostream& out, std::ostream& err) {
                return RunBatch(*args, out, err);
            }};
}

CliCommand AddOptimiseCommand(CLI::App& cli) {
    auto args = std::make_shared<OptimiseArguments>();
    CLI::App* opt = cli.add_subcommand(
        "optimise", "Search the pipe series, the pitch list and the coil diameters (leg lengths "
                    "of a U-tube bundle) that fit FILE's vessel for designs that reach the "
                    "target within the heating time by the dynamic check; print the best ten.");
    opt->add_option("FILE", args->file, "A project (.kvp) or template (.kvt)")->required();
    opt->add_option("--by", args->by, "Rank by tube length, actual area or tube mass")
        ->check(CLI::IsMember({"length", "area", "mass"}))
        ->capture_default_str();
    opt->add_option("--max-dp", args->maxDp, "Largest pressure drop in the tubes, Pa")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    opt->add_option("--velocity", args->velocity,
                    "Velocity range of a single-phase medium, m/s (default 0.5:2.5)")
        ->type_name("FROM:TO");
    opt->add_option("--steam-velocity", args->steamVelocity,
                    "Largest steam velocity at the inlet, m/s")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    opt->add_option("--clearance", args->clearance,
                    "Clearance between the tubes and the vessel wall, m")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    opt->add_flag("--json", args->json, "Print the designs as JSON");
    opt->footer("Exit code: 0 when a design was found, 1 when none or the project cannot be "
                "opened, 2 for bad arguments.");
    return {opt,
            "optimise FILE [--by length|area|mass] [--max-dp PA] [--velocity FROM:TO]\n"
            "      [--steam-velocity M_S] [--clearance M] [--json]",
            false, [args](const std::vector<std::string>&, std::ostream& out, std::ostream& err) {
                return RunOptimise(*args, out, err);
            }};
}

} // namespace kolvane
