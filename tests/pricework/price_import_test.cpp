// Reading a supplier's price list (CSV in UTF-8 or Shift-JIS, tab or comma separated, .xlsx,
// .ods) and matching it to a block's sizes.
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "pricework/price_import.h"
#include "pricework/price_sheet.h"
#include "tests/common/ods_file.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace velmo {
namespace {

namespace fs = std::filesystem;
using velmo::test::TempDir;
using velmo::test::havePython3;
using velmo::test::odsCell;
using velmo::test::odsNumber;
using velmo::test::writeOds;

void writeBytes(const fs::path &p, const std::string &bytes)
{
    std::ofstream(p, std::ios::binary) << bytes;
}

// Debian's python3 (python3-openpyxl), not one a version manager puts first on PATH.
constexpr const char *Python = "/usr/bin/python3";
bool havePython(const char *module = "openpyxl")
{
    return std::system((std::string(Python) + " -c 'import " + module + "' >/dev/null 2>&1").c_str()) == 0;
}
// Runs a Python script with one argument.
void runPython(const fs::path &script, const fs::path &arg)
{
    ASSERT_EQ(std::system((std::string(Python) + " '" + script.string() + "' '" + arg.string() + "'").c_str()), 0);
}

// Writes a workbook with openpyxl: `sheets` is Python source of a list of (name, rows).
void writeWorkbook(const fs::path &p, const std::string &sheets)
{
    const std::string script = "import openpyxl,sys\n"
                               "wb=openpyxl.Workbook(); wb.remove(wb.active)\n"
                               "for name,rows in " + sheets + ":\n"
                               "  ws=wb.create_sheet(name)\n"
                               "  for r in rows: ws.append(r)\n"
                               "wb.save(sys.argv[1])\n";
    const fs::path py = p.parent_path() / "make.py";
    writeBytes(py, script);
    runPython(py, p);
}

// ---------------------------------------------------------------- reading

TEST(PriceSheet, TextFilesInEitherEncodingAndEitherSeparator)
{
    TempDir d;
    const std::string csv = "呼び径,定価,備考\r\n15A,\"1,200\",\"白, 黒\"\r\n２０Ａ,１５００円,\r\n";
    writeBytes(d.path / "utf8.csv", csv);
    writeBytes(d.path / "bom.csv", "\xEF\xBB\xBF" + csv);
    writeBytes(d.path / "sjis.csv", cp932::encode(csv));
    const SheetRows expected = {{"呼び径", "定価", "備考"}, {"15A", "1,200", "白, 黒"}, {"２０Ａ", "１５００円", ""}};
    for (const char *name : {"utf8.csv", "bom.csv", "sjis.csv"}) {
        const PriceBook book = readPriceBook(d.path / name);
        ASSERT_EQ(book.sheets.size(), 1u) << name;
        EXPECT_EQ(book.sheets[0].rows, expected) << name;
    }
    // Tab separated: a grouped figure stays one cell.
    writeBytes(d.path / "tab.txt", cp932::encode("サイズ\t価格\n15A\t1,200\n25A\t2,400\n"));
    EXPECT_EQ(readPriceBook(d.path / "tab.txt").sheets[0].rows,
              (SheetRows{{"サイズ", "価格"}, {"15A", "1,200"}, {"25A", "2,400"}}));
}

TEST(PriceSheet, WorkbookSheetsStringsAndNumbers)
{
    if (!havePython())
        GTEST_SKIP() << "python3 with openpyxl is missing";
    TempDir d;
    const fs::path x = d.path / "list.xlsx";
    writeWorkbook(x, "[('表紙',[['見積']]),('鋼管',[['サイズ','定価'],['15A',1200],['20A',1350.5],[None,None],"
                     "['25A',0.1+0.2],['32A','お問合せ']])]");
    const PriceBook book = readPriceBook(x);
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[0].name, "表紙");
    const PriceSheet &s = book.sheet("鋼管");
    ASSERT_EQ(s.rows.size(), 6u);
    EXPECT_EQ(s.rows[1], (std::vector<std::string>{"15A", "1200"}));
    EXPECT_EQ(s.rows[2], (std::vector<std::string>{"20A", "1350.5"}));
    EXPECT_TRUE(s.rows[3].empty() || s.rows[3] == (std::vector<std::string>{"", ""}));
    EXPECT_EQ(s.rows[4][1], "0.3");
    EXPECT_EQ(s.rows[5][1], "お問合せ");
    EXPECT_EQ(&book.sheet(""), &book.sheets[0]); // no name: the first sheet
    try {
        book.sheet("継手");
        FAIL() << "a missing sheet was found";
    } catch (const IoError &e) {
        EXPECT_EQ(std::string(e.what()), sharedtext::noSuchSheetText(x, "継手"));
    }
}

