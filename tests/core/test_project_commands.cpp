#include "TempDir.h"

#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "records/FormRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace kolvane {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

const std::string kTitle = "容器传热计算(Kolvane)V2012.10.01.10";
const std::string kQuestion = "项目已经改变，保存变化吗？";

struct Commands : testing::Test {
    TempDir dir;
    ScriptedUiServices ui;
    TFormKolvane w{ui};

    TEditD& mass() { return w.field("MaoD"); }
    TRichEdit& report() { return w.form().get<TRichEdit>("RichEditReport"); }
    std::string path(const char* name) { return dir.file(name); }

    // A project file on disk, written by another window.
    std::string projectWith(const char* name, const char* massText) {
        ScriptedUiServices otherUi;
        TFormKolvane other(otherUi);
        other.field("MaoD").setText(massText);
        other.form().get<TRichEdit>("RichEditReport").setText("report of " + std::string(name));
        std::string p = path(name);
        SaveFormRecord(other.form(), p, false, {});
        return p;
    }
    // A template on disk, written by another window.
    std::string templateWith(const char* name, const char* timeText) {
        ScriptedUiServices otherUi;
        TFormKolvane other(otherUi);
        other.field("TaoD").setText(timeText);
        other.SaveTemplate(path(name));
        return path(name);
    }
    // Two projects opened one after the other: b is the current one.
    std::pair<std::string, std::string> openTwo() {
        std::string a = projectWith("a.kvp", "1"), b = projectWith("b.kvp", "2");
        ui.files = {a, b};
        w.MFOpenClick();
        w.MFOpenClick();
        return {a, b};
    }
    // The i-th file dialog's title and filter index.
    std::string dialog(std::size_t i) const {
        return ui.dialogs.at(i).title + " " + std::to_string(ui.dialogs.at(i).filterIndex);
    }
    static std::string titled(const std::string& p) { return kTitle + "-[" + p + "]"; }
    int questions() const {
        int n = 0;
        for (const auto& s : ui.shown)
            n += s.kind == "question";
        return n;
    }
};

TEST_F(Commands, SavingAnUnnamedProjectAsksForANameAndAdoptsIt) {
    mass().setText("5");
    ui.files = {path("new.kvp")};
    EXPECT_TRUE(w.DirectSaveProj());
    ASSERT_EQ(ui.dialogs.size(), 1u);
    const auto& d = ui.dialogs[0];
    EXPECT_EQ(dialog(0) + " " + d.filter + " " + d.defaultExt + " " + d.initialDir,
              "新建项目-输入名称 1 Kolvane 项目文件（*.kvp）|*.kvp|Kolvane 模板文件（*.kvt）|*.kvt "
              "kvp ");
    EXPECT_EQ(w.ProjectFileName(), path("new.kvp"));
    EXPECT_EQ(w.title(), titled(path("new.kvp")));
    EXPECT_FALSE(w.ProjectChanged());
    EXPECT_FALSE(w.MFSave().enabled());
    EXPECT_EQ(w.MRF().files().front(), path("new.kvp"));
    EXPECT_NE(ReadBytes(path("new.kvp")).find("MaoD\r\nString\r\nText\r\n5\r\n"),
              std::string::npos);
    mass().setText("6");
    w.MFSave().Click(); // the menu item runs Save
    EXPECT_NE(ReadBytes(path("new.kvp")).find("Text\r\n6\r\n"), std::string::npos);
}

TEST_F(Commands, SaveOfANamedProjectWritesWithoutADialogEvenWhenSaveIsDisabled) {
    ui.files = {path("p.kvp")};
    w.MFAsClick();
    ASSERT_FALSE(w.MFSave().enabled());
    mass().setText("9");
    w.setProjectChanged(false);
    w.MFSaveClick(); // the toolbar button works while the menu item is disabled
    EXPECT_EQ(ui.dialogs.size(), 1u);
    EXPECT_NE(ReadBytes(path("p.kvp")).find("Text\r\n9\r\n"), std::string::npos);
}

