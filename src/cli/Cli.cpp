#include "cli/Cli.h"

#include <ostream>
#include <string_view>

namespace kolvane {

namespace {

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&,
                        const CliEnvironment&);
using Args = const std::vector<std::string>&;

struct CommandEntry {
    std::string_view name;
    Command run;
    std::string_view usage;
};

const CommandEntry kCommands[] = {
    {"calc",
     [](Args a, std::ostream& o, std::ostream& e, const CliEnvironment& env) {
         return RunCalcCommand(a, o, e, env);
     },
     "calc [FILE] [--set NAME=TEXT | --unit NAME=INDEX | --choose NAME=INDEX | --save PATH |\n"
     "      --open PATH | --check NAME=0|1 | --press NAME | --prop BUTTON=FLUID[,t=T][,p=P] |\n"
     "      --pick BUTTON=#N|=TEXT|cancel | --pipe N]... [--json]\n"
     "      [--report PATH.txt|.rtf|.doc|.pdf] [--curve PATH.csv]"},
    {"eval",
     [](Args a, std::ostream& o, std::ostream& e, const CliEnvironment&) {
         return RunEvalCommand(a, o, e);
     },
     "eval FORMULA [--var NAME=VALUE]... [--grid] [--json]"},
    {"refdata",
     [](Args a, std::ostream& o, std::ostream& e, const CliEnvironment&) {
         return RunRefDataCommand(a, o, e);
     },
     "refdata [--json]"},
    {"prop",
     [](Args a, std::ostream& o, std::ostream& e, const CliEnvironment&) {
         return RunPropCommand(a, o, e);
     },
     "prop (--fluid NO_OR_NAME | --text PROPERTY_TEXT --name CP|MD|VI|TC|ST|HV [--cn NAME])\n"
     "      [--t T] [--p P] [--for SBP1|SBP2|SBP2v] [--json]   |   prop --list [--json]"},
};

void PrintUsage(std::ostream& err) {
    err << "usage: kolvane-cli COMMAND [ARGS]\n";
    for (const auto& c : kCommands)
        err << "  kolvane-cli " << c.usage << '\n';
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env) {
    if (args.empty()) {
        PrintUsage(err);
        return kCliBadArguments;
    }
    for (const auto& c : kCommands) {
        if (args[0] == c.name) return c.run({args.begin() + 1, args.end()}, out, err, env);
    }
    err << "error: unknown command '" << args[0] << "'\n";
    PrintUsage(err);
    return kCliBadArguments;
}

} // namespace kolvane
