#include "TempDir.h"

#include "form/UiServices.h"
#include "records/MruUnit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace kolvane {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

MenuItemModel Item(const char* name, const char* caption) {
    return {name, caption, false, ""};
}

// The main window's File menu and its list, set up as the window does.
struct FileMenu : testing::Test {
    ScriptedUiServices ui;
    MenuModel menu{{Item("MFNew", "&N 新建"), Item("MFOpen", "&O 打开"), Item("", "-"),
                    Item("MFSave", "&S 保存"), Item("MFAs", "&A 另存为"),
                    Item("MFTemp", "&T 存为模板"), Item("", "-"), Item("MFExit", "&E 退出")}};
    TMostRecentFiles mrf{&ui, "Kolvane"};
    std::vector<std::string> opened;

    FileMenu() {
        mrf.setShowFullPath(true);
        mrf.setMenuPosition(6);
        mrf.setFileExt("kvp");
        mrf.OnMenuClick = [this](const std::string& f) { opened.push_back(f); };
        mrf.setOwnerMenuItem(&menu);
    }

    std::vector<std::string> captions() const {
        std::vector<std::string> out;
        for (const auto& m : menu.items)
            out.push_back(m.caption);
        return out;
    }
    std::size_t indexOf(const std::string& caption) const {
        for (std::size_t i = 0; i < menu.items.size(); ++i)
            if (menu.items[i].caption == caption) return i;
        return menu.items.size();
    }
};

using Captions = std::vector<std::string>;

TEST_F(FileMenu, EntriesGoBetweenSaveAsTemplateAndExitWithOneNewSeparator) {
    EXPECT_EQ(menu.items.size(), 8u) << "an empty list adds nothing";
    mrf.AddFile("/data/b.kvp");
    mrf.AddFile("/data/a.kvp");
    EXPECT_EQ(captions(),
              (Captions{"&N 新建", "&O 打开", "-", "&S 保存", "&A 另存为", "&T 存为模板", "-",
                        "&1  /data/a.kvp", "&2  /data/b.kvp", "-", "&E 退出"}));
    EXPECT_TRUE(menu.items[6].tagged);
    EXPECT_FALSE(menu.items[9].tagged) << "the menu's own separator stays";
    EXPECT_EQ(menu.items[7].file, "/data/a.kvp");
}

TEST_F(FileMenu, TheExtensionTestIgnoresCaseAnEmptyOrWildcardOneTakesEveryFileADotIsOptional) {
    // clang-format off
    std::pair<const char*, bool> rows[] = {{"D:\\a.KVP", true}, {"/home/u/tank.kvp", true}, {"D:\\a.kvt", false},
        {"/home/u/tank", false}, {"/home/u/x.kvp.bak", false}, {"/home/u/dir.kvp/file", false}, {"/home/u/.kvp", true}};
    // clang-format on
    for (const auto& [file, listed] : rows) {
        mrf.AddFile(file);
        EXPECT_EQ(!mrf.files().empty() && mrf.files().front() == file, listed) << file;
    }
    for (const char* ext : {"", "  ", "*.*"}) {
        mrf.setFileExt(ext);
        mrf.AddFile(std::string("/x/file") + ext + ".txt");
        EXPECT_EQ(mrf.files().front(), std::string("/x/file") + ext + ".txt");
    }
    mrf.setFileExt(" .kvp ");
    mrf.AddFile("/x/p.kvp");
    mrf.AddFile("/x/q.txt");
    EXPECT_EQ(mrf.files().front(), "/x/p.kvp");
    TMostRecentFiles unowned;
    unowned.AddFile("/x/p.kvp");
    EXPECT_TRUE(unowned.files().empty()) << "without an owner menu nothing is listed";
}

TEST_F(FileMenu, AddingAgainMovesToTheTopWithoutDuplicates) {
    mrf.AddFile("/p/1.kvp");
    mrf.AddFile("/p/2.kvp");
    mrf.AddFile("/p/3.kvp");
    auto before = menu.items;
    int rebuilt = 0;
    mrf.onMenuChanged = [&] { ++rebuilt; };
    mrf.AddFile("/p/3.kvp"); // already first
    EXPECT_EQ(rebuilt, 0);
    EXPECT_EQ(menu.items, before);
    mrf.AddFile("/P/1.KVP"); // the third, in other letters
    EXPECT_EQ(mrf.files(), (std::vector<std::string>{"/P/1.KVP", "/p/3.kvp", "/p/2.kvp"}));
    EXPECT_EQ(menu.items[7].caption, "&1  /P/1.KVP");
    EXPECT_EQ(menu.items[9].caption, "&3  /p/2.kvp");
    EXPECT_EQ(rebuilt, 1);
}

