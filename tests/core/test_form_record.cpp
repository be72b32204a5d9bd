#include "TempDir.h"

#include "files/TextCodec.h"
#include "form/FormKolvane.h"
#include "form/ListControls.h"
#include "form/UiServices.h"
#include "records/FormRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sstream>
#include <sys/resource.h>

namespace kolvane {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

const std::string kHead = "CFR File Format(Compatible Form Record File),by Quorvantelbix.\r\n"
                          "Version 1.1,2007.07.17\r\n"
                          "\r\n";

std::string Rec(std::string_view name, std::string_view tag, std::string_view prop,
                std::string_view value) {
    std::string r;
    for (std::string_view part : {name, tag, prop, value})
        r.append(part).append("\r\n");
    return r + "\r\n";
}

// What a file holds on disk for a text written here in UTF-8.
std::string Disk(const std::string& text) {
    return Utf8ToGb18030(text);
}

// A window with one control of every kind the file knows, plus some it
// does not write.
struct SmallForm {
    Form form;
    TEditD& qty = form.add<TEditD>(nullptr, "QtyD");
    TComboBoxU& unit =
        form.add<TComboBoxU>(nullptr, "QtyU", std::vector<std::string>{"m|1", "mm|0.001"});
    TEdit& edit = form.add<TEdit>(nullptr, "NameD");
    TLabel& label = form.add<TLabel>(nullptr, "NameL", "名称");
    TComboBox& list =
        form.add<TComboBox>(nullptr, "KindD", std::vector<std::string>{"a", "b", "c"});
    TCheckBox& check = form.add<TCheckBox>(nullptr, "MixD", "带搅拌");
    TMemo& memo = form.add<TMemo>(nullptr, "NoteD");
    TRichEdit& rich = form.add<TRichEdit>(nullptr, "ReportD");
    TCheckListBox& checks = form.add<TCheckListBox>(
        nullptr, "PartsD", std::vector<TCheckListBox::Item>{{"x", false}, {"y", false}});
    TRadioGroup& radio =
        form.add<TRadioGroup>(nullptr, "ModeD", std::vector<std::string>{"p", "q"});
    TRadioButton& radioButton = form.add<TRadioButton>(nullptr, "FastD", "快");
    TButton& button = form.add<TButton>(nullptr, "BTGo", "确定", "TButton");
    TContainer& group = form.add<TContainer>(nullptr, "GBBox", "组", "TGroupBox");

    SmallForm() { unit.setAssociated(&qty); }
};

// --- Writing ---

TEST(FormRecordWrite, WorkedExampleForTheMassFieldIsByteExactAndTextsAreGbk) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    w.form().get<TComboBoxU>("MaoU").Select(1); // "t", factor 1000
    w.field("MaoD").setText("5");
    w.form().get<TRichEdit>("CmtoD").setText("第一行\n  缩进");

    std::string expected =
        Rec("PhoD", "Ord", "ItemIndex", "0") + Rec("MaoD", "Float", "Exchange", "1000") +
        Rec("MaoD", "String", "Text", "5") + Rec("MaoD", "Enum", "Enabled", "True") +
        Rec("MaoD", "Enum", "ReadOnly", "False") + Rec("MaoD", "Ord", "Color", "-16777211") +
        Rec("MaoU", "Ord", "ItemIndex", "1") + Rec("CopD", "Float", "Exchange", "1");

    TempDir dir;
    std::string path = dir.file("mass.kvp");
    SaveFormRecord(w.form(), path, false, {});
    std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.substr(0, kHead.size()), kHead);
    // The label MaoL between PhoD and MaoD writes nothing.
    EXPECT_NE(bytes.find(expected), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");
    // Texts are GBK on disk, the line marks included.
    EXPECT_NE(bytes.find("\xA1\xF7\xB5\xDA\xD2\xBB\xD0\xD0\xA1\xF8\xA1\xF7  \xCB\xF5\xBD\xF8\r\n"),
              std::string::npos);
}

