#pragma once

#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace kolvane::testing_support {

// kolvane-cli run in the test's process: its exit code and what it wrote.
struct CliRun {
    int code;
    std::string out, err;
};

inline CliRun Cli(const std::vector<std::string>& args, const CliEnvironment& env = {}) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err, env);
    return {code, out.str(), err.str()};
}

} // namespace kolvane::testing_support
