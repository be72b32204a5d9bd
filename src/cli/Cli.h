#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kolvane {

// Exit codes of kolvane-cli.
enum CliExit { kCliOk = 0, kCliFailed = 1, kCliBadArguments = 2 };

// Runs `kolvane-cli` with its arguments (without the program name).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The subcommands; each gets the arguments after its own name.
int RunCalcCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunEvalCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunRefDataCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPropCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Where the running program's data files lie: beside it, or under
// share/kolvane of its installation (see DataFolder).
std::string ProgramFolder();

} // namespace kolvane
