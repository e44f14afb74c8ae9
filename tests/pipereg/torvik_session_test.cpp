// The pipe registration session on a seeded price file: start, showing, the price grid and its
// keys, the derived prices, the controls, saving, choosing and moving blocks, closing.
#include "torvik_fixture.h"

#include "support.h"

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

TEST(TorvikStart, CommandLineFieldsAndTheDefaultPath)
{
    TorvikFixture f;
    {
        TorvikSession &s = f.open();
        EXPECT_EQ(s.statusPanels(), (std::array<std::string, 4>{"1", "0", "", f.data().string()}));
        EXPECT_EQ(s.text(BlockText::Name), "管0");
        EXPECT_FALSE(s.modified());
        ASSERT_EQ(s.names().size(), 20u);
        EXPECT_EQ(s.names()[19], "管19");
    }
    {
        // The third field is missing: the field routine repeats "-1", which names no file.
        TorvikSession &s = f.open("3;-1;");
        EXPECT_EQ(s.statusPanels()[0], "3");
        EXPECT_EQ(s.blockIndex(), 0);
        EXPECT_EQ(s.dataPath(), f.data());
    }
    {
        TorvikSession &s = f.open("1;5;");
        EXPECT_EQ(s.blockIndex(), 5);
        EXPECT_EQ(s.text(BlockText::Name), "管5");
        EXPECT_EQ(s.dataPath(), f.data());
    }
    EXPECT_EQ(f.open("1;2x;").statusPanels()[1], "0");

    // An existing file of the command line is used; a folder of that name is not a file.
    const fs::path other = f.dir.path / "other.fda";
    fs::copy_file(f.data(), other);
    EXPECT_EQ(f.open("7;4;" + other.string() + ";").dataPath(), other);
    EXPECT_EQ(f.s->statusPanels()[1], "4");
    EXPECT_EQ(f.open("7;4;" + f.dir.path.string() + ";").dataPath(), f.data());
}

TEST(TorvikStart, TheDefaultFileIsNeverOpenedInsteadOfTheNamedOneWithoutAWord)
{
    TorvikFixture f;
    // Only a path field the argument really has is a file the caller meant.
    f.open("1;5;");
    EXPECT_TRUE(f.ui.notices.empty());
    fs::create_directory(f.dir.path / "folder.fda");
    for (const auto &[path, says] : std::vector<std::pair<fs::path, std::string>>{
             {f.dir.path / "kanzai3.fda", "がありません"}, {f.dir.path / "folder.fda", "フォルダー"}}) {
        f.ui.notices.clear();
        TorvikSession &s = f.open("1;0;" + path.string() + ";");
        EXPECT_EQ(s.dataPath(), f.data());
        ASSERT_EQ(f.ui.notices.size(), 1u);
        const std::string &n = f.ui.notices[0];
        EXPECT_NE(n.find("ファイル " + path.string() + " "), std::string::npos) << n;
        EXPECT_NE(n.find(says), std::string::npos) << n;
        EXPECT_NE(n.find("既定のファイル " + f.data().string() + " を開きます。"), std::string::npos) << n;
    }
    // A name in Shift-JIS bytes opens that very file.
    const fs::path sjis = f.dir.path / std::string("\x8a\xc7\x8d\xde.fda"); // 管材
    seedPipeFile(sjis);
    f.ui.notices.clear();
    TorvikSession &s = f.open("1;3;" + sjis.string() + ";");
    EXPECT_TRUE(f.ui.notices.empty());
    EXPECT_EQ(s.dataPath(), sjis);
    EXPECT_EQ(s.text(BlockText::Name), "管3");
}

TEST(TorvikStart, AMissingOrShortFileIsNamedAndNeverWritten)
{
    TorvikFixture missing(false);
    try {
        missing.open("1;2;");
        ADD_FAILURE();
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find(missing.data().string()), std::string::npos) << e.what();
    }
    TorvikSession &m = *missing.s;
    EXPECT_TRUE(m.names().empty());
    EXPECT_EQ(m.statusPanels()[0], "1");
    missing.ui.texts = {"名前"};
    m.EditName();
    EXPECT_TRUE(m.modified());
    EXPECT_THROW(m.registerBlock(), IoError);
    EXPECT_FALSE(fs::exists(missing.data()));

    // A file that holds the block but not all 1200 records: the block is not taken.
    TorvikFixture shortFile;
    fs::resize_file(shortFile.data(), 1199 * RecordSize);
    const std::string before = readWholeFile(shortFile.data());
    try {
        shortFile.open();
        ADD_FAILURE();
    } catch (const IoError &e) {
        const std::string m2 = e.what();
        EXPECT_NE(m2.find(shortFile.data().string()), std::string::npos) << m2;
        EXPECT_NE(m2.find("1199 レコード"), std::string::npos) << m2;
    }
    EXPECT_FALSE(shortFile.s->blockLoaded());
    EXPECT_THROW(shortFile.s->registerBlock(), IoError);
    EXPECT_EQ(readWholeFile(shortFile.data()), before);
}

