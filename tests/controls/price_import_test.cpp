// Reading a supplier's price list (CSV in UTF-8 or Shift-JIS, tab or comma separated, .xlsx)
// and matching it to a block's sizes.
#include "controls/core/control_texts.h"
#include "controls/core/cp932.h"
#include "controls/core/errors.h"
#include "controls/core/fileio.h"
#include "controls/core/price_import.h"
#include "controls/core/price_sheet.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace velmo {
namespace {

namespace fs = std::filesystem;
using velmo::test::TempDir;

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
        EXPECT_EQ(std::string(e.what()), controltext::noSuchSheetText(x, "継手"));
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
    EXPECT_EQ(messageOf(d.path / "none.csv"), controltext::missingFileText(d.path / "none.csv"));
    fs::create_directory(d.path / "folder.xlsx");
    EXPECT_NE(messageOf(d.path / "folder.xlsx").find(controltext::IsFolderText), std::string::npos);
    // A zip signature followed by rubbish, and a zip without a workbook in it.
    writeBytes(d.path / "broken.xlsx", std::string("PK\x03\x04", 4) + std::string(200, 'x'));
    EXPECT_EQ(messageOf(d.path / "broken.xlsx"),
              controltext::damagedWorkbookText(d.path / "broken.xlsx", controltext::NotZipCause));
    if (havePython("zipfile")) {
        const fs::path z = d.path / "other.xlsx";
        ASSERT_EQ(std::system((std::string(Python) + " -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w'); "
                               "z.writestr('a.txt','x'); z.close()\" '" + z.string() + "'").c_str()), 0);
        EXPECT_EQ(messageOf(z), controltext::damagedWorkbookText(z, controltext::NoWorkbookCause));
        // A sheet part that is not XML.
        const fs::path bad = d.path / "badsheet.xlsx";
        ASSERT_EQ(std::system((std::string(Python) + " -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w'); "
                               "z.writestr('xl/workbook.xml','<workbook><sheets><sheet name=\\\"A\\\"/></sheets></workbook>'); "
                               "z.writestr('xl/worksheets/sheet1.xml','<worksheet><sheetData><row>'); z.close()\" '" +
                               bad.string() + "'").c_str()), 0);
        EXPECT_EQ(messageOf(bad), controltext::damagedWorkbookText(bad, controltext::badPartCause("xl/worksheets/sheet1.xml")));
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
        EXPECT_EQ(std::string(e.what()), controltext::noColumnNumberText(4, 3));
    }
    try {
        chooseColumn(rows, "0");
        FAIL();
    } catch (const RangeError &e) {
        EXPECT_EQ(std::string(e.what()), controltext::noColumnNumberText(0, 3));
    }
    try {
        chooseColumn(rows, "単価");
        FAIL();
    } catch (const RangeError &e) {
        EXPECT_EQ(std::string(e.what()), controltext::noColumnHeadingText("単価"));
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

TEST(PriceImport, TheDialogsChoicesFollowSheetAndColumns)
{
    PriceBook book{"list.xlsx",
                   {{"表紙", {{"見積書"}}},
                    {"鋼管", {{"定価", "サイズ"}, {"1,500", "15A"}, {"2,500", "20A"}}}}};
    PriceImportChoice c(book, target());
    EXPECT_EQ(c.sheetNames(), (std::vector<std::string>{"表紙", "鋼管"}));
    // The cover has no heading: the guesses go to the sheet that has one, and say so.
    EXPECT_EQ(c.sheet(), 1);
    EXPECT_EQ(c.sheetNote(), controltext::headingSheetText("表紙", "鋼管"));
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
    EXPECT_EQ(c.countsText(), controltext::importCountsText(2, 1, 0, 3, 0, 0, 0));
    EXPECT_EQ(c.report(), std::string("【") + controltext::SizesWithoutPriceHeading + "】\n25A\n32A\n1/2\n");
}

} // namespace
} // namespace velmo