// A cancelled save dialog, a failed save, New answered with the default Yes
// whose save dialog is cancelled, and a cancelled Open: the project keeps its
// edits, unnamed and marked as unsaved.
TEST_F(Commands, ACancelledOrFailedSaveChangesNothing) {
    mass().setText("5");
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"save dialog cancelled", [&] { EXPECT_FALSE(w.DirectSaveProj()); }},
        {"save failed",
         [&] {
             ui.files = {path("no-such-folder/p.kvp")};
             EXPECT_THROW(w.DirectSaveProj(), IoError);
         }},
        {"new, save dialog cancelled", [&] { w.MFNewClick(); }},
        {"open dialog cancelled", [&] {
             ui.answers = {Answer::No};
             w.MFOpenClick();
         }}};
    for (const auto& [name, command] : rows) {
        command();
        EXPECT_EQ(w.ProjectFileName(), "") << name;
        EXPECT_EQ(w.title(), kTitle) << name;
        EXPECT_TRUE(w.ProjectChanged()) << name;
        EXPECT_TRUE(w.MFSave().enabled()) << name;
        EXPECT_EQ(mass().text(), "5") << name;
        EXPECT_TRUE(w.MRF().files().empty()) << name;
    }
    EXPECT_EQ(questions(), 2);
}

TEST_F(Commands, SaveAsMovesToTheNewFileAndLeavesTheOldOne) {
    ui.files = {path("old.kvp"), path("new.kvp")};
    mass().setText("1");
    w.MFAsClick();
    std::string old = ReadBytes(path("old.kvp"));
    mass().setText("2");
    w.MFAsClick();
    EXPECT_EQ(dialog(1), "另存为-输入名称 1");
    EXPECT_EQ(ReadBytes(path("old.kvp")), old);
    EXPECT_EQ(w.ProjectFileName(), path("new.kvp"));
    EXPECT_EQ(w.MRF().files(), (std::vector<std::string>{path("new.kvp"), path("old.kvp")}));
    EXPECT_FALSE(w.ProjectChanged());
}

TEST_F(Commands, SaveAsTemplateChangesNothingAndLeavesOutTheReport) {
    ui.files = {path("p.kvp"), path("t.kvt")};
    w.MFAsClick();
    report().setText("a report");
    mass().setText("3");
    std::string title = w.title();
    w.MFTempClick();
    EXPECT_EQ(dialog(1), "存为模板-输入模板名称 2");
    EXPECT_EQ(w.title(), title);
    EXPECT_EQ(w.ProjectFileName(), path("p.kvp"));
    EXPECT_TRUE(w.ProjectChanged());
    EXPECT_EQ(w.MRF().files().size(), 1u);
    std::string t = ReadBytes(path("t.kvt"));
    EXPECT_EQ(t.find("RichEditReport"), std::string::npos);
    EXPECT_NE(t.find("CmtoD\r\nRich\r\n"), std::string::npos);
}

TEST_F(Commands, NewFromATemplateGivesAnUnnamedProject) {
    ui.files = {templateWith("base.kvt", "7200")};
    report().setText("current report");
    w.MFNewClick();
    EXPECT_EQ(dialog(0), "新建项目-选择模板 2");
    EXPECT_EQ(w.field("TaoD").text(), "7200");
    EXPECT_EQ(report().text(), "") << "a new project keeps nothing of the previous one";
    EXPECT_EQ(w.ProjectFileName(), "");
    EXPECT_EQ(w.title(), kTitle + "-[无名项目]");
    EXPECT_FALSE(w.ProjectChanged());
    EXPECT_TRUE(w.MRF().files().empty()) << "templates are not recent projects";
}

TEST_F(Commands, ChangedProjectIsOfferedForSavingOnceBeforeNewOrOpen) {
    std::string p = projectWith("other.kvp", "42");
    mass().setText("5");
    // Yes on an unnamed project: the save dialog, cancelled; Open goes on.
    ui.answers = {Answer::Yes};
    ui.files = {"", p};
    w.MFOpenClick();
    EXPECT_EQ(questions(), 1);
    ASSERT_EQ(ui.dialogs.size(), 2u);
    EXPECT_EQ(dialog(0) + ", " + dialog(1), "新建项目-输入名称 1, 打开项目-选择项目文件 1");
    EXPECT_EQ(mass().text(), "42");
}

TEST_F(Commands, YesSavesTheNamedProjectBeforeOpening) {
    std::string other = projectWith("other.kvp", "42");
    ui.files = {path("mine.kvp")};
    w.MFAsClick();
    mass().setText("5");
    ui.answers = {Answer::Yes};
    ui.files = {other};
    w.MFOpenClick();
    EXPECT_NE(ReadBytes(path("mine.kvp")).find("Text\r\n5\r\n"), std::string::npos);
    EXPECT_EQ(w.ProjectFileName(), other);
}

