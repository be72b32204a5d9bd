#include "cli/Cli.h"
#include "cli/Json.h"
#include "formula/FormulaParser.h"
#include "formula/MyValues.h"
#include "formula/NumberFormat.h"

#include <optional>
#include <ostream>
#include <string_view>
#include <utility>

namespace kolvane {

namespace {

constexpr std::string_view kEvalUsage =
    "usage: kolvane-cli eval FORMULA [--var NAME=VALUE]... [--grid] [--json]\n";

struct EvalOptions {
    std::optional<std::string> formula;
    std::vector<std::pair<std::string, std::string>> vars;
    bool grid = false;
    bool json = false;
};

bool BadArguments(std::ostream& err, std::string_view what) {
    err << "error: " << what << '\n' << kEvalUsage;
    return false;
}

bool ParseVar(std::string_view assignment, EvalOptions& options, std::ostream& err) {
    std::size_t eq = assignment.find('=');
    if (eq == std::string_view::npos || eq == 0)
        return BadArguments(err, "--var needs NAME=VALUE, got '" + std::string(assignment) + "'");
    options.vars.emplace_back(std::string(assignment.substr(0, eq)),
                              std::string(assignment.substr(eq + 1)));
    return true;
}

// Options are "--" followed by a letter; anything else, "-5", "--5" and
// "-t*2" included, is the formula, and "--" makes every later argument the
// formula.
bool IsOption(const std::string& a) {
    return a.size() > 2 && a.starts_with("--") &&
           ((a[2] >= 'a' && a[2] <= 'z') || (a[2] >= 'A' && a[2] <= 'Z'));
}

bool ParseArguments(const std::vector<std::string>& args, EvalOptions& options, std::ostream& err) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && IsOption(a)) {
            if (a == "--grid") {
                options.grid = true;
            } else if (a == "--json") {
                options.json = true;
            } else if (a == "--var") {
                if (i + 1 >= args.size()) return BadArguments(err, "--var needs NAME=VALUE");
                if (!ParseVar(args[++i], options, err)) return false;
            } else if (a.starts_with("--var=")) {
                if (!ParseVar(std::string_view(a).substr(6), options, err)) return false;
            } else {
                return BadArguments(err, "unknown option '" + a + "'");
            }
            continue;
        }
        if (options.formula) return BadArguments(err, "more than one formula given");
        options.formula = a;
    }
    if (!options.formula) return BadArguments(err, "no formula given");
    return true;
}

// The grid of the property library window before the user touches it.
void FillStartingGrid(TMyValues& grid) {
    grid.AddParam("t", "20", "C", "温度");
    grid.AddParam("p", "100", "kPa", "压力");
}

} // namespace

int RunEvalCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    EvalOptions options;
    if (!ParseArguments(args, options, err)) return kCliBadArguments;

    TFormulaParser parser;
    TMyValues grid;
    long double value = 0;
    if (options.grid) {
        FillStartingGrid(grid);
        for (const auto& [name, v] : options.vars) {
            if (grid.FindName(name) >= 0)
                grid.SetValueByName(name, v);
            else
                grid.AddParam(name, v, "", "");
        }
        try {
            value = parser.EvaluateWithValues(*options.formula, &grid);
        } catch (const RangeCheckError& e) {
            err << "error: " << e.what() << '\n';
            return kCliFailed;
        }
    } else {
        if (!options.vars.empty()) err << "warning: --var has an effect only with --grid\n";
        parser.SetExpression(*options.formula);
        value = parser.Evaluate();
    }

    if (options.json) {
        Json rows = Json::array();
        if (options.grid) {
            for (int r = 1; r < grid.RowCount(); ++r) {
                Json row = Json::array();
                for (int c = 0; c < grid.ColCount(); ++c)
                    row.push_back(grid.Cell(r, c));
                rows.push_back(std::move(row));
            }
        }
        Json rest = {{"error", parser.ErrorCode()},
                     {"message", parser.ErrorMessage()},
                     {"expression", parser.Expression()},
                     {"grid", std::move(rows)}};
        // The value is computed in long double; JsonNumberText keeps results
        // beyond the double range instead of writing null or 0 for them.
        out << DumpWithLeadingNumber("value", JsonNumberText(value), rest) << '\n';
    } else {
        out << FormatGeneral(value, 15, 1) << '\n'
            << parser.ErrorCode() << '\n'
            << parser.ErrorMessage() << '\n';
    }
    return kCliOk;
}

} // namespace kolvane
