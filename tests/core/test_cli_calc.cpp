#include "TempDir.h"

#include "cli/Cli.h"
#include "cli/FormJson.h"
#include "cli/Json.h"
#include "form/Colors.h"
#include "form/FormKolvane.h"
#include "model/Errors.h"
#include "report/Report.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <set>
#include <sstream>

namespace kolvane {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

struct CliRun {
    int code;
    std::string out, err;
};

CliRun Calc(std::vector<std::string> args, const CliEnvironment& env = {}) {
    args.insert(args.begin(), "calc");
    std::ostringstream out, err;
    int code = RunCli(args, out, err, env);
    return {code, out.str(), err.str()};
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Steps run in their order, an error in one is told and the later ones
// still run; the output shows each control's state and never a number that
// is not one.
TEST(CliCalc, StepsShowInTheOutput) {
    struct Row {
        const char* name;
        std::vector<std::string> args;
        const char* error; // nullptr: exits with 0; else exits with 1 and says this
        std::vector<std::string> out;
    } rows[] = {
        {"set and unit steps run in order",
         {"--set", "TaoD=120", "--unit", "TaoD=1", "--json"},
         nullptr,
         {R"("TaoD":{"kind":"EditD","text":"2","exchange":60,"si":120,)",
          R"("unitIndex":1,"unit":"min","caption":"加热时间")", R"("projectChanged":true)",
          R"("title":"容器传热计算(Kolvane)V2012.10.01.10")"}},
        {"selector name works like the field name",
         {"--set", "MaoD=5000", "--unit", "MaoU=1", "--json"},
         nullptr,
         {R"("MaoD":{"kind":"EditD","text":"5",)"}},
        {"non-numeric text has null si",
         {"--set", "MaoD=abc", "--json"},
         "'abc' 不是有效的数值",
         {R"("text":"abc","exchange":1,"si":null,"display":"abc")"}},
        {"a step error is told and later steps still run",
         {"--set", "TaoD=-5", "--set", "TaoD=60", "--json"},
         "error: ",
         {R"("TaoD":{"kind":"EditD","text":"60")"}},
        {"check and choose set their controls",
         {"--check", "ifMix=1", "--choose", "EVTD=1", "--json"},
         nullptr,
         {R"("ifMix":{"kind":"CheckBox","checked":true,"enabled":true})",
          R"("EVTD":{"kind":"ComboBox","index":1,"text":"地表","enabled":true})"}},
        {"a failed save is an error and later steps still run",
         {"--save", "/nonexistent-kolvane/no/such/p.kvp", "--set", "MaoD=3", "--json"},
         "error: ",
         {R"("MaoD":{"kind":"EditD","text":"3")", R"("projectFileName":"")"}},
        {"project information is an edit of the project",
         {std::string(KOLVANE_EXAMPLES_DIR) + "/steam-coil-reactor.kvp", "--set", "OBJNameD=x",
          "--json"},
         nullptr,
         {R"("projectChanged":true)"}},
        {"the vessel page's mass question is answered 是 unless told otherwise",
         {"--set", "DenoD=1000", "--set", "MaoD=9000", "--set", "VsD=10", "--set", "KvD=0.8",
          "--press", "BTVessel", "--json"},
         nullptr,
         {R"("MaoD":{"kind":"EditD","text":"8000")"}},
        {"--press NAME=no answers 否: the typed mass stays, the area goes over",
         {"--set", "DenoD=1000", "--set", "MaoD=9000", "--set", "VsD=10", "--set", "KvD=0.8",
          "--press", "BTVessel=no", "--json"},
         nullptr,
         {R"("MaoD":{"kind":"EditD","text":"9000")",
          R"("AeD":{"kind":"EditD","text":"16.0012752292881")"}},
        {"the readable table shows display form and units",
         {"--set", "BtoD=0.00001234"},
         nullptr,
         {"膨胀系数", "1.234E-0005", "1E-0006" /* the starting tolerance */}},
    };
    for (const Row& row : rows) {
        CliRun r = Calc(row.args);
        EXPECT_EQ(r.code, row.error ? 1 : 0) << row.name << ": " << r.err;
        if (row.error) {
            EXPECT_TRUE(Has(r.err, row.error)) << row.name << ": " << r.err;
        }
        for (const std::string& part : row.out)
            EXPECT_TRUE(Has(r.out, part)) << row.name << ": " << part;
        EXPECT_FALSE(Has(r.out, "NAN") || Has(r.out, "INF")) << row.name;
    }
}

// Bad arguments exit with 2, run nothing and say what is wrong.
TEST(CliCalc, StepOptionsComplainInTheirOwnWords) {
    struct Row {
        std::vector<std::string> args;
        std::string message;
    } rows[] = {
        {{"--set", "TaoD"}, "--set takes NAME=VALUE, not 'TaoD'"},
        {{"--set"}, "--set needs a value"},
        {{"--bogus"}, "unknown argument '--bogus'"},
        {{"--check", "=1"}, "--check takes NAME=VALUE"},
        {{"--check", "ifMix=2"}, "--check takes 0 or 1"},
        {{"--choose", "TaoD=1"}, "'TaoD' is not a list"},
        {{"--pick", "SBP3"}, "--pick takes BUTTON=ANSWER, not 'SBP3'"},
        {{"--prop", "SBP1"}, "--prop takes BUTTON=FLUID, not 'SBP1'"},
        {{"--pick", "SBP9=#1"}, "--pick takes SBP3, SBP5 or SBP11, not 'SBP9'"},
        {{"--pick", "SBP3=3"}, "--pick answers #N, =TEXT or cancel"},
        {{"--prop", "SBP7=水"}, "--prop takes SBP1, SBP2 or SBP2v"},
        {{"--pipe", "0"}, "--pipe takes a row number from 1"},
        {{"--save"}, "--save needs a value"},
        {{"--save", ""}, "--save needs a file name"},
        {{"--open", ""}, "--open needs a file name"},
        {{"--press", "MaoD"}, "'MaoD' is not a button"},
        {{"--press", "BTVessel=maybe"},
         "--press answers the question of the button with yes or no"},
        {{"--check", "MaoD=1"}, "'MaoD' is not a check box"},
        {{"--choose", "PhiD=x"}, "'x' is not an item index"},
        {{"--unit", "TaoD=x"}, "'x' is not an item index"},
        {{"--unit", "OBJNameD=1"}, "'OBJNameD' has no unit selector"},
        {{"--set", "NoSuchD=1"}, "no component named 'NoSuchD'"},
        {{"--pipe"}, "--pipe needs a value"},
        // Numbers are read whole and within what the list has: never a
        // wrapped, cut or default row.
        {{"--pick", "SBP3=#4294967297"}, "'4294967297' is not a row of SBP3's list (1 to 5)"},
        {{"--pick", "SBP3=#2147483648"}, "'2147483648' is not a row of SBP3's list"},
        {{"--pick", "SBP5=#1e3"}, "'1e3' is not a row of SBP5's list (1 to 3)"},
        {{"--pick", "SBP5=#abc"}, "'abc' is not a row of SBP5's list"},
        {{"--pick", "SBP5=#0"}, "'0' is not a row of SBP5's list"},
        {{"--pipe", "1.0"}, "--pipe takes a row number from 1"},
        {{"--unit", "TaoD=4"}, "'4' is not an item of TaoU (0 to 3)"},
        {{"--choose", "PhiD=-1"}, "'-1' is not an item of PhiD (0 to 1)"},
        {{"--prop", "SBP1=水,t=nan"}, "t takes a number (°C), not 'nan'"},
        {{"--set", "HToD=吸热流体"}, "'HToD' is read-only"},
    };
    for (const Row& row : rows) {
        CliRun r = Calc(row.args);
        EXPECT_EQ(r.code, 2) << row.args[0];
        EXPECT_TRUE(Has(r.err, row.message)) << r.err;
    }
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({}, out, err), 2);
    EXPECT_EQ(RunCli({"frobnicate"}, out, err), 2);
}

TEST(CliCalc, DisplayWidthCountsChineseAsTwoCells) {
    EXPECT_EQ(DisplayWidth("abc"), 3u);
    EXPECT_EQ(DisplayWidth("加热时间"), 8u);
    EXPECT_EQ(DisplayWidth("m2·K"), 4u);
}

// --- Project files ---

const std::string kHeader = "CFR File Format(Compatible Form Record File),by Quorvantelbix.\r\n"
                            "Version 1.1,2007.07.17\r\n\r\n";

TEST(CliFiles, AHandWrittenGbkProjectLoads) {
    TempDir dir;
    std::string p = dir.file("hand.kvp");
    WriteBytes(p, kHeader + "OBJNameD\r\nString\r\nText\r\n\xB7\xB4\xD3\xA6\xB8\xAA\r\n\r\n"
                            "PhiD\r\nOrd\r\nItemIndex\r\n1\r\n\r\n");
    CliRun r = Calc({p, "--json"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Has(r.out, R"("OBJNameD":{"kind":"Edit","text":"反应釜")")) << r.out;
    EXPECT_TRUE(Has(r.out, R"("PhiD":{"kind":"ComboBox","index":1,"text":"蒸气冷凝")"));
    // Two records of a whole project: the rest is a new window's, said so,
    // and the project differs from its file.
    EXPECT_TRUE(Has(r.err, "message: 文件中缺少以下字段的记录：项目名称、项目阶段、")) << r.err;
    EXPECT_TRUE(Has(r.out, R"("projectChanged":true)"));
    EXPECT_TRUE(Has(r.out, "容器传热计算(Kolvane)V2012.10.01.10-[" + p + "]"));
}

TEST(CliFiles, StepsRunAfterTheLoadAndSaveInTheirTurn) {
    TempDir dir;
    std::string first = dir.file("first.kvp"), second = dir.file("second.kvp");
    CliRun made = Calc({"--set", "MaoD=5", "--unit", "TaoD=1", "--set", "TaoD=90", "--save", first,
                        "--set", "MaoD=6", "--json"});
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_TRUE(Has(made.out, R"("projectChanged":true)")) << "the edit after the save";
    std::string bytes = ReadBytes(first);
    EXPECT_TRUE(Has(bytes, "MaoD\r\nString\r\nText\r\n5\r\n\r\n"));
    EXPECT_TRUE(
        Has(bytes, "TaoD\r\nFloat\r\nExchange\r\n60\r\n\r\nTaoD\r\nString\r\nText\r\n90\r\n"));

    CliRun again = Calc({first, "--save", second, "--json"});
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_TRUE(Has(again.out, R"("projectFileName":")" + second + "\""));
    EXPECT_TRUE(Has(ReadBytes(second), "TaoD\r\nString\r\nText\r\n90\r\n"));
    // The option handlers run on every load; after that, loading and saving
    // changes no byte.
    std::string third = dir.file("third.kvp");
    ASSERT_EQ(Calc({second, "--save", third}).code, 0);
    EXPECT_EQ(ReadBytes(third), ReadBytes(second));
}

TEST(CliFiles, AKvtPathSavesATemplateWithoutTheReport) {
    TempDir dir;
    std::string t = dir.file("base.KVT");
    CliRun r = Calc({"--set", "RichEditReport=报告", "--save", t, "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::string bytes = ReadBytes(t);
    EXPECT_FALSE(Has(bytes, "RichEditReport"));
    EXPECT_TRUE(Has(bytes, "CmtoD\r\n")) << "the rest is saved";
    EXPECT_TRUE(Has(r.out, R"("projectFileName":"")")) << "a template does not become the project";
}

TEST(CliFiles, AFileThatCannotBeOpenedStopsBeforeAnyStep) {
    TempDir dir;
    WriteBytes(dir.file("text.kvp"), "hello\r\n");
    WriteBytes(dir.file("bad.kvp"), kHeader + "MaoD\r\nFloat\r\nExchange\r\nabc\r\n\r\n");
    for (const std::string& file :
         {dir.file("text.kvp"), dir.file("missing.kvp"), dir.file("bad.kvp")}) {
        CliRun r = Calc({file, "--save", dir.file("out.kvp")});
        EXPECT_EQ(r.code, 1) << file;
        EXPECT_TRUE(Has(r.err, "error: ")) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.kvp")));
    }
}

const std::string kExample = std::string(KOLVANE_EXAMPLES_DIR) + "/hot-water-storage-tank.kvp";

// A computed field is locked in the window: a user clears it with
// "清除光标处数据" (answering 是) before typing. So does --set: the value is an
// input, refused in the input look, never in a result's or the solved
// member's colour, also after a save and a reopen.
TEST(CliCalc, SetOnAComputedFieldTypesAnInput) {
    TempDir dir;
    const std::string steam = std::string(KOLVANE_EXAMPLES_DIR) + "/steam-coil-reactor.kvp";
    const std::string saved = dir.file("typed.kvp");
    CliRun r = Calc({steam, "--set", "KeD=-1", "--set", "WiD=-1", "--save", saved, "--json"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Has(r.err, "question: 你要清除数据:质量流量?\nstatus: 质量流量: 应大于0\n"))
        << r.err;
    for (const auto& run : {r, Calc({saved, "--json"})}) {
        auto c = nlohmann::json::parse(run.out)["components"];
        for (const char* name : {"KeD", "WiD"}) {
            EXPECT_EQ(c[name]["text"], "-1") << name;
            EXPECT_EQ(c[name]["color"], kClWindow) << name;
            EXPECT_EQ(c[name]["readOnly"], false) << name;
        }
    }
    CliRun input = Calc({steam, "--set", "MaoD=5000"});
    EXPECT_FALSE(Has(input.err, "question:")) << "an input is typed in at once";
}

// Every file the command line writes refuses a name with a line break or
// another control character, on one line.
TEST(CliFiles, NamesWithControlCharactersAreRefused) {
    TempDir dir;
    for (const char* option : {"--save", "--report", "--curve"}) {
        CliRun r = Calc({kExample, option, dir.file("a\nb.txt"), "--json"});
        EXPECT_EQ(r.code, 1) << option;
        EXPECT_TRUE(Has(r.err, "a\\nb.txt：文件名含有换行符或其他控制字符\n")) << r.err;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << option;
    }
}

using Keys = std::vector<std::string>;

Keys KeysOf(const nlohmann::ordered_json& object) {
    Keys keys;
    for (const auto& [k, v] : object.items())
        keys.push_back(k);
    return keys;
}

// Scripts read these objects by key, some by position: keys and order stay.
TEST(CliJson, KeysAndTheirOrderStayAsTheyWere) {
    const std::map<std::string, Keys> byKind = {
        {"EditD",
         {"kind", "text", "exchange", "si", "display", "color", "readOnly", "enabled", "unitIndex",
          "unit", "caption"}},
        {"ComboBox", {"kind", "index", "text", "enabled"}},
        {"CheckBox", {"kind", "checked", "enabled"}},
        {"Edit", {"kind", "text", "enabled", "readOnly"}},
        {"Label", {"kind", "caption", "enabled"}},
        {"RichEdit", {"kind", "text", "enabled"}},
        {"Button", {"kind", "caption", "enabled"}}};
    // A warning (the medium leaves colder than the target), a refused input
    // and results still missing inputs.
    auto j = nlohmann::ordered_json::parse(
        Calc({"--set", "TaoD=3600", "--set", "MaoD=5000", "--set", "CopD=4000", "--set", "Tom1D=20",
              "--set", "Tom2D=70", "--set", "CipD=4200", "--set", "Ti1D=130", "--set", "Ti2D=60",
              "--set", "dioD=-1", "--json"})
            .out);
    EXPECT_EQ(KeysOf(j), (Keys{"title", "projectFileName", "projectChanged", "components",
                               "warnings", "missing", "check", "errors"}));
    EXPECT_EQ(KeysOf(j["check"]), (Keys{"areaNeeded_m2", "tActual_s", "tTheoretical_s", "ratio"}));
    std::set<std::string> kinds;
    for (const auto& [name, c] : j["components"].items()) {
        kinds.insert(c.value("kind", ""));
        EXPECT_EQ(KeysOf(c), byKind.at(c.value("kind", ""))) << name;
    }
    EXPECT_EQ(kinds.size(), byKind.size());
    ASSERT_EQ(j["warnings"].size(), 1u);
    ASSERT_EQ(j["errors"].size(), 1u);
    EXPECT_EQ(KeysOf(j["warnings"][0]), (Keys{"field", "text"}));
    EXPECT_EQ(j["errors"][0],
              (nlohmann::ordered_json{{"field", "dioD"}, {"text", "管外径: 应大于0"}}));
    EXPECT_EQ(j["missing"]["AtD"][0], "VioD");
}

TEST(CliReport, PdfWithoutThePageLayoutIsAnErrorAndTouchesNoFile) {
    TempDir dir;
    const std::string pdf = dir.file("old.pdf");
    WriteBytes(pdf, "earlier export");
    CliRun r = Calc({kExample, "--report", pdf});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Has(r.err, "error: --report:")) << r.err;
    EXPECT_TRUE(Has(r.err, "KOLVANE_GUI=OFF")) << "the message says why";
    EXPECT_EQ(ReadBytes(pdf), "earlier export");
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.PDF")));
    EXPECT_EQ(Calc({kExample, "--report", dir.file("new.PDF")}).code, 1) << "any letter case";
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.PDF")));
}

TEST(CliReport, PdfGoesToTheWriterWithTheReportOfTheFinalState) {
    TempDir dir;
    CliEnvironment env;
    std::string seenPath, seenReport;
    env.writeReportPdf = [&](const TFormKolvane& w, const std::string& path) {
        seenPath = path;
        seenReport = ReportPlainText(w.reportDocument());
    };
    const std::string txt = dir.file("r.txt");
    CliRun r = Calc({kExample, "--set", "sfD=25", "--report", dir.file("r.pdf")}, env);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(seenPath, dir.file("r.pdf"));
    EXPECT_TRUE(Has(seenReport, "容器传热计算报告"));
    EXPECT_TRUE(Has(seenReport, "       升温曲线:")) << "after the pass";
    EXPECT_TRUE(Has(seenReport, "25.0000")) << "the step's margin";
    // The same state gives the same report in every format.
    ASSERT_EQ(Calc({kExample, "--set", "sfD=25", "--report", txt}).code, 0);
    EXPECT_EQ(ReadBytes(txt), seenReport);

    env.writeReportPdf = [](const TFormKolvane&, const std::string& path) {
        throw IoError("无法保存文件 " + path + "：磁盘已满");
    };
    r = Calc({kExample, "--report", dir.file("full.pdf")}, env);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Has(r.err, "error: --report: 无法保存文件 " + dir.file("full.pdf")));
}

TEST(CliReport, ThePrintedReportIsTheOneAFileGets) {
    TempDir dir;
    const std::string txt = dir.file("r.txt");
    ASSERT_EQ(Calc({kExample, "--report", txt}).code, 0);
    CliRun printed = Calc({kExample});
    ASSERT_EQ(printed.code, 0) << printed.err;
    const std::string report = ReadBytes(txt);
    ASSERT_TRUE(Has(report, "       升温曲线:"));
    ASSERT_GT(printed.out.size(), report.size());
    EXPECT_EQ(printed.out.substr(printed.out.size() - report.size()), report);
    EXPECT_EQ(Calc({kExample, "--report", dir.file("r.odt")}).code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("r.odt")));
}

TEST(CliJson, SiValuesBeyondTheDoubleRangeAreNumbers) {
    // 1E308 t is 1E311 kg: no double, but a number all the same.
    CliRun r = Calc({"--unit", "MaoD=1", "--set", "MaoD=1E308", "--json"});
    EXPECT_TRUE(Has(r.out, R"("MaoD":{"kind":"EditD","text":"1E308","exchange":1000,"si":1e+311,)"))
        << r.out.substr(0, 600);
    EXPECT_FALSE(Has(r.out, R"("si":null,"display":"1E308")"));
    // Ordinary values are written as they always were.
    r = Calc({"--unit", "MaoD=1", "--set", "MaoD=2.5", "--json"});
    EXPECT_TRUE(Has(r.out, R"("text":"2.5","exchange":1000,"si":2500,)"));
}

TEST(CliJson, NumberTextsReplaceTheirPlaceholdersOnly) {
    Json j = {{"a", nullptr}, {"b", {{"c", nullptr}, {"d", "x\"y"}}}, {"e", {1, nullptr}}};
    EXPECT_EQ(DumpWithNumberTexts(j, {}), DumpJson(j));
    EXPECT_EQ(DumpWithNumberTexts(j, {{&j["b"]["c"], "1e+400"}, {&j["e"][1], "-2e-400"}}),
              R"({"a":null,"b":{"c":1e+400,"d":"x\"y"},"e":[1,-2e-400]})");
}

} // namespace
} // namespace kolvane
