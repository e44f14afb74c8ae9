// Clipboard text between the price grids and a spreadsheet.
#include "base/sheet_text.h"

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

TEST(SheetHtml, ASpreadsheetReadsTheCopiedTableWithNumbersAsNumbersAndTextsAsTexts)
{
    const SheetRows rows{{"15A", "1234.5", "1,200"}, {"1-1/2", "a<b & \"c\"", ""}, {"二行\n目"}};
    const std::string html = sheetHtml(rows);
    EXPECT_NE(html.find("<td x:num=\"1234.5\">1234.5</td>"), std::string::npos) << html;
    EXPECT_NE(html.find("<td x:num=\"1200\">1,200</td>"), std::string::npos) << html;
    // A size that looks like a date to a spreadsheet is marked as text.
    EXPECT_NE(html.find("<td style=\"mso-number-format:\\@\">1-1/2</td>"), std::string::npos) << html;
    EXPECT_NE(html.find("a&lt;b &amp; &quot;c&quot;"), std::string::npos) << html;
    // What is copied pastes back as the same cells (a line end inside a cell becomes a space).
    EXPECT_EQ(parseSheetHtml(html), (SheetRows{{"15A", "1234.5", "1,200"}, {"1-1/2", "a<b & \"c\"", ""}, {"二行 目"}}));
    const ClipboardContent both = sheetClipboard(rows);
    EXPECT_EQ(both.text, sheetText(rows));
    EXPECT_EQ(both.html, html);
}

TEST(SheetHtml, TheFirstTableOfAnotherProgramsHtmlWithSpansEntitiesAndNoise)
{
    const std::string html =
        "<html><head><style>td { color: red } <td>x</td></style><SCRIPT>var s='</b><table><tr><td>no</td>';</script></head>"
        "<body><p>見出し</p><!-- <table><tr><td>comment</td></tr></table> -->"
        "<TABLE border=1><TBODY><TR><TH colspan=\"2\">サイズ</TH><Th>定価</th></tr>\n"
        "<tr><td>  15A </td><td>&nbsp;</td><td ALIGN=right>1,234&#46;5</td></tr>"
        "<tr><td>20A<br>ねじ</td><td><table><tr><td>内</td></tr></table></td><td>&#x00A5;2&#44;000&yen;&unknown;</td></tr>"
        "</table><table><tr><td>second</td></tr></table></body></html>";
    EXPECT_EQ(parseSheetHtml(html), (SheetRows{{"サイズ", "", "定価"}, {"15A", "", "1,234.5"}, {"20A ねじ", "内", "¥2,000¥&unknown;"}}));
    EXPECT_TRUE(parseSheetHtml("<p>no table</p>").empty());
    EXPECT_TRUE(parseSheetHtml("").empty());
    // Cut off in the middle: the rows read so far.
    EXPECT_EQ(parseSheetHtml("<table><tr><td>1</td><td>2"), (SheetRows{{"1", "2"}}));
    // The text wins when there is one; the table only when the clipboard holds no text.
    EXPECT_EQ(clipboardRows({"9\t8\n", "<table><tr><td>1</td></tr></table>"}), (SheetRows{{"9", "8"}}));
    EXPECT_EQ(clipboardRows({"", "<table><tr><td>1</td></tr></table>"}), (SheetRows{{"1"}}));
    EXPECT_TRUE(clipboardRows({}).empty());
}
