#include "cli/Cli.h"
#ifdef KOLVANE_CLI_PDF
#include "cli/PdfModule.h"
#endif

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    kolvane::CliEnvironment env;
#ifdef KOLVANE_CLI_PDF
    env.writeReportPdf =
        kolvane::PdfModuleWriter(kolvane::PdfModulePaths(kolvane::ProgramFileFolder()));
#endif
    return kolvane::RunCli(args, std::cout, std::cerr, env);
}
