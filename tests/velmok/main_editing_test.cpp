// Typing into the rate grid and the material price grid, undo and clearing, on the session.
#include "base/errors.h"
#include "tests/velmok/editable_grid.h"
#include "tests/common/block_bytes.h"
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

// The stored fields of the current pipe's 60 records, to see that nothing changed.
std::string blockBytes(const MainSession &s)
{
    return velmo::test::blockBytes(s.file().pipeBlock(s.position().pipe), RecordSize);
}

void useRates(MainSession &s, bool on)
{
    SettingsControls c = s.settingsControls();
    c.useRates = on;
    s.applySettings(c);
}

} // namespace

// ---- the rules as plain functions ----

TEST(GridEditingRules, EditabilityTableInItsOrder)
{
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(rateCellRule(c, false, false), RateCell::FixedColumn);
        EXPECT_EQ(rateCellRule(c, true, true), RateCell::FixedColumn);
    }
    for (int c : {4, 5, 6, 7, 8, 9, 10}) {
        EXPECT_EQ(rateCellRule(c, false, false), RateCell::Editable);
        EXPECT_EQ(rateCellRule(c, false, true), RateCell::ShowsResults);
    }
    EXPECT_EQ(rateCellRule(9, true, false), RateCell::RefrigerantColumn);
    EXPECT_EQ(rateCellRule(9, true, true), RateCell::RefrigerantColumn); // refrigerant first
    EXPECT_EQ(rateCellRule(8, true, false), RateCell::Editable);
    EXPECT_STREQ(refusalMessage(RateCell::FixedColumn), "この列のセルは編集できません。");
    EXPECT_STREQ(refusalMessage(RateCell::ShowsResults), "計算結果を表示しています。現在は編集できません。");
    EXPECT_STREQ(refusalMessage(RateCell::RefrigerantColumn), "冷媒モードです。この列のセルは編集できません。");
    EXPECT_EQ(priceSlotOfColumn(6), slot::A(0)); // 原価 is A0, not A6
    EXPECT_EQ(priceSlotOfColumn(7), slot::A(6));
    EXPECT_FALSE(priceSlotOfColumn(8));
}

// ---- the rate grid ----

TEST(RateGridEditing, AFactorTypedAndEnterIsStoredCalculatedAndMovesDown)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, Grid::Rate);
    EXPECT_FALSE(s.editing().undoEnabled());
    const std::string row2 = g.text(2, 2);
    g.type(4, 1, "1.2");
    EXPECT_EQ(s.editing().editPosition(), (GridCoord{4, 1}));
    g.enter();
    EXPECT_FALSE(g.editing());
    EXPECT_TRUE(g.consumed);
    EXPECT_EQ(s.table().row(1).rec.B(1), Cur("1.2"));
    EXPECT_EQ(s.file().pipeBlock(0)[0].B(1), Cur("1.2")); // written back into the service's records
    // K1 = 1000 × 1.2: the total rises from 2,805 to 2,905; adopted to tens 2,900. The three
    // grids show it at once.
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 2, 1), "2,905");
    EXPECT_EQ(g.text(2, 1), "2,905");
    EXPECT_EQ(g.text(1, 1), "2,900");
    EXPECT_EQ(s.grids().composite.Cells(1, 1), "2,905");
    EXPECT_EQ(g.text(2, 2), row2);
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(s.editing().undoEnabled());
    // Enter moves the edit position and the selection to the next row, and the other grids follow.
    EXPECT_EQ(s.editing().editPosition(), (GridCoord{4, 2}));
    EXPECT_EQ(g.selected(), (GridCoord{4, 2}));
    EXPECT_EQ(s.position().focusRow, 2);
    EXPECT_EQ(s.grids().price.Row(), 2);
    EXPECT_EQ(s.grids().composite.Row(), 2);
    EXPECT_EQ(pf.ui.beeps, 0);
    EXPECT_TRUE(pf.ui.notices.empty());

    // An emptied cell stores 0.
    g.type(5, 1, "");
    g.enter();
    EXPECT_EQ(s.table().row(1).rec.B(2), Currency());
    EXPECT_EQ(g.text(5, 1), "0");
}