TEST(PriceSheet, InlineStringsAndSparseCellsOfAHandWrittenWorkbook)
{
    if (!havePython("zipfile"))
        GTEST_SKIP() << "python3 is missing";
    TempDir d;
    const fs::path x = d.path / "inline.xlsx";
    const std::string py =
        "import zipfile,sys\n"
        "z=zipfile.ZipFile(sys.argv[1],'w')\n"
        "z.writestr('[Content_Types].xml','<Types/>')\n"
        "z.writestr('xl/workbook.xml','<x:workbook xmlns:x=\"a\" xmlns:r=\"b\"><x:sheets><x:sheet name=\"S\" r:id=\"rId7\"/></x:sheets></x:workbook>')\n"
        "z.writestr('xl/_rels/workbook.xml.rels','<Relationships><Relationship Id=\"rId7\" Target=\"/xl/worksheets/data.xml\"/></Relationships>')\n"
        "z.writestr('xl/worksheets/data.xml','<x:worksheet xmlns:x=\"a\"><x:sheetData><x:row r=\"2\"><x:c r=\"C2\" t=\"inlineStr\"><x:is><x:r><x:t>15</x:t></x:r><x:r><x:t>A</x:t></x:r></x:is></x:c><x:c r=\"D2\"><x:v>1.2E3</x:v></x:c></x:row></x:sheetData></x:worksheet>')\n"
        "z.close()\n";
    writeBytes(d.path / "make.py", py);
    runPython(d.path / "make.py", x);
    const PriceBook book = readPriceBook(x);
    EXPECT_EQ(book.sheets.at(0).rows, (SheetRows{{}, {"", "", "15A", "1200"}}));
}

// A supplier's workbook with an old price of 40A left in a hidden row above the one in force,
// and a hidden sheet of old prices: neither is read, and the preview says so.
TEST(PriceSheet, HiddenRowsAndSheetsOfAWorkbookAreNotImported)
{
    if (!havePython())
        GTEST_SKIP() << "python3 with openpyxl is missing";
    TempDir d;
    const fs::path x = d.path / "hidden.xlsx";
    const std::string py = "import openpyxl,sys\n"
                           "wb=openpyxl.Workbook(); old=wb.active; old.title='旧価格'\n"
                           "old.append(['サイズ','定価']); old.append(['15A',999]); old.sheet_state='hidden'\n"
                           "ws=wb.create_sheet('鋼管')\n"
                           "for r in [['サイズ','定価'],['40A',3000],['40A',3550],['15A',1200],['20A',1300],['20A',1350]]:\n"
                           "  ws.append(r)\n"
                           "ws.row_dimensions[2].hidden=True\n"
                           "wb.save(sys.argv[1])\n";
    writeBytes(d.path / "make.py", py);
    runPython(d.path / "make.py", x);
    const PriceBook book = readPriceBook(x);
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_TRUE(book.sheets[0].hidden);
    EXPECT_FALSE(book.sheets[1].hidden);
    EXPECT_EQ(book.sheets[1].hiddenRows, (std::vector<int>{1}));
    EXPECT_EQ(&book.sheet(""), &book.sheets[1]); // no name: the first sheet shown
    EXPECT_EQ(&book.sheet("旧価格"), &book.sheets[0]); // named, a hidden sheet is read

    PriceImportChoice c(book, {{"15A", "20A", "40A"}, {Cur("1"), Cur("2"), Cur("3")}});
    EXPECT_EQ(c.sheet(), 1);
    EXPECT_EQ(c.sheetNote(), ""); // the first sheet shown is the one read
    EXPECT_EQ(c.sheetNames(), (std::vector<std::string>{sharedtext::hiddenSheetName("旧価格"), "鋼管"}));
    const ImportPreview &p = c.preview();
    EXPECT_EQ(p.sizes[2].newPrice, Cur("3550"));
    EXPECT_EQ(p.sizes[2].sheetRow, 3);
    EXPECT_EQ(p.hiddenRows, 1);
    EXPECT_EQ(p.headings, (std::vector<int>{1}));
    EXPECT_TRUE(p.unmatched.empty());
    // 20A in two shown rows: the last is taken, the other listed, and the dialog offers both.
    EXPECT_EQ(p.sizes[1].newPrice, Cur("1350"));
    EXPECT_EQ(p.duplicates, (std::vector<SheetLine>{{5, "20A", "1300"}}));
    EXPECT_EQ(c.rowChoiceTexts(1), (std::vector<std::string>{sharedtext::rowChoiceText("1,300", 5),
                                                             sharedtext::rowChoiceText("1,350", 6)}));
    EXPECT_EQ(c.countsText(), sharedtext::importCountsText(3, 1, 0, 0, 0, 1, 1));
    c.chooseRow(1, 5);
    EXPECT_EQ(c.preview().sizes[1].newPrice, Cur("1300"));
    EXPECT_NE(c.report().find(sharedtext::duplicateSizeText("20A", 5, "1,300", {6})), std::string::npos);
}

