// The print program's reading of the hand-off files and its page layout, without a painter.
#include "cp932.h"
#include "errors.h"
#include "fileio.h"
#include "page_layout.h"
#include "print_job.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmo;
using namespace velmo::print;
using velmo::test::TempDir;
namespace fs = std::filesystem;

namespace {

std::string dataLine(const std::string &location, const std::string &size, const std::string &k6 = "100")
{
    return "鋼管;白;ねじ接合;" + location + ";" + size + ";ｍ;2,800;1,000;1.1;0.3;0.05;0.2;0.05;0.1;0.05;1,100;300;50;200;1,000;" +
           k6 + ";55;2,805;";
}

// A hand-off folder with `locations` × 14 rows.
void writeSet(const fs::path &folder, const std::vector<std::string> &locations, bool refrigerant = false)
{
    fs::create_directories(folder);
    writeFileAtomically(folder / "Print.conf",
                        cp932::encode("[Version]=2.00\r\n[Application_Title]=Velmaro\r\n[Data_Title]=複合単価印刷\r\n"
                                      "[STYLE_FILE]=\r\n[Icon_File]=/x/Application.ico\r\n[File_Mask]=" +
                                      std::string(refrigerant ? "vmr" : "vmk") + "\r\n"));
    writeFileAtomically(folder / "print_header.dat",
                        cp932::encode("[ta]=2025\r\n[tb]=令和07\r\n[tc]=01\r\n[td]=05\r\n[te]=日\r\n[tf]=\r\n[tg]=\r\n"
                                      "[th]=東京都物価版P-12\r\n[ti]=20000(Level1)\r\n[tj]=18000\r\n"));
    std::string data;
    for (const std::string &loc : locations)
        for (int k = 1; k <= 14; ++k)
            data += dataLine(loc, k == 1 ? "15A" : "", refrigerant ? "" : "100") + "\r\n";
    writeFileAtomically(folder / "print_Data.dat", cp932::encode(data));
}

const TextBox *findText(const PageLayout &l, const std::string &text)
{
    for (const TextBox &t : l.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

} // namespace

TEST(PrintJob, ReadsTheThreeFilesAndMakesOnePagePerLocation)
{
    TempDir dir;
    writeSet(dir.path, {"屋内一般", "機械室", "屋外架空", "地中配管"});
    const PrintSet set = readPrintSet(dir.path);
    EXPECT_EQ(set.header.applicationTitle, "Velmaro");
    EXPECT_EQ(set.header.dataTitle, "複合単価印刷");
    EXPECT_FALSE(set.header.refrigerant);
    EXPECT_EQ(set.header.memo, "東京都物価版P-12");
    EXPECT_EQ(headingDate(set.header), "令和07年01月05日（日）");
    EXPECT_EQ(labourText(set.header.labour), "20,000 (Level1)");
    ASSERT_EQ(set.rows.size(), 56u);
    EXPECT_EQ(set.rows[0][22], "2,805");

    const std::vector<PrintSet> sets{set};
    const auto pages = paginate(sets);
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[1].location, "機械室");
    EXPECT_EQ(pages[3].number, 4);
    EXPECT_EQ(pages[3].count, 4);
    for (const PrintPage &p : pages) {
        EXPECT_EQ(p.rows.size(), 14u);
        EXPECT_EQ(p.pipeNames[0], "鋼管");
    }
    EXPECT_EQ(jobTitle(sets), "Velmaro - 複合単価印刷");
}

TEST(PrintJob, SeveralFoldersPrintOneAfterAnother)
{
    TempDir dir;
    writeSet(dir.path / "1", {"屋内一般", "機械室"});
    writeSet(dir.path / "2", {"一般"}, true);
    const std::vector<PrintSet> sets{readPrintSet(dir.path / "1"), readPrintSet(dir.path / "2")};
    const auto pages = paginate(sets);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(pages[2].header->refrigerant);
    EXPECT_FALSE(pages[0].header->refrigerant);
    EXPECT_EQ(pages[2].number, 3);
}

TEST(PrintJob, MissingOrDamagedFilesNameTheFile)
{
    TempDir dir;
    try {
        readPrintSet(dir.path);
        FAIL();
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("Print.conf"), std::string::npos) << e.what();
    }
    writeSet(dir.path, {"屋内一般"});
    writeFileAtomically(dir.path / "print_Data.dat", cp932::encode(dataLine("屋内一般", "15A") + "\r\n鋼管;白;\r\n"));
    try {
        readPrintSet(dir.path);
        FAIL();
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("print_Data.dat の 2 行目"), std::string::npos) << e.what();
    }
    // One field too many, and a line without its last separator.
    writeFileAtomically(dir.path / "print_Data.dat", cp932::encode(dataLine("屋内一般", "15A") + "x;\r\n"));
    EXPECT_THROW(readPrintSet(dir.path), IoError);
    const std::string line = dataLine("屋内一般", "15A");
    writeFileAtomically(dir.path / "print_Data.dat", cp932::encode(line.substr(0, line.size() - 1)));
    EXPECT_THROW(readPrintSet(dir.path), IoError);
    fs::remove(dir.path / "print_header.dat");
    fs::create_directory(dir.path / "print_header.dat");
    EXPECT_THROW(readPrintSet(dir.path), IoError);
}