TEST(TorvikShow, LabelsFieldsHeadingsSizesRatesAndMoney)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;0;");
    const StrColGridModel &g = f.grid;
    EXPECT_EQ(s.text(BlockText::Name2), "継手0");
    EXPECT_EQ(s.text(BlockText::Name3), "ねじ0");
    EXPECT_EQ(s.text(BlockText::SourceMemo), "出典0");
    EXPECT_EQ(s.text(BlockText::PageMemo), "頁0");
    EXPECT_EQ(s.unitText(), "本");
    EXPECT_EQ(s.rateField(1), Cur("90"));
    EXPECT_EQ(s.rateField(6), Cur("40"));
    EXPECT_EQ(s.listIndex(RoundingList::SignificantCode), 1);
    EXPECT_EQ(s.listIndex(RoundingList::FractionAddend), 2);
    EXPECT_EQ(s.listIndex(RoundingList::SignificantAddend), 1);
    EXPECT_TRUE(s.useRates());

    const std::vector<std::string> row0 = {"No", "資材単価", "一般", "機械", "屋外", "地中"};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(g.Cells(c, 0), row0[c]);
    EXPECT_EQ(g.Cells(0, 1), "15A");
    EXPECT_EQ(g.Cells(1, 1), "1,000");
    EXPECT_EQ(g.Cells(1, 14), "1,130");
    EXPECT_EQ(g.Cells(2, 1), "0.01");
    EXPECT_EQ(g.Cells(5, 14), "0.053");
    // Looks of the heading row and the size column; prices and rates right-aligned.
    EXPECT_EQ(g.cellTextStyle(3, 0, g.FindCellParam(3, 0)).alignment, taCenter);
    EXPECT_EQ(g.FindCellParam(0, 7)->FontColor(), clr::White);
    EXPECT_EQ(g.cellTextStyle(1, 5, g.FindCellParam(1, 5)).alignment, taRightJustify);

    // Each tab shows its own price in column 1.
    s.tabChanged(6);
    EXPECT_EQ(g.Cells(1, 1), "1");
    s.tabChanged(3);
    EXPECT_EQ(g.Cells(1, 1), "4");
    EXPECT_FALSE(s.modified());

    // All four captions empty: the default headings; one caption: that one and three empty.
    f.open("1;1;");
    EXPECT_EQ(g.Cells(2, 0), "屋内一般");
    EXPECT_EQ(g.Cells(5, 0), "地中配管");
    f.open("1;2;");
    EXPECT_EQ(g.Cells(2, 0), "");
    EXPECT_EQ(g.Cells(4, 0), "屋外のみ");
    EXPECT_EQ(g.Cells(5, 0), "");
}

TEST(TorvikPrices, WorkedExampleAndTheRoundingLists)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    s.rateFieldEnter(2, 85);
    EXPECT_EQ(s.tab(), 2);
    s.roundingListSelected(RoundingList::FractionAddend, 0);    // 小数以下切り上げ 0.9
    s.roundingListSelected(RoundingList::SignificantCode, 1);   // 最小有効桁10
    s.roundingListSelected(RoundingList::SignificantAddend, 1); // 有効桁以下切り捨て 0
    s.tabChanged(0);
    f.type(1, 1, "1234");
    // Trunc(1234 × 85 / 100 + 0.9) = Trunc(1049.8) = 1049, cut to tens: 1040.
    EXPECT_EQ(s.working()[0].A(2), Cur("1040"));
    const PriceRecord &st = s.working()[SettingsRecord];
    EXPECT_EQ(st.D(1), Cur("10"));
    EXPECT_EQ(st.D(2), Cur("0.9"));
    EXPECT_EQ(st.D(3), Cur("0"));
    EXPECT_EQ(st.D(4), Cur("1"));
    s.roundingListSelected(RoundingList::SignificantCode, 0);
    EXPECT_EQ(s.working()[0].A(2), Cur("1049"));
    s.roundingListSelected(RoundingList::FractionAddend, 2);
    EXPECT_EQ(s.working()[0].A(2), Cur("1049")); // 1048.9 + 0.5
    s.roundingListSelected(RoundingList::FractionAddend, 1);
    EXPECT_EQ(s.working()[0].A(2), Cur("1048"));
    s.tabChanged(2);
    EXPECT_EQ(f.grid.Cells(1, 1), "1,048");

    // Decimal evaluation: 104.1 + 0.9 is 105 exactly, and 1041 rounded up to tens is 1050.
    s.rateFieldEnter(3, 10);
    s.roundingListSelected(RoundingList::FractionAddend, 0);
    s.tabChanged(0);
    f.type(1, 2, "1041");
    EXPECT_EQ(s.working()[1].A(3), Cur("105"));
    s.rateFieldEnter(3, 100);
    s.roundingListSelected(RoundingList::SignificantCode, 1);
    s.roundingListSelected(RoundingList::SignificantAddend, 0);
    EXPECT_EQ(s.working()[1].A(3), Cur("1050"));
}

