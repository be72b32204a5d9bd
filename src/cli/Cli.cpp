#include "cli/Cli.h"

#include <ostream>
#include <string_view>

namespace kolvane {

namespace {

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

struct CommandEntry {
    std::string_view name;
    Command run;
    std::string_view usage;
};

const CommandEntry kCommands[] = {
    {"calc", RunCalcCommand,
     "calc [FILE] [--set NAME=TEXT | --unit NAME=INDEX | --choose NAME=INDEX | --save PATH |\n"
     "      --open PATH | --check NAME=0|1 | --press NAME | --prop BUTTON=FLUID[,t=T][,p=P] |\n"
     "      --pick BUTTON=#N|=TEXT|cancel | --pipe N]... [--json] [--report PATH.txt|.rtf|.doc]\n"
     "      [--curve PATH.csv]"},
    {"eval", RunEvalCommand, "eval FORMULA [--var NAME=VALUE]... [--grid] [--json]"},
    {"refdata", RunRefDataCommand, "refdata [--json]"},
    {"prop", RunPropCommand,
     "prop (--fluid NO_OR_NAME | --text PROPERTY_TEXT --name CP|MD|VI|TC|ST|HV [--cn NAME])\n"
     "      [--t T] [--p P] [--json]   |   prop --list [--json]"},
};

void PrintUsage(std::ostream& err) {
    err << "usage: kolvane-cli COMMAND [ARGS]\n";
    for (const auto& c : kCommands)
        err << "  kolvane-cli " << c.usage << '\n';
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintUsage(err);
        return kCliBadArguments;
    }
    for (const auto& c : kCommands) {
        if (args[0] == c.name) return c.run({args.begin() + 1, args.end()}, out, err);
    }
    err << "error: unknown command '" << args[0] << "'\n";
    PrintUsage(err);
    return kCliBadArguments;
}

} // namespace kolvane