TEST_F(Commands, OpeningAProjectMakesItTheProjectFile) {
    std::string p = projectWith("tank.kvp", "8000");
    mass().setText("1");
    ui.answers = {Answer::No};
    ui.files = {p};
    w.MFOpenClick();
    EXPECT_EQ(mass().text(), "8000");
    EXPECT_EQ(report().text(), "report of tank.kvp");
    EXPECT_EQ(w.ProjectFileName(), p);
    EXPECT_EQ(w.title(), titled(p));
    EXPECT_FALSE(w.ProjectChanged());
    EXPECT_FALSE(w.MFSave().enabled());
    EXPECT_EQ(w.MRF().files().front(), p);
    EXPECT_EQ(w.MFile().items[7].caption, "&1  " + p);
}

TEST_F(Commands, ATemplateOpenedWithOpenBecomesTheProjectButNotARecentFile) {
    ui.files = {templateWith("t.kvt", "60")};
    w.MFOpenClick();
    EXPECT_EQ(w.ProjectFileName(), path("t.kvt"));
    EXPECT_TRUE(w.MRF().files().empty());
    w.field("TaoD").setText("120");
    w.MFSaveClick();
    EXPECT_NE(ReadBytes(path("t.kvt")).find("Text\r\n120\r\n"), std::string::npos);
}

TEST_F(Commands, AFileThatIsNoProjectIsNeverAdopted) {
    std::string current = projectWith("current.kvp", "5");
    ui.files = {current};
    w.MFOpenClick();
    std::string notes = path("notes.kvp");
    WriteBytes(notes, "just some text\r\n");
    WriteBytes(path("empty.kvp"), "");
    struct Row {
        const char* name;
        std::string file;
        void (TFormKolvane::*command)();
        const char* says;
    } rows[] = {{"Open, not a record file", notes, &TFormKolvane::MFOpenClick, "项目"},
                {"Open, empty", path("empty.kvp"), &TFormKolvane::MFOpenClick, "项目"},
                {"Open, missing", path("missing.kvp"), &TFormKolvane::MFOpenClick, "项目"},
                {"New, not a record file", notes, &TFormKolvane::MFNewClick, "模板"}};
    for (const Row& r : rows) {
        ui.shown.clear();
        ui.files = {r.file};
        (w.*r.command)();
        EXPECT_EQ(w.ProjectFileName(), current) << r.name;
        EXPECT_EQ(w.title(), titled(current)) << r.name;
        EXPECT_EQ(mass().text(), "5") << r.name;
        EXPECT_FALSE(w.ProjectChanged()) << r.name;
        ASSERT_FALSE(ui.shown.empty());
        EXPECT_EQ(ui.shown.back().kind, "message");
        EXPECT_EQ(ui.shown.back().text,
                  std::string("不是有效的Kolvane") + r.says + "文件:" + r.file)
            << r.name;
    }
    EXPECT_EQ(w.MRF().files(), (std::vector<std::string>{current}));
    // So a later Save writes the real project, not the stray file.
    mass().setText("6");
    w.MFSaveClick();
    EXPECT_EQ(ReadBytes(notes), "just some text\r\n");
}

TEST_F(Commands, ADamagedProjectChangesNothing) {
    std::string current = projectWith("current.kvp", "5");
    ui.files = {current};
    w.MFOpenClick();
    mass().setText("6"); // unsaved edit
    std::string before = FormRecordText(w.form(), true, {});
    WriteBytes(path("bad.kvp"),
               "CFR File Format(Compatible Form Record File),by Quorvantelbix.\r\nV\r\n\r\n"
               "MaoD\r\nString\r\nText\r\n999\r\n\r\n"
               "TaoD\r\nFloat\r\nExchange\r\nsixty\r\n\r\n");
    ui.answers = {Answer::No};
    ui.files = {path("bad.kvp")};
    EXPECT_THROW(w.MFOpenClick(), FormRecordError);
    EXPECT_EQ(FormRecordText(w.form(), true, {}), before);
    EXPECT_EQ(w.ProjectFileName(), current);
    EXPECT_EQ(w.title(), titled(current));
    EXPECT_TRUE(w.ProjectChanged());
    EXPECT_EQ(w.MRF().files().size(), 1u);
}

std::string Example(const char* name) {
    return ReadBytes(std::string(KOLVANE_EXAMPLES_DIR) + "/" + name);
}

