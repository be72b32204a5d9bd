#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

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

// The subcommands; each gets the arguments after its own name.
int RunCalcCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const CliEnvironment& env = {});
int RunEvalCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunRefDataCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPropCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// "" when TEXT can be the property library's temperature (NAME "t", °C) or
// pressure ("p", kPa): a number, or empty for none; else the complaint.
std::string NeedsStateNumber(const std::string& name, const std::string& text);

// Where the running program's data files lie: beside it, or under
// share/kolvane of its installation (see DataFolder).
std::string ProgramFolder();

} // namespace kolvane