TEST(FormRecordWrite, EachClassWritesItsRecordsInOrder) {
    SmallForm f;
    f.qty.setText("12.5");
    f.unit.setItemIndex(1);
    f.edit.setText("反应釜");
    f.edit.setEnabled(false);
    f.list.setItemIndex(2);
    f.check.setChecked(true);
    f.memo.setText("abc\n\n  x ");
    f.rich.setText("");
    f.checks.setItems({{"a", true}, {"b", false}});
    f.radio.setItemIndex(-1);
    f.radioButton.setChecked(true);

    std::string expected =
        kHead + Rec("QtyD", "Float", "Exchange", "1") + Rec("QtyD", "String", "Text", "12.5") +
        Rec("QtyD", "Enum", "Enabled", "True") + Rec("QtyD", "Enum", "ReadOnly", "False") +
        Rec("QtyD", "Ord", "Color", "-16777211") + Rec("QtyU", "Ord", "ItemIndex", "1") +
        Rec("NameD", "String", "Text", "反应釜") + Rec("NameD", "Enum", "Enabled", "False") +
        Rec("NameD", "Enum", "ReadOnly", "False") + Rec("NameD", "Ord", "Color", "-16777211") +
        Rec("KindD", "Ord", "ItemIndex", "2") + Rec("MixD", "Enum", "Checked", "True") +
        Rec("NoteD", "Memo", "Lines", "△abc▲△▲△  x") + Rec("ReportD", "Rich", "Lines", "") +
        Rec("PartsD", "CheckListBox", "Items", "a▲1▲b▲0") + Rec("ModeD", "Ord", "ItemIndex", "-1") +
        Rec("FastD", "Enum", "Checked", "True");
    EXPECT_EQ(FormRecordText(f.form, false, {}), expected);

    // Captions only on request; buttons and group boxes never.
    std::string withCaptions = FormRecordText(f.form, true, {});
    EXPECT_NE(withCaptions.find(Rec("NameL", "String", "Caption", "名称")), std::string::npos);
    EXPECT_EQ(withCaptions.find("BTGo"), std::string::npos);
    EXPECT_EQ(withCaptions.find("GBBox"), std::string::npos);
}

TEST(FormRecordWrite, SkipNamesIgnoreLetterCase) {
    SmallForm f;
    std::string text = FormRecordText(f.form, false, {"reportd", "QTYD"});
    EXPECT_EQ(text.find("ReportD"), std::string::npos);
    EXPECT_EQ(text.find("QtyD\r\n"), std::string::npos);
    EXPECT_NE(text.find("QtyU\r\n"), std::string::npos);
}

// Nor can the line marks typed into a memo.
TEST(FormRecordWrite, ALineBreakInAOneLineTextCannotShiftTheRecords) {
    SmallForm f;
    f.edit.setText("line one\nline two\r\nthree");
    f.memo.setText("a△b▲c");
    std::string text = FormRecordText(f.form, false, {});
    EXPECT_NE(text.find(Rec("NameD", "String", "Text", "line one line two  three")),
              std::string::npos);
    SmallForm g;
    ASSERT_TRUE(LoadFormRecordBytes(g.form, Disk(text), "x"));
    EXPECT_EQ(g.edit.text(), "line one line two  three");
    EXPECT_EQ(g.list.itemIndex(), f.list.itemIndex());
    EXPECT_EQ(g.memo.text(), "ab\nc");
}

// --- Encodings ---