TEST_F(FileMenu, TheTenthFileDropsTheOldestMaxFilesIsClampedAndFifteenEntriesRunToF) {
    for (int i = 1; i <= 10; ++i)
        mrf.AddFile("/p/" + std::to_string(i) + ".kvp");
    ASSERT_EQ(mrf.files().size(), 9u);
    EXPECT_EQ(mrf.files().front(), "/p/10.kvp");
    EXPECT_EQ(mrf.files().back(), "/p/2.kvp");
    EXPECT_EQ(menu.items.size(), 8u + 9u + 1u);
    mrf.setMaxFiles(0);
    EXPECT_EQ(mrf.MaxFiles(), 1u);
    mrf.setMaxFiles(20);
    EXPECT_EQ(mrf.MaxFiles(), 15u);
    for (int i = 11; i <= 16; ++i)
        mrf.AddFile("/p/" + std::to_string(i) + ".kvp");
    ASSERT_EQ(mrf.files().size(), 15u);
    EXPECT_EQ(menu.items[7].caption, "&1  /p/16.kvp");
    EXPECT_EQ(menu.items[15].caption, "&9  /p/8.kvp");
    EXPECT_EQ(menu.items[16].caption, "&A  /p/7.kvp");
    EXPECT_EQ(menu.items[21].caption, "&F  /p/2.kvp");
    // A smaller maximum cuts the list at the next addition only.
    mrf.setMaxFiles(3);
    EXPECT_EQ(mrf.files().size(), 15u);
    mrf.AddFile("/p/new.kvp");
    EXPECT_EQ(mrf.files().size(), 3u);
}

TEST_F(FileMenu, FileNamesOnlyWhenFullPathsAreOff) {
    mrf.AddFile("/data/projects/储罐.kvp");
    mrf.setShowFullPath(false);
    EXPECT_EQ(menu.items[7].caption, "&1  储罐.kvp");
    EXPECT_EQ(menu.items[7].file, "/data/projects/储罐.kvp");
}

TEST(MruMenu, SeparatorsOnlyWhereNoneIsAlready) {
    struct Row {
        const char* name;
        std::vector<MenuItemModel> items;
        unsigned position;
        std::vector<std::string> expected;
    } rows[] = {
        {"at the start", {Item("A", "a"), Item("B", "b")}, 0, {"&1  f.kvp", "-", "a", "b"}},
        {"at the end", {Item("A", "a"), Item("B", "b")}, 9, {"a", "b", "-", "&1  f.kvp"}},
        {"after a separator",
         {Item("A", "a"), Item("", "-"), Item("B", "b")},
         2,
         {"a", "-", "&1  f.kvp", "-", "b"}},
        {"empty menu", {}, 0, {"&1  f.kvp"}},
    };
    for (const Row& r : rows) {
        MenuModel menu{r.items};
        TMostRecentFiles mrf;
        mrf.setMenuPosition(r.position);
        mrf.setOwnerMenuItem(&menu);
        mrf.AddFile("f.kvp");
        std::vector<std::string> got;
        for (const auto& m : menu.items)
            got.push_back(m.caption);
        EXPECT_EQ(got, r.expected) << r.name;
    }
}

