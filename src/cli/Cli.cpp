#include "cli/Cli.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

namespace kolvane {

namespace {

void PrintUsage(std::ostream& err, const std::vector<CliCommand>& commands) {
    err << "usage: kolvane-cli COMMAND [ARGS]   (kolvane-cli COMMAND --help for its options)\n";
    for (const CliCommand& c : commands)
        err << "  kolvane-cli " << c.usage << '\n';
}

// What was wrong with the arguments, in the words the commands have always
// used where CLI11 words it otherwise.
std::string Complaint(const CLI::ParseError& e, const std::vector<std::string>& args) {
    // CLI11 takes the value of an option whatever it looks like, so a value
    // is missing only when the option is the last argument.
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) && !args.empty()) {
        const std::string option = args.back().substr(0, args.back().find('='));
        if (std::string(e.what()).starts_with(option + ": ")) return option + " needs a value";
    }
    return e.what();
}

} // namespace

void AddRepeatedOption(CLI::App& command, const std::string& name, const std::string& valueName,
                       const std::string& help, std::function<void(const std::string&)> add) {
    // Run on each occurrence as it is parsed, so that options of different
    // names keep their order among each other too.
    command.add_option_function<std::string>(name, std::move(add), help)
        ->type_name(valueName)
        ->trigger_on_parse();
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env) {
    CLI::App cli("容器传热计算 (Kolvane) without the window: the window's calculation, project "
                 "files, property library and reference data.",
                 "kolvane-cli");
    cli.footer("Exit code: 0 done, 1 a step or the command failed, 2 bad arguments (nothing "
               "was run).");
    cli.require_subcommand(0, 1);
    cli.allow_extras();
    // An option given twice keeps its last value, as it always did.
    cli.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    const std::vector<CliCommand> commands = {AddCalcCommand(cli, env), AddEvalCommand(cli),
                                              AddRefDataCommand(cli),   AddPropCommand(cli),
                                              AddStudyCommand(cli),     AddBatchCommand(cli),
                                              AddOptimiseCommand(cli),  AddUncertaintyCommand(cli)};
    for (const CliCommand& c : commands)
        c.app->allow_extras();

    if (args.empty()) {
        PrintUsage(err, commands);
        return kCliBadArguments;
    }
    const auto named = [&](const CliCommand& c) { return c.app->get_name() == args[0]; };
    if (!args[0].starts_with('-') && std::none_of(commands.begin(), commands.end(), named)) {
        err << "error: unknown command '" << args[0] << "'\n";
        PrintUsage(err, commands);
        return kCliBadArguments;
    }

    const CliCommand* command = nullptr;
    auto findCommand = [&] {
        for (const CliCommand& c : commands)
            if (c.app->parsed()) command = &c;
    };
    try {
        cli.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::CallForHelp&) {
        out << cli.help();
        return kCliOk;
    } catch (const CLI::ParseError& e) {
        err << "error: " << Complaint(e, args) << '\n';
        findCommand();
        if (command)
            err << "usage: kolvane-cli " << command->usage << '\n';
        else
            PrintUsage(err, commands);
        return kCliBadArguments;
    }
    findCommand();
    if (!command) {
        // Options without a command.
        const std::vector<std::string> extras = cli.remaining();
        if (!extras.empty()) err << "error: unknown argument '" << extras.front() << "'\n";
        PrintUsage(err, commands);
        return kCliBadArguments;
    }
    std::vector<std::string> extras = command->app->remaining();
    // CLI11 leaves the "--" that ends the options among them.
    std::erase(extras, "--");
    if (!command->takesExtras && !extras.empty()) {
        err << "error: unknown argument '" << extras.front() << "'\n";
        return kCliBadArguments;
    }
    return command->run(extras, out, err);
}

} // namespace kolvane