TEST(LineList, EncodesAndDecodesAsTheFormatSays) {
    struct Row {
        std::vector<std::string> lines;
        const char* encoded;
        const char* decoded;
    } rows[] = {
        {{"abc", "", "  x "}, "△abc▲△▲△  x", "abc\n\n  x"},
        {{"   indented"}, "△   indented", "   indented"},
        {{"text   "}, "△text", "text"},
        {{"    "}, "△", ""},
        {{"tab\t"}, "△tab", "tab"},
        {{}, "", ""},
        {{"中文", "二"}, "△中文▲△二", "中文\n二"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(EncodeLineList(r.lines), r.encoded);
        EXPECT_EQ(DecodeLineList(r.encoded), r.decoded) << r.encoded;
    }
}

TEST(CheckList, EncodesAndDecodes) {
    EXPECT_EQ(EncodeCheckList({{"a", true}, {"b", false}}), "a▲1▲b▲0");
    EXPECT_EQ(EncodeCheckList({{"  padded ", true}}), "padded▲1");
    EXPECT_EQ(EncodeCheckList({}), "");
    using Items = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ(DecodeCheckList("a▲1▲b▲0"), (Items{{"a", true}, {"b", false}}));
    EXPECT_EQ(DecodeCheckList("冷▲x▲热▲1"), (Items{{"冷", false}, {"热", true}}));
    EXPECT_EQ(DecodeCheckList("no separator"), Items{});
    EXPECT_EQ(DecodeCheckList(""), Items{});
}

TEST(CheckList, DecodesIntoExistingItemsOnly) {
    SmallForm f; // two items
    std::string file = kHead + Rec("PartsD", "CheckListBox", "Items", "one▲1▲two▲0▲three▲1");
    ASSERT_TRUE(LoadFormRecordBytes(f.form, Disk(file), "x"));
    ASSERT_EQ(f.checks.items().size(), 2u);
    EXPECT_EQ(f.checks.items()[0], (TCheckListBox::Item{"one", true}));
    EXPECT_EQ(f.checks.items()[1], (TCheckListBox::Item{"two", false}));
}

TEST(TextCodec, ConvertsBetweenUtf8AndGb18030) {
    EXPECT_EQ(Utf8ToGb18030("△▲"), "\xA1\xF7\xA1\xF8");
    EXPECT_EQ(Utf8ToGb18030("反应釜"), "\xB7\xB4\xD3\xA6\xB8\xAA");
    EXPECT_EQ(Gb18030ToUtf8("\xD6\xCA\xC1\xBF"), "质量");
    EXPECT_EQ(Utf8ToGb18030("plain ASCII"), "plain ASCII");
    // Characters outside GBK survive as four-byte GB18030 sequences.
    EXPECT_EQ(Utf8ToGb18030("😀"), "\x94\x39\xFC\x36");
    EXPECT_EQ(Gb18030ToUtf8(Utf8ToGb18030("😀 m²·K")), "😀 m²·K");
    EXPECT_THROW(Gb18030ToUtf8("\xFF"), Error);
    EXPECT_THROW(Gb18030ToUtf8("ab\x81"), Error); // cut in the middle of a character
    EXPECT_THROW(Utf8ToGb18030("\xE4\xB8"), Error);
}

// --- Reading ---

TEST(FormRecordRead, EveryKindSurvivesASaveAndALoad) {
    SmallForm a;
    a.unit.Select(1);
    a.qty.setText("12.5");
    a.qty.setColor(kComputedColor);
    a.qty.setReadOnly(true);
    a.qty.setEnabled(false);
    a.edit.setText("反应釜 R-101");
    a.edit.setReadOnly(true);
    a.edit.setColor(kClBtnFace);
    a.list.setItemIndex(2);
    a.check.setChecked(true);
    a.memo.setText("   indented\n第二行\n\nlast");
    a.rich.setText("报告\n  第二行");
    a.checks.setItems({{"冷却", true}, {"加热", false}});
    a.radio.setItemIndex(1);
    a.radioButton.setChecked(true);

    TempDir dir;
    std::string path = dir.file("all.kvp");
    SaveFormRecord(a.form, path, false, {});
    SmallForm b;
    b.checks.setItems({{"?", false}, {"?", true}});
    ASSERT_TRUE(LoadFormRecord(b.form, path));

    // The records name every property written (checked byte for byte above).
    EXPECT_EQ(FormRecordText(b.form, false, {}), FormRecordText(a.form, false, {}));
    EXPECT_DOUBLE_EQ(b.qty.SIValue(), 0.0125);
    EXPECT_EQ(b.memo.text(), "   indented\n第二行\n\nlast");
    EXPECT_EQ(b.rich.text(), "报告\n  第二行");
    EXPECT_EQ(b.checks.items(), a.checks.items());
}

TEST(FormRecordRead, AGbkFileWrittenByteByByteLoads) {
    // As the Windows program writes it: GBK text, CR LF line ends.
    std::string file = kHead;
    file += "OBJNameD\r\nString\r\nText\r\n\xB7\xB4\xD3\xA6\xB8\xAA\r\n\r\n"; // 反应釜
    file += "MaoD\r\nFloat\r\nExchange\r\n1000\r\n\r\n";
    file += "MaoD\r\nString\r\nText\r\n5\r\n\r\n";
    file += "MaoU\r\nOrd\r\nItemIndex\r\n1\r\n\r\n";
    file += "QoD\r\nOrd\r\nColor\r\n16707529\r\n\r\n";
    file += "QoD\r\nEnum\r\nReadOnly\r\nTrue\r\n\r\n";
    file += "ifMix\r\nEnum\r\nChecked\r\nTrue\r\n\r\n";
    // 备注 box: "△第一行▲△  缩进▲△▲△蒸汽加热"
    file += "CmtoD\r\nRich\r\nLines\r\n"
            "\xA1\xF7\xB5\xDA\xD2\xBB\xD0\xD0\xA1\xF8\xA1\xF7  \xCB\xF5\xBD\xF8"
            "\xA1\xF8\xA1\xF7\xA1\xF8\xA1\xF7\xD5\xF4\xC6\xFB\xBC\xD3\xC8\xC8\r\n\r\n";
    file += "MaoL\r\nString\r\nCaption\r\n\xD6\xCA\xC1\xBF(t)\r\n\r\n"; // 质量(t)
    TempDir dir;
    WriteBytes(dir.file("windows.kvp"), file);

    ScriptedUiServices ui;
    TFormKolvane w(ui);
    ASSERT_TRUE(LoadFormRecord(w.form(), dir.file("windows.kvp")));
    EXPECT_EQ(w.form().get<TEdit>("OBJNameD").text(), "反应釜");
    EXPECT_EQ(w.field("MaoD").text(), "5");
    EXPECT_DOUBLE_EQ(w.field("MaoD").SIValue(), 5000);
    EXPECT_EQ(w.list("MaoU").itemIndex(), 1);
    EXPECT_EQ(w.field("QoD").color(), kComputedColor);
    EXPECT_TRUE(w.field("QoD").readOnly());
    EXPECT_TRUE(w.form().get<TCheckBox>("ifMix").checked());
    EXPECT_EQ(w.form().get<TRichEdit>("CmtoD").text(), "第一行\n  缩进\n\n蒸汽加热");
    // The reader applies whatever it finds, captions included.
    EXPECT_EQ(w.form().get<TLabel>("MaoL").caption(), "质量(t)");
}

TEST(FormRecordRead, TheFactorComesFirstSoTheStoredTextIsKept) {
    SmallForm f;
    f.qty.setText("3"); // shown in m
    std::string file =
        kHead + Rec("QtyD", "Float", "Exchange", "0.001") + Rec("QtyD", "String", "Text", "2500");
    ASSERT_TRUE(LoadFormRecordBytes(f.form, file, "x"));
    EXPECT_EQ(f.qty.text(), "2500");
    EXPECT_DOUBLE_EQ(f.qty.exchange(), 0.001);
    EXPECT_EQ(f.unit.itemIndex(), -1) << "the selector is set by its own record only";
}

// The header must match exactly; the rest of the layout is read tolerantly.
TEST(FormRecordRead, HeaderMustMatchExactlyTheLayoutIsTolerant) {
    const std::string ok = Rec("NameD", "String", "Text", "ok");
    const std::string line1 = "CFR File Format(Compatible Form Record File),by Quorvantelbix.";
    struct Row {
        const char* name;
        std::string file;
        bool loads;
    } rows[] = {
        {"trailing blank", line1 + " \r\n\r\n\r\n" + ok, false},
        {"other author",
         "CFR File Format(Compatible Form Record File),by Someone.\r\n\r\n\r\n" + ok, false},
        {"lower case", "cfr File Format(Compatible Form Record File),by Quorvantelbix.\r\n" + ok,
         false},
        {"empty file", ok, false},
        {"other version line", line1 + "\r\nVersion 9\r\nnot empty\r\n" + ok, true},
        {"extra empty lines", kHead + "\r\n\r\n  \r\n" + ok + "\r\n\t\r\n", true},
        {"LF line ends", line1 + "\nV\n\nNameD\nString\nText\nok\n\n", true},
        {"no final empty line", kHead + "NameD\r\nString\r\nText\r\nok\r\n", true},
        {"name in another case", kHead + Rec("named", "String", "Text", "ok"), true},
        {"blanks before the name", kHead + Rec("   NameD", "String", "Text", "ok"), true},
        {"blanks after name, tag and property", kHead + Rec("NameD ", "String\t", "Text ", "ok"),
         true},
    };
    for (const Row& r : rows) {
        SmallForm f;
        const std::string before = FormRecordText(f.form, true, {});
        EXPECT_EQ(LoadFormRecordBytes(f.form, r.file, "x"), r.loads) << r.name;
        if (r.loads) {
            EXPECT_EQ(f.edit.text(), "ok") << r.name;
        } else {
            EXPECT_EQ(FormRecordText(f.form, true, {}), before) << r.name;
        }
    }
}

// What a loaded file set: name text | list index | unit index | checked | color | factor.
std::string Loaded(const SmallForm& f) {
    std::ostringstream out;
    out << f.edit.text() << "|" << f.list.itemIndex() << "|" << f.unit.itemIndex() << "|"
        << f.check.checked() << "|" << f.qty.color() << "|" << f.qty.exchange();
    return out.str();
}

TEST(FormRecordRead, TheseRecordsLoadSo) {
    // clang-format off
    struct Row { const char* name; std::string file, loaded; std::vector<std::string> unknown; } rows[] = {
        {"records the form cannot take are skipped and listed (an unknown component, a property the control lacks, "
         "an index outside the list, a blank unit box), the good ones applied",
         Rec("NoSuchD", "Float", "Exchange", "2") + Rec("nosuchd", "String", "Text", "listed once") +
         Rec("KindD", "String", "Text", "a list has no text") + Rec("NameD", "Memo", "Lines", "not a memo") +
         Rec("MixD", "Enum", "Checked", "True") + Rec("KindD", "Ord", "ItemIndex", "3") +
         Rec("QtyU", "Ord", "ItemIndex", "-1"),
         "kept|-1|1|1|-16777211|1",
         {"NoSuchD", "KindD.Text", "NameD.Lines", "KindD.ItemIndex=3", "QtyU.ItemIndex=-1"}},
        {"enum names and numbers", Rec("MixD", "Enum", "Checked", "true") + Rec("QtyD", "Ord", "Color", " -16777201 ") +
         Rec("QtyD", "Float", "Exchange", " 1E-3 ") + Rec("KindD", "Ord", "ItemIndex", "+1"),
         "kept|1|1|1|" + std::to_string(kClBtnFace) + "|0.001", {}}};
    // clang-format on
    for (const Row& r : rows) {
        SmallForm f;
        f.edit.setText("kept");
        f.unit.setItemIndex(1);
        FormRecordNotes notes;
        ASSERT_TRUE(LoadFormRecordBytes(f.form, kHead + r.file, "x", {}, &notes)) << r.name;
        EXPECT_EQ(Loaded(f), r.loaded) << r.name;
        EXPECT_EQ(notes.unknown, r.unknown) << r.name;
        EXPECT_TRUE(notes.lacking.empty()) << "nothing to compare with";
    }
}

// Damage of every kind is refused whole: the message names the line and
// what is wrong there, and the form keeps what it had.
TEST(FormRecordRead, DamagedFilesAreRefusedNamingTheLine) {
    const std::string good = Rec("MixD", "Enum", "Checked", "True"); // lines 4-8
    // clang-format off
    struct Row { const char* name; std::string file; int line; const char* says; } rows[] = {
        {"unknown tag", good + Rec("NameD", "Blob", "Text", "x"), 10, "'Blob'不是记录类型"},
        {"tags are case-sensitive", good + Rec("NameD", "string", "Text", "x"), 10, "'string'不是记录类型"},
        {"unknown property", good + Rec("NameD", "String", "NoSuchProperty", "x"), 11, "'NoSuchProperty'不是属性名"},
        {"property names are case-sensitive", good + Rec("NameD", "String", "text", "x"), 11, "'text'不是属性名"},
        {"a property its tag cannot carry", good + Rec("NameD", "Float", "Text", "1"), 11,
         "属性Text不能是Float类型的记录（应为String）"},
        {"Lines under an Ord tag", good + Rec("NoteD", "Ord", "Lines", "1"), 11, "（应为Memo或Rich）"},
        {"a name that is no component name", good + Rec("1000", "String", "Text", "x"), 9, "'1000'不是组件名"},
        {"a Chinese line where the name belongs", good + Disk(Rec("反应釜", "String", "Text", "x")), 9, "'反应釜'不是组件名"},
        {"a number that does not convert, also for a component the form lacks",
         good + Rec("NoSuchD", "Float", "Exchange", "not a number"), 12, "'not a number' 不是有效的数值"},
        {"a flag of an unknown component", good + Rec("NoSuchD", "Enum", "Enabled", "Yes"), 12, "'Yes' 不是Enabled的有效值（应为True或False）"},
        {"an Ord that is no integer", good + Rec("KindD", "Ord", "ItemIndex", "two"), 12, "'two' 不是有效的整数"},
        {"a record without its empty line (a line lost)",
         "NameD\r\nString\r\nText\r\nfirst\r\n" + Rec("KindD", "Ord", "ItemIndex", "1"), 8, "记录后面应是空行，这里却是'KindD'"},
        {"a value line doubled", "NameD\r\nString\r\nText\r\nfirst\r\nfirst\r\n\r\n" + good, 8, "这里却是'first'"},
        {"the same property twice", good + Rec("mixd", "Enum", "Checked", "False"), 9, "组件mixd的属性Checked在第 4 行已有记录"},
        {"Lines twice, once as Memo, once as Rich", Rec("NoteD", "Memo", "Lines", "a") + Rec("NoteD", "Rich", "Lines", "b"), 9,
         "在第 4 行已有记录"},
        {"a doubled property line over an empty value",
         "NameD\r\nString\r\nText\r\nText\r\n\r\n\r\n" + good, 7, "值'Text'与属性名相同"},
        {"the last value blank and no empty line after it (the value line may be lost)",
         good + "NameD\r\nString\r\nText\r\n\r\n", 9, "记录不完整"},
        {"a file cut inside a tag", good + "NameD\r\nStr", 9, "文件被截断"},
    };
    // clang-format on
    for (const Row& r : rows) {
        SmallForm f;
        f.edit.setText("before");
        const std::string before = FormRecordText(f.form, true, {});
        try {
            LoadFormRecordBytes(f.form, kHead + r.file, "/tmp/d.kvp");
            ADD_FAILURE() << r.name << ": loaded";
        } catch (const FormRecordError& e) {
            EXPECT_EQ(e.line(), r.line) << r.name << ": " << e.what();
            const std::string what = e.what();
            EXPECT_NE(what.find("文件 /tmp/d.kvp 第 " + std::to_string(r.line) + " 行："),
                      std::string::npos)
                << what;
            EXPECT_NE(what.find(r.says), std::string::npos) << r.name << ": " << what;
        }
        EXPECT_EQ(FormRecordText(f.form, true, {}), before) << r.name;
    }
}

// The lines of a file with their line ends, so that they can be dropped,
// doubled or cut and joined again.
std::vector<std::string> LinesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(bytes.substr(start, end + 1 - start));
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

std::string Joined(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < to; ++i)
        out += lines[i];
    return out;
}