TEST(PrintJob, TheWorkingFolderIsUsedWhenItHoldsTheFiles)
{
    TempDir work, program;
    EXPECT_EQ(defaultPrintFolder(work.path, program.path), program.path);
    writeSet(work.path, {"屋内一般"});
    EXPECT_EQ(defaultPrintFolder(work.path, program.path), work.path);
}

TEST(PrintJob, GroupedNumbersLeaveOtherTextAlone)
{
    EXPECT_EQ(groupedNumber("20000"), "20,000");
    EXPECT_EQ(groupedNumber("-1234.5"), "-1,234.5");
    EXPECT_EQ(groupedNumber("999"), "999");
    EXPECT_EQ(groupedNumber(""), "");
    EXPECT_EQ(groupedNumber("12a"), "12a");
    EXPECT_EQ(labourText("18000(仕切)"), "18,000 (仕切)");
}

TEST(PageLayout, RowsWithoutSizeAndFiguresArePrintedEmpty)
{
    PrintRow row;
    row.fill("0");
    row[0] = "鋼管";
    row[3] = "屋内一般";
    row[4] = "";
    row[5] = "ｍ";
    row[20] = ""; // K6 of a refrigerant pipe
    EXPECT_TRUE(unusedRow(row));
    row[22] = "5";
    EXPECT_FALSE(unusedRow(row));
    row[22] = "0";
    row[4] = "15A";
    EXPECT_FALSE(unusedRow(row));
}

TEST(PageLayout, NormalTableHasNineteenColumnsAndRefrigerantNoChippingColumns)
{
    const auto normal = tableColumns(false);
    ASSERT_EQ(normal.size(), 19u); // size, unit, adopted, material, 7 factors, 7 components, total
    const auto refrigerant = tableColumns(true);
    ASSERT_EQ(refrigerant.size(), 17u);
    for (const Column &c : refrigerant) {
        EXPECT_NE(c.field, handoff::FactorField + 5);
        EXPECT_NE(c.field, handoff::ComponentField + 5);
        EXPECT_NE(c.heading, "はつり補修");
    }
    // Both fill the sheet between its margins.
    auto width = [](const std::vector<Column> &cols) {
        double w = 0;
        for (const Column &c : cols)
            w += c.width;
        return w;
    };
    EXPECT_DOUBLE_EQ(width(normal), PageLayout::Width - 20);
    EXPECT_DOUBLE_EQ(width(refrigerant), PageLayout::Width - 20);
}

TEST(PageLayout, PageShowsTheHeaderValuesAndRightAlignedMoneyInsideTheSheet)
{
    TempDir dir;
    writeSet(dir.path, {"屋内一般", "機械室"});
    const std::vector<PrintSet> sets{readPrintSet(dir.path)};
    const auto pages = paginate(sets);
    const PageLayout l = layoutPage(pages[1]);
    ASSERT_NE(findText(l, "令和07年01月05日（日）"), nullptr);
    ASSERT_NE(findText(l, "施工場所：機械室"), nullptr);
    ASSERT_NE(findText(l, "管材名：鋼管　白　ねじ接合"), nullptr);
    ASSERT_NE(findText(l, "基礎工費（１人工）：20,000 (Level1)"), nullptr);
    ASSERT_NE(findText(l, "NET：18,000"), nullptr);
    ASSERT_NE(findText(l, "備考：東京都物価版P-12"), nullptr);
    ASSERT_NE(findText(l, "2 / 2"), nullptr);
    const TextBox *total = findText(l, "2,805");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->align, Align::Right);
    ASSERT_NE(findText(l, "はつり補修"), nullptr);
    for (const TextBox &t : l.texts) {
        EXPECT_GE(t.x, 0);
        EXPECT_LE(t.x + t.w, PageLayout::Width + 1e-9) << t.text;
        EXPECT_LE(t.y + t.h, PageLayout::Height + 1e-9) << t.text;
    }
    // The 14 rows, one per line of the file.
    EXPECT_EQ(std::count_if(l.texts.begin(), l.texts.end(), [](const TextBox &t) { return t.text == "1,100"; }), 14);

    writeSet(dir.path, {"一般"}, true);
    const std::vector<PrintSet> cold{readPrintSet(dir.path)};
    const PageLayout r = layoutPage(paginate(cold)[0]);
    EXPECT_EQ(findText(r, "はつり補修"), nullptr);
    EXPECT_NE(findText(r, "継手接合等"), nullptr);
}