// The example without the records that begin with the given lines: every
// record of a component ("DeniD"), or one ("Tom2D\r\nOrd\r\nColor").
std::string Without(std::string bytes, const std::vector<std::string>& starts) {
    for (const std::string& start : starts)
        for (std::size_t at; (at = bytes.find("\r\n" + start + "\r\n")) != std::string::npos;)
            bytes.erase(at + 2, bytes.find("\r\n\r\n", at + 2) + 2 - at);
    return bytes;
}

// The message boxes shown, and the status texts that speak of the file
// (the pass that follows a load has its own).
std::vector<std::string> Told(const ScriptedUiServices& ui) {
    std::vector<std::string> told;
    for (const auto& s : ui.shown)
        if (s.kind == "message" || (s.kind == "status" && s.text.starts_with("文件中")))
            told.push_back(s.kind + ": " + s.text);
    return told;
}

// Every example and template, and every file saved from them, loads without
// a word and saves back to the same bytes.
TEST_F(Commands, ExamplesLoadSilentlyAndSaveBackByteForByte) {
    for (const char* name : {"hot-water-storage-tank.kvp", "steam-coil-reactor.kvp",
                             "batch-cooling-coil.kvp", "steam-coil-reactor.kvt"}) {
        const std::string original = Example(name);
        std::string from = std::string(KOLVANE_EXAMPLES_DIR) + "/" + name;
        for (const char* round : {"first", "second"}) {
            ScriptedUiServices ui2;
            TFormKolvane w2(ui2);
            ASSERT_TRUE(w2.OpenProjectFile(from)) << name;
            EXPECT_EQ(Told(ui2), std::vector<std::string>{}) << name << " " << round;
            EXPECT_FALSE(w2.ProjectChanged()) << name;
            const std::string to = path((std::string(round) + "-" + name).c_str());
            if (std::string_view(name).ends_with(".kvt"))
                w2.SaveTemplate(to);
            else
                w2.SaveProjectAs(to);
            EXPECT_EQ(ReadBytes(to), original) << name << " " << round;
            from = to;
        }
    }
}

// A line lost is refused by every command that loads (the kinds of damage
// are test_form_record's): nothing changes, nothing enters the recent files.
TEST_F(Commands, ADamagedFileIsRefusedByEveryCommandThatLoads) {
    const std::string example = Example("hot-water-storage-tank.kvp");
    const std::size_t itemIndex = example.find("\r\nTom1U\r\nOrd\r\nItemIndex\r\n") + 14;
    const int line =
        1 + static_cast<int>(
                std::count(example.begin(), example.begin() + static_cast<long>(itemIndex), '\n'));
    std::string current = projectWith("current.kvp", "5");
    ui.files = {current};
    w.MFOpenClick();
    mass().setText("6");
    const std::string before = FormRecordText(w.form(), true, {});
    for (const char* command : {"open", "new", "recent"}) {
        const std::string file = path("lost.kvp");
        WriteBytes(file, example.substr(0, itemIndex) + example.substr(itemIndex + 11));
        ui.answers = {Answer::No};
        ui.files = {file};
        try {
            if (command == std::string("open")) w.MFOpenClick();
            if (command == std::string("new")) w.MFNewClick();
            if (command == std::string("recent")) w.MRFMenuClick(file);
            ADD_FAILURE() << command << ": loaded";
        } catch (const FormRecordError& e) {
            EXPECT_EQ(e.line(), line) << command << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find("'0'不是属性名"), std::string::npos) << e.what();
        }
        EXPECT_EQ(FormRecordText(w.form(), true, {}), before) << command;
        EXPECT_EQ(w.title(), titled(current)) << command;
        EXPECT_TRUE(w.ProjectChanged()) << command;
        EXPECT_EQ(w.MRF().files(), (std::vector<std::string>{current})) << command;
    }
}