TEST(RateGridEditing, KeysThatTypePassOnAndOtherKeysBeepAndStore)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, Grid::Rate);
    g.type(6, 1, "0.0");
    for (int vk : {vkey::Numpad0 + 8, vkey::Decimal, vkey::Back, vkey::Shift, vkey::NumLock}) {
        g.key(vk);
        EXPECT_FALSE(g.consumed) << vk;
        EXPECT_TRUE(g.editing()) << vk;
    }
    EXPECT_FALSE(s.editing().undoEnabled());
    g.type(6, 1, "0.08");
    g.key(vkey::KeyA);
    EXPECT_TRUE(g.consumed); // the letter is not typed anywhere, and stores nothing
    EXPECT_TRUE(g.editing());
    EXPECT_EQ(g.text(6, 1), "0.08");
    EXPECT_EQ(pf.ui.beeps, 1);
    EXPECT_NE(s.table().row(1).rec.B(3), Cur("0.08"));
    g.key(vkey::Right); // an arrow commits and leaves the move to the grid
    EXPECT_FALSE(g.consumed);
    EXPECT_FALSE(g.editing());
    EXPECT_EQ(s.table().row(1).rec.B(3), Cur("0.08"));
    EXPECT_EQ(s.editing().editPosition(), (GridCoord{6, 1})); // not Enter: the position stays
    // Down stores as well and leaves the move to the grid.
    g.type(6, 1, "0.09");
    g.key(vkey::Down);
    EXPECT_FALSE(g.consumed);
    EXPECT_EQ(s.table().row(1).rec.B(3), Cur("0.09"));
    EXPECT_EQ(g.selected(), (GridCoord{6, 2}));
    EXPECT_EQ(pf.ui.beeps, 1);
}

TEST(RateGridEditing, ShiftEnterFillsTheRowsBelow)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, Grid::Rate);
    g.type(8, 1, "0.08");
    g.enter(true);
    for (int k = 1; k <= 14; ++k) {
        EXPECT_EQ(s.table().row(k).rec.B(5), Cur("0.08")) << k;
        EXPECT_EQ(g.text(8, k), velmo::rateGridText(s.gridView(), 8, k)) << k;
    }
    EXPECT_EQ(s.table().row(16).rec.B(5), Currency()); // another location keeps its factors
    // Labour 20,000 × 0.08 = 1,600 in every row, rows 2–14 without other components.
    EXPECT_EQ(g.text(2, 14), "1,600");

    // Undo takes the whole fill back at once.
    s.editing().undo();
    for (int k = 1; k <= 14; ++k)
        EXPECT_EQ(s.table().row(k).rec.B(5), k == 1 ? Cur("0.05") : Currency()) << k;

    // In row 14 only row 14 is stored, and Enter wraps to row 1.
    s.showGrids();
    const std::string row13 = g.text(2, 13);
    g.type(8, 14, "0.07");
    g.enter(true);
    EXPECT_EQ(s.table().row(14).rec.B(5), Cur("0.07"));
    EXPECT_EQ(s.table().row(13).rec.B(5), Currency());
    EXPECT_EQ(g.text(2, 13), row13);
    EXPECT_EQ(s.editing().editPosition(), (GridCoord{8, 1}));
    EXPECT_EQ(g.selected(), (GridCoord{8, 1}));
}

