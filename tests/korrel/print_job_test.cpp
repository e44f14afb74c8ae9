// The print program's reading of the hand-off files and its page layout, without a painter.
#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "tests/common/handoff_sample.h"
#include "korrel/core/page_layout.h"
#include "korrel/core/print_job.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmo;
using namespace velmo::print;
using velmo::test::handoffLine;
using velmo::test::TempDir;
using velmo::test::writeHandoffSet;
namespace fs = std::filesystem;

namespace {

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
    writeHandoffSet(dir.path, {"屋内一般", "機械室", "屋外架空", "地中配管"});
    const PrintSet set = readPrintSet(dir.path);
    EXPECT_EQ(set.header.applicationTitle, "Velmaro");
    EXPECT_EQ(set.header.dataTitle, "複合単価印刷");
    EXPECT_FALSE(set.header.refrigerant);
    EXPECT_EQ(set.header.memo, "東京都物価版P-12");
    EXPECT_EQ(headingDate(set.header), "令和7年01月05日（日）");
    // The year of the era is printed without the hand-off's leading zero; a western year as it is.
    PrintHeader h = set.header;
    for (const auto &[era, printed] : {std::pair{"令和08", "令和8年"}, {"平成31", "平成31年"}, {"令和10", "令和10年"},
                                       {"令和01", "令和1年"}}) {
        h.eraYear = era;
        EXPECT_EQ(headingDate(h).substr(0, std::string(printed).size()), printed);
    }
    h.eraYear = "";
    h.year = "2026";
    EXPECT_EQ(headingDate(h), "2026年01月05日（日）");
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
    writeHandoffSet(dir.path / "1", {"屋内一般", "機械室"});
    writeHandoffSet(dir.path / "2", {"一般"}, true);
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
    writeHandoffSet(dir.path, {"屋内一般"});
    writeFileAtomically(dir.path / "print_Data.dat", cp932::encode(handoffLine("屋内一般", "15A") + "\r\n鋼管;白;\r\n"));
    try {
        readPrintSet(dir.path);
        FAIL();
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("print_Data.dat の 2 行目"), std::string::npos) << e.what();
    }
    // One field too many, and a line without its last separator.
    writeFileAtomically(dir.path / "print_Data.dat", cp932::encode(handoffLine("屋内一般", "15A") + "x;\r\n"));
    EXPECT_THROW(readPrintSet(dir.path), IoError);
    const std::string line = handoffLine("屋内一般", "15A");
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
    writeHandoffSet(work.path, {"屋内一般"});
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
    writeHandoffSet(dir.path, {"屋内一般", "機械室"});
    const std::vector<PrintSet> sets{readPrintSet(dir.path)};
    const auto pages = paginate(sets);
    const PageLayout l = layoutPage(pages[1]);
    ASSERT_NE(findText(l, "令和7年01月05日（日）"), nullptr);
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

    writeHandoffSet(dir.path, {"一般"}, true);
    const std::vector<PrintSet> cold{readPrintSet(dir.path)};
    const PageLayout r = layoutPage(paginate(cold)[0]);
    EXPECT_EQ(findText(r, "はつり補修"), nullptr);
    EXPECT_NE(findText(r, "継手接合等"), nullptr);
}