TEST_F(FileMenu, ChoosingAnEntryMovesItUpAndOpensIt) {
    TempDir dir;
    std::string a = dir.file("a.kvp"), b = dir.file("b.kvp");
    WriteBytes(a, "x");
    WriteBytes(b, "x");
    mrf.AddFile(a);
    mrf.AddFile(b);
    mrf.MenuItemClick(indexOf("&2  " + a));
    EXPECT_EQ(opened, (std::vector<std::string>{a}));
    EXPECT_EQ(mrf.files().front(), a);
    EXPECT_EQ(menu.items[7].caption, "&1  " + a);
    // Items that are not entries, and no handler at all, do nothing.
    mrf.MenuItemClick(0);
    mrf.MenuItemClick(6); // the list's separator
    mrf.MenuItemClick(99);
    EXPECT_EQ(opened.size(), 1u);
    mrf.OnMenuClick = nullptr;
    mrf.MenuItemClick(7);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(FileMenu, AVanishedFileIsReportedAndDropped) {
    TempDir dir;
    std::string gone = dir.file("gone.kvp"), kept = dir.file("kept.kvp");
    WriteBytes(kept, "x");
    mrf.AddFile(gone);
    mrf.AddFile(kept);
    mrf.MenuItemClick(indexOf("&2  " + gone));
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "message");
    EXPECT_EQ(ui.shown[0].text, "文件\n\"" + gone + "\"\n已不存在，已从最近使用的文件列表中删除。");
    EXPECT_EQ(mrf.files(), (std::vector<std::string>{kept}));

    std::vector<std::string> reported;
    mrf.OnFileNotExist = [&](const std::string& f) { reported.push_back(f); };
    mrf.AddFile(gone);
    mrf.MenuItemClick(7);
    EXPECT_EQ(reported, (std::vector<std::string>{gone}));
    EXPECT_EQ(ui.shown.size(), 1u) << "the handler replaces the message";
    EXPECT_EQ(mrf.files(), (std::vector<std::string>{kept}));
}

// --- Storage ---

TEST_F(FileMenu, TheListIsStoredWheneverItChanges) {
    TempDir dir;
    std::string ini = dir.file("kolvane.ini");
    mrf.setIniFile(ini);
    mrf.AddFile("/p/1.kvp");
    mrf.AddFile("/p/2.kvp");
    EXPECT_EQ(ReadBytes(ini), "[MRU List]\n1=/p/2.kvp\n2=/p/1.kvp\n3=\n4=\n5=\n6=\n7=\n8=\n9=\n");

    // A second program start reads it back (no orderly shut-down needed).
    MenuModel menu2;
    TMostRecentFiles again;
    again.setOwnerMenuItem(&menu2);
    again.setIniFile(ini);
    EXPECT_EQ(again.files(), (std::vector<std::string>{"/p/2.kvp", "/p/1.kvp"}));
    EXPECT_EQ(menu2.items.size(), 2u);

    // Dropping a vanished file is stored too.
    mrf.MenuItemClick(indexOf("&1  /p/2.kvp"));
    EXPECT_EQ(ReadBytes(ini).substr(0, 24), "[MRU List]\n1=/p/1.kvp\n2=");
}

// Reading stops at the first gap and after the maximum; entries that are no
// file names or repeat one are dropped, and none of this is a damaged file.
TEST(MruStorage, ReadingStopsAtTheFirstGapAndDropsWhatIsNoFileName) {
    struct Row {
        const char* ini;
        unsigned maxFiles;
        std::vector<std::string> files;
    } rows[] = {
        {"[Other]\n1=/not/this.kvp\n\n[mru list]\r\n1 = /a.kvp\r\n2=\"/b c.kvp\"\r\n"
         "3=\r\n4=/d.kvp\r\n",
         9,
         {"/a.kvp", "/b c.kvp"}},
        {"[MRU List]\n1=/1.kvp\n2=/2.kvp\n3=/3.kvp\n", 2, {"/1.kvp", "/2.kvp"}},
        {"[MRU List]\n1=/a.kvp\n2=/b\x01.kvp\n3=/A.KVP\n4=/c\tx.kvp\n5=/d.kvp\n"
         "6=\n7=/after-the-gap.kvp\n",
         9,
         {"/a.kvp", "/d.kvp"}},
        // Blanks inside the brackets, an indented line (no continuation of
        // the value above) and a ";" after a value (no comment).
        {"[ MRU List ]\n1=/a.kvp\n   /indented.kvp\n2=/b.kvp ; kept\n",
         9,
         {"/a.kvp", "/b.kvp ; kept"}},
    };
    for (const Row& r : rows) {
        TempDir dir;
        WriteBytes(dir.file("k.ini"), r.ini);
        ScriptedUiServices ui;
        TMostRecentFiles mrf(&ui);
        mrf.setMaxFiles(r.maxFiles);
        mrf.setIniFile(dir.file("k.ini"));
        EXPECT_EQ(mrf.files(), r.files) << r.ini;
        EXPECT_TRUE(ui.shown.empty()) << r.ini;
    }
}

