// calc --report FILE.pdf through the PDF module, loaded on demand: every
// way the module can be missing or wrong is an error naming the file, with
// exit code 1 and no file written, never a crash.
#include "TempDir.h"

#include "cli/Cli.h"
#include "cli/PdfModule.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace kolvane {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

const std::string kExample = std::string(KOLVANE_EXAMPLES_DIR) + "/hot-water-storage-tank.kvp";

struct CliRun {
    int code;
    std::string err;
};

CliRun ReportThrough(const std::vector<std::string>& modules, const std::string& pdf) {
    CliEnvironment env;
    env.writeReportPdf = PdfModuleWriter(modules);
    std::ostringstream out, err;
    const int code = RunCli({"calc", kExample, "--report", pdf}, out, err, env);
    return {code, err.str()};
}

TEST(PdfModule, LiesBesideTheProgramOrInItsInstallation) {
    EXPECT_EQ(PdfModulePaths("/opt/k/bin"),
              (std::vector<std::string>{"/opt/k/bin/libkolvane-pdf.so",
                                        "/opt/k/lib/kolvane/libkolvane-pdf.so"}));
}

// A row each: where the modules are looked for and what they are; a module
// missing or wrong is an error naming it and writes nothing, the first one
// found writes the report.
TEST(PdfModule, AModuleThatIsMissingOrWrongIsAnErrorNamingItTheFirstFoundWrites) {
    TempDir dir;
    const std::string missing = dir.file("libkolvane-pdf.so"), alsoMissing = dir.file("b.so");
    const std::string text = dir.file("text.so");
    WriteBytes(text, "no shared object");
    struct Row {
        const char* name;
        std::vector<std::string> modules;
        std::vector<std::string> told;
    } rows[] = {
        {"none of the places has it",
         {missing, alsoMissing},
         {"error: --report: 找不到PDF导出模块libkolvane-pdf.so（查找了" + missing + "、" +
              alsoMissing + "）",
          "可以写 .txt、.rtf 或 .doc 报告\n"}},
        {"no shared object", {text}, {"error: --report: 无法载入PDF导出模块" + text + "："}},
        {"a module without the entry",
         {KOLVANE_FAKE_PDF_MODULE_WITHOUT_ENTRY},
         {std::string("PDF导出模块") + KOLVANE_FAKE_PDF_MODULE_WITHOUT_ENTRY +
          "不是这个程序的版本（没有kolvane_pdf_write_report_v1）"}},
        {"the module fails", {KOLVANE_FAKE_PDF_MODULE}, {"error: --report: 磁盘已满\n"}},
        {"the first found writes", {alsoMissing, KOLVANE_FAKE_PDF_MODULE}, {}},
    };
    for (const Row& row : rows) {
        const std::string pdf =
            dir.file(row.name == std::string("the module fails") ? "full.pdf" : "r.pdf");
        const CliRun r = ReportThrough(row.modules, pdf);
        const bool writes = row.told.empty();
        EXPECT_EQ(r.code, writes ? kCliOk : kCliFailed) << row.name << ": " << r.err;
        for (const std::string& part : row.told)
            EXPECT_NE(r.err.find(part), std::string::npos) << row.name << ": " << r.err;
        if (writes)
            EXPECT_EQ(ReadBytes(pdf), "%PDF-fake");
        else
            EXPECT_FALSE(std::filesystem::exists(pdf)) << row.name;
    }
}

} // namespace
} // namespace kolvane
