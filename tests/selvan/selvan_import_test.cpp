// "価格表の取り込み…" in the equipment registration program: the list prices of the matched
// sizes, the derived prices as after typing them, one undo step, a cancel changes nothing.
#include "base/cp932.h"
#include "tests/common/block_bytes.h"
#include "tests/selvan/selvan_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
using namespace velmo::test;

namespace {

std::string bytesOf(const SelvanSession &s) { return blockBytes(s.working(), EquipmentRecordSize); }

// A block with the sizes from 15A, LEVEL1 85 % and 原価 70 %, rounded to tens.
std::unique_ptr<SelvanSession> prepared(SelvanFolder &f)
{
    auto s = f.start();
    s->sizeSet(15);
    s->useRatesClicked(true);
    s->percentageEntered(1, Cur("85"));
    s->percentageEntered(6, Cur("70"));
    s->codeChosen(1);
    s->tabChanged(0);
    return s;
}

} // namespace

TEST(SelvanImport, ListPricesAndDerivedPricesAsIfTypedInOneUndoStep)
{
    SelvanFolder imported, typed;
    auto s = prepared(imported);
    auto t = prepared(typed);
    const std::string before = bytesOf(*s);
    const fs::path list = imported.dir.path / "list.csv";
    std::ofstream(list, std::ios::binary) << "\xEF\xBB\xBF" "サイズ,定価\n２０Ａ,\"1,234\"\n65A,\"￥9,870\"\n15A,abc\n";
    imported.ui.openFiles.push_back(list);
    imported.ui.importChoices.push_back([](PriceImportChoice &c) {
        EXPECT_EQ(c.preview().matched(), 2);
        EXPECT_EQ(c.preview().badPrices, (std::vector<SheetLine>{{4, "15A", "abc"}}));
        EXPECT_TRUE(c.preview().unmatched.empty());
        EXPECT_EQ(c.preview().headings, (std::vector<int>{1}));
        return true;
    });
    s->importPriceList();
    typeCell(*t, 2, 2, "1234");
    typeCell(*t, 2, 7, "9870");
    EXPECT_TRUE(bytesOf(*s) == bytesOf(*t));
    EXPECT_EQ(slotOf(s->working()[1], 168), Cur("1040")); // 1234 × 85 % to tens
    EXPECT_EQ(s->cell(2, 2), "1,234");
    EXPECT_TRUE(s->modified());
    s->undo();
    EXPECT_TRUE(bytesOf(*s) == before);
    s->redo();
    EXPECT_TRUE(bytesOf(*s) == bytesOf(*t));
}

TEST(SelvanImport, ACancelledDialogChangesNothing)
{
    SelvanFolder f;
    auto s = prepared(f);
    s->registerClicked();
    f.ui.notices.clear();
    const std::string before = bytesOf(*s);
    const fs::path list = f.dir.path / "list.csv";
    std::ofstream(list, std::ios::binary) << "15A,100\n";
    f.ui.openFiles.push_back(list);
    f.ui.importChoices.push_back([](PriceImportChoice &) { return false; });
    s->importPriceList();
    EXPECT_TRUE(bytesOf(*s) == before);
    EXPECT_FALSE(s->modified());
}