TEST(TorvikPrices, CommaTextAllAtOneHundredAndAZeroPercentage)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    for (int tag = 1; tag <= 6; ++tag)
        s.rateFieldEnter(tag, 100);
    s.roundingListSelected(RoundingList::FractionAddend, 1);
    s.roundingListSelected(RoundingList::SignificantCode, 0);
    s.tabChanged(0);
    f.type(1, 1, "1,234");
    EXPECT_EQ(f.grid.Cells(1, 1), "1,234");
    for (int i = 0; i <= 6; ++i)
        EXPECT_EQ(s.working()[0].A(i), Cur("1234")) << i;
    EXPECT_EQ(f.grid.Row(), 2);

    // A percentage of 0 derives Trunc(addend), which is 0 for every addend.
    s.rateFieldEnter(4, 0);
    for (int a = 0; a < 3; ++a) {
        s.roundingListSelected(RoundingList::FractionAddend, a);
        EXPECT_EQ(s.working()[0].A(4), Currency()) << a;
    }
    // An empty cell stores 0.
    s.tabChanged(0);
    f.type(1, 3, "");
    EXPECT_EQ(s.working()[2].A(6), Currency());
    EXPECT_EQ(f.grid.Cells(1, 3), "0");
}

TEST(TorvikPrices, UncheckedPricesStayCheckedOnesFollowTheListPrice)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    s.checkBoxClicked(false);
    EXPECT_FALSE(s.listsEnabled());
    EXPECT_FALSE(s.ratesEnabled());
    EXPECT_EQ(s.working()[SettingsRecord].D(4), Currency());
    s.tabChanged(3);
    f.type(1, 1, "777");
    EXPECT_EQ(s.working()[0].A(3), Cur("777"));
    s.checkBoxClicked(true);
    EXPECT_TRUE(s.listsEnabled());
    EXPECT_EQ(s.working()[0].A(3), Cur("700")); // 1000 × 70 %
    f.type(1, 1, "777");
    EXPECT_EQ(s.working()[0].A(3), Cur("700"));
    EXPECT_EQ(f.grid.Cells(1, 1), "700");
}

TEST(TorvikGrid, KeysEnterMovesWrapAndNonNumbers)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    StrColGridModel &g = f.grid;

    // The digits, the point and the minus sign of the keypad and of the main keyboard, and
    // Backspace, go on to the editor; arrows without an editor only move.
    g.SelectCell(2, 3);
    g.ShowEditor();
    for (int vk : {vkey::Numpad0 + 5, vkey::Decimal, vkey::Back, vkey::Key0 + 2, vkey::Key9, vkey::OemPeriod,
                   vkey::OemMinus, vkey::Subtract})
        g.keyDown(vk, {}, true, true);
    EXPECT_TRUE(g.EditorMode());
    // Shift, Ctrl, Alt, Caps Lock and Num Lock alone neither close the editor nor beep: the
    // keypad types on whatever the lock state.
    for (int vk : {vkey::Shift, vkey::Control, vkey::Menu, vkey::Capital, vkey::NumLock})
        g.keyDown(vk, {}, false, true);
    EXPECT_TRUE(g.EditorMode());
    g.CancelEditor();
    g.keyDown(vkey::Right, {}, false, false);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(f.ui.beeps, 0);

    // Down in the editor stores the rate and the grid moves on; Enter from row 14 wraps.
    f.type(3, 4, "0.25", vkey::Down);
    EXPECT_EQ(s.working()[15 + 3].B(5), Cur("0.25"));
    EXPECT_EQ(g.Row(), 5);
    EXPECT_TRUE(s.modified());
    f.type(5, 14, "1.5");
    EXPECT_EQ(s.working()[45 + 13].B(5), Cur("1.5"));
    EXPECT_EQ(g.Col(), 5);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(f.ui.beeps, 0);

    // A key that is not part of a number beeps and stores the cell's text first.
    f.type(2, 2, "0.5", vkey::KeyA);
    EXPECT_EQ(f.ui.beeps, 1);
    EXPECT_EQ(s.working()[1].B(5), Cur("0.5"));

    // Not a number: nothing stored or marked modified, no move, and the cell shows the stored
    // price again; Enter then stores that price without a second error.
    s.registerBlock();
    EXPECT_FALSE(s.modified());
    EXPECT_THROW(f.type(1, 6, "1,2x"), ConversionError);
    EXPECT_EQ(g.Cells(1, 6), "1,050");
    EXPECT_FALSE(g.EditorMode());
    EXPECT_EQ(g.Row(), 6);
    EXPECT_EQ(s.working()[5].A(6), Cur("1050"));
    EXPECT_FALSE(s.modified());
    EXPECT_NO_THROW(g.keyDown(vkey::Return, {}, false, false));
    EXPECT_EQ(s.working()[5].A(6), Cur("1050"));
    EXPECT_EQ(g.Row(), 7);
}

