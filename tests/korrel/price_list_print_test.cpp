// Price lists of the registration programs: their tables, sheets and sheet names, their
// hand-off folders, and the page the print program lays out for a block.
#include "base/shared_texts.h"
#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "pricework/price_list.h"
#include "pricework/price_list_output.h"
#include "korrel/core/page_layout.h"
#include "korrel/core/print_job.h"
#include "tests/common/fake_ui.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::FakeUi;
using velmo::test::TempDir;
namespace fs = std::filesystem;

namespace {

// Two groups of three prices around a factor column, as selvan's list has them.
PriceList sampleList()
{
    PriceList list;
    list.title = "資材単価表";
    for (const char *h : {"定　価", "LEVEL1", "原　価"})
        list.columns.push_back({"資材単価", h, true});
    list.columns.push_back({"", "歩掛(共通)", false});
    for (const char *h : {"定　価", "LEVEL1", "原　価"})
        list.columns.push_back({"取付費", h, true});
    PriceListBlock a{3, {"ゲート弁;青銅", "", "JIS 10K"}, "出典　P-12", "本", {}};
    a.rows.push_back({"15A", {Cur("12345"), Cur("10493"), Cur("7407"), Cur("0.35"), Cur("2500"), Cur("2000"), Cur("1500")}});
    a.rows.push_back({"20A", {Cur("1234567"), Cur("0"), Cur("-5"), Cur("2"), Cur("0"), Cur("0"), Cur("0")}});
    PriceListBlock b{7, {"仕切弁"}, "", "ケ", {}};
    list.blocks = {a, b};
    return list;
}

std::vector<std::string> texts(const TableRow &row)
{
    std::vector<std::string> t;
    for (const TableCell &c : row)
        t.push_back(c.text);
    return t;
}

const print::TextBox *findText(const print::PageLayout &l, const std::string &text)
{
    for (const print::TextBox &t : l.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

} // namespace

TEST(PriceList, NamesAndBlocksThatCount)
{
    EXPECT_FALSE(hasName(""));
    EXPECT_FALSE(hasName(" 　 "));
    EXPECT_TRUE(hasName("　弁"));
    EXPECT_EQ(priceListBlocks({"管", "", "　", "弁"}, std::nullopt), (std::vector<int>{0, 3}));
    EXPECT_EQ(priceListBlocks({"管", "", "　", "弁"}, 2), (std::vector<int>{2}));
    EXPECT_EQ(priceText({"", "定　価", true}, Cur("1234567.6")), "1,234,568");
    EXPECT_EQ(priceText({"", "歩掛", false}, Cur("0.35")), "0.35");
}

TEST(PriceList, OneTableWithTheBlockRepeatedOnEveryLineAndPricesAsNumbers)
{
    const std::vector<TableRow> rows = priceListTable(sampleList());
    ASSERT_EQ(rows.size(), 3u); // the heading and the two sizes; the block without sizes has no line
    EXPECT_EQ(texts(rows[0]), (std::vector<std::string>{"ブロック", "名称", "備考", "単位", "サイズ", "資材単価 定　価",
                                                        "資材単価 LEVEL1", "資材単価 原　価", "歩掛(共通)",
                                                        "取付費 定　価", "取付費 LEVEL1", "取付費 原　価"}));
    EXPECT_EQ(texts(rows[2]), (std::vector<std::string>{"3", "ゲート弁;青銅　JIS 10K", "出典　P-12", "本", "20A",
                                                        "1234567", "0", "-5", "2", "0", "0", "0"}));
    for (size_t c = 0; c < rows[1].size(); ++c)
        EXPECT_EQ(rows[1][c].number.has_value(), c >= 5) << c;
    EXPECT_EQ(*rows[1][8].number, Cur("0.35"));
}

TEST(PriceList, OneSheetPerBlockWithGroupsAboveTheHeadings)
{
    PriceList list = sampleList();
    list.blocks[1].names = {"　"};
    const std::vector<TableSheet> sheets = priceListSheets(list);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].name, "ゲート弁;青銅");
    EXPECT_EQ(sheets[1].name, "ブロック7"); // a block without a name is named by its number
    const std::vector<TableTitle> &t = sheets[0].titles;
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].text, "資材単価表");
    EXPECT_EQ(t[1].text, "ゲート弁;青銅　JIS 10K");
    EXPECT_EQ(t[2].label + "|" + t[2].text, "備考|出典　P-12");
    EXPECT_EQ(t[3].label + "|" + t[3].text, "単位|本");
    const std::vector<TableRow> &r = sheets[0].rows;
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(sheets[0].headingRows, 2);
    EXPECT_EQ(texts(r[0])[1], "資材単価");
    EXPECT_EQ(texts(r[0])[4], "");
    EXPECT_EQ(texts(r[1])[0], "サイズ");
    EXPECT_EQ(texts(r[2])[0], "15A");
    EXPECT_EQ(*r[2][1].number, Cur("12345"));
    EXPECT_EQ(*r[3][4].number, Cur("2"));
    // Without a memo there is no memo line.
    EXPECT_EQ(sheets[1].titles.size(), 3u);
    EXPECT_EQ(sheets[1].rows.size(), 2u);
}

