// Clipboard text between the price grids and a spreadsheet.
#include "controls/core/sheet_text.h"
#include "controls/core/strcolgrid_model.h"

#include <gtest/gtest.h>

using namespace velmo;

TEST(SheetText, RowsAndCellsOfTabAndCommaSeparatedTextWithQuotes)
{
    EXPECT_EQ(parseSheetText("1\t2\r\n3\t4\r\n"), (SheetRows{{"1", "2"}, {"3", "4"}}));
    EXPECT_EQ(parseSheetText("1\t\t3"), (SheetRows{{"1", "", "3"}}));
    EXPECT_EQ(parseSheetText("a\n\nb\r"), (SheetRows{{"a"}, {""}, {"b"}}));
    // Without a tab the text is CSV; a quoted cell keeps its separator, line end and quotes.
    EXPECT_EQ(parseSheetText("\"1,200\",円\n\"a\"\"b\nc\",x"), (SheetRows{{"1,200", "円"}, {"a\"b\nc", "x"}}));
    // With a tab anywhere, commas belong to the cells.
    EXPECT_EQ(parseSheetText("1,200\t3,400\n"), (SheetRows{{"1,200", "3,400"}}));
    // A single column of grouped figures, as a spreadsheet copies it, is one cell per line;
    // one line that is no such figure makes the whole text CSV.
    EXPECT_EQ(parseSheetText("1,200\r\n¥12,345円\r\n\r\n900\r\n"), (SheetRows{{"1,200"}, {"¥12,345円"}, {""}, {"900"}}));
    EXPECT_EQ(parseSheetText("1,200\n1,2\n"), (SheetRows{{"1", "200"}, {"1", "2"}}));
    EXPECT_TRUE(parseSheetText("").empty());
}

TEST(SheetText, FiguresAsASpreadsheetUserWritesThem)
{
    const std::pair<const char *, const char *> good[] = {
        {"1234", "1234"},         {"1,234", "1234"},       {" 12,345,678 ", "12345678"}, {"-1,234.5", "-1234.5"},
        {"¥1,200", "1200"},       {"￥ 980", "980"},        {"\\500", "500"},             {"1,500円", "1500"},
        {"１２３４", "1234"},     {"１，２３４．５", "1234.5"}, {"−12", "-12"},           {"－０．０５", "-0.05"},
        {"　１５　", "15"},       {"+7", "7"},             {"0.071", "0.071"},
    };
    for (const auto &[cell, plain] : good)
        EXPECT_EQ(sheetNumberText(cell), std::optional<std::string>(plain)) << cell;
    for (const char *bad : {"", "abc", "12,34", "1,2345", ",123", "1.2.3", "1 2", "15A", "¥", "-", "12%", "1e3"})
        EXPECT_EQ(sheetNumberText(bad), std::nullopt) << bad;
    EXPECT_EQ(sheetNumberText("12.5%", true), std::optional<std::string>("12.5"));
    EXPECT_EQ(sheetNumberText("８０％", true), std::optional<std::string>("80"));
}

TEST(SheetText, CopiedCellsArePlainNumbersInTabSeparatedRows)
{
    StrColGridModel grid;
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetCells(0, 1, "15A");
    grid.SetCells(1, 1, "4,120");
    grid.SetCells(2, 1, "0.065");
    grid.SetCells(0, 2, "配管\t工");
    grid.SetCells(1, 2, "-1,234");
    grid.SetCells(2, 2, "a,b");
    const SheetRows rows = gridCells(grid, {0, 1, 2, 2});
    EXPECT_EQ(rows, (SheetRows{{"15A", "4120", "0.065"}, {"配管\t工", "-1234", "a,b"}}));
    const std::string text = sheetText(rows);
    EXPECT_EQ(text, "15A\t4120\t0.065\n\"配管\t工\"\t-1234\ta,b\n");
    EXPECT_EQ(parseSheetText(text), rows); // what is copied pastes back the same
}
