#include "formula/MyValues.h"

#include <gtest/gtest.h>

#include <functional>

namespace kolvane {
namespace {

using Strings = std::vector<std::string>;

std::string Join(const Strings& list) {
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i)
        out += (i ? "|" : "") + list[i];
    return out;
}
// The data rows, each "name|value|unit|note", joined by " / ".
std::string Rows(const TMyValues& g) {
    std::string out;
    for (int r = 1; r < g.RowCount(); ++r) {
        out += r > 1 ? " / " : "";
        for (int c = 0; c < g.ColCount(); ++c)
            out += (c ? "|" : "") + g.Cell(r, c);
    }
    return out;
}

TEST(MyValuesLayout, NewGridHasTitlesAndFourFreeRows) {
    TMyValues g;
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(Join(g.Titles()), "名称|数量|单位|备注");
    EXPECT_TRUE(g.Unique());
    EXPECT_EQ(Rows(g), "||| / ||| / ||| / |||");
}

// Each row acts on a new grid; the title row stays in every case.
TEST(MyValuesRows, AddParamAndClearRowsFrom) {
    struct Case {
        const char* name;
        std::function<void(TMyValues&)> act;
        const char* rows;
    };
    const auto add = [](TMyValues& g, std::initializer_list<const char*> names) {
        for (const char* n : names)
            g.AddParam(n, "1", "", "");
    };
    // clang-format off
    const Case cases[] = {
        {"Unique refuses the same name in any case", [](TMyValues& g) { g.AddParam("x", "", "", ""); g.AddParam("X", "5", "", ""); }, "x||| / ||| / ||| / |||"},
        {"without Unique the next free row is filled", [](TMyValues& g) { g.SetUnique(false); g.AddParam("x", "", "", ""); g.AddParam("X", "5", "", ""); }, "x||| / X|5|| / ||| / |||"},
        {"Unique ignores the title row", [](TMyValues& g) { g.AddParam("名称", "1", "", ""); }, "名称|1|| / ||| / ||| / |||"},
        {"a blank name cell counts as free", [](TMyValues& g) { g.SetCell(1, 0, "   "); g.AddParam("a", "", "", ""); }, "a||| / ||| / ||| / |||"},
        {"empty arguments leave old cells", [](TMyValues& g) { g.AddParam("a", "7", "kg", "old"); g.SetCell(1, 0, ""); g.AddParam("b", "", "", ""); }, "b|7|kg|old / ||| / ||| / |||"},
        {"a full grid grows by one row", [&](TMyValues& g) { add(g, {"a", "b", "c", "d"}); g.AddParam("e", "2", "m", "note"); }, "a|1|| / b|1|| / c|1|| / d|1|| / e|2|m|note"},
        {"clearing keeps the row count, the rows are reused", [&](TMyValues& g) { add(g, {"a", "b", "c", "d", "e", "f"}); g.ClearRowsFrom(1); g.AddParam("z", "", "", ""); }, "z||| / ||| / ||| / ||| / ||| / |||"},
        {"clearing from a middle row and beyond the end", [&](TMyValues& g) { add(g, {"a", "b", "c"}); g.ClearRowsFrom(2); g.ClearRowsFrom(99); }, "a|1|| / ||| / ||| / |||"},
        {"out-of-range cells are ignored", [](TMyValues& g) { g.SetCell(-1, 0, "x"); g.SetCell(0, 4, "x"); g.SetCell(5, 0, "x"); }, "||| / ||| / ||| / |||"},
    };
    // clang-format on
    for (const Case& c : cases) {
        TMyValues g;
        c.act(g);
        EXPECT_EQ(Rows(g), c.rows) << c.name;
        EXPECT_EQ(Join(g.Titles()), "名称|数量|单位|备注") << c.name;
    }
    EXPECT_EQ(TMyValues().Cell(-1, -1) + TMyValues().Cell(5, 0), "");
}

TEST(MyValuesLookup, FirstMatchInAnyCaseTitleRowIncludedAbsentNotWritten) {
    TMyValues g;
    g.SetUnique(false);
    g.AddParam("t", "20", "C", "温度");
    g.AddParam("T", "5", "", "");
    EXPECT_EQ(g.ValueByName("名称"), "数量");
    EXPECT_EQ(g.ValueByName("T"), "20");
    g.SetValueByName("T", "35");
    EXPECT_EQ(g.FindName("T"), 1);
    EXPECT_EQ(g.ValueByName("q"), "");
    g.SetValueByName("q", "7");
    EXPECT_EQ(g.FindName("q"), -1);
    EXPECT_EQ(Join(g.Values()), "数量|35|5||");
}

TEST(MyValuesLists, ReadingGivesTheColumnsWritingCopiesWithoutResizing) {
    TMyValues g;
    g.AddParam("a", "1", "C", "温度");
    g.AddParam("b", "2", "", "");
    EXPECT_EQ(Join(g.Names()) + " " + Join(g.Units()) + " " + Join(g.Notes()),
              "名称|a|b|| 单位|C||| 备注|温度|||");
    g.SetValues({"Value", "10"});
    EXPECT_EQ(Join(g.Values()), "Value|10|2||");
    g.SetNames({"N", "a", "b", "c", "d", "e", "f"});
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(Join(g.Names()), "N|a|b|c|d");
    g.SetTitles({"Name", "Value", "Unit", "Note", "extra"});
    EXPECT_EQ(Join(g.Titles()), "Name|Value|Unit|Note");
    g.SetUnits({});
    EXPECT_EQ(g.Units()[0], "Unit");
}

TEST(MyValuesLoad, LoadedTrimsDataCellsOnly) {
    TMyValues g;
    g.SetTitles({" 名称 ", "数量", "单位", "备注"});
    g.SetNames({" 名称 ", " t ", " ", "", ""});
    g.SetValues({"数量", "20 ", " ", "", ""});
    g.Loaded();
    EXPECT_EQ(g.Cell(0, 0), " 名称 ");
    g.AddParam("p", "", "", ""); // a trimmed blank row is free again
    EXPECT_EQ(Rows(g), "t|20|| / p||| / ||| / |||");
}

TEST(MyValuesCells, OnlyTheValueColumnOfDataRowsTakesTyping) {
    EXPECT_TRUE(TMyValues::AcceptsTyping(1, TMyValues::kColValue));
    EXPECT_FALSE(TMyValues::AcceptsTyping(0, TMyValues::kColValue));
    for (int c : {TMyValues::kColName, TMyValues::kColUnit, TMyValues::kColNote})
        EXPECT_FALSE(TMyValues::AcceptsTyping(1, c)) << c;
}

TEST(MyValuesListeners, ToldOfChangesUntilUnsubscribed) {
    TMyValues g;
    int calls = 0;
    int id = g.Subscribe([&] { ++calls; });
    g.AddParam("a", "", "", "");
    g.SetValueByName("a", "1");
    g.SetValueByName("missing", "1");
    EXPECT_EQ(calls, 2);
    g.Unsubscribe(id);
    g.ClearRowsFrom(1);
    EXPECT_EQ(calls, 2);
}

} // namespace
} // namespace kolvane