bool SameRecord(const FormRecordEntry& a, const FormRecordEntry& b) {
    return a.name == b.name && a.tag == b.tag && a.property == b.property && a.value == b.value;
}

// Every example damaged by one line lost, one line doubled, or cut at a line
// end or inside a line: the file is refused, or it holds the example's first
// records unchanged and the components of the records it no longer has are
// named. Nothing loads with another value, and nothing goes missing
// unnoticed.
TEST(FormRecordRead, NoOneLineDamageOfAnExampleChangesDataUnnoticed) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    const std::vector<FormRecordEntry> fresh =
        ParseFormRecord(FormRecordText(w.form(), false, {}), "fresh").value();
    // Every line of the hot-water example and the template, every third of
    // the others (the sanitizer build runs this too); three and five have no
    // common factor, so every line of a record is met.
    const std::pair<const char*, std::size_t> examples[] = {{"hot-water-storage-tank.kvp", 1},
                                                            {"steam-coil-reactor.kvt", 1},
                                                            {"steam-coil-reactor.kvp", 3},
                                                            {"batch-cooling-coil.kvp", 3}};
    for (const auto& [example, step] : examples) {
        const std::string bytes = ReadBytes(std::string(KOLVANE_EXAMPLES_DIR) + "/" + example);
        const std::vector<FormRecordEntry> original = ParseFormRecord(bytes, example).value();
        const std::vector<std::string> lines = LinesOf(bytes);
        int refused = 0, lacking = 0, same = 0, failures = 0;
        auto judge = [&](const std::string& damaged, const std::string& how) {
            std::optional<std::vector<FormRecordEntry>> records;
            try {
                records = ParseFormRecord(damaged, example);
            } catch (const FormRecordError&) {
                ++refused;
                return;
            }
            auto fail = [&](const std::string& what) {
                if (++failures <= 5) ADD_FAILURE() << example << ", " << how << ": " << what;
            };
            if (!records) return fail("no longer a form record file");
            if (records->size() > original.size()) return fail("more records than the example");
            for (std::size_t i = 0; i < records->size(); ++i)
                if (!SameRecord((*records)[i], original[i]))
                    return fail((*records)[i].name + "." + (*records)[i].property + " reads '" +
                                (*records)[i].value + "'");
            const FormRecordNotes notes = CheckFormRecord(w.form(), *records, fresh);
            if (!notes.unknown.empty()) fail("unknown " + notes.unknown.front());
            for (std::size_t i = records->size(); i < original.size(); ++i)
                if (std::find(notes.lacking.begin(), notes.lacking.end(), original[i].name) ==
                    notes.lacking.end())
                    return fail(original[i].name + "." + original[i].property + " lost unnamed");
            ++(records->size() == original.size() ? same : lacking);
        };
        for (std::size_t i = 3; i < lines.size(); i += step) {
            judge(Joined(lines, 0, i) + Joined(lines, i + 1, lines.size()),
                  "line " + std::to_string(i + 1) + " lost");
            judge(Joined(lines, 0, i + 1) + Joined(lines, i, lines.size()),
                  "line " + std::to_string(i + 1) + " doubled");
            judge(Joined(lines, 0, i), "cut before line " + std::to_string(i + 1));
        }
        for (std::size_t at = 200; at < bytes.size(); at += 53)
            judge(bytes.substr(0, at), "cut at byte " + std::to_string(at));
        EXPECT_EQ(failures, 0) << example;
        // Most damage is refused; a cut between records loads with the list.
        EXPECT_GT(refused, static_cast<int>(lines.size() / step) * 3 / 2) << example;
        EXPECT_GT(lacking, static_cast<int>(lines.size() / step) / 20) << example;
        EXPECT_GT(same, 0) << example << ": an empty line lost or doubled changes nothing";
    }
}