TEST(RateGridEditing, RefusalsLeaveTheFactorsAndTheUndoAlone)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, Grid::Rate);
    g.type(4, 2, "0.5").enter(); // a real edit that can be undone
    ASSERT_TRUE(s.editing().undoEnabled());

    // Columns 0–3 cannot be edited: the message, the stored value shown again, nothing stored,
    // and the undo of the previous edit survives; Enter still moves on.
    g.type(3, 1, "5000");
    g.enter();
    EXPECT_EQ(pf.ui.notices.back(), "この列のセルは編集できません。|確認");
    EXPECT_EQ(g.text(3, 1), velmo::rateGridText(s.gridView(), 3, 1));
    EXPECT_EQ(s.table().row(1).rec.A(1), Cur("1000"));
    EXPECT_EQ(s.editing().editPosition(), (GridCoord{3, 2}));
    EXPECT_EQ(g.selected(), (GridCoord{3, 2}));
    s.editing().undo();
    EXPECT_EQ(s.table().row(2).rec.B(1), Currency()); // the edit before the refusal is undone

    // While the results are shown nothing is stored and the position stays.
    s.showRateResults(true);
    s.showGrids();
    g.type(5, 1, "9");
    g.enter();
    EXPECT_EQ(pf.ui.notices.back(), "計算結果を表示しています。現在は編集できません。|確認");
    EXPECT_EQ(s.table().row(1).rec.B(2), Cur("0.3"));
    EXPECT_EQ(g.text(5, 1), velmo::rateGridText(s.gridView(), 5, 1));
    EXPECT_EQ(s.editing().editPosition(), (GridCoord{5, 1}));
    EXPECT_EQ(g.selected(), (GridCoord{5, 1}));
    s.showRateResults(false);

    // Refrigerant mode: はつり補修 is refused first, even while the results are shown.
    MainSession &r = pf.start("10;2;");
    ASSERT_TRUE(r.table().refrigerant());
    EditableGrid rg(r, Grid::Rate);
    r.showRateResults(true);
    rg.type(9, 1, "0.1").enter();
    EXPECT_EQ(pf.ui.notices.back(), "冷媒モードです。この列のセルは編集できません。|確認");
    r.showRateResults(false);
    rg.type(9, 1, "0.1").enter();
    EXPECT_EQ(pf.ui.notices.back(), "冷媒モードです。この列のセルは編集できません。|確認");
    EXPECT_EQ(r.table().row(1).rec.B(6), Currency());
    rg.type(8, 1, "0.1").enter();
    EXPECT_EQ(r.table().row(1).rec.B(5), Cur("0.1"));
}

TEST(RateGridEditing, WithoutAPipeEveryKeySaysSo)
{
    ProgramFolder pf;
    MainSession &first = pf.start();
    first.close({});
    fs::resize_file(pf.data() / "kanzai1.fda", 1000); // the service file cannot be read
    MainSession s(pf.ui, pf.program, "");
    EXPECT_THROW(s.start(), IoError);
    ASSERT_FALSE(s.pipeLoaded());
    for (Grid grid : {Grid::Rate, Grid::Price}) {
        EditableGrid g(s, grid);
        g.type(4, 1, "1");
        g.enter();
        EXPECT_EQ(pf.ui.notices.back(), "管材が選択されていません|確認");
        EXPECT_FALSE(g.editing());
        EXPECT_TRUE(g.consumed);
        EXPECT_EQ(g.text(4, 1), ""); // the cell shows empty again
        EXPECT_FALSE(s.modified());
    }
}

TEST(RateGridEditing, BeforeAnyCellWasStoredNoRowOutsideTheSizeRowsIsTouched)
{
    ProgramFolder pf;
    // On every location: the edit position is column 0, row 0, whose working row would be a tail
    // (the settings row 15 on location 1, the labour row 60 beyond location 3).
    for (int loc = 0; loc < 4; ++loc) {
        MainSession &s = pf.start();
        s.locationTabChanged(loc);
        ASSERT_EQ(s.editing().editPosition(), (GridCoord{0, 0}));
        const std::string before = blockBytes(s);
        const WorkingTable table = s.table();
        EditableGrid g(s, Grid::Rate);
        g.enter(true);
        EXPECT_EQ(pf.ui.notices.back(), "この列のセルは編集できません。|確認");
        EXPECT_EQ(blockBytes(s), before) << loc;
        EXPECT_EQ(s.table().settings(), table.settings());
        EXPECT_EQ(s.table().row(LabourRow).rec, table.row(LabourRow).rec);
        EXPECT_FALSE(s.modified());
        EXPECT_EQ(g.text(0, 0), "No");
        EXPECT_EQ(s.editing().editPosition(), (GridCoord{0, 1})); // Enter moved on to row 1

        // The material price grid at column 0, row 0: nothing to parse, store or show.
        MainSession &t = pf.start();
        t.locationTabChanged(loc);
        const std::string tBefore = blockBytes(t);
        EditableGrid p(t, Grid::Price);
        p.enter();
        EXPECT_EQ(blockBytes(t), tBefore) << loc;
        EXPECT_FALSE(t.modified());
        EXPECT_EQ(p.text(0, 0), "No");
    }
}