TEST(PriceListHandoff, OneFolderPerBlockReadBackAsOnePageEach)
{
    TempDir dir;
    const fs::path folder = dir.path / "price_list";
    // A folder an earlier, longer list left behind is gone after the next one.
    fs::create_directories(folder / "05");
    const std::vector<fs::path> folders = handoff::writePriceListHandoff(folder, sampleList(), "QUORVANE-DX");
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_FALSE(fs::exists(folder / "05"));
    EXPECT_EQ(folders[0], folder / "01");

    const std::string conf = cp932::decode(readWholeFile(folders[0] / "Print.conf"));
    EXPECT_NE(conf.find("[File_Mask]=vpl\r\n[Columns]=定　価;LEVEL1;原　価;歩掛(共通);定　価;LEVEL1;原　価;\r\n"
                        "[Column_Groups]=資材単価;資材単価;資材単価;;取付費;取付費;取付費;\r\n"),
              std::string::npos)
        << conf;
    // A ";" of a name is the full-width one in the data; a block without a size still has a line.
    const std::string data = cp932::decode(readWholeFile(folders[0] / "print_Data.dat"));
    EXPECT_EQ(data.substr(0, data.find("\r\n")), "ゲート弁；青銅;;JIS 10K;;15A;本;12,345;10,493;7,407;0.35;2,500;2,000;1,500;;;;;;;;;;;");
    EXPECT_EQ(cp932::decode(readWholeFile(folders[1] / "print_Data.dat")), "仕切弁;;;;;ケ;;;;;;;;;;;;;;;;;;\r\n");

    std::vector<print::PrintSet> sets;
    for (const fs::path &f : folders)
        sets.push_back(print::readPrintSet(f));
    EXPECT_EQ(sets[0].header.memo, "出典　P-12");
    EXPECT_EQ(sets[0].header.columnGroups[3], "");
    const std::vector<print::PrintPage> pages = print::paginate(sets);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].rows.size(), 2u);
    EXPECT_EQ(print::jobTitle(sets), "QUORVANE-DX - 資材単価表");
}

TEST(PriceListHandoff, TwoBlocksOfTheSameNameStillTakeAPageEach)
{
    TempDir dir;
    PriceList list = sampleList();
    list.blocks[1] = list.blocks[0];
    list.blocks[1].index = 4;
    std::vector<print::PrintSet> sets;
    for (const fs::path &f : handoff::writePriceListHandoff(dir.path, list, "QUORVANE-DX"))
        sets.push_back(print::readPrintSet(f));
    EXPECT_EQ(print::paginate(sets).size(), 2u);
}

TEST(PriceListHandoff, MoreColumnsThanALineHoldsAreRefused)
{
    TempDir dir;
    PriceList list = sampleList();
    list.columns.resize(handoff::PriceListMaxColumns + 1, PriceListColumn{"", "x", true});
    EXPECT_THROW(handoff::writePriceListHandoff(dir.path / "p", list, "QUORVANE-DX"), RangeError);
    // A conf that says so is refused by the reader too.
    fs::create_directories(dir.path / "r");
    handoff::Conf conf;
    conf.columns.assign(handoff::PriceListMaxColumns + 1, "x");
    handoff::writeFiles(dir.path / "r", conf, {}, "");
    EXPECT_THROW(print::readPrintSet(dir.path / "r"), IoError);
}

