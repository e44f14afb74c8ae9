// "価格表の取り込み…" in the pipe registration program: the list prices of the matched sizes, the
// derived prices as after typing them, one undo step, and nothing changed by a cancel or a
// list that cannot be read.
#include "controls/core/cp932.h"
#include "tests/common/block_bytes.h"
#include "tests/pipereg/torvik_fixture.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
using namespace velmo::test;

namespace {

void writeList(const fs::path &p, const std::string &utf8)
{
    std::ofstream(p, std::ios::binary) << cp932::encode(utf8);
}

// Scripts the file chooser with `list` and the dialog with the columns and 取り込み.
void scriptImport(FakeUi &ui, const fs::path &list, int sizeColumn = 0, int priceColumn = 1, bool take = true)
{
    ui.openFiles.push_back(list);
    ui.importChoices.push_back([=](PriceImportChoice &c) {
        c.chooseSizeColumn(sizeColumn);
        c.choosePriceColumn(priceColumn);
        return take;
    });
}

std::string bytesOf(const TorvikSession &s) { return blockBytes(s.working(), RecordSize); }

} // namespace

TEST(TorvikImport, ListPricesAndDerivedPricesAsIfTyped)
{
    TorvikFixture imported, typed;
    TorvikSession &s = imported.open();
    TorvikSession &t = typed.open();
    const fs::path list = imported.dir.path / "list.csv";
    // Shift-JIS, sizes in full width, a heading row, a row of another pipe and a bad price.
    writeList(list, "品名,呼び径,定価\r\n鋼管,１５Ａ,\"１，５１５\"\r\n鋼管,25,\"2,345円\"\r\n鋼管,350A,9\r\n鋼管,30A,未定\r\n");
    scriptImport(imported.ui, list, 1, 2);
    s.importPriceList();
    EXPECT_EQ(imported.ui.prompts,
              (std::vector<std::string>{std::string(controltext::ImportPriceListTitle) + "|" + controltext::PriceListFilter,
                                        controltext::ImportPriceListTitle}));
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(s.working()[0].A(6), Cur("1515"));
    EXPECT_EQ(s.working()[2].A(6), Cur("2345"));
    EXPECT_EQ(s.working()[3].A(6), Cur("1030")); // 30A kept its price
    // The same prices typed on the 定価 tab give the same block, byte for byte.
    typed.type(1, 1, "1515");
    typed.type(1, 3, "2345");
    EXPECT_TRUE(bytesOf(s) == bytesOf(t));
    EXPECT_EQ(s.grid().Cells(1, 1), "1,515");
    // The derived LEVEL1 (90 %, to tens) follows.
    EXPECT_NE(s.working()[0].A(1), Currency::fromInt(1));
    EXPECT_EQ(imported.onDisk(0)[0].A(6), Currency::fromInt(1000)); // saved only by 登録
}

TEST(TorvikImport, OneUndoStepPutsTheBlockBackByteForByte)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    const std::string before = bytesOf(s);
    const fs::path list = f.dir.path / "list.txt";
    writeList(list, "15A\t1,111\n20A\t2,222\n25A\t3,333\n");
    scriptImport(f.ui, list);
    s.importPriceList();
    const std::string after = bytesOf(s);
    ASSERT_FALSE(after == before);
    s.undo();
    EXPECT_TRUE(bytesOf(s) == before);
    EXPECT_EQ(s.grid().Cells(1, 1), "1,000");
    EXPECT_FALSE(s.canUndo());
    s.redo();
    EXPECT_TRUE(bytesOf(s) == after);
}

TEST(TorvikImport, CancelOrAnUnreadableListChangesNothing)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    const std::string before = bytesOf(s);
    s.importPriceList(); // the file chooser cancelled
    const fs::path list = f.dir.path / "list.csv";
    writeList(list, "15A,5000\n");
    scriptImport(f.ui, list, 0, 1, false); // キャンセル in the dialog
    s.importPriceList();
    scriptImport(f.ui, list, 1, 0); // columns that match nothing: nothing to take
    s.importPriceList();
    f.ui.openFiles.push_back(f.dir.path); // a folder
    EXPECT_THROW(s.importPriceList(), IoError);
    EXPECT_TRUE(bytesOf(s) == before);
    EXPECT_FALSE(s.modified());
    EXPECT_FALSE(s.canUndo());
}
