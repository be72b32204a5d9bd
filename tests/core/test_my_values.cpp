#include "props/MyValues.h"

#include <gtest/gtest.h>

namespace kolvane {
namespace {

using Strings = std::vector<std::string>;

TEST(MyValuesLayout, NewGridHasTitlesAndFourFreeRows) {
    TMyValues g;
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.Titles(), (Strings{"名称", "数量", "单位", "备注"}));
    EXPECT_TRUE(g.Unique());
    for (int r = 1; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(g.Cell(r, c), "");
}

TEST(MyValuesAddParam, UniqueRefusesTheSameNameInAnyCase) {
    TMyValues g;
    g.AddParam("x", "", "", "");
    EXPECT_EQ(g.Cell(1, 0), "x");
    g.AddParam("X", "5", "", "");
    EXPECT_EQ(g.Cell(1, 1), "");
    EXPECT_EQ(g.Cell(2, 0), "");
    EXPECT_EQ(g.ValueByName("x"), "");
}

TEST(MyValuesAddParam, WithoutUniqueTheNextFreeRowIsFilled) {
    TMyValues g;
    g.SetUnique(false);
    g.AddParam("x", "", "", "");
    g.AddParam("X", "5", "", "");
    EXPECT_EQ(g.Cell(2, 0), "X");
    EXPECT_EQ(g.Cell(2, 1), "5");
    // The lookup takes the first match, the value of row 1.
    EXPECT_EQ(g.ValueByName("x"), "");
}

TEST(MyValuesAddParam, UniqueIgnoresTheTitleRow) {
    TMyValues g;
    g.AddParam("名称", "1", "", "");
    EXPECT_EQ(g.Cell(1, 0), "名称");
}

TEST(MyValuesAddParam, FullGridGrowsByOneRow) {
    TMyValues g;
    for (const char* n : {"a", "b", "c", "d"})
        g.AddParam(n, "1", "", "");
    EXPECT_EQ(g.RowCount(), 5);
    g.AddParam("e", "2", "m", "note");
    EXPECT_EQ(g.RowCount(), 6);
    EXPECT_EQ(g.Cell(5, 0), "e");
    EXPECT_EQ(g.Cell(5, 1), "2");
    EXPECT_EQ(g.Cell(5, 2), "m");
    EXPECT_EQ(g.Cell(5, 3), "note");
}

TEST(MyValuesAddParam, BlankNameCellCountsAsFree) {
    TMyValues g;
    g.SetCell(1, 0, "   ");
    g.AddParam("a", "", "", "");
    EXPECT_EQ(g.Cell(1, 0), "a");
}

TEST(MyValuesAddParam, EmptyArgumentsLeaveOldCellsInPlace) {
    TMyValues g;
    g.AddParam("a", "7", "kg", "old");
    g.SetCell(1, 0, "");
    g.AddParam("b", "", "", "");
    EXPECT_EQ(g.Cell(1, 0), "b");
    EXPECT_EQ(g.Cell(1, 1), "7");
    EXPECT_EQ(g.Cell(1, 2), "kg");
    EXPECT_EQ(g.Cell(1, 3), "old");
}

TEST(MyValuesClear, ClearRowsFromKeepsTheRowCountAndIsReused) {
    TMyValues g;
    for (const char* n : {"a", "b", "c", "d", "e", "f"})
        g.AddParam(n, "1", "u", "n");
    EXPECT_EQ(g.RowCount(), 7);
    g.ClearRowsFrom(1);
    EXPECT_EQ(g.RowCount(), 7);
    EXPECT_EQ(g.Titles()[0], "名称");
    for (int r = 1; r < 7; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(g.Cell(r, c), "");
    g.AddParam("z", "", "", "");
    EXPECT_EQ(g.Cell(1, 0), "z");
}

TEST(MyValuesClear, FromAMiddleRowAndBeyondTheEnd) {
    TMyValues g;
    for (const char* n : {"a", "b", "c"})
        g.AddParam(n, "1", "", "");
    g.ClearRowsFrom(2);
    EXPECT_EQ(g.Cell(1, 0), "a");
    EXPECT_EQ(g.Cell(2, 0), "");
    g.ClearRowsFrom(99);
    EXPECT_EQ(g.Cell(1, 0), "a");
}

TEST(MyValuesLookup, AbsentNameReadsEmptyAndIsNotWritten) {
    TMyValues g;
    g.AddParam("t", "20", "C", "温度");
    EXPECT_EQ(g.ValueByName("q"), "");
    g.SetValueByName("q", "5");
    EXPECT_EQ(g.FindName("q"), -1);
    EXPECT_EQ(g.Values(), (Strings{"数量", "20", "", "", ""}));
}

TEST(MyValuesLookup, TitleRowTakesPart) {
    TMyValues g;
    EXPECT_EQ(g.ValueByName("名称"), "数量");
}

TEST(MyValuesLookup, SetValueByNameWritesTheFirstMatch) {
    TMyValues g;
    g.AddParam("t", "20", "", "");
    g.SetValueByName("T", "35");
    EXPECT_EQ(g.ValueByName("t"), "35");
    EXPECT_EQ(g.FindName("T"), 1);
}

TEST(MyValuesLists, ReadingGivesTheColumnsAndTheTitleRow) {
    TMyValues g;
    g.AddParam("t", "20", "C", "温度");
    EXPECT_EQ(g.Names(), (Strings{"名称", "t", "", "", ""}));
    EXPECT_EQ(g.Units(), (Strings{"单位", "C", "", "", ""}));
    EXPECT_EQ(g.Notes(), (Strings{"备注", "温度", "", "", ""}));
}

TEST(MyValuesLists, WritingCopiesWithoutResizing) {
    TMyValues g;
    g.AddParam("a", "1", "", "");
    g.AddParam("b", "2", "", "");
    g.SetValues({"Value", "10"});
    EXPECT_EQ(g.Values(), (Strings{"Value", "10", "2", "", ""}));
    g.SetNames({"N", "a", "b", "c", "d", "e", "f"});
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.Names(), (Strings{"N", "a", "b", "c", "d"}));
    g.SetTitles({"Name", "Value", "Unit", "Note", "extra"});
    EXPECT_EQ(g.Titles(), (Strings{"Name", "Value", "Unit", "Note"}));
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
    EXPECT_EQ(g.Cell(1, 0), "t");
    EXPECT_EQ(g.Cell(1, 1), "20");
    EXPECT_EQ(g.Cell(2, 0), "");
    EXPECT_EQ(g.Cell(2, 1), "");
    // A trimmed blank row is free again.
    g.AddParam("p", "", "", "");
    EXPECT_EQ(g.Cell(2, 0), "p");
}

TEST(MyValuesCells, OutOfRangeCellsAreIgnored) {
    TMyValues g;
    g.SetCell(-1, 0, "x");
    g.SetCell(0, 4, "x");
    g.SetCell(5, 0, "x");
    EXPECT_EQ(g.Cell(5, 0), "");
    EXPECT_EQ(g.Cell(-1, -1), "");
    EXPECT_EQ(g.RowCount(), 5);
}

TEST(MyValuesCells, OnlyTheValueColumnOfDataRowsTakesTyping) {
    EXPECT_TRUE(TMyValues::AcceptsTyping(1, TMyValues::kColValue));
    EXPECT_FALSE(TMyValues::AcceptsTyping(0, TMyValues::kColValue));
    EXPECT_FALSE(TMyValues::AcceptsTyping(1, TMyValues::kColName));
    EXPECT_FALSE(TMyValues::AcceptsTyping(1, TMyValues::kColUnit));
    EXPECT_FALSE(TMyValues::AcceptsTyping(1, TMyValues::kColNote));
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
