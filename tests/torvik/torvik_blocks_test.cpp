// The pipe registration session's blocks: saving one, choosing another (with the save question),
// moving blocks, names and memos, the clipboard and closing.
#include "tests/torvik/torvik_fixture.h"

#include "base/support.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace velmo;
using namespace velmo::test;

namespace {

int64_t serialOnDisk(const fs::path &p, int record)
{
    const std::string d = readWholeFile(p);
    int64_t v;
    std::memcpy(&v, d.data() + static_cast<size_t>(record) * RecordSize + 128, 8);
    return v;
}

} // namespace

TEST(TorvikSave, ABlockSaveWritesItsSixtyRecordsOnly)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;7;");
    const std::string before = readWholeFile(f.data());
    f.type(1, 1, "5000");
    f.ui.texts = {"新しい管"};
    s.EditName();
    s.registerBlock();
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(f.ui.notices.back(), "新しい管を登録しました。|確認");
    const std::string after = readWholeFile(f.data());
    ASSERT_EQ(after.size(), before.size());
    const size_t lo = 420 * RecordSize, hi = 480 * RecordSize;
    EXPECT_EQ(after.substr(0, lo), before.substr(0, lo));
    EXPECT_EQ(after.substr(hi), before.substr(hi));
    const PipeBlock disk = f.onDisk(7);
    EXPECT_EQ(disk[0].name.text(), "新しい管");
    EXPECT_EQ(disk[0].A(6), Cur("5000"));
    EXPECT_EQ(disk[0].A(1), Cur("4500"));
    EXPECT_EQ(disk[5].reserved0, 7005);
    for (int r = 420; r < 480; ++r)
        EXPECT_EQ(serialOnDisk(f.data(), r), 0) << r;
}

TEST(TorvikChoose, BackAtTheSaveQuestionKeepsTheEditsAndTheBlockShown)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    f.type(1, 1, "4321");
    s.tabChanged(3);
    const PipeBlock edited = s.working();
    const std::string onDisk = readWholeFile(f.data());
    f.ui.answers = {Answer::Back};
    EXPECT_FALSE(s.beginChooseBlock()); // the window opens no dialog
    EXPECT_EQ(f.ui.questions.back(), "管0の変更を保存しますか？|実行|キャンセル|戻る");
    EXPECT_EQ(s.working(), edited);
    EXPECT_EQ(s.blockIndex(), 0);
    EXPECT_EQ(s.tab(), 3);
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(readWholeFile(f.data()), onDisk);
    // The edits are still there to be registered.
    f.ui.expectNotice("管0を登録しました。|確認");
    s.registerBlock();
    EXPECT_EQ(f.onDisk(0)[0].A(6), Cur("4321"));
}

TEST(TorvikChoose, SaveQuestionCancelReloadsAndAnUnnamedBlockAsksAtOnce)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    f.type(1, 1, "4321");
    f.ui.answers = {Answer::No};
    s.beginChooseBlock();
    EXPECT_EQ(f.ui.questions.back(), "管0の変更を保存しますか？|実行|キャンセル|戻る");
    s.tabChanged(4);
    s.endChooseBlock(std::nullopt); // キャンセル: the same block again, unsaved edits gone
    EXPECT_EQ(s.working()[0].A(6), Cur("1000"));
    EXPECT_EQ(s.tab(), 0);
    EXPECT_FALSE(s.modified());
    EXPECT_FALSE(s.takeEntry(std::nullopt));
    EXPECT_EQ(f.ui.beeps, 1);

    f.type(1, 1, "4321");
    f.ui.answers = {Answer::Yes};
    s.beginChooseBlock();
    EXPECT_EQ(f.onDisk(0)[0].A(6), Cur("4321"));
    EXPECT_TRUE(f.ui.notices.empty()); // saved silently

    // Block 9 has no name: the name boxes open at once, and leaving then asks to save.
    {
        ServiceFile file;
        file.load(f.data());
        file.pipeBlock(9)[0].name.assignText("");
        file.save(f.data());
    }
    ASSERT_TRUE(s.takeEntry(9));
    f.ui.texts = {"名無しに名前", std::nullopt};
    // The window is shown the new block before the first box: its empty name, its memos, its
    // rates and its number.
    size_t promptsWhenShown = 99;
    std::string nameShown = "?", memoShown = "?", panelShown;
    s.showNow = [&] {
        promptsWhenShown = f.ui.prompts.size();
        nameShown = s.text(BlockText::Name);
        memoShown = s.text(BlockText::SourceMemo);
        panelShown = s.statusPanels()[1];
    };
    const size_t promptsBefore = f.ui.prompts.size();
    s.endChooseBlock(9);
    EXPECT_EQ(promptsWhenShown, promptsBefore);
    EXPECT_EQ(nameShown, "");
    EXPECT_EQ(memoShown, s.working()[3].name.text());
    EXPECT_EQ(panelShown, "9");
    EXPECT_EQ(s.blockIndex(), 9);
    EXPECT_EQ(s.text(BlockText::Name), "名無しに名前");
    EXPECT_EQ(f.ui.prompts.back(), "QUORVANE-DX|資材名称編集2|継手9");
    EXPECT_TRUE(s.modified());
    f.ui.answers = {Answer::Yes};
    s.closeQuery();
    EXPECT_EQ(f.onDisk(9)[0].name.text(), "名無しに名前");
}