TEST(FormRecordRead, ATemplateWithoutTheReportLeavesTheReportAlone) {
    SmallForm a;
    a.rich.setText("old report");
    a.edit.setText("from template");
    std::string tmpl = FormRecordText(a.form, false, {"ReportD"});
    SmallForm b;
    b.rich.setText("current report");
    ASSERT_TRUE(LoadFormRecordBytes(b.form, Disk(tmpl), "x"));
    EXPECT_EQ(b.rich.text(), "current report");
    EXPECT_EQ(b.edit.text(), "from template");
}

// --- Faults that must not damage anything ---

TEST(FormRecordRead, ACorruptRecordChangesNothingAndNamesItsLine) {
    struct Row {
        const char* name;
        std::string bad;
    } rows[] = {
        {"Float", Rec("QtyD", "Float", "Exchange", "1,5")},
        {"Float overflow", Rec("QtyD", "Float", "Exchange", "1E999")},
        {"unit factor of zero", Rec("QtyD", "Float", "Exchange", "0")},
        {"negative unit factor", Rec("QtyD", "Float", "Exchange", "-1000")},
        {"Ord", Rec("KindD", "Ord", "ItemIndex", "two")},
        {"Ord beyond 32 bits", Rec("QtyD", "Ord", "Color", "4294967296")},
        {"Enum", Rec("MixD", "Enum", "Checked", "Yes")},
        {"not GB18030", Rec("NameD", "String", "Text", "\xFF\xFF")},
    };
    for (const Row& r : rows) {
        SmallForm f;
        f.edit.setText("before");
        f.memo.setText("memo before");
        std::string before = FormRecordText(f.form, true, {});
        // Good records before and after the bad one; the bad value is on line 12.
        std::string file = Disk(kHead + Rec("NameD", "String", "Text", "after")) + r.bad +
                           Disk(Rec("NoteD", "Memo", "Lines", "△changed"));
        try {
            LoadFormRecordBytes(f.form, file, "/tmp/p.kvp");
            ADD_FAILURE() << r.name << ": no error";
        } catch (const FormRecordError& e) {
            EXPECT_EQ(e.line(), 12) << r.name;
            EXPECT_NE(std::string(e.what()).find("第 12 行"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("/tmp/p.kvp"), std::string::npos);
        }
        EXPECT_EQ(FormRecordText(f.form, true, {}), before) << r.name;
    }
}

TEST(FormRecordRead, ASetterThatFailsHalfwayIsTakenBack) {
    SmallForm f;
    f.qty.setText("5");
    f.edit.setText("before");
    int changes = 0;
    f.edit.onChange = [&](Component&) { ++changes; };
    std::string before = FormRecordText(f.form, true, {});
    // A tiny factor makes the shown number overflow; it comes after records
    // that were already applied.
    std::string file = kHead + Rec("NameD", "String", "Text", "after") +
                       Rec("QtyD", "String", "Text", "1E300") +
                       Rec("QtyD", "Float", "Exchange", "1E-300");
    EXPECT_THROW(LoadFormRecordBytes(f.form, file, "x"), FormRecordError);
    EXPECT_EQ(FormRecordText(f.form, true, {}), before);
    EXPECT_EQ(f.qty.text(), "5");
    EXPECT_DOUBLE_EQ(f.qty.exchange(), 1.0);
    EXPECT_EQ(changes, 2) << "applied, then taken back";
}

TEST(FormRecordSave, AWriteThatFailsLeavesTheOldFileUntouched) {
    TempDir dir;
    std::string path = dir.file("project.kvp");
    SmallForm f;
    f.memo.setText(std::string(64 * 1024, 'x'));
    SaveFormRecord(f.form, path, false, {});
    std::string old = ReadBytes(path);

    // Let the disk "fill up" after 4 KiB: the new file cannot be completed.
    f.memo.setText(std::string(64 * 1024, 'y'));
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        SaveFormRecord(f.form, path, false, {});
    } catch (const IoError&) {
        threw = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_TRUE(threw);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "the temporary file is removed";
}

// Files cut or damaged anywhere are refused whole, naming the line; the form
// keeps what it had.
TEST(FormRecordRead, CutAndOversizedFilesAreRefusedWhole) {
    struct Row {
        const char* name;
        std::string file;
        int line; // 0: loads
    } rows[] = {
        {"cut inside a value",
         kHead + Rec("MixD", "Enum", "Checked", "True") + "NameD\r\nString\r\nText\r\n47", 9},
        {"cut before the value", kHead + "NameD\r\nString\r\nText\r\n", 4},
        {"cut after the name", kHead + "NameD\r\n", 4},
        {"cut inside a name", kHead + "Nam", 4},
        {"header only", kHead, 0},
        {"header line alone", "CFR File Format(Compatible Form Record File),by Quorvantelbix.", 0},
        {"a value above 64 KB", kHead + Rec("NameD", "String", "Text", std::string(70000, 'x')), 7},
    };
    for (const Row& r : rows) {
        SmallForm f;
        f.edit.setText("before");
        if (r.line == 0) {
            EXPECT_TRUE(LoadFormRecordBytes(f.form, r.file, "x")) << r.name;
            continue;
        }
        try {
            LoadFormRecordBytes(f.form, r.file, "x");
            ADD_FAILURE() << r.name << ": loaded";
        } catch (const FormRecordError& e) {
            EXPECT_EQ(e.line(), r.line) << r.name << ": " << e.what();
        }
        EXPECT_EQ(f.edit.text(), "before") << r.name;
        EXPECT_FALSE(f.check.checked()) << r.name;
    }
}

TEST(FormRecordRead, ABadValueIsQuotedShortly) {
    SmallForm f;
    try {
        LoadFormRecordBytes(
            f.form, kHead + Rec("QtyD", "Float", "Exchange", std::string(5000, '9') + "x"), "x");
        FAIL() << "loaded";
    } catch (const FormRecordError& e) {
        EXPECT_LT(std::string(e.what()).size(), 300u);
        EXPECT_NE(std::string(e.what()).find("…"), std::string::npos);
    }
}

TEST(FormRecordRead, Utf8FilesAreReadAsUtf8AndGbkAsGbk) {
    // The same record in three encodings: GBK (as the program writes), UTF-8
    // with and without a byte-order mark. Each loads the same Chinese text.
    const std::vector<std::string> texts = {"反应釜升", "热水储罐加热", "搅拌反应釜 R-201", "容"};
    for (const std::string& t : texts) {
        const std::string utf8 = kHead + Rec("NameD", "String", "Text", t);
        for (const std::string& file : {Utf8ToGb18030(utf8), utf8, "\xEF\xBB\xBF" + utf8}) {
            SmallForm f;
            ASSERT_TRUE(LoadFormRecordBytes(f.form, file, "x")) << t;
            EXPECT_EQ(f.edit.text(), t);
        }
        EXPECT_FALSE(IsValidUtf8(Utf8ToGb18030(t))) << t << " in GBK must not pass for UTF-8";
    }
}

TEST(FormRecordRead, AFreshStateComesFirst) {
    SmallForm fresh;
    const std::string freshText = FormRecordText(fresh.form, false, {});
    SmallForm f;
    f.edit.setText("previous project");
    f.check.setChecked(true);
    f.list.setItemIndex(2);
    ASSERT_TRUE(
        LoadFormRecordBytes(f.form, kHead + Rec("KindD", "Ord", "ItemIndex", "1"), "x", freshText));
    EXPECT_EQ(f.list.itemIndex(), 1);
    EXPECT_EQ(f.edit.text(), "") << "what the file does not name is as in a new window";
    EXPECT_FALSE(f.check.checked());
}

} // namespace
} // namespace kolvane