// ---- the material price grid ----

TEST(PriceGridEditing, APriceTypedOnAnyLocationLandsInAllFourAndEachIsCalculated)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    s.locationTabChanged(2);
    EditableGrid g(s, Grid::Price);
    g.type(1, 1, "1,500"); // commas are removed before the conversion
    g.enter();
    for (int loc = 0; loc < 4; ++loc) {
        EXPECT_EQ(s.table().row(workingRow(loc, 1)).rec.A(1), Cur("1500")) << loc;
        EXPECT_EQ(s.file().pipeBlock(0)[recordIndex(0, loc, 0)].A(1), Cur("1500")) << loc;
    }
    // Location 0 was calculated too: its stored LEVEL1 composite is not stale.
    // K1 1,650 + K2 450 + K3 75 + K4 300 + labour 1,000 + 100 + 55 = 3,630.
    EXPECT_EQ(s.file().pipeBlock(0)[0].C(1), Cur("3630"));
    EXPECT_EQ(g.text(1, 1), "1,500");
    EXPECT_EQ(g.selected(), (GridCoord{1, 2}));
    EXPECT_TRUE(s.editing().undoEnabled());

    // The list price column; an empty cell stores 0; the selected column becomes the basis,
    // and the rate grid shows it in every row at once.
    g.type(7, 3, "2400");
    g.enter();
    EXPECT_EQ(s.table().row(3).rec.A(6), Cur("2400"));
    EXPECT_EQ(s.gridView().basis, Basis::List);
    EXPECT_EQ(s.grids().rate.Cells(3, 3), "2,400");
    for (int r = 1; r <= 14; ++r)
        EXPECT_EQ(s.grids().rate.Cells(3, r), velmo::rateGridText(s.gridView(), 3, r)) << r;
    EXPECT_EQ(s.grids().composite.Col(), 7);
    g.type(6, 1, "");
    g.enter();
    EXPECT_EQ(s.table().row(1).rec.A(0), Currency());
}

TEST(PriceGridEditing, WithTheRateFlagOnlyTheListPriceColumnTakesKeys)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    useRates(s, true);
    EditableGrid g(s, Grid::Price);
    // A move is no edit and gets no refusal.
    g.model.SelectCell(3, 2);
    g.key(vkey::Up);
    EXPECT_FALSE(g.consumed);
    EXPECT_TRUE(pf.ui.notices.empty());
    for (int vk : {vkey::Numpad0 + 5, vkey::Return}) {
        g.model.SelectCell(3, 1);
        const size_t n = pf.ui.notices.size();
        g.key(vk);
        ASSERT_EQ(pf.ui.notices.size(), n + 1) << vk;
        EXPECT_EQ(pf.ui.notices.back(), "単価に掛け率を使用していますので、現在は入力できません。|確認");
        EXPECT_TRUE(g.consumed);
        EXPECT_FALSE(g.editing());
        EXPECT_EQ(g.selected(), (GridCoord{3, 1}));
    }
    const size_t n = pf.ui.notices.size();
    g.type(7, 1, "2000").enter();
    EXPECT_EQ(pf.ui.notices.size(), n);
    EXPECT_EQ(s.table().row(1).rec.A(6), Cur("2000"));
}

