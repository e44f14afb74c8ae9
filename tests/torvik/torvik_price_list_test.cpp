// torvik's price lists: what a block lists, and the three commands of the window's menu.
#include "base/shared_texts.h"
#include "base/cp932.h"
#include "pricework/price_list_output.h"
#include "torvik/core/torvik_price_list.h"
#include "tests/torvik/torvik_fixture.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

TEST(TorvikPriceList, NamedSizesWithTheSevenPricesInTabOrder)
{
    TorvikFixture f;
    PipeBlock b = readPipeBlock(f.data(), 3);
    b[5].size.assignText("　"); // a row without a size is not listed
    b[4].name.assignText("");
    writePipeBlock(f.data(), 3, b);

    const PriceList list = torvikPriceList(f.data(), 3);
    ASSERT_EQ(list.blocks.size(), 1u);
    const PriceListBlock &block = list.blocks[0];
    EXPECT_EQ(list.title, "管材単価表");
    ASSERT_EQ(list.columns.size(), 7u);
    EXPECT_EQ(list.columns[0].heading, "定　価");
    EXPECT_EQ(list.columns[6].heading, "原　価");
    EXPECT_EQ(block.index, 3);
    EXPECT_EQ(block.names, (std::vector<std::string>{"管3", "継手3", "ねじ3"}));
    EXPECT_EQ(block.memo, "出典3");
    EXPECT_EQ(block.unit, "本");
    ASSERT_EQ(block.rows.size(), 13u);
    EXPECT_EQ(block.rows[5].size, "45A");
    // 定価, LEVEL1 … LEVEL5, 原価 of location 0 as torvik shows them once opened: derived from
    // the list price by 90, 80, 70, 60, 50 and 40 %, not the 1 … 6 the file holds.
    EXPECT_EQ(block.rows[0].prices, (std::vector<Currency>{Cur("4000"), Cur("3600"), Cur("3200"), Cur("2800"),
                                                           Cur("2400"), Cur("2000"), Cur("1600")}));

    // Every named block, in file order; a name of spaces does not count.
    writePipeBlock(f.data(), 0, [&] {
        PipeBlock z = readPipeBlock(f.data(), 0);
        z[0].name.assignText(" 　");
        return z;
    }());
    const PriceList all = torvikPriceList(f.data(), std::nullopt);
    ASSERT_EQ(all.blocks.size(), 19u);
    EXPECT_EQ(all.blocks.front().index, 1);
    EXPECT_EQ(all.blocks.back().index, 19);
    EXPECT_THROW(torvikPriceList(f.data(), 20), RangeError);
    EXPECT_THROW(torvikPriceList(f.dir.path / "none.fda", std::nullopt), IoError);
}

TEST(TorvikPriceList, TheWindowListsTheBlockShownAsItShowsIt)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;2;");
    // A name typed and a price entered, neither saved: the list has them.
    f.ui.texts = {std::string("新しい管"), std::nullopt};
    s.EditName();
    f.type(1, 1, "5000");
    const fs::path csv = f.dir.path / "list.csv";

    f.ui.answers = {Answer::Yes};
    f.ui.saveFiles = {csv};
    s.exportPriceListCsv();
    ASSERT_EQ(f.ui.notices.size(), 1u);
    EXPECT_EQ(f.ui.notices[0], sharedtext::priceListWrittenText(csv) + "|確認");
    const std::string text = cp932::decode(readWholeFile(csv));
    EXPECT_NE(text.find("\r\n2,新しい管　継手2　ねじ2,出典2　頁2,本,15A,5000,"), std::string::npos) << text;
    EXPECT_EQ(text.find("管1"), std::string::npos);

    // Every named block: the file's, with the block shown in its place as the window shows it.
    f.ui.answers = {Answer::No};
    f.ui.saveFiles = {csv};
    s.exportPriceListCsv();
    f.ui.notices.clear();
    PriceList expected = torvikPriceList(f.data(), std::nullopt);
    expected.blocks[2] = torvikPriceListBlock(2, s.working(), PipeBlockTexts{{"新しい管", "継手2", "ねじ2", "出典2", "頁2"}, "本"});
    EXPECT_EQ(readWholeFile(csv), handoff::priceListCsvBytes(expected));

    // A block whose name the window took away is left out; cancelling the question does nothing.
    f.ui.texts = {std::string(""), std::nullopt};
    s.EditName();
    f.ui.answers = {Answer::No};
    f.ui.saveFiles = {csv};
    s.exportPriceListCsv();
    f.ui.notices.clear();
    const std::string without = cp932::decode(readWholeFile(csv));
    EXPECT_EQ(without.find("\r\n2,"), std::string::npos);
    EXPECT_NE(without.find("\r\n3,管3"), std::string::npos);
    f.ui.answers = {Answer::Back};
    s.exportPriceListXlsx();
    EXPECT_TRUE(f.ui.saveFiles.empty());
    EXPECT_TRUE(s.modified()); // nothing of this touched the block
}

TEST(TorvikPriceList, NoNamedBlockIsSaidAndPrintGoesToThePrintProgram)
{
    TorvikFixture f;
    {
        ServiceFile file;
        file.load(f.data());
        for (int p = 0; p < PipesPerFile; ++p)
            file.pipeBlock(p)[0].name.assignText("");
        file.save(f.data());
    }
    TorvikSession &s = f.open();
    f.ui.answers = {Answer::No};
    s.printPriceList();
    ASSERT_EQ(f.ui.notices.size(), 1u);
    EXPECT_EQ(f.ui.notices[0], sharedtext::noNamedBlockText(f.data()) + "|確認");
    EXPECT_TRUE(f.ui.started.empty());

    writeFileAtomically(f.dir.path / "korrel", "#!/bin/sh\n");
    fs::permissions(f.dir.path / "korrel", fs::perms::owner_all);
    f.ui.answers = {Answer::Yes};
    s.printPriceList();
    ASSERT_EQ(f.ui.started.size(), 1u);
    const fs::path folder = f.dir.path / "price_list" / "01";
    EXPECT_EQ(f.ui.started[0], (f.dir.path / "korrel").string() + " " + folder.string() + "|" + f.dir.path.string());
    EXPECT_NE(cp932::decode(readWholeFile(folder / "Print.conf")).find("[Data_Title]=管材単価表"), std::string::npos);
}