TEST(TorvikMove, EntryThreeUpExchangesTwoBlocksWholeAndRefusedMovesTouchNothing)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    s.copyAll();
    const PipeBlock copied = s.clipboard();
    s.beginChooseBlock();
    const std::string before = readWholeFile(f.data());
    const auto moved = s.moveBlock(3, MoveDirection::Up);
    ASSERT_EQ(moved, 2);
    const std::string after = readWholeFile(f.data());
    const size_t block = static_cast<size_t>(RecordsPerPipe) * RecordSize;
    for (size_t b = 0; b < 20; ++b) {
        if (b != 2 && b != 3) {
            EXPECT_EQ(after.compare(b * block, block, before, b * block, block), 0) << b;
        }
    }
    EXPECT_EQ(f.onDisk(2)[0].name.text(), "管3");
    EXPECT_EQ(f.onDisk(3)[0].name.text(), "管2");
    EXPECT_EQ(f.onDisk(2)[5].reserved0, 3005);
    EXPECT_EQ(f.onDisk(3)[2 * 15 + 14].caption.text(), "屋外のみ");
    for (int r = 120; r < 240; ++r)
        EXPECT_EQ(serialOnDisk(f.data(), r), 0) << r;
    EXPECT_EQ(s.blockIndex(), 2);
    EXPECT_EQ(s.text(BlockText::Name), "管3");
    EXPECT_EQ(s.names()[2], "管3");
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(s.clipboard(), copied); // the move does not take the block clipboard

    const std::string moveDone = readWholeFile(f.data());
    EXPECT_FALSE(s.moveBlock(0, MoveDirection::Up));
    EXPECT_FALSE(s.moveBlock(19, MoveDirection::Down));
    EXPECT_FALSE(s.moveBlock(std::nullopt, MoveDirection::Down));
    EXPECT_EQ(f.ui.beeps, 3);
    EXPECT_EQ(readWholeFile(f.data()), moveDone);
    EXPECT_EQ(s.blockIndex(), 2);
}

TEST(TorvikTexts, NamesMemosSizesAndHeadings)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    f.ui.texts = {"一行目", std::nullopt};
    s.EditName();
    EXPECT_EQ(s.text(BlockText::Name), "一行目");
    EXPECT_EQ(s.text(BlockText::Name2), "継手0");
    EXPECT_EQ(f.ui.prompts[0], "QUORVANE-DX|資材名称編集|管0");
    EXPECT_TRUE(s.modified());

    f.ui.texts = {"カタログ2024"};
    s.editMemo(BlockText::SourceMemo);
    EXPECT_EQ(s.working()[3].name.text(), "カタログ2024");
    // A memo of 103 bytes (an ASCII letter and 51 double-byte characters) keeps the 80 bytes
    // its field holds, cut between characters, and shows just that.
    f.ui.texts = {"A" + [] { std::string t; for (int i = 0; i < 51; ++i) t += "管"; return t; }()};
    s.editMemo(BlockText::SourceMemo);
    EXPECT_EQ(f.ui.textLimits.back(), 80u);
    EXPECT_EQ(s.text(BlockText::SourceMemo), s.working()[3].name.text());
    EXPECT_EQ(s.working()[3].name.view().size(), 79u);
    f.ui.texts = {std::nullopt};
    s.editMemo(BlockText::PageMemo);
    EXPECT_EQ(f.ui.prompts.back(), "QUORVANE-DX|ぺ－ジ名称編集|頁0");
    EXPECT_EQ(s.text(BlockText::PageMemo), "頁0");

    s.applySizeList(SizeList::Refrigerant1);
    EXPECT_EQ(s.working()[12].size.text(), "50.8");
    EXPECT_EQ(s.working()[13].size.text(), "");
    s.applySizeList(SizeList::Refrigerant2);
    EXPECT_EQ(s.working()[6].size.text(), "12×19");
    for (int k = 7; k < 14; ++k)
        EXPECT_EQ(f.grid.Cells(0, k + 1), "") << k;
    f.ui.expectNotice("一行目を登録しました。|確認");
    s.registerBlock();

    // One size and one heading do not count as edits. The box takes no more than the field
    // holds (6 bytes), and a longer answer is cut at once: the cell shows what is stored.
    f.grid.SelectCell(4, 5);
    f.ui.texts = {"1234567", "配管室"};
    s.editSize();
    EXPECT_EQ(f.ui.textLimits.back(), 6u);
    EXPECT_EQ(s.working()[4].size.view(), "123456");
    EXPECT_EQ(f.grid.Cells(0, 5), "123456");
    s.editHeading();
    EXPECT_EQ(f.ui.prompts.back(), "QUORVANE-DX|細目名称編集|屋外");
    EXPECT_EQ(s.working()[44].caption.text(), "配管室");
    EXPECT_EQ(s.working()[14].caption.text(), "一般");
    EXPECT_FALSE(s.modified());
    f.grid.SelectCell(1, 5);
    s.editHeading();
    EXPECT_EQ(f.ui.beeps, 1);
    s.closeQuery();
    EXPECT_TRUE(f.ui.questions.empty());
    EXPECT_EQ(f.onDisk(0)[44].caption.text(), "屋外");
    s.ShowBlock();
    EXPECT_EQ(f.grid.Cells(0, 5), "123456");

    // Headings all empty show the defaults; editing one stores all four.
    f.open("1;1;");
    f.grid.SelectCell(5, 1);
    f.ui.texts = {"埋設"};
    f.s->editHeading();
    EXPECT_EQ(f.s->working()[14].caption.text(), "屋内一般");
    EXPECT_EQ(f.s->working()[59].caption.text(), "埋設");
}