TEST(GridEditing, AConversionErrorLeavesTableUndoAndFlagAsTheyWere)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, Grid::Rate);
    g.type(4, 1, "1.2").enter();
    s.save();
    EXPECT_EQ(pf.ui.notices.back(), "保存しました。\n" + (pf.data() / "kanzai1.fda").string() + "|確認");
    ASSERT_FALSE(s.modified());
    const WorkingTable table = s.table();
    const std::string before = blockBytes(s);

    // The rate grid converts the text as it is: "1,2" is no number there. The editor stays
    // open with the text and the key does not move; Esc then shows the stored factor again.
    g.type(4, 2, "1,2");
    g.enter();
    EXPECT_NE(g.error.find("1,2"), std::string::npos) << g.error;
    EXPECT_TRUE(g.editing());
    EXPECT_EQ(g.text(4, 2), "1,2");
    EXPECT_TRUE(g.consumed);
    EXPECT_EQ(g.selected(), (GridCoord{4, 2}));
    g.key(vkey::Escape);
    EXPECT_FALSE(g.editing());
    EXPECT_EQ(g.text(4, 2), velmo::rateGridText(s.gridView(), 4, 2));
    EditableGrid p(s, Grid::Price);
    p.type(1, 1, "12-");
    p.enter();
    EXPECT_FALSE(p.error.empty());
    EXPECT_TRUE(p.editing());
    p.key(vkey::Escape);
    EXPECT_EQ(p.text(1, 1), velmo::priceGridText(s.gridView(), 1, 1));
    EXPECT_EQ(blockBytes(s), before);
    EXPECT_EQ(s.table().row(2).rec.B(1), table.row(2).rec.B(1));
    EXPECT_EQ(s.table().row(1).rec.A(1), table.row(1).rec.A(1));
    EXPECT_FALSE(s.modified());

    // Enter again meets the stored value: no second error, and a store of the value already
    // there keeps the undo of the last real edit.
    p.enter();
    EXPECT_TRUE(p.error.empty());
    EXPECT_EQ(s.table().row(1).rec.A(1), table.row(1).rec.A(1));
    EXPECT_EQ(blockBytes(s), before);
    // The undo still takes back the edit before the failures.
    s.editing().undo();
    EXPECT_EQ(s.table().row(1).rec.B(1), Cur("1.1"));
}

TEST(GridEditing, MainKeyboardDigitsPointAndMinusTypeLikeTheKeypad)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, Grid::Price);
    g.type(7, 1, "2");
    for (int vk : {vkey::Key0 + 3, vkey::Key0 + 6, vkey::Key0, vkey::OemPeriod, vkey::OemMinus, vkey::Subtract}) {
        g.key(vk);
        EXPECT_FALSE(g.consumed) << vk;
        EXPECT_TRUE(g.editing()) << vk;
    }
    g.type(7, 1, "2360");
    g.enter();
    EXPECT_EQ(s.table().row(1).rec.A(6), Cur("2360"));
    EXPECT_EQ(pf.ui.beeps, 0);
}

TEST(GridEditing, AnEditorLeftByTheMouseOrTheFocusStoresWhatItShows)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, Grid::Rate);
    g.type(4, 1, "1.2");
    const MainEditing::EditorLeft left = g.leave();
    EXPECT_EQ(s.table().row(1).rec.B(1), Cur("1.2"));
    EXPECT_EQ(s.file().pipeBlock(0)[0].B(1), Cur("1.2"));
    EXPECT_EQ(g.text(4, 1), "1.2");
    EXPECT_EQ(s.grids().composite.Cells(1, 1), "2,905");
    EXPECT_EQ(g.selected(), (GridCoord{4, 1}));
    EXPECT_EQ(s.editing().editPosition(), (GridCoord{4, 1})); // no move, as the mouse decides where to
    EXPECT_EQ(s.position().focusRow, 1);
    EXPECT_TRUE(left.notice.empty() && left.error.empty());
    EXPECT_EQ(pf.ui.beeps, 0);
    EXPECT_TRUE(s.modified());
    s.editing().undo();
    EXPECT_EQ(s.table().row(1).rec.B(1), Cur("1.1"));

    // A price left on location 2 lands in all four, as with Enter.
    s.locationTabChanged(2);
    EditableGrid p(s, Grid::Price);
    p.type(1, 1, "1,500").leave();
    for (int loc = 0; loc < 4; ++loc)
        EXPECT_EQ(s.table().row(workingRow(loc, 1)).rec.A(1), Cur("1500")) << loc;
}

