// kolvane-cli refdata: the pipe series and the expansion coefficients.
#include "cli/Cli.h"
#include "cli/Json.h"

#include "refdata/RefData.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <ostream>

namespace kolvane {

namespace {

int RunRefData(bool json, std::ostream& out, std::ostream& err) {
    RefTables tables;
    tables.open((std::filesystem::path(ProgramFolder()) / "Piples.db").string());
    if (!tables.available()) {
        err << "error: 参考数据不可用：" << tables.problem() << '\n';
        return kCliFailed;
    }
    if (!json) {
        out << "序号\t管子规格\t外径\t内径\n";
        for (const PipeRow& p : tables.pipes())
            out << p.id << '\t' << p.dn << '\t' << p.outside << '\t' << p.inside << '\n';
        out << "\n序号\t液体\t膨胀系数(1E-4/K)\n";
        for (const ExpansionRow& e : tables.expansion())
            out << e.id << '\t' << e.name << '\t' << e.ec << '\n';
        return kCliOk;
    }
    Json pipes = Json::array(), expansion = Json::array();
    for (const PipeRow& p : tables.pipes())
        pipes.push_back({{"ID", p.id},
                         {"DN", p.dn},
                         {"Do", JsonNumber(p.outside)},
                         {"Di", JsonNumber(p.inside)}});
    for (const ExpansionRow& e : tables.expansion())
        expansion.push_back({{"ID", e.id}, {"DN", e.name}, {"Ec", JsonNumber(e.ec)}});
    Json all;
    all["pipes"] = std::move(pipes);
    all["expansion"] = std::move(expansion);
    out << DumpJson(all) << '\n';
    return kCliOk;
}

} // namespace

CliCommand AddRefDataCommand(CLI::App& cli) {
    auto json = std::make_shared<bool>(false);
    CLI::App* refdata = cli.add_subcommand(
        "refdata", "The pipe series and the liquids' expansion coefficients of the pick lists.");
    refdata->add_flag("--json", *json, "Print both tables as one JSON object");
    return {refdata, "refdata [--json]", false,
            [json](const std::vector<std::string>&, std::ostream& out, std::ostream& err) {
                return RunRefData(*json, out, err);
            }};
}

} // namespace kolvane