TEST(TorvikClipboard, CopyInThreePasteInFiveAndTheEmptyClipboard)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;3;");
    s.CopyAll();
    EXPECT_EQ(s.clipboard()[0].serial, Currency());
    s.beginChooseBlock();
    s.endChooseBlock(5);
    s.checkBoxClicked(false); // the state shown for block 5
    s.PasteAll();
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(s.text(BlockText::Name), "管3");
    f.ui.expectNotice("管3を登録しました。|確認");
    s.registerBlock();
    const PipeBlock five = f.onDisk(5), three = f.onDisk(3);
    for (int r = 0; r < RecordsPerPipe; ++r) {
        PriceRecord expect = three[r];
        expect.serial = Currency();
        if (r == SettingsRecord)
            expect.D(4) = Currency(); // the check box of block 5
        EXPECT_EQ(five[r], expect) << r;
    }
    EXPECT_EQ(three[0].name.text(), "管3");

    // Nothing copied yet: every text empty, every number 0, the first list unchanged.
    TorvikFixture g;
    TorvikSession &t = g.open("1;4;");
    t.PasteAll();
    EXPECT_EQ(t.text(BlockText::Name), "");
    EXPECT_EQ(t.unitText(), "");
    EXPECT_EQ(t.listIndex(RoundingList::SignificantCode), 1);
    EXPECT_EQ(t.listIndex(RoundingList::FractionAddend), 1);
    EXPECT_EQ(t.listIndex(RoundingList::SignificantAddend), 1);
    EXPECT_EQ(g.grid.Cells(1, 1), "0");
    EXPECT_EQ(g.grid.Cells(2, 0), "屋内一般");
    EXPECT_TRUE(t.modified());
}

TEST(TorvikClose, AsksWithTheNameAndAFailedSaveKeepsTheEdits)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    s.closeQuery();
    EXPECT_TRUE(f.ui.questions.empty());
    s.checkBoxClicked(false);
    f.ui.answers = {Answer::No};
    EXPECT_TRUE(s.closeQuery());
    EXPECT_EQ(f.ui.questions.back(), "管0の変更を保存しますか？|実行|キャンセル|戻る");
    EXPECT_EQ(f.onDisk(0)[SettingsRecord].D(4), Cur("1"));

    // The file went away meanwhile: the save fails, the edits stay and the close is refused.
    const fs::path aside = f.dir.path / "aside.fda";
    fs::rename(f.data(), aside);
    f.ui.answers = {Answer::Yes};
    EXPECT_THROW(s.closeQuery(), IoError);
    EXPECT_TRUE(s.modified());
    EXPECT_FALSE(fs::exists(f.data()));
    fs::rename(aside, f.data());
    f.ui.answers = {Answer::Yes};
    s.closeQuery();
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(f.onDisk(0)[SettingsRecord].D(4), Currency());
}