TEST(GridEditing, ALeftEditorsRefusalOrBadNumberGivesWayAndComesBackAsAMessage)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    s.quickSave();
    const std::string before = blockBytes(s);
    EditableGrid g(s, Grid::Rate);

    // Nothing is shown while the focus moves; the window shows the message afterwards.
    g.type(1, 1, "999");
    MainEditing::EditorLeft left = g.leave();
    EXPECT_EQ(left.notice, "この列のセルは編集できません。");
    EXPECT_EQ(g.text(1, 1), velmo::rateGridText(s.gridView(), 1, 1)); // the refused text gives way
    g.type(4, 2, "1..5");
    left = g.leave();
    EXPECT_NE(left.error.find("1..5"), std::string::npos) << left.error;
    EXPECT_EQ(g.text(4, 2), velmo::rateGridText(s.gridView(), 4, 2));
    EXPECT_EQ(blockBytes(s), before);
    EXPECT_FALSE(s.modified());

    useRates(s, true);
    s.quickSave();
    const std::string withRates = blockBytes(s);
    EditableGrid p(s, Grid::Price);
    p.type(3, 1, "100");
    left = p.leave();
    EXPECT_EQ(left.notice, "単価に掛け率を使用していますので、現在は入力できません。");
    EXPECT_EQ(p.text(3, 1), velmo::priceGridText(s.gridView(), 3, 1));
    EXPECT_TRUE(pf.ui.notices.empty());
    EXPECT_EQ(blockBytes(s), withRates);
    EXPECT_FALSE(s.modified());
}

TEST(GridEditing, AKeyThatClosesTheEditorIsNotStoredASecondTimeAsAnEditorLeft)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, Grid::Rate);
    // The model tells its observer that the editor closed while the key closes it; the session
    // ignores that, so a refusal is said once.
    g.type(2, 1, "1");
    g.enter();
    EXPECT_EQ(pf.ui.notices.size(), 1u);
    EXPECT_TRUE(g.left.notice.empty());
    EXPECT_EQ(s.editing().editPosition(), (GridCoord{2, 2}));
}

// ---- undo and clearing ----

TEST(Undo, RestoresExactlyTheStateBeforeTheLastEditAndDisablesItself)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, Grid::Rate);
    g.type(4, 1, "1.2").enter();
    const WorkingTable beforeSecond = s.table();
    const std::string blockBeforeSecond = blockBytes(s);
    s.locationTabChanged(1);
    g.type(5, 3, "0.4").enter(true);
    s.editing().undo();
    EXPECT_FALSE(s.editing().undoEnabled());
    EXPECT_EQ(s.position().location, 0);
    EXPECT_TRUE(s.modified());
    for (int a = 1; a <= WorkingRows; ++a)
        EXPECT_EQ(s.table().row(a).rec, beforeSecond.row(a).rec) << a;
    EXPECT_EQ(blockBytes(s), blockBeforeSecond);
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 2, 1), "2,905");
    // A second undo is not possible.
    s.editing().undo();
    EXPECT_EQ(s.table().row(1).rec.B(1), Cur("1.2"));
    // Opening a pipe disables it too.
    g.type(4, 1, "1.3").enter();
    s.treeClick(2);
    EXPECT_FALSE(s.editing().undoEnabled());
}

