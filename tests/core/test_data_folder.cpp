// Where the programs find their data files: the build tree and an installation.
#include "files/DataFolder.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace kolvane {
namespace {

// bin/ beside share/kolvane/ as in an installation, or a build tree.
TEST(DataFolder, BesideTheProgramElseUnderShareElseTheProgramsFolder) {
    struct Row {
        const char* name;
        bool share, dataInBin;
        const char* arg; // appended to bin
        const char* expected;
    } rows[] = {{"data beside the program", true, true, "", "bin/"},
                {"installation", true, false, "", "share/kolvane/"},
                {"installation, folder with a slash", true, false, "/", "share/kolvane/"},
                {"neither holds data", false, false, "", "bin/"}};
    for (const Row& r : rows) {
        testing_support::TempDir dir;
        const std::string root = dir.path().string() + "/";
        std::filesystem::create_directories(root + "bin");
        if (r.share) std::filesystem::create_directories(root + "share/kolvane");
        if (r.dataInBin) testing_support::WriteBytes(root + "bin/Piples.db", "");
        EXPECT_EQ(DataFolder(root + "bin" + r.arg), root + r.expected) << r.name;
    }
    EXPECT_EQ(DataFolder(""), "./");
}

} // namespace
} // namespace kolvane
