// Which manual bookmark the help jumps to.
#include "form/FormKolvane.h"
#include "form/UiServices.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kolvane {
namespace {

using testing_support::TempDir;
namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

// A program folder that holds a manual.
struct Help : testing::Test {
    TempDir dir;
    ScriptedUiServices ui;
    TFormKolvane w{ui, dir.path().string() + "/"};
    Help() { testing_support::WriteBytes(dir.file("Manual.pdf"), "%PDF-1.4\n"); }

    Calls helpCalls() const {
        Calls out;
        for (const auto& s : ui.shown)
            if (s.kind == "help") out.push_back(s.text);
        return out;
    }
};

TEST_F(Help, TopicOfAQuantityFieldIsItsCaptionAndOneBlankOtherControlsHaveNone) {
    // CopD: both sides share the caption; the manual's first such heading is meant.
    const std::pair<const char*, const char*> rows[] = {
        {"MaoD", "质量 "}, {"TaoD", "加热时间 "}, {"CopD", "平均比热 "}, {"PhiD", ""},
        {"HToD", ""},      {"ifMix", ""},         {"MaoL", ""},          {"MaoU", ""}};
    for (const auto& [name, topic] : rows)
        EXPECT_EQ(TFormKolvane::HelpTopicOf(w.form().find(name)), topic) << name;
    EXPECT_EQ(TFormKolvane::HelpTopicOf(nullptr), "");
    TEditD& f = w.field("MaoD");
    for (const char* label : {"", "NoSuchLabel"}) {
        f.setMyLabel(label);
        EXPECT_EQ(TFormKolvane::HelpTopicOf(&f), "") << label;
    }
}

TEST_F(Help, HelpMenuOpensTheChapterOnUsingTheProgramWhatIsThisTheFocusedField) {
    w.MHPDFClick();
    EXPECT_EQ(w.HelpTopic(), "第二章 程序窗口 ");
    EXPECT_EQ(fs::path(ui.manual), dir.path() / "Manual.pdf");
    w.SBHPDFClick(&w.field("WiD"));
    EXPECT_EQ(w.HelpTopic(), "质量流量 ");
    EXPECT_EQ(helpCalls(), (Calls{"第二章 程序窗口 ", "质量流量 "}));
}

// "这是什么？" on another control, or on none, and any key but F1 do nothing.
TEST_F(Help, OnlyAQuantityFieldAndOnlyF1OpenTheManual) {
    w.MHPDFClick();
    ui.shown.clear();
    for (const char* name : {"", "PhiD", "OBJNameD"}) // "": no control
        w.SBHPDFClick(w.form().find(name));
    w.MaoDKeyDown(w.field("MaoD"), 113); // F2
    w.MaoDKeyDown(w.field("MaoD"), 13);  // Enter
    w.MaoDKeyDown(*w.form().find("PhiD"), TFormKolvane::kKeyF1);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(w.HelpTopic(), "第二章 程序窗口 ") << "the topic stays what it was";
    w.MaoDKeyDown(w.field("MaoD"), TFormKolvane::kKeyF1);
    EXPECT_EQ(helpCalls(), Calls{"质量 "});
}

// No manual, or a folder named like it: the message names the file and no
// viewer is asked to open it.
TEST(HelpWithoutManual, SaysSoNamingTheFile) {
    for (bool folder : {false, true}) {
        TempDir dir;
        if (folder) fs::create_directory(dir.path() / "Manual.pdf");
        ScriptedUiServices ui;
        TFormKolvane w(ui, dir.path().string());
        if (folder)
            w.SBHPDFClick(&w.field("MaoD"));
        else
            w.MHPDFClick();
        ASSERT_EQ(ui.shown.size(), 1u) << folder;
        EXPECT_EQ(ui.shown[0].kind + ui.shown[0].text,
                  "message没有找到帮助文档：" + (dir.path() / "Manual.pdf").string());
        EXPECT_TRUE(ui.manual.empty()) << folder;
    }
}

} // namespace
} // namespace kolvane