TEST(ClearPipe, AsksThenEmptiesEveryRecordIncludingTheLabourPrices)
{
    ProgramFolder pf;
    pf.start(); // seeds the data folder
    changeServiceFile(pf.data() / "kanzai1.fda", [](ServiceFile &f) {
        f.pipeBlock(0)[5].reserved0 = 77;
        f.pipeBlock(0)[59].reserved144 = 88;
    });
    // Pipe 1 of service 1 has names, prices, factors and labour prices.
    MainSession &s = pf.start();
    const PipeBlock &block = s.file().pipeBlock(0);

    pf.ui.answers.push_back(Answer::No);
    s.editing().clearPipe(); // "キャンセル"
    EXPECT_EQ(pf.ui.questions.back(), "現在の内容をすべてクリア－しますか？|実行|キャンセル");
    EXPECT_EQ(s.table().row(1).rec.name.text(), "S1P1");
    EXPECT_FALSE(s.modified());

    s.locationTabChanged(2);
    pf.ui.answers.push_back(Answer::Yes);
    s.editing().clearPipe();
    for (int k = 0; k < RecordsPerPipe; ++k) {
        const PriceRecord &r = block[k];
        EXPECT_TRUE(r.name.empty() && r.caption.empty() && r.size.empty() && r.unit.empty()) << k;
        EXPECT_EQ(r.rowTag, 0);
        for (int i = 0; i < SlotCount; ++i) {
            // The calculation afterwards reads a composite code of 0 as 1 and stores it so.
            const bool code = k == SettingsRecord && i == slot::B(1);
            EXPECT_EQ(r.slots[i], code ? Cur("1") : Currency()) << k << " " << i;
        }
    }
    EXPECT_EQ(block[5].reserved0, 77); // carried through
    EXPECT_EQ(block[59].reserved144, 88);
    for (int i = 0; i <= 5; ++i)
        EXPECT_TRUE(s.table().row(LabourRow).rec.C(i).isZero());
    EXPECT_EQ(s.position().location, 0);
    EXPECT_EQ(s.names().nodes[1], "");
    EXPECT_EQ(s.names().pipeCaptions[0][0], "----");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 2, 1), "0");
    EXPECT_TRUE(s.modified());
    ASSERT_TRUE(s.editing().undoEnabled());
    s.editing().undo();
    EXPECT_EQ(block[0].name.text(), "S1P1");
    EXPECT_EQ(block[59].C(1), Cur("20000"));
    EXPECT_EQ(s.names().nodes[1], "S1P1");
}

TEST(SettingsFields, ALabourPriceLeftWithoutEnterIsAppliedAndAnUnchangedOneTakesNoUndo)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    s.settingsLeft(s.settingsControls());
    EXPECT_FALSE(s.modified());
    EXPECT_FALSE(s.editing().undoEnabled());
    SettingsControls c = s.settingsControls();
    c.labour[1] = Cur("31000");
    s.settingsLeft(c);
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(s.editing().undoEnabled());
    pf.ui.expectNotice("保存しました。\n" + (pf.data() / "kanzai1.fda").string() + "|確認");
    s.save();
    ServiceFile back;
    back.load(pf.data() / "kanzai1.fda");
    EXPECT_EQ(back.record(59).C(1), Cur("31000"));
}

TEST(SettingsFields, APercentageOutsideZeroTo999IsRefusedWithItsRangeAndNothingIsApplied)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    const SettingsControls applied = s.settingsControls();
    const int shown = s.controlsRevision();
    SettingsControls c = applied;
    c.percent[2] = Cur("8090");
    c.labour[1] = Cur("31000");
    try {
        s.applySettings(c);
        ADD_FAILURE() << "8090 % was applied";
    } catch (const RangeError &e) {
        EXPECT_EQ(std::string(e.what()), "「掛け率 LEVEL2」に入力した 8090 は範囲外です。0 から 999.99 "
                                         "までの数値を入力してください。欄は元の値に戻しました。");
    }
    EXPECT_EQ(s.settingsControls(), applied);
    EXPECT_NE(s.controlsRevision(), shown); // the fields are shown again
    EXPECT_FALSE(s.modified());
    c.percent[2] = Cur("999.99");
    s.applySettings(c);
    EXPECT_EQ(s.settingsControls().percent[2], Cur("999.99"));
}