// A file without some records this program always writes loads, says which
// fields it lacks by their captions, and counts as changed until saved.
TEST_F(Commands, AFileLackingRecordsNamesTheFieldsAndCountsAsChanged) {
    const std::string example = Example("hot-water-storage-tank.kvp");
    const std::string head = "message: 文件中缺少以下字段的记录：";
    const std::string tail = "；已按新项目的默认值";
    // clang-format off
    struct Row { const char* name; std::vector<std::string> removed; std::string says; } rows[] = {
        {"two fields with their unit boxes", {"DeniD", "DeniU", "dioD", "dioU"}, "密度（管程）、管外径"},
        {"a unit box alone", {"TaoU"}, "加热时间的单位"},
        {"texts, lists and comments shared by both sides", {"LaoD", "PhiD", "CmttD", "ifMix"},
         "带搅拌、不凝气体（容器）、流体相态（管程）、备注（管程）"},
        {"one record of a field", {"Tom2D\r\nOrd\r\nColor"}, "目标温度"},
    };
    // clang-format on
    for (const Row& r : rows) {
        for (const char* command : {"open", "recent", "new"}) {
            ScriptedUiServices ui2;
            TFormKolvane w2(ui2);
            const std::string p = path("lacking.kvp");
            WriteBytes(p, Without(example, r.removed));
            ui2.files = {p};
            if (command == std::string("open")) w2.MFOpenClick();
            if (command == std::string("recent")) w2.MRFMenuClick(p);
            if (command == std::string("new")) w2.MFNewClick();
            EXPECT_EQ(Told(ui2), std::vector<std::string>{head + r.says + tail})
                << r.name << ", " << command;
            EXPECT_TRUE(w2.ProjectChanged()) << r.name << ", " << command;
            EXPECT_TRUE(w2.MFSave().enabled()) << r.name << ", " << command;
        }
    }

    // Saved, the project is whole again: unchanged, and it reopens silently.
    ScriptedUiServices ui2;
    TFormKolvane w2(ui2);
    WriteBytes(path("lacking.kvp"), Without(example, {"DeniD"}));
    ASSERT_TRUE(w2.OpenProjectFile(path("lacking.kvp")));
    EXPECT_EQ(w2.field("DeniD").text(), "") << "as in a new window";
    w2.MFSaveClick();
    EXPECT_FALSE(w2.ProjectChanged());
    ui2.shown.clear();
    ASSERT_TRUE(w2.OpenProjectFile(path("lacking.kvp")));
    EXPECT_EQ(Told(ui2), std::vector<std::string>{});
    EXPECT_FALSE(w2.ProjectChanged());
}

// Records of components this window does not have are skipped and listed
// once in the status bar, in front of what the pass says.
TEST_F(Commands, UnknownRecordsAreListedOnceInTheStatusBar) {
    const std::string example = Example("hot-water-storage-tank.kvp");
    WriteBytes(path("newer.kvp"), example + "NewPumpD\r\nString\r\nText\r\n3\r\n\r\n"
                                            "newpumpd\r\nEnum\r\nEnabled\r\nTrue\r\n\r\n"
                                            "MaoU\r\nEnum\r\nChecked\r\nTrue\r\n\r\n");
    ASSERT_TRUE(w.OpenProjectFile(path("newer.kvp")));
    const std::string notice = "文件中有本程序不认识的项：NewPumpD、MaoU.Checked";
    for (const auto& shown : ui.shown)
        EXPECT_NE(shown.kind, "message") << shown.text;
    EXPECT_TRUE(ui.status[1].starts_with(notice)) << ui.status[1];
    EXPECT_FALSE(w.ProjectChanged());
    EXPECT_EQ(w.field("MaoD").text(), "8.937");

    try {
        w.MaoDExit(w.field("MaoD"));
    } catch (const CalculationError&) {
    }
    const std::string pass = w.lastPass().statusText();
    ASSERT_FALSE(pass.empty());
    w.repeatLoadNotice();
    EXPECT_EQ(ui.status[1], notice + "；" + pass);

    // The next clean load forgets it.
    ASSERT_TRUE(w.OpenProjectFile(std::string(KOLVANE_EXAMPLES_DIR) + "/steam-coil-reactor.kvp"));
    EXPECT_EQ(ui.status[1].find("不认识"), std::string::npos) << ui.status[1];
    EXPECT_EQ(w.loadNotice(), "");
}

TEST_F(Commands, ReopeningARecentFileLoadsItAndOffersToSaveFirst) {
    auto [a, b] = openTwo();
    mass().setText("7");
    ui.answers = {Answer::No};
    ASSERT_EQ(w.MFile().items[8].caption, "&2  " + a);
    w.MRF().MenuItemClick(8);
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(mass().text(), "1");
    EXPECT_EQ(w.ProjectFileName(), a);
    EXPECT_EQ(w.title(), titled(a));
    EXPECT_FALSE(w.ProjectChanged());
    EXPECT_EQ(w.MRF().files(), (std::vector<std::string>{a, b}));
}