// Whatever a file name holds comes back as it was, in one line of the file.
// A general INI reader does not do this: inih (as Debian builds it) ends a
// value at " ;" (an inline comment) and splits a line longer than 200 bytes
// into a cut value and a stray key, without an error.
TEST(MruStorage, NamesWithCommentSignsBlanksQuotesOrMoreThan200BytesComeBackAsTheyWere) {
    const std::string longAscii = "/" + std::string(240, 'd') + "/x.kvp";
    std::string longChinese = "/项目 ;";
    for (int i = 0; i < 80; ++i)
        longChinese += "储";
    longChinese += "=1.kvp";
    struct Row {
        std::string name;
        std::string line; // as written after "1="
    } rows[] = {
        {"/p/a ;b.kvp", "/p/a ;b.kvp"},
        {"/p/a;b.kvp", "/p/a;b.kvp"},
        {"/p/#1 a #b.kvp", "/p/#1 a #b.kvp"},
        {"/p/a=b.kvp", "/p/a=b.kvp"},
        {"/项目/储罐 第二批.kvp", "/项目/储罐 第二批.kvp"},
        {" /p/lead.kvp", "\" /p/lead.kvp\""},
        {"/p/trail.kvp  ", "\"/p/trail.kvp  \""},
        {"\"/p/quoted.kvp\"", "\"\"/p/quoted.kvp\"\""},
        {longAscii, longAscii},
        {longChinese, longChinese},
    };
    for (const Row& r : rows) {
        TempDir dir;
        const std::string ini = dir.file("k.ini");
        MenuModel menu;
        TMostRecentFiles mrf;
        mrf.setOwnerMenuItem(&menu);
        mrf.setIniFile(ini);
        mrf.AddFile(r.name);
        EXPECT_EQ(ReadBytes(ini), "[MRU List]\n1=" + r.line + "\n2=\n3=\n4=\n5=\n6=\n7=\n8=\n9=\n");
        TMostRecentFiles again;
        again.setIniFile(ini);
        EXPECT_EQ(again.files(), std::vector<std::string>{r.name}) << r.name;
    }
}

TEST(MruStorage, AMissingFileGivesAnEmptyListOtherSectionsSurviveAFailedStoreIsNoError) {
    TempDir dir;
    std::string ini = dir.file("sub/k.ini");
    MenuModel menu;
    TMostRecentFiles mrf;
    mrf.setOwnerMenuItem(&menu);
    mrf.setIniFile(ini);
    EXPECT_TRUE(mrf.files().empty());
    mrf.AddFile("/a.kvp"); // creates the folder
    EXPECT_NE(ReadBytes(ini).find("1=/a.kvp\n"), std::string::npos);

    WriteBytes(ini, "; notes\n[Window]\nMaximized=1\n[MRU List]\n1=/old.kvp\n12=x\n[Last]\nk=v\n");
    mrf.AddFile("/b.kvp");
    EXPECT_EQ(ReadBytes(ini), "; notes\n[Window]\nMaximized=1\n[MRU List]\n1=/b.kvp\n2=/a.kvp\n"
                              "3=\n4=\n5=\n6=\n7=\n8=\n9=\n[Last]\nk=v\n");

    // A list that cannot be stored (its folder is a file) stays in memory.
    mrf.setIniFile(dir.file("sub/k.ini/k.ini"));
    EXPECT_NO_THROW(mrf.AddFile("/c.kvp"));
    EXPECT_EQ(mrf.files().front(), "/c.kvp");
}

TEST_F(FileMenu, OnlyNamesTheIniFileGivesBackAsTheyWereAreListed) {
    TempDir dir;
    mrf.setIniFile(dir.file("k.ini"));
    for (const std::string& name :
         {std::string("/p/a\nb.kvp"), std::string("/p/a\r.kvp"), std::string("/p/a\0b.kvp", 10),
          std::string("/p/tab\t.kvp"), std::string("/p/\x7f.kvp")})
        mrf.AddFile(name);
    EXPECT_TRUE(mrf.files().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("k.ini"))) << "nothing was stored";
    // A blank at the start would be trimmed off on reading, were it not quoted.
    mrf.AddFile("/p/中文 名.kvp");
    mrf.AddFile(" lead.kvp");
    TMostRecentFiles again;
    again.setIniFile(dir.file("k.ini"));
    EXPECT_EQ(again.files(), (std::vector<std::string>{" lead.kvp", "/p/中文 名.kvp"}));
}

