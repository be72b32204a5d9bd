// The saved report as another program reads it: LibreOffice opens the RTF
// and writes its text, which must be the plain-text report line by line.
#include "TempDir.h"

#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "report/Report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace kolvane {
namespace {

using namespace testing_support; // TempDir, ReadBytes, WriteBytes

// The lines without their ends and trailing blanks, which the export may trim.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line.erase(line.find_last_not_of("\r \t") + 1));
    return out;
}

// What LibreOffice's text export adds to what it read, undone: a byte-order
// mark, and (LibreOffice 7.4's RTF reader) a six-per-em space U+2006 in
// front of every blank. The report itself never writes U+2006, so only
// this pairing is taken back.
std::string Normalised(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    const std::string sixPerEm = "\xE2\x80\x86 ";
    for (std::size_t at; (at = text.find(sixPerEm)) != std::string::npos;)
        text.replace(at, sixPerEm.size(), " ");
    return text;
}

TEST(ReportRtfReadBack, LibreOfficeReadsTheTextOfThePlainReport) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: libreoffice-writer-nogui";
    TempDir dir;
    const char* const examples[] = {"hot-water-storage-tank", "steam-coil-reactor",
                                    "batch-cooling-coil"};
    std::string files;
    std::vector<std::string> plain;
    for (const char* name : examples) {
        ScriptedUiServices ui;
        TFormKolvane w(ui, KOLVANE_EXAMPLES_DIR);
        ASSERT_TRUE(w.OpenProjectFile(std::string(KOLVANE_EXAMPLES_DIR) + "/" + name + ".kvp"));
        w.MaoDExit(w.field("TaoD"));
        w.SBRSimpleClick();
        ReportDocument doc = w.reportDocument();
        // User text that RTF must escape, and a character beyond GBK's two bytes.
        doc.AppendLine("        备注{a}\\b 😀");
        WriteBytes(dir.file(std::string(name) + ".rtf"), ReportRtf(doc));
        plain.push_back(ReportPlainText(doc));
        files += " '" + dir.file(std::string(name) + ".rtf") + "'";
    }
    // One start of LibreOffice for all three, with a profile of its own.
    const std::string command = "HOME='" + dir.path().string() +
                                "' soffice --headless --convert-to 'txt:Text (encoded):UTF8'" +
                                " --outdir '" + dir.file("out") + "'" + files + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        SCOPED_TRACE(examples[i]);
        const std::string read = ReadBytes(dir.file("out/" + std::string(examples[i]) + ".txt"));
        ASSERT_FALSE(read.empty());
        const std::vector<std::string> want = Lines(plain[i]), got = Lines(Normalised(read));
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t k = 0; k < want.size(); ++k)
            EXPECT_EQ(got[k], want[k]) << "line " << k + 1;
    }
}

} // namespace
} // namespace kolvane