// Every file dialog starts in the current project's folder; before the
// project has a file, in the user's documents folder ("" to the window).
TEST_F(Commands, FileDialogsStartInTheProjectsFolder) {
    const std::function<void()> commands[] = {[&] { w.DirectSaveProj(); }, [&] { w.MFAsClick(); },
                                              [&] { w.MFTempClick(); }, [&] { w.MFNewClick(); },
                                              [&] { w.MFOpenClick(); }};
    for (const auto& command : commands)
        command(); // every dialog cancelled
    std::filesystem::create_directory(dir.path() / "jobs");
    const std::string project = (dir.path() / "jobs" / "coil.kvp").string();
    ui.files = {project};
    w.MFAsClick();
    ASSERT_EQ(w.ProjectFileName(), project);
    for (const auto& command : commands)
        command();
    // Save of a named project asks nothing.
    ASSERT_EQ(ui.dialogs.size(), 10u);
    for (std::size_t i = 0; i < ui.dialogs.size(); ++i)
        EXPECT_EQ(ui.dialogs[i].initialDir, i <= 5 ? "" : (dir.path() / "jobs").string())
            << dialog(i);
}

// A later start of the program hands its file over: asked like Open, then
// opened; a file that cannot be opened is told and the project stays.
TEST_F(Commands, AFileHandedOverByALaterStartIsOpenedAfterTheQuestion) {
    struct Row {
        const char* name;
        bool edited;
        std::vector<Answer> answers;
        const char* file;
        bool opened;
        int questions;
        bool savedFirst;
    } rows[] = {{"unchanged: no question", false, {}, "handed.kvp", true, 0, false},
                {"changed, not saved", true, {Answer::No}, "handed.kvp", true, 1, false},
                {"changed, saved first", true, {Answer::Yes}, "handed.kvp", true, 1, true},
                {"a file that is gone", true, {Answer::No}, "gone.kvp", false, 1, false}};
    const std::string handed = projectWith("handed.kvp", "42");
    for (const Row& r : rows) {
        ScriptedUiServices rowUi;
        TFormKolvane window(rowUi);
        const std::string mine = path("mine.kvp");
        window.SaveProjectAs(mine);
        if (r.edited) window.field("MaoD").setText("7");
        rowUi.answers = r.answers;
        EXPECT_EQ(window.OpenHandedFile(path(r.file)), r.opened) << r.name;
        int asked = 0;
        for (const auto& shown : rowUi.shown)
            asked += shown.kind == "question" && shown.text == kQuestion;
        EXPECT_EQ(asked, r.questions) << r.name;
        EXPECT_EQ(window.ProjectFileName(), r.opened ? handed : mine) << r.name;
        EXPECT_EQ(window.field("MaoD").text(), r.opened ? "42" : "7") << r.name;
        EXPECT_EQ(ReadBytes(mine).find("Text\r\n7\r\n") != std::string::npos, r.savedFirst)
            << r.name;
        std::filesystem::remove(mine);
    }
}

TEST_F(Commands, AVanishedRecentFileIsNotOpened) {
    auto [a, b] = openTwo();
    std::filesystem::remove(a);
    w.MRF().MenuItemClick(8); // "&2  a"
    EXPECT_EQ(w.ProjectFileName(), b);
    EXPECT_EQ(mass().text(), "2");
    EXPECT_EQ(w.MRF().files(), (std::vector<std::string>{b}));
}

TEST_F(Commands, ClosingWithUnsavedChangesAsksWithCancel) {
    EXPECT_TRUE(w.FormCloseQuery()) << "nothing to save, nothing asked";
    EXPECT_EQ(questions(), 0);

    mass().setText("5");
    struct Row {
        const char* name;
        Answer answer;
        std::vector<std::string> files;
        bool closes;
        bool saved;
    } rows[] = {{"cancel", Answer::Cancel, {}, false, false},
                {"no", Answer::No, {}, true, false},
                {"yes, save dialog cancelled", Answer::Yes, {""}, false, false},
                {"yes, saved", Answer::Yes, {path("closing.kvp")}, true, true}};
    for (const Row& r : rows) {
        ui.answers = {r.answer};
        ui.files = r.files;
        EXPECT_EQ(w.MFExitClick(), r.closes) << r.name;
        EXPECT_EQ(std::filesystem::exists(path("closing.kvp")), r.saved) << r.name;
    }
    EXPECT_EQ(questions(), 4);
    for (const auto& shown : ui.shown)
        if (shown.kind == "question") {
            EXPECT_EQ(shown.text, kQuestion);
        }
}

