// Which manual bookmark the help jumps to.
#include "engine/FormKolvane.h"
#include "engine/UiServices.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kolvane {
namespace {

using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

// A program folder that holds a manual.
struct Help : testing::Test {
    TempDir dir;
    ScriptedUiServices ui;
    TFormKolvane w{ui, dir.path().string() + "/"};
    Help() { WriteBytes(dir.file("Manual.pdf"), "%PDF-1.4\n"); }

    std::vector<std::string> helpCalls() const {
        std::vector<std::string> out;
        for (const auto& s : ui.shown)
            if (s.kind == "help") out.push_back(s.text);
        return out;
    }
};

TEST_F(Help, TopicOfAQuantityFieldIsItsCaptionAndOneBlank) {
    EXPECT_EQ(TFormKolvane::HelpTopicOf(&w.field("MaoD")), "质量 ");
    EXPECT_EQ(TFormKolvane::HelpTopicOf(&w.field("TaoD")), "加热时间 ");
    // Both sides share the caption; the manual's first such heading is meant.
    EXPECT_EQ(TFormKolvane::HelpTopicOf(&w.field("CopD")), "平均比热 ");
}

TEST_F(Help, OtherControlsAndAFieldWithoutCaptionHaveNoTopic) {
    EXPECT_EQ(TFormKolvane::HelpTopicOf(nullptr), "");
    for (const char* name : {"PhiD", "HToD", "ifMix", "MaoL", "MaoU"})
        EXPECT_EQ(TFormKolvane::HelpTopicOf(w.form().find(name)), "") << name;
    TEditD& f = w.field("MaoD");
    f.setMyLabel("");
    EXPECT_EQ(TFormKolvane::HelpTopicOf(&f), "");
    f.setMyLabel("NoSuchLabel");
    EXPECT_EQ(TFormKolvane::HelpTopicOf(&f), "");
}

TEST_F(Help, HelpMenuOpensTheInstallationChapter) {
    w.MHPDFClick();
    EXPECT_EQ(w.HelpTopic(), "第一章 系统安装 ");
    EXPECT_EQ(helpCalls(), std::vector<std::string>{"第一章 系统安装 "});
    EXPECT_EQ(fs::path(ui.manual), dir.path() / "Manual.pdf");
}

TEST_F(Help, WhatIsThisFollowsTheFocusedField) {
    w.SBHPDFClick(&w.field("WiD"));
    EXPECT_EQ(w.HelpTopic(), "质量流量 ");
    EXPECT_EQ(helpCalls(), std::vector<std::string>{"质量流量 "});
}

TEST_F(Help, WhatIsThisOnAnotherControlDoesNothing) {
    w.MHPDFClick();
    ui.shown.clear();
    w.SBHPDFClick(nullptr);
    w.SBHPDFClick(w.form().find("PhiD"));
    w.SBHPDFClick(w.form().find("OBJNameD"));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(w.HelpTopic(), "第一章 系统安装 ") << "the topic stays what it was";
}

TEST_F(Help, OnlyF1InAQuantityFieldOpensTheManual) {
    w.MaoDKeyDown(w.field("MaoD"), 113); // F2
    w.MaoDKeyDown(w.field("MaoD"), 13);  // Enter
    w.MaoDKeyDown(*w.form().find("PhiD"), TFormKolvane::kKeyF1);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(w.HelpTopic(), "");
    w.MaoDKeyDown(w.field("MaoD"), TFormKolvane::kKeyF1);
    EXPECT_EQ(helpCalls(), std::vector<std::string>{"质量 "});
}

TEST(HelpWithoutManual, SaysSoNamingTheFile) {
    TempDir dir;
    ScriptedUiServices ui;
    TFormKolvane w(ui, dir.path().string());
    w.MHPDFClick();
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "message");
    EXPECT_EQ(ui.shown[0].text, "没有找到帮助文档：" + (dir.path() / "Manual.pdf").string());
    EXPECT_TRUE(ui.manual.empty()) << "no viewer is asked to open a file that is not there";
}

TEST(HelpWithoutManual, AFolderNamedLikeTheManualIsNoManual) {
    TempDir dir;
    fs::create_directory(dir.path() / "Manual.pdf");
    ScriptedUiServices ui;
    TFormKolvane w(ui, dir.path().string());
    w.SBHPDFClick(&w.field("MaoD"));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "message");
    EXPECT_TRUE(ui.manual.empty());
}

} // namespace
} // namespace kolvane
