#include "cli/Cli.h"
#include "cli/Json.h"
#include "formula/FormulaParser.h"
#include "formula/MyValues.h"
#include "formula/NumberFormat.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string_view>
#include <utility>

namespace kolvane {

namespace {

constexpr const char* kEvalUsage = "eval FORMULA [--var NAME=VALUE]... [--grid] [--json]";

struct EvalOptions {
    std::vector<std::string> formulas; // one is allowed
    std::vector<std::pair<std::string, std::string>> vars;
    bool grid = false;
    bool json = false;
};

bool BadArguments(std::ostream& err, std::string_view what) {
    err << "error: " << what << "\nusage: kolvane-cli " << kEvalUsage << '\n';
    return false;
}

// Options are "--" followed by a letter.
bool IsOption(const std::string& a) {
    return a.size() > 2 && a.starts_with("--") &&
           ((a[2] >= 'a' && a[2] <= 'z') || (a[2] >= 'A' && a[2] <= 'Z'));
}

// A formula may look like an option to the parser ("--5", "-t*2"), which
// then leaves it among the arguments no option took; anything but an
// option proper there is the formula.
bool TakeFormulas(const std::vector<std::string>& extras, EvalOptions& options, std::ostream& err) {
    for (const std::string& a : extras) {
        if (IsOption(a)) return BadArguments(err, "unknown option '" + a + "'");
        options.formulas.push_back(a);
    }
    if (options.formulas.size() > 1) return BadArguments(err, "more than one formula given");
    if (options.formulas.empty()) return BadArguments(err, "no formula given");
    return true;
}

// The grid of the property library window before the user touches it.
void FillStartingGrid(TMyValues& grid) {
    grid.AddParam("t", "20", "C", "温度");
    grid.AddParam("p", "100", "kPa", "压力");
}

int RunEval(EvalOptions& options, const std::vector<std::string>& extras, std::ostream& out,
            std::ostream& err) {
    if (!TakeFormulas(extras, options, err)) return kCliBadArguments;
    const std::string& formula = options.formulas.front();

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
            value = parser.EvaluateWithValues(formula, &grid);
        } catch (const RangeCheckError& e) {
            err << "error: " << e.what() << '\n';
            return kCliFailed;
        }
    } else {
        if (!options.vars.empty()) err << "warning: --var has an effect only with --grid\n";
        parser.SetExpression(formula);
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

} // namespace

CliCommand AddEvalCommand(CLI::App& cli) {
    auto options = std::make_shared<EvalOptions>();
    CLI::App* eval = cli.add_subcommand(
        "eval", "Evaluate a formula of the property library's language (80-bit): prints the "
                "value, the error code and its message. A formula error is a result (exit 0).");
    eval->add_option_function<std::string>(
            "FORMULA", [options](const std::string& f) { options->formulas.push_back(f); },
            "The formula; after \"--\" also one that starts with \"--\"")
        ->type_name("");
    AddRepeatedOption(*eval, "--var", "NAME=VALUE", "Set or add a row of the parameter grid",
                      [options](const std::string& v) {
                          const std::size_t eq = v.find('=');
                          if (eq == std::string::npos || eq == 0)
                              throw CLI::ValidationError("--var",
                                                         "needs NAME=VALUE, got '" + v + "'");
                          options->vars.emplace_back(v.substr(0, eq), v.substr(eq + 1));
                      });
    eval->add_flag("--grid", options->grid,
                   "Take the one-letter variables from the parameter grid (t = 20, p = 100)");
    eval->add_flag("--json", options->json, "Print one JSON object");
    return {eval, kEvalUsage, true,
            [options](const std::vector<std::string>& extras, std::ostream& out,
                      std::ostream& err) { return RunEval(*options, extras, out, err); }};
}

} // namespace kolvane