TEST(PriceSheet, OpenDocumentSpreadsheets)
{
    if (!havePython3())
        GTEST_SKIP() << "python3 is missing";
    TempDir d;
    const std::string styles = "<style:style style:name=\"ta1\" style:family=\"table\"><style:table-properties table:display=\"true\"/></style:style>"
                               "<style:style style:name=\"ta2\" style:family=\"table\"><style:table-properties table:display=\"false\"/></style:style>";
    const std::string row = "<table:table-row>", end = "</table:table-row>";
    const std::string tables =
        "<table:table table:name=\"価格\" table:style-name=\"ta1\"><table:table-column table:number-columns-repeated=\"3\"/>"
        // 1: a title over three columns
        "<table:table-header-rows>" + row +
        "<table:table-cell table:number-columns-spanned=\"3\" office:value-type=\"string\"><text:p>鋼管 <text:span>価格表</text:span></text:p></table:table-cell>"
        "<table:covered-table-cell table:number-columns-repeated=\"2\"/>" + end + "</table:table-header-rows>"
        // 2, 3: empty, the thousand cells of each only counted
        "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell table:number-columns-repeated=\"1024\"/>" + end +
        // 4: headings, the second one repeated; "定<text:s/>価" is "定 価"
        row + odsCell("呼び径") +
        "<table:table-cell table:number-columns-repeated=\"2\" office:value-type=\"string\"><text:p>定<text:s/>価</text:p></table:table-cell>" + end +
        // 5, 6: hidden, in a group of rows
        "<table:table-row-group><table:table-row table:visibility=\"collapse\">" + odsCell("40A") + odsNumber("3000") + end +
        "<table:table-row table:visibility=\"filter\">" + odsCell("25A") + odsNumber("2500") + end + "</table:table-row-group>"
        // 7: a currency cell, read by its value and not by its text
        + row + odsCell("40A") +
        "<table:table-cell office:value-type=\"currency\" office:currency=\"JPY\" office:value=\"3550.5\"><text:p>¥3,551</text:p></table:table-cell>" + end +
        // 8, 9: one row twice; then the empty rest of the sheet
        "<table:table-row table:number-rows-repeated=\"2\">" + odsCell("50A") + odsNumber("1.2E2") + end +
        "<table:table-row table:number-rows-repeated=\"1048560\"><table:table-cell table:number-columns-repeated=\"16384\"/>" + end +
        "</table:table>"
        "<table:table table:name=\"隠し\" table:style-name=\"ta2\">" + row +
        "<table:table-cell office:value-type=\"percentage\" office:value=\"0.5\"><text:p>50%</text:p></table:table-cell>" + end +
        "</table:table>";
    const fs::path ods = d.path / "list.ods";
    ASSERT_TRUE(writeOds(ods, tables, styles));
    const PriceBook book = readPriceBook(ods);
    ASSERT_EQ(book.sheets.size(), 2u);
    const PriceSheet &s = book.sheets[0];
    EXPECT_EQ(s.name, "価格");
    EXPECT_FALSE(s.hidden);
    EXPECT_EQ(s.rows, (SheetRows{{"鋼管 価格表"}, {}, {}, {"呼び径", "定 価", "定 価"}, {"40A", "3000"}, {"25A", "2500"},
                                 {"40A", "3550.5"}, {"50A", "120"}, {"50A", "120"}}));
    EXPECT_EQ(s.hiddenRows, (std::vector<int>{4, 5}));
    EXPECT_TRUE(book.sheets[1].hidden);
    EXPECT_EQ(book.sheets[1].rows, (SheetRows{{"0.5"}}));
    const PriceImportChoice c(book, {{"25A", "40A", "50A"}, {Cur("1"), Cur("2"), Cur("3")}});
    EXPECT_EQ(c.sizeColumn(), 0);
    EXPECT_EQ(c.priceColumn(), 1);
    EXPECT_EQ(c.preview().sizes[1].newPrice, Cur("3550.5"));
    EXPECT_FALSE(c.preview().sizes[0].newPrice); // 25A only in a hidden row
    EXPECT_EQ(c.preview().hiddenRows, 2);
    EXPECT_EQ(c.preview().headings, (std::vector<int>{1, 4}));

    // A damaged .ods is named as one; a row that repeats its figures a million times is refused
    // before it fills the memory.
    auto messageOf = [](const fs::path &p) {
        try {
            readPriceBook(p);
        } catch (const IoError &e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    const fs::path big = d.path / "big.ods";
    ASSERT_TRUE(writeOds(big, "<table:table table:name=\"S\"><table:table-row table:number-rows-repeated=\"1048576\">"
                              "<table:table-cell table:number-columns-repeated=\"8\" office:value-type=\"float\" "
                              "office:value=\"1\"/>" + end + "</table:table>"));
    EXPECT_EQ(messageOf(big), sharedtext::damagedWorkbookText(big, sharedtext::partTooLargeCause("content.xml"),
                                                               sharedtext::OdsBookKind));
    const fs::path broken = d.path / "broken.ods";
    ASSERT_TRUE(writeOds(broken, "<table:table>"));
    EXPECT_EQ(messageOf(broken), sharedtext::damagedWorkbookText(broken, sharedtext::badPartCause("content.xml"),
                                                                  sharedtext::OdsBookKind));
}

TEST(PriceSheet, RefusesWhatIsNoPriceList)
{
    TempDir d;
    auto messageOf = [](const fs::path &p) {
        try {
            readPriceBook(p);
        } catch (const IoError &e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf(d.path / "none.csv"), sharedtext::missingFileText(d.path / "none.csv"));
    fs::create_directory(d.path / "folder.xlsx");
    EXPECT_NE(messageOf(d.path / "folder.xlsx").find(sharedtext::IsFolderText), std::string::npos);
    // A zip signature followed by rubbish, and a zip without a workbook in it.
    writeBytes(d.path / "broken.xlsx", std::string("PK\x03\x04", 4) + std::string(200, 'x'));
    EXPECT_EQ(messageOf(d.path / "broken.xlsx"),
              sharedtext::damagedWorkbookText(d.path / "broken.xlsx", sharedtext::NotZipCause));
    if (havePython("zipfile")) {
        const fs::path z = d.path / "other.xlsx";
        ASSERT_EQ(std::system((std::string(Python) + " -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w'); "
                               "z.writestr('a.txt','x'); z.close()\" '" + z.string() + "'").c_str()), 0);
        EXPECT_EQ(messageOf(z), sharedtext::damagedWorkbookText(z, sharedtext::NoWorkbookCause));
        // A sheet part that is not XML.
        const fs::path bad = d.path / "badsheet.xlsx";
        ASSERT_EQ(std::system((std::string(Python) + " -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w'); "
                               "z.writestr('xl/workbook.xml','<workbook><sheets><sheet name=\\\"A\\\"/></sheets></workbook>'); "
                               "z.writestr('xl/worksheets/sheet1.xml','<worksheet><sheetData><row>'); z.close()\" '" +
                               bad.string() + "'").c_str()), 0);
        EXPECT_EQ(messageOf(bad), sharedtext::damagedWorkbookText(bad, sharedtext::badPartCause("xl/worksheets/sheet1.xml")));
    }
    // Too large: refused before it is read.
    {
        std::ofstream big(d.path / "big.csv", std::ios::binary);
        big.seekp(static_cast<std::streamoff>(MaxPriceSheetBytes));
        big.put('x');
    }
    EXPECT_EQ(messageOf(d.path / "big.csv"), tooLargeText(d.path / "big.csv", MaxPriceSheetBytes + 1));
}

// ---------------------------------------------------------------- matching

TEST(PriceImport, SizesCompareWithoutWidthSpacesOrTheASuffix)
{
    EXPECT_EQ(normalisedSize("15A"), "15");
    EXPECT_EQ(normalisedSize("１５Ａ"), "15");
    EXPECT_EQ(normalisedSize(" 15 "), "15");
    EXPECT_EQ(normalisedSize("15a"), "15");
    EXPECT_EQ(normalisedSize("1/2"), "1/2");
    EXPECT_EQ(normalisedSize("１／２"), "1/2");
    EXPECT_EQ(normalisedSize("6×9.5"), "6×9.5");
    EXPECT_EQ(normalisedSize("A"), "A"); // a size that is only the letter stays
    EXPECT_NE(normalisedSize("15A"), normalisedSize("150"));
}

TEST(PriceImport, PriceCellsAsSpreadsheetsWriteThem)
{
    EXPECT_EQ(listPriceOfCell("1,200"), Cur("1200"));
    EXPECT_EQ(listPriceOfCell("¥1,200"), Cur("1200"));
    EXPECT_EQ(listPriceOfCell("1200円"), Cur("1200"));
    EXPECT_EQ(listPriceOfCell("１，２００"), Cur("1200"));
    EXPECT_EQ(listPriceOfCell(" 1350.5 "), Cur("1350.5"));
    EXPECT_EQ(listPriceOfCell(""), std::nullopt);
    EXPECT_EQ(listPriceOfCell("お問合せ"), std::nullopt);
    EXPECT_EQ(listPriceOfCell("12,00"), std::nullopt);
    EXPECT_EQ(listPriceOfCell("-5"), std::nullopt);
    EXPECT_EQ(listPriceOfCell("99999999999999999999"), std::nullopt);
}

TEST(PriceImport, ColumnsByNumberOrHeading)
{
    const SheetRows rows = {{"鋼管 価格表"}, {"No", "呼び径", " 定価 "}, {"1", "15A", "100"}};
    EXPECT_EQ(chooseColumn(rows, "2").column, 1);
    EXPECT_EQ(chooseColumn(rows, "３").column, 2);
    EXPECT_FALSE(chooseColumn(rows, "3").headingRow);
    const ColumnChoice h = chooseColumn(rows, "定価");
    EXPECT_EQ(h.column, 2);
    EXPECT_EQ(h.headingRow, 1);
    // A heading is found whatever its spaces and full-width letters: 呼び径 as "呼び　径".
    EXPECT_EQ(chooseColumn(rows, "呼び　径").column, 1);
    try {
        chooseColumn(rows, "4");
        FAIL();
    } catch (const RangeError &e) {
        EXPECT_EQ(std::string(e.what()), sharedtext::noColumnNumberText(4, 3));
    }
    try {
        chooseColumn(rows, "0");
        FAIL();
    } catch (const RangeError &e) {
        EXPECT_EQ(std::string(e.what()), sharedtext::noColumnNumberText(0, 3));
    }
    try {
        chooseColumn(rows, "単価");
        FAIL();
    } catch (const RangeError &e) {
        EXPECT_EQ(std::string(e.what()), sharedtext::noColumnHeadingText("単価"));
    }
}

ImportTarget target()
{
    return {{"15A", "20A", "25A", "32A", "", "1/2"},
            {Cur("100"), Cur("200"), Cur("300"), Cur("400"), Cur("0"), Cur("50")}};
}

TEST(PriceImport, PreviewMatchesSizesAndNamesWhatFoundNoPlace)
{
    const SheetRows rows = {
        {"サイズ", "定価"},      // 1: a heading that matches nothing
        {"１５Ａ", "１，２００"}, // 2
        {"20", "¥2,000"},        // 3
        {"40A", "4,000"},        // 4: no such size
        {"", ""},                // 5: empty, skipped
        {"25A", "お問合せ"},     // 6: a bad price
        {"15A", "9,999"},        // 7: the second row of 15A, taken as the last
        {"1/2", "75円"},         // 8
    };
    ImportPreview p = previewImport(PriceSheet{"", rows}, {0, {}}, {1, {}}, target());
    ASSERT_EQ(p.sizes.size(), 6u);
    EXPECT_EQ(p.sizes[0].newPrice, Cur("9999"));
    EXPECT_EQ(p.sizes[0].sheetRow, 7);
    EXPECT_EQ(p.sizes[0].oldPrice, Cur("100"));
    EXPECT_EQ(p.sizes[1].newPrice, Cur("2000"));
    EXPECT_FALSE(p.sizes[2].newPrice);
    EXPECT_FALSE(p.sizes[3].newPrice);
    EXPECT_FALSE(p.sizes[4].newPrice);
    EXPECT_EQ(p.sizes[5].newPrice, Cur("75"));
    EXPECT_EQ(p.matched(), 3);
    // The heading is a heading, not a row without a size.
    EXPECT_EQ(p.headings, (std::vector<int>{1}));
    EXPECT_EQ(p.unmatched, (std::vector<SheetLine>{{4, "40A", "4,000"}}));
    EXPECT_EQ(p.badPrices, (std::vector<SheetLine>{{6, "25A", "お問合せ"}}));
    EXPECT_EQ(p.duplicates, (std::vector<SheetLine>{{2, "１５Ａ", "１，２００"}}));
    EXPECT_EQ(p.sizesWithChoice(), (std::vector<size_t>{0}));
    // The empty size row is no size without a price.
    EXPECT_EQ(p.sizesWithoutPrice(), (std::vector<std::string>{"25A", "32A"}));
    // The other row of 15A taken instead: the last one becomes the duplicate; a row of
    // another size cannot be taken.
    EXPECT_TRUE(p.takeRow(0, 2));
    EXPECT_EQ(p.sizes[0].newPrice, Cur("1200"));
    EXPECT_EQ(p.duplicates, (std::vector<SheetLine>{{7, "15A", "9,999"}}));
    EXPECT_FALSE(p.takeRow(0, 3));
    EXPECT_EQ(p.sizes[0].sheetRow, 2);
}

TEST(PriceImport, AHeadingChosenColumnStartsTheTableBelowIt)
{
    const SheetRows rows = {{"15A 鋼管"}, {"呼び径", "定価"}, {"15A", "1,000"}};
    const ImportPreview p = previewImport(PriceSheet{"", rows}, chooseColumn(rows, "呼び径"), chooseColumn(rows, "定価"), target());
    EXPECT_TRUE(p.unmatched.empty()); // the title row above the heading is not read
    EXPECT_EQ(p.headings, (std::vector<int>{1, 2}));
    EXPECT_EQ(p.sizes[0].newPrice, Cur("1000"));
    EXPECT_EQ(p.sizes[0].sheetRow, 3);
}

// The guesses on a supplier's workbook as it comes: a cover sheet, a title merged across the
// table, headings with their unit, a heading repeated for the next part of the list.
TEST(PriceImport, GuessesFindTheHeadingRowAndTheSheetThatHasIt)
{
    EXPECT_TRUE(isSizeHeading("呼び径"));
    EXPECT_TRUE(isSizeHeading(" 口　径 (mm)"));
    EXPECT_FALSE(isSizeHeading("サイズ別 価格表"));
    EXPECT_EQ(priceHeadingRank("定価（円）"), 3);
    EXPECT_EQ(priceHeadingRank("単価"), 2);
    EXPECT_EQ(priceHeadingRank("価格"), 1);
    EXPECT_EQ(priceHeadingRank("鋼管 価格表"), 0);
    if (!havePython())
        GTEST_SKIP() << "python3 with openpyxl is missing";
    TempDir d;
    const fs::path x = d.path / "guess.xlsx";
    writeBytes(d.path / "make.py", "import openpyxl,sys\n"
                                   "wb=openpyxl.Workbook(); c=wb.active; c.title='表紙'\n"
                                   "c.append(['御見積書']); c.append(['株式会社 サンプル'])\n"
                                   "ws=wb.create_sheet('継手')\n"
                                   "ws.append(['継手 価格表 2026年4月']); ws.merge_cells('A1:E1')\n"
                                   "for r in [['No','品名','呼び径','単価','定価(円)'],[1,'エルボ','15A',900,1200],\n"
                                   "          [2,'エルボ','20A',1000,1350],[3,'エルボ','80A',5000,9000],\n"
                                   "          ['No','品名','呼び径','単価','定価(円)'],[4,'チーズ','25A',1100,'1,500']]:\n"
                                   "  ws.append(r)\n"
                                   "wb.save(sys.argv[1])\n");
    runPython(d.path / "make.py", x);
    const PriceImportChoice c(readPriceBook(x), target());
    EXPECT_EQ(c.sheet(), 1);
    EXPECT_EQ(c.sheetNote(), sharedtext::headingSheetText("表紙", "継手"));
    EXPECT_EQ(c.sizeColumn(), 2);
    EXPECT_EQ(c.priceColumn(), 4); // 定価 before 単価
    // The columns are named by the heading row, not by the title above it.
    EXPECT_EQ(c.columnTexts(), (std::vector<std::string>{"1: No", "2: 品名", "3: 呼び径", "4: 単価", "5: 定価(円)"}));
    EXPECT_EQ(c.preview().headings, (std::vector<int>{2, 6})); // the title lies outside both columns
    EXPECT_EQ(c.preview().unmatched, (std::vector<SheetLine>{{5, "80A", "9000"}}));
    EXPECT_EQ(c.preview().matched(), 3);
    EXPECT_EQ(c.preview().sizes[2].newPrice, Cur("1500"));

    // Without headings the columns come from the figures: the sizes of the block, and the
    // prices beside them rather than the row numbers before them.
    const ImportTarget t = target();
    const PriceSheet plain{"", {{"1", "15A", "白", "1,000"}, {"2", "20A", "黒", "2,000"}, {"3", "99A", "", "5"}}};
    ColumnGuess g = guessColumns(plain, t);
    EXPECT_FALSE(g.headingRow);
    EXPECT_EQ(g.sizeColumn, 1);
    EXPECT_EQ(g.priceColumn, 3);
    g = guessColumns(PriceSheet{"", {{"1", "15A", "1000"}, {"2", "20A", "2000"}}}, t);
    EXPECT_EQ(g.priceColumn, 2);
    // A price heading alone: the size column still from the figures.
    g = guessColumns(PriceSheet{"", {{"品番", "品名", "価格"}, {"X1", "15A", "100"}}}, t);
    EXPECT_EQ(g.headingRow, 0);
    EXPECT_EQ(g.sizeColumn, 1);
    EXPECT_EQ(g.priceColumn, 2);
}

TEST(PriceImport, TheDialogsChoicesFollowSheetAndColumns)
{
    PriceBook book{"list.xlsx",
                   {{"表紙", {{"見積書"}}},
                    {"鋼管", {{"定価", "サイズ"}, {"1,500", "15A"}, {"2,500", "20A"}}}}};
    PriceImportChoice c(book, target());
    EXPECT_EQ(c.sheetNames(), (std::vector<std::string>{"表紙", "鋼管"}));
    // The cover has no heading: the guesses go to the sheet that has one, and say so.
    EXPECT_EQ(c.sheet(), 1);
    EXPECT_EQ(c.sheetNote(), sharedtext::headingSheetText("表紙", "鋼管"));
    EXPECT_EQ(c.sizeColumn(), 1);
    EXPECT_EQ(c.priceColumn(), 0);
    EXPECT_EQ(c.columnTexts(), (std::vector<std::string>{"1: 定価", "2: サイズ"}));
    EXPECT_EQ(c.preview().matched(), 2);
    c.chooseSizeColumn(0);
    EXPECT_FALSE(c.canImport());
    c.chooseSizeColumn(1);
    EXPECT_TRUE(c.canImport());
    EXPECT_EQ(c.preview().sizes[1].newPrice, Cur("2500"));
    c.chooseSheet(0);
    EXPECT_EQ(c.columnTexts(), (std::vector<std::string>{"1: 見積書", "2"}));
    EXPECT_FALSE(c.canImport());
    EXPECT_EQ(c.sheetNote(), "");
    c.chooseSheet(7); // no such sheet: the choice stays
    EXPECT_EQ(c.sheet(), 0);
    c.chooseSheet(1);
    // What the dialog shows: money texts, the counts (the heading apart), and the sizes without
    // a place.
    EXPECT_EQ(c.sizeRows()[1], (std::array<std::string, 3>{"20A", "200", "2,500"}));
    EXPECT_EQ(c.sizeRows()[2], (std::array<std::string, 3>{"25A", "300", ""}));
    EXPECT_EQ(c.countsText(), sharedtext::importCountsText(2, 1, 0, 3, 0, 0, 0));
    EXPECT_EQ(c.report(), std::string("【") + sharedtext::SizesWithoutPriceHeading + "】\n25A\n32A\n1/2\n");
}

} // namespace
} // namespace velmo
