// The pipe registration session's prices: the price grid and its keys, the prices derived from
// the list price by the rate fields, and a rate left without Enter.
#include "tests/torvik/torvik_fixture.h"

#include "base/support.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

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

    // A key that is not part of a number beeps; the editor keeps its text and stores nothing
    // until Enter.
    f.type(2, 2, "0.5", vkey::KeyA);
    EXPECT_EQ(f.ui.beeps, 1);
    EXPECT_TRUE(g.EditorMode());
    EXPECT_EQ(g.Cells(2, 2), "0.5");
    g.keyDown(vkey::Return, {}, false, true);
    EXPECT_EQ(s.working()[1].B(5), Cur("0.5"));

    // Not a number: nothing stored or marked modified, no move, the editor keeps the text;
    // Esc shows the stored price again, and Enter then stores it without a second error.
    f.ui.expectNotice("管0を登録しました。|確認");
    s.registerBlock();
    EXPECT_FALSE(s.modified());
    EXPECT_THROW(f.type(1, 6, "1,2x"), ConversionError);
    EXPECT_TRUE(g.EditorMode());
    EXPECT_EQ(g.Cells(1, 6), "1,2x");
    g.keyDown(vkey::Escape, {}, false, true);
    EXPECT_EQ(g.Cells(1, 6), "1,050");
    EXPECT_FALSE(g.EditorMode());
    EXPECT_EQ(g.Row(), 6);
    EXPECT_EQ(s.working()[5].A(6), Cur("1050"));
    EXPECT_FALSE(s.modified());
    EXPECT_NO_THROW(g.keyDown(vkey::Return, {}, false, false));
    EXPECT_EQ(s.working()[5].A(6), Cur("1050"));
    EXPECT_EQ(g.Row(), 7);
}

TEST(TorvikGrid, APriceShowsItsFractionAndAnOpenEditIsDroppedByShowing)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    s.checkBoxClicked(false);
    f.type(1, 1, "1234.5");
    EXPECT_EQ(f.grid.Cells(1, 1), "1,234.5"); // the cell shows what is stored
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

TEST(TorvikRates, APercentageOutsideZeroTo999IsRefusedWithItsRangeAndTheStoredOneStays)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    const PipeBlock stored = s.working();
    // 8090: 80 clicked into and 90 typed after it; −5: a negative percentage (it gave
    // LEVEL5 = −70 yen). Neither by Enter nor by leaving the field is either one stored.
    const struct {
        int tag;
        long double value;
        const char *message;
    } refused[] = {
        {2, 8090, "「提 出2=定価×指定」に入力した 8090 は範囲外です。0 から 999.99 までの数値を入力してください。欄は元の値に戻しました。"},
        {5, -5, "「提 出5=定価×指定」に入力した -5 は範囲外です。0 から 999.99 までの数値を入力してください。欄は元の値に戻しました。"},
        {6, 1000, "「仕　入=定価×指定」に入力した 1000 は範囲外です。0 から 999.99 までの数値を入力してください。欄は元の値に戻しました。"},
    };
    for (const auto &r : refused) {
        for (const bool byEnter : {true, false}) {
            const int shown = s.showRevision();
            try {
                byEnter ? s.rateFieldEnter(r.tag, r.value) : s.rateFieldLeft(r.tag, r.value);
                ADD_FAILURE() << static_cast<double>(r.value) << " % was taken";
            } catch (const RangeError &e) {
                EXPECT_EQ(std::string(e.what()), r.message);
            }
            EXPECT_NE(s.showRevision(), shown) << "the field is not shown again";
            EXPECT_EQ(s.rateField(r.tag), stored[SettingsRecord].slots[materialSlot(basisOfRateTag(r.tag))]);
        }
    }
    EXPECT_EQ(s.working(), stored);
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(s.tab(), 0);
    // The edges are taken; Enter over the stored percentage shows its tab and changes nothing.
    s.rateFieldEnter(2, 80);
    EXPECT_EQ(s.tab(), 2);
    EXPECT_FALSE(s.modified());
    s.rateFieldEnter(2, 999.99L);
    EXPECT_EQ(s.rateField(2), Cur("999.99"));
    s.rateFieldEnter(3, 0);
    EXPECT_EQ(s.rateField(3), Currency());
    EXPECT_TRUE(s.modified());
}

TEST(TorvikPaste, SpreadsheetCellsStoreAsTypingThemWouldWithOneReport)
{
    const int ctrlV = vkey::KeyV, ctrlC = vkey::KeyC;
    TorvikFixture typed, pasted;
    for (TorvikFixture *f : {&typed, &pasted}) {
        TorvikSession &s = f->open();
        s.rateFieldEnter(2, 85);
        s.tabChanged(0);
    }
    typed.type(1, 1, "1234");
    typed.type(2, 1, "0.5");
    typed.type(1, 2, "1300");
    typed.type(1, 4, "900");

    TorvikSession &s = *pasted.s;
    pasted.grid.SelectCell(1, 1);
    pasted.ui.clipboard.push_back("1,234\t０．５\r\n１，３００\tx\r\n\r\n¥900円\t\r\n");
    EXPECT_TRUE(s.gridSheetKey(ctrlV, true));
    EXPECT_EQ(pasted.ui.notices.back(), "4 件を貼り付けました。\n数値でない 1 件は元のままです: 「x」|確認");
    EXPECT_TRUE(s.modified());
    // The list prices derive the level prices, the rate goes to its location: as typed.
    for (int r = 0; r < RecordsPerPipe; ++r)
        EXPECT_EQ(s.working()[r].slots, typed.s->working()[r].slots) << r;
    EXPECT_EQ(pasted.grid.Cells(1, 2), "1,300");

    // Ctrl+C gives the selection as plain numbers; without Ctrl, V and C are no commands.
    pasted.grid.SelectRange(1, 1, 2, 2);
    EXPECT_TRUE(s.gridSheetKey(ctrlC, true));
    EXPECT_EQ(pasted.ui.clipboard.back(), "1234\t0.5\n1300\t" + pasted.grid.Cells(2, 2) + "\n");
    EXPECT_FALSE(s.gridSheetKey(ctrlV, false));
    pasted.grid.ShowEditor();
    EXPECT_FALSE(s.gridSheetKey(ctrlV, true)); // the open editor's own paste

    s.registerBlock();
    EXPECT_EQ(pasted.ui.notices.back(), "管0を登録しました。|確認");
    EXPECT_EQ(pasted.onDisk(0)[1].A(6), Cur("1300"));
}
