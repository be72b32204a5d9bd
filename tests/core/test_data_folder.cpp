// Where the programs find their data files: the build tree and an installation.
#include "records/DataFolder.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kolvane {
namespace {

using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

// bin/ and share/kolvane/ of an installation, and a build tree.
TEST(DataFolder, BesideTheProgramWhenItHoldsTheData) {
    TempDir dir;
    fs::create_directories(dir.path() / "share" / "kolvane");
    fs::create_directories(dir.path() / "bin");
    WriteBytes((dir.path() / "bin" / "Piples.db").string(), "");
    EXPECT_EQ(DataFolder((dir.path() / "bin").string()), (dir.path() / "bin").string() + "/");
}

TEST(DataFolder, UnderShareOfTheInstallation) {
    TempDir dir;
    fs::create_directories(dir.path() / "share" / "kolvane");
    fs::create_directories(dir.path() / "bin");
    EXPECT_EQ(DataFolder((dir.path() / "bin").string()),
              (dir.path() / "share" / "kolvane").string() + "/");
    EXPECT_EQ(DataFolder((dir.path() / "bin").string() + "/"),
              (dir.path() / "share" / "kolvane").string() + "/");
}

TEST(DataFolder, TheProgramsFolderWhenNeitherHoldsData) {
    TempDir dir;
    fs::create_directories(dir.path() / "bin");
    EXPECT_EQ(DataFolder((dir.path() / "bin").string()), (dir.path() / "bin").string() + "/");
    EXPECT_EQ(DataFolder(""), "./");
}

} // namespace
} // namespace kolvane