TEST(SheetPaste, PricesLandInAllFourLocationsAsTypedAndTheWholePasteIsOneUndoStep)
{
    const int ctrlV = vkey::KeyV, ctrlC = vkey::KeyC;
    ProgramFolder typedFolder, pastedFolder;
    MainSession &typed = typedFolder.start();
    MainSession &s = pastedFolder.start();
    {
        EditableGrid g(typed, Grid::Price);
        g.type(1, 1, "1500");
        g.enter();
        g.type(2, 1, "1400");
        g.enter();
        g.type(1, 3, "900");
        g.enter();
    }
    EditableGrid g(s, Grid::Price);
    g.type(5, 5, "777"); // an edit before the paste, which the undo of the paste keeps
    g.enter();
    const WorkingTable beforePaste = s.table();
    s.grids().price.SelectCell(1, 1);
    pastedFolder.ui.clipboard.push_back("¥1,500\t１４００\n\t\n900円\tx\n");
    EXPECT_TRUE(s.editing().sheetKey(false, ctrlV, true));
    EXPECT_EQ(pastedFolder.ui.notices.back(), "3 件を貼り付けました。\n数値でない 1 件は元のままです: 「x」|確認");
    for (int loc = 0; loc < 4; ++loc)
        for (int row : {1, 3}) {
            const int a = workingRow(loc, row);
            EXPECT_EQ(s.table().row(a).rec.slots, typed.table().row(a).rec.slots) << loc << " " << row;
        }
    EXPECT_EQ(s.grids().price.Cells(2, 1), "1,400");

    // One undo takes the whole paste back, and only the paste.
    s.editing().undo();
    for (int a = 1; a <= 60; ++a)
        EXPECT_EQ(s.table().row(a).rec.slots, beforePaste.row(a).rec.slots) << a;

    // With the percentages in use the level prices take no paste; the list price does.
    useRates(s, true);
    s.grids().price.SelectCell(6, 2);
    pastedFolder.ui.clipboard.push_back("100\t200\n");
    EXPECT_TRUE(s.editing().sheetKey(false, ctrlV, true));
    EXPECT_EQ(pastedFolder.ui.notices.back(), "1 件を貼り付けました。1 件は編集できないセルのため貼り付けていません。|確認");
    EXPECT_EQ(s.table().row(2).rec.A(6), Cur("200"));

    // Ctrl+C copies plain numbers from the composite grid too.
    s.grids().composite.SelectRange(1, 1, 2, 1);
    s.editing().copyComposites();
    EXPECT_EQ(pastedFolder.ui.clipboard.back().find(','), std::string::npos);
    EXPECT_TRUE(s.editing().sheetKey(false, ctrlC, true));
    EXPECT_FALSE(s.editing().sheetKey(false, ctrlV, false));
}

TEST(SheetPaste, FactorsGoIntoTheSelectedLocationAndRefusedColumnsAreCountedOnce)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    s.locationTabChanged(1);
    EditableGrid g(s, Grid::Rate);
    s.grids().rate.SelectCell(3, 2); // column 3 is fixed: refused; 4 and 5 take factors
    pf.ui.clipboard.push_back("1\t1.2\t０．３\n");
    s.editing().pasteFromSheet(true);
    EXPECT_EQ(pf.ui.notices.back(), "2 件を貼り付けました。1 件は編集できないセルのため貼り付けていません。|確認");
    EXPECT_EQ(s.table().row(workingRow(1, 2)).rec.B(1), Cur("1.2"));
    EXPECT_EQ(s.table().row(workingRow(1, 2)).rec.B(2), Cur("0.3"));
    EXPECT_EQ(s.table().row(workingRow(0, 2)).rec.B(1), Currency()); // another location keeps its factors
    EXPECT_TRUE(s.modified());
}