TEST(TorvikGrid, TextLeftAsShownKeepsItsFractionAndAnOpenEditIsDroppedByShowing)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    s.checkBoxClicked(false);
    f.type(1, 1, "1234.5");
    EXPECT_EQ(f.grid.Cells(1, 1), "1,235");
    f.grid.SelectCell(1, 1);
    f.grid.keyDown(vkey::Return, {}, false, false); // Enter over the shown text
    EXPECT_EQ(s.working()[0].A(6), Cur("1234.5"));

    // Typed on 定価, not entered, then another tab: LEVEL1 does not receive it.
    f.grid.SelectCell(1, 2);
    f.grid.ShowEditor();
    f.grid.editorTextChanged("9999");
    s.tabChanged(1);
    EXPECT_FALSE(f.grid.EditorMode());
    f.grid.keyDown(vkey::Return, {}, false, false);
    EXPECT_EQ(s.working()[1].A(1), Cur("2"));
    EXPECT_EQ(s.working()[1].A(6), Cur("1010"));
}

TEST(TorvikPrices, ARateFieldStoresItsPercentageAndShowsItsTab)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    s.rateFieldEnter(6, 85.5);
    EXPECT_EQ(s.working()[SettingsRecord].A(0).raw(), 855000);
    EXPECT_EQ(s.tab(), 6);
    EXPECT_EQ(s.rateField(6), Cur("85.5"));
    EXPECT_EQ(f.grid.Cells(1, 1), "850"); // Trunc(855 + 0.5) to tens by cutting
    EXPECT_TRUE(s.modified());

    // A price beyond the Currency range names its row; nothing changes.
    s.tabChanged(0);
    f.type(1, 4, "900000000000000");
    const PipeBlock before = s.working();
    try {
        s.rateFieldEnter(1, 200);
        ADD_FAILURE();
    } catch (const RangeError &e) {
        EXPECT_NE(std::string(e.what()).find("4 行目（30A）のLEVEL1単価"), std::string::npos) << e.what();
    }
    EXPECT_EQ(s.working(), before);
}

TEST(TorvikControls, UnitBoxLoadSettingsAndSave)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;3;");
    s.unitItemChosen("kg");
    EXPECT_EQ(s.working()[0].unit.text(), "kg");
    EXPECT_FALSE(s.modified());
    // The choice survives showing the block again (a tab change) and a recalculation.
    s.tabChanged(2);
    EXPECT_EQ(s.unitText(), "kg");
    s.roundingListSelected(RoundingList::FractionAddend, 1);
    EXPECT_EQ(s.unitText(), "kg");
    EXPECT_EQ(s.working()[SettingsRecord].unit.text(), "kg");
    s.unitBoxClicked();
    EXPECT_TRUE(s.modified());
    s.unitTextEdited("メートル"); // 8 bytes: the block holds 4
    s.tabChanged(0);
    EXPECT_EQ(s.working()[SettingsRecord].unit.text(), "メー");
    s.registerBlock();
    EXPECT_EQ(f.ui.notices.back(), "管3を登録しました。|確認");
    const PipeBlock disk = f.onDisk(3);
    for (int r = 0; r < RecordsPerPipe; ++r)
        EXPECT_EQ(disk[r].unit.text(), "メー") << r;

    // A block with other settings: the lists and the check box follow; a code that is no
    // entry leaves its list as it was.
    ServiceFile file;
    file.load(f.data());
    PriceRecord &st = file.pipeBlock(4)[SettingsRecord];
    st.D(1) = Cur("7");
    st.D(2) = Cur("0.9");
    st.D(3) = Cur("0.5");
    st.D(4) = Currency();
    file.save(f.data());
    f.ui.answers = {Answer::No};
    s.beginChooseBlock();
    s.endChooseBlock(4);
    EXPECT_EQ(s.listIndex(RoundingList::SignificantCode), 1);
    EXPECT_EQ(s.listIndex(RoundingList::FractionAddend), 0);
    EXPECT_EQ(s.listIndex(RoundingList::SignificantAddend), 2);
    EXPECT_FALSE(s.useRates());
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(s.working()[0].A(1), Cur("2")); // nothing derived
}

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