TEST(PriceListPage, EveryColumnOnTheSheetWithItsHeadingAndPrices)
{
    TempDir dir;
    PriceList list = sampleList();
    // selvan's fifteen columns, the widest list.
    list.columns.clear();
    for (int i = 0; i < 7; ++i)
        list.columns.push_back({"資材単価", "LEVEL" + std::to_string(i), true});
    list.columns.push_back({"", "歩掛(共通)", false});
    for (int i = 0; i < 7; ++i)
        list.columns.push_back({"取付費", "LEVEL" + std::to_string(i), true});
    for (PriceListRow &r : list.blocks[0].rows)
        r.prices.resize(15, Cur("9999999"));
    std::vector<print::PrintSet> sets;
    for (const fs::path &f : handoff::writePriceListHandoff(dir.path, list, "QUORVANE-DX"))
        sets.push_back(print::readPrintSet(f));
    const std::vector<print::PrintPage> pages = print::paginate(sets);
    const print::PageLayout l = print::layoutPage(pages[0]);

    for (const print::TextBox &t : l.texts) {
        EXPECT_GE(t.x, 0) << t.text;
        EXPECT_LE(t.x + t.w, print::PageLayout::Width - 9.9) << t.text;
        EXPECT_LE(t.y + t.h, print::PageLayout::Height) << t.text;
    }
    EXPECT_NE(findText(l, "資材単価表"), nullptr);
    EXPECT_NE(findText(l, "名称：ゲート弁；青銅　JIS 10K"), nullptr);
    EXPECT_NE(findText(l, "単位：本"), nullptr);
    EXPECT_NE(findText(l, "備考：出典　P-12"), nullptr);
    EXPECT_NE(findText(l, "歩掛(共通)"), nullptr);
    EXPECT_NE(findText(l, "1 / 2"), nullptr);
    // Each group heading once, spanning its seven columns.
    const print::TextBox *material = findText(l, "資材単価");
    const print::TextBox *labour = findText(l, "歩掛(共通)");
    ASSERT_NE(material, nullptr);
    EXPECT_NEAR(material->w, 7 * labour->w, 0.01);
    EXPECT_EQ(std::count_if(l.texts.begin(), l.texts.end(), [](const print::TextBox &t) { return t.text == "取付費"; }), 1);
    const print::TextBox *size = findText(l, "20A");
    const print::TextBox *price = findText(l, "9,999,999");
    ASSERT_NE(size, nullptr);
    ASSERT_NE(price, nullptr);
    EXPECT_EQ(price->align, print::Align::Right);
    EXPECT_GT(price->x, size->x + size->w);
}

TEST(PriceListCommands, ScopeCsvAndXlsxThroughTheUserInterface)
{
    TempDir dir;
    FakeUi ui;
    ui.answers = {Answer::Yes, Answer::No, Answer::Back};
    EXPECT_EQ(handoff::askPriceListScope(ui), handoff::PriceListScope::Current);
    EXPECT_EQ(handoff::askPriceListScope(ui), handoff::PriceListScope::AllNamed);
    EXPECT_EQ(handoff::askPriceListScope(ui), std::nullopt);

    // Cancelled: nothing written, nothing said.
    handoff::exportPriceListCsv(ui, sampleList());
    EXPECT_EQ(ui.prompts.size(), 1u);

    const fs::path csv = dir.path / "list.csv";
    ui.saveFiles.push_back(csv);
    handoff::exportPriceListCsv(ui, sampleList());
    EXPECT_EQ(readWholeFile(csv), handoff::priceListCsvBytes(sampleList()));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices[0], sharedtext::priceListWrittenText(csv) + "|確認");

    // A file that cannot be written is an error naming it, and no notice.
    const fs::path bad = dir.path / "no" / "list.xlsx";
    ui.saveFiles.push_back(bad);
    try {
        handoff::exportPriceListXlsx(ui, sampleList());
        ADD_FAILURE() << "no error";
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find(bad.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(ui.notices.size(), 1u);
}

TEST(PriceListCommands, PrintStartsThePrintProgramWithTheFoldersOrSaysItIsMissing)
{
    TempDir dir;
    FakeUi ui;
    ProgramHomes homes{false, dir.path, dir.path, dir.path, dir.path / "handoff"};
    fs::create_directories(homes.handoff);
    // No print program beside the program nor on PATH: the notice says where the files are.
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", "", 1);
    handoff::printPriceList(ui, sampleList(), "QUORVANE-DX", homes);
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices[0], sharedtext::printProgramMissingText("Korrel.exe", homes.handoff / "price_list") + "|確認");
    EXPECT_TRUE(ui.started.empty());

    writeFileAtomically(dir.path / "korrel", "#!/bin/sh\n");
    fs::permissions(dir.path / "korrel", fs::perms::owner_all);
    handoff::printPriceList(ui, sampleList(), "QUORVANE-DX", homes);
    setenv("PATH", path.c_str(), 1);
    ASSERT_EQ(ui.started.size(), 1u);
    const fs::path lists = homes.handoff / "price_list";
    EXPECT_EQ(ui.started[0], (dir.path / "korrel").string() + " " + (lists / "01").string() + " " +
                                 (lists / "02").string() + "|" + homes.handoff.string());
    EXPECT_TRUE(fs::exists(lists / "02" / "print_Data.dat"));
}
