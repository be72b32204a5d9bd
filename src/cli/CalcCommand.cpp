#include "cli/Cli.h"

#include <ostream>

namespace kolvane {

int RunCalcCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    err << "error: calc is not built yet\n";
    return kCliFailed;
}

} // namespace kolvane