TEST_F(Commands, RelativePathsAreMadeFull) {
    std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    w.SaveProjectAs("rel.kvp");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(w.ProjectFileName(), path("rel.kvp"));
}

// Opening runs the pass: a file whose results no longer follow from its
// inputs (edited by another program) opens recalculated and says so; the
// program's own files open as they were, without a word.
TEST_F(Commands, AnOpenedProjectIsRecalculatedAndSaysWhatChanged) {
    struct Row {
        const char* example;
        const char* heatingTime; // the TaoD record's new value, or nullptr
        const char* told;        // a part of the notice, or "" for none
    };
    const Row rows[] = {
        {"hot-water-storage-tank.kvp", nullptr, ""},
        {"steam-coil-reactor.kvp", nullptr, ""},
        {"batch-cooling-coil.kvp", nullptr, ""},
        {"hot-water-storage-tank.kvp", "8",
         "已按当前输入重新计算：理论面积 6.302357 → 3.594298 m2"},
    };
    for (const Row& r : rows) {
        std::string bytes = ReadBytes(std::string(KOLVANE_EXAMPLES_DIR) + "/" + r.example);
        if (r.heatingTime) {
            const std::string record = "TaoD\r\nString\r\nText\r\n";
            const std::size_t at = bytes.find(record) + record.size();
            bytes.replace(at, bytes.find("\r\n", at) - at, r.heatingTime);
        }
        WriteBytes(path("p.kvp"), bytes);
        ASSERT_TRUE(w.OpenProjectFile(path("p.kvp"))) << r.example;
        const std::string notice = w.lastPass().notice;
        if (*r.told) {
            EXPECT_EQ(notice.find(r.told), 0u) << notice;
            EXPECT_EQ(ui.status[1].find(r.told), 0u) << ui.status[1];
        } else {
            EXPECT_EQ(notice, "") << r.example;
        }
        EXPECT_TRUE(w.lastPass().hasCheck) << r.example;
        // Results brought up to date are no edit: nothing asks to be saved.
        EXPECT_FALSE(w.ProjectChanged()) << r.example;
    }
}

// Opening one project after another leaves no trace of the first: what the
// second file does not name is as in a new window.
TEST_F(Commands, AnOpenAfterAnotherProjectLeavesNoTraceOfIt) {
    const std::string example = std::string(KOLVANE_EXAMPLES_DIR) + "/steam-coil-reactor.kvp";
    ASSERT_TRUE(w.OpenProjectFile(example));

    // A partial file names only the heating time.
    WriteBytes(path("partial.kvp"),
               "CFR File Format(Compatible Form Record File),by Quorvantelbix.\r\nV\r\n\r\n"
               "TaoD\r\nString\r\nText\r\n7200\r\n\r\n");
    ASSERT_TRUE(w.OpenProjectFile(path("partial.kvp")));
    // Every text, selection and check as in a new window (enabled states
    // follow the option handlers, which run after every load).
    ScriptedUiServices freshUi;
    TFormKolvane fresh(freshUi);
    fresh.field("TaoD").setText("7200");
    // An open runs the pass: so does the new window here.
    try {
        fresh.MaoDExit(fresh.field("MaoD"));
    } catch (const CalculationError&) {
    }
    for (const auto& c : fresh.form().components()) {
        const Component& mine = *w.form().find(c->name());
        if (auto* e = dynamic_cast<const TEdit*>(c.get())) {
            EXPECT_EQ(static_cast<const TEdit&>(mine).text(), e->text()) << c->name();
            EXPECT_EQ(static_cast<const TEdit&>(mine).color(), e->color()) << c->name();
        } else if (auto* l = dynamic_cast<const TComboBox*>(c.get())) {
            EXPECT_EQ(static_cast<const TComboBox&>(mine).itemIndex(), l->itemIndex()) << c->name();
        } else if (auto* b = dynamic_cast<const TCheckBox*>(c.get())) {
            EXPECT_EQ(static_cast<const TCheckBox&>(mine).checked(), b->checked()) << c->name();
        } else if (auto* r = dynamic_cast<const TRichEdit*>(c.get())) {
            EXPECT_EQ(static_cast<const TRichEdit&>(mine).text(), r->text()) << c->name();
        }
    }
}

} // namespace
} // namespace kolvane