TEST(MruStorage, ADamagedOrUnreadableFileStartsAnEmptyListAndSaysSoOnce) {
    TempDir dir;
    std::string binary = dir.file("binary.ini"), huge = dir.file("huge.ini"),
                fifo = dir.file("fifo.ini"), folder = dir.file("folder.ini");
    WriteBytes(binary, std::string("[MRU List]\n1=/a.kvp\n\0\0\x93garbage", 30));
    WriteBytes(huge, "[MRU List]\n1=/a.kvp\n; " + std::string(2 << 20, 'x') + "\n");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0); // opened for reading, it would block
    std::filesystem::create_directory(folder);
    for (const std::string& ini : {binary, huge, fifo, folder}) {
        ScriptedUiServices ui;
        TMostRecentFiles mrf(&ui);
        mrf.setIniFile(ini);
        EXPECT_TRUE(mrf.files().empty()) << ini;
        ASSERT_EQ(ui.shown.size(), 1u) << ini;
        EXPECT_EQ(ui.shown[0].kind, "status");
        EXPECT_NE(ui.status[1].find("最近文件列表"), std::string::npos) << ui.status[1];
        EXPECT_NE(ui.status[1].find(ini), std::string::npos) << ui.status[1];
    }
    ScriptedUiServices quiet;
    TMostRecentFiles missing(&quiet);
    missing.setIniFile(dir.file("missing.ini"));
    EXPECT_TRUE(quiet.shown.empty()) << "a missing list is no fault";

    // The next change writes a clean file instead of keeping the damage.
    MenuModel menu;
    TMostRecentFiles mrf;
    mrf.setOwnerMenuItem(&menu);
    mrf.setIniFile(binary);
    mrf.AddFile("/b.kvp");
    EXPECT_EQ(ReadBytes(binary), "[MRU List]\n1=/b.kvp\n2=\n3=\n4=\n5=\n6=\n7=\n8=\n9=\n");
}

TEST(MruStorage, TheProgramFolderIfWritableElseThePerUserFolder) {
    TempDir dir;
    std::string prog = dir.path().string();
    EXPECT_EQ(MruIniLocation(prog, "kolvane", "/cfg", "/home/u"), prog + "/kolvane.ini");
    std::string missing = dir.file("not-there");
    EXPECT_EQ(MruIniLocation(missing, "kolvane", "/cfg", "/home/u"), "/cfg/Kolvane/kolvane.ini");
    EXPECT_EQ(MruIniLocation(missing, "kolvane", "relative", "/home/u"),
              "/home/u/.config/Kolvane/kolvane.ini");
    EXPECT_EQ(MruIniLocation(missing, "kolvane", nullptr, "/home/u"),
              "/home/u/.config/Kolvane/kolvane.ini");
    // A settings folder of the caller's (the tests') comes before all of
    // them, the writable program folder included; a relative one is ignored.
    EXPECT_EQ(MruIniLocation(prog, "kolvane", "/cfg", "/home/u", "/tmp/t-settings"),
              "/tmp/t-settings/kolvane.ini");
    EXPECT_EQ(MruIniLocation(prog, "kolvane", "/cfg", "/home/u", "rel"), prog + "/kolvane.ini");
    EXPECT_EQ(MruIniLocation(prog, "kolvane", "/cfg", "/home/u", ""), prog + "/kolvane.ini");
}

TEST(MruIni, SectionsAreReplacedOrAppended) {
    EXPECT_EQ(ReplaceIniSection("", "MRU List", {{"1", "/a"}}), "[MRU List]\n1=/a\n");
    EXPECT_EQ(ReplaceIniSection("[A]\nx=1", "MRU List", {{"1", "/a"}}),
              "[A]\nx=1\n\n[MRU List]\n1=/a\n");
    EXPECT_EQ(
        ReplaceIniSection("[MRU List]\n1=/old\n[MRU List]\n2=/dup\n", "MRU List", {{"1", "/a"}}),
        "[MRU List]\n1=/a\n");
    // A byte-order mark before the section (an editor's): the section is
    // read and replaced, not doubled.
    EXPECT_EQ(ReplaceIniSection("\xEF\xBB\xBF[MRU List]\n1=/old\n", "MRU List", {{"1", "/a"}}),
              "[MRU List]\n1=/a\n");
    EXPECT_EQ(ReadIniSection("\xEF\xBB\xBF[MRU List]\n1=/x\n", "MRU List").size(), 1u);
    auto keys = ReadIniSection("[B]\n1=no\n[MRU List]\n; comment\nbad line\n1=/x\n", "MRU List");
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], (std::pair<std::string, std::string>{"1", "/x"}));
}

} // namespace
} // namespace kolvane
