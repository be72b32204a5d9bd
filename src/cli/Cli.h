#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kolvane {

class TFormKolvane;

// Exit codes of kolvane-cli.
enum CliExit { kCliOk = 0, kCliFailed = 1, kCliBadArguments = 2 };

// What the program around the command line offers beyond the core.
struct CliEnvironment {
    // Writes the window's generated report, with its heating curve, as a
    // PDF file at the path; throws when it cannot. Empty in a build without
    // the Qt page layout, where `calc --report FILE.pdf` is an error.
    std::function<void(const TFormKolvane& window, const std::string& path)> writeReportPdf;
};

// Runs `kolvane-cli` with its arguments (without the program name).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env = {});

// A subcommand: its options, added to the command line's parser, and what
// runs with the values parsed. The arguments no option took (CLI11's
// extras) are the command's to judge.
struct CliCommand {
    CLI::App* app;
    const char* usage; // its synopsis, after "kolvane-cli "
    // False: an extra argument is refused before the command runs.
    bool takesExtras;
    std::function<int(const std::vector<std::string>& extras, std::ostream& out, std::ostream& err)>
        run;
};
CliCommand AddCalcCommand(CLI::App& cli, const CliEnvironment& env);
CliCommand AddEvalCommand(CLI::App& cli);
CliCommand AddRefDataCommand(CLI::App& cli);
CliCommand AddPropCommand(CLI::App& cli);
CliCommand AddStudyCommand(CLI::App& cli);
CliCommand AddBatchCommand(CLI::App& cli);
CliCommand AddOptimiseCommand(CLI::App& cli);
CliCommand AddUncertaintyCommand(CLI::App& cli);

// An option whose every occurrence, in the order given, is passed to `add`
// (CLI11 keeps only one result per option otherwise).
void AddRepeatedOption(CLI::App& command, const std::string& name, const std::string& valueName,
                       const std::string& help, std::function<void(const std::string&)> add);

// "" when TEXT can be the property library's temperature (NAME "t", °C) or
// pressure ("p", kPa): a number, or empty for none; else the complaint,
// "takes a number (…), not 'TEXT'".
std::string NeedsStateNumber(const std::string& name, const std::string& text);

// The folder of the running program's file.
std::string ProgramFileFolder();

// Where the running program's data files lie: beside it, or under
// share/kolvane of its installation (see DataFolder).
std::string ProgramFolder();

} // namespace kolvane