TEST(TorvikChoose, SaveQuestionCancelReloadsAndAnUnnamedBlockAsksAtOnce)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    f.type(1, 1, "4321");
    f.ui.answers = {Answer::No};
    s.beginChooseBlock();
    EXPECT_EQ(f.ui.questions.back(), "管0の変更を保存しますか？|実行|キャンセル");
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
    s.registerBlock();

    // One size and one heading do not count as edits.
    f.grid.SelectCell(4, 5);
    f.ui.texts = {"1234567", "配管室"};
    s.editSize();
    EXPECT_EQ(s.working()[4].size.view(), "123456");
    EXPECT_EQ(f.grid.Cells(0, 5), "1234567");
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

TEST(TorvikBadInput, ABlockOutsideTheFileOnTheCommandLineIsSaidAndBlockZeroOpens)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;25;" + f.data().string() + ";");
    EXPECT_EQ(s.blockIndex(), 0);
    ASSERT_EQ(f.ui.notices.size(), 1u);
    EXPECT_EQ(f.ui.notices[0], "コマンドラインの資材番号 25 はありません (0〜19)。資材 0 を開きます。|確認");
}

TEST(TorvikBadInput, DamagedTextsAreNamedAndAFileReplacedByAFolderIsNeverWritten)
{
    TorvikFixture f;
    std::string bytes = readWholeFile(f.data());
    const size_t block2 = 2 * 60 * 360;
    bytes[block2 + 4] = static_cast<char>(120); // the name's length beyond its 80 bytes
    bytes[block2 + 360 + 85] = 2;                // a location name that is not Shift-JIS
    bytes[block2 + 360 + 86] = static_cast<char>(0x81);
    bytes[block2 + 360 + 87] = ' ';
    writeFileAtomically(f.data(), bytes);
    TorvikSession &s = f.open("1;2;" + f.data().string() + ";");
    ASSERT_EQ(f.ui.notices.size(), 1u);
    EXPECT_NE(f.ui.notices[0].find("レコード 120 (管材 3) の名称"), std::string::npos) << f.ui.notices[0];
    EXPECT_NE(f.ui.notices[0].find("レコード 121 (管材 3) の場所名"), std::string::npos) << f.ui.notices[0];
    EXPECT_EQ(readWholeFile(f.data()), bytes); // reading changed nothing

    // The file is replaced by a folder: the save names it, and writes nothing anywhere.
    f.type(1, 1, "777");
    fs::remove(f.data());
    fs::create_directories(f.data());
    std::string error;
    try {
        s.registerBlock();
    } catch (const IoError &e) {
        error = e.what();
    }
    EXPECT_NE(error.find(f.data().string()), std::string::npos) << error;
    EXPECT_NE(error.find("フォルダー"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(f.data()));
    EXPECT_TRUE(s.modified());
}

TEST(TorvikRates, ARateLeftWithoutEnterIsAppliedAsEnterWouldAndAnUnchangedOneIsNot)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    s.rateFieldLeft(2, 80); // the stored percentage: nothing happens
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(s.tab(), 0);
    s.rateFieldLeft(2, 66);
    EXPECT_EQ(s.working()[SettingsRecord].A(2), Cur("66"));
    EXPECT_EQ(s.working()[0].A(2), Cur("660")); // 1000 × 66 % + 0.5, cut, to tens
    EXPECT_EQ(s.tab(), 2);
    EXPECT_EQ(s.rateField(2), Cur("66"));
    EXPECT_TRUE(s.modified());
}
