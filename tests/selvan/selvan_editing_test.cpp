// Editing a block: derived prices, cell commits by labour mode, the keys of the grid, the copy,
// paste and unify commands, the size sets and the grid's set-up.
#include "base/errors.h"
#include "tests/selvan/selvan_folder.h"
#include "selvan/core/selvan_texts.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

const EquipmentRecord &row(const SelvanSession &s, int gridRow) { return s.working()[gridRow - 1]; }

// Started on a new file with the percentages in use: LEVEL1 at 85 %.
std::unique_ptr<SelvanSession> derivingSession(SelvanFolder &f)
{
    auto s = f.start();
    s->useRatesClicked(true);
    s->percentageEntered(1, Cur("85"));
    EXPECT_EQ(s->tab(), 1); // the edit's tab is shown
    s->tabChanged(0);
    return s;
}

} // namespace

TEST(SelvanRecalculate, TheListPriceDerivesTheLevelPricesByPercentageAndRounding)
{
    SelvanFolder f;
    auto s = derivingSession(f);
    struct Case {
        int fraction, code, significant;
        const char *level1;
    };
    // 1234 × 85 % = 1048.9; the fraction addend 0.9, 0.5, 0; then code 10 (addend 0) and
    // 有効3桁 (addend 0.5).
    const Case cases[] = {{0, 0, 0, "1049"}, {2, 0, 0, "1049"}, {1, 0, 0, "1048"}, {0, 1, 1, "1040"}, {0, 4, 2, "1050"}};
    for (const Case &c : cases) {
        s->fractionChosen(c.fraction);
        s->codeChosen(c.code);
        s->significantChosen(c.significant);
        typeCell(*s, 2, 1, "1234");
        EXPECT_EQ(slotOf(row(*s, 1), 168).toString(), c.level1) << c.fraction << " " << c.code << " " << c.significant;
        EXPECT_EQ(slotOf(row(*s, 1), 208).toString(), "1234");
    }
    // The settings record holds what the controls show.
    const EquipmentRecord &settings = s->working()[14];
    EXPECT_EQ(slotOf(settings, 464).toString(), "3");
    EXPECT_EQ(slotOf(settings, 472).toString(), "0.9");
    EXPECT_EQ(slotOf(settings, 480).toString(), "0.5");
    EXPECT_EQ(slotOf(settings, 488).toString(), "1");
    EXPECT_EQ(slotOf(settings, 168).toString(), "85");
    s->tabChanged(1);
    EXPECT_EQ(s->cell(2, 1), "1,050");
    EXPECT_TRUE(s->modified());

    // Exact decimals: 2500 × 1.284 % = 32.1, rounded up is 33 (binary floating point gives 32).
    s->codeChosen(0);
    s->percentageEntered(2, Cur("1.284"));
    s->tabChanged(0);
    typeCell(*s, 2, 2, "2500");
    EXPECT_EQ(slotOf(row(*s, 2), 176).toString(), "33");
}

TEST(SelvanRecalculate, WithTheBoxOffTypedLevelPricesStayAndPercentagesAbove1000AreZero)
{
    SelvanFolder f;
    auto s = derivingSession(f);
    s->useRatesClicked(false);
    EXPECT_FALSE(s->roundingEnabled());
    s->tabChanged(1);
    typeCell(*s, 2, 1, "500");
    s->tabChanged(0);
    typeCell(*s, 2, 1, "1234");
    EXPECT_EQ(slotOf(row(*s, 1), 168).toString(), "500");
    EXPECT_EQ(slotOf(s->working()[14], 488).toString(), "0");

    // Over 1000 % is refused with the range in words; the stored percentage stays, and so do
    // the prices derived from it.
    s->useRatesClicked(true);
    const Currency before = s->percentage(3);
    const std::string level3 = slotOf(row(*s, 1), 184).toString();
    const int shown = s->revision();
    try {
        s->percentageEntered(3, Cur("1000.01"));
        ADD_FAILURE() << "1000.01 % was taken";
    } catch (const RangeError &e) {
        EXPECT_EQ(std::string(e.what()), "「提 出3=定価×指定」に入力した 1000.01 は範囲外です。0 から 1000 "
                                         "までの数値を入力してください。欄は元の値に戻しました。");
    }
    EXPECT_EQ(s->percentage(3), before);
    EXPECT_EQ(slotOf(row(*s, 1), 184).toString(), level3);
    EXPECT_NE(s->revision(), shown); // the field is shown again with the stored percentage
    s->percentageEntered(3, Cur("1000"));
    EXPECT_EQ(slotOf(row(*s, 1), 184).toString(), "12340");
    EXPECT_EQ(s->percentage(3).toString(), "1000");
}

TEST(SelvanCells, LabourModeZeroShowsAndStoresTheCommonLabourRate)
{
    SelvanFolder f;
    auto s = f.start();
    s->labourModeClicked(1);
    s->tabChanged(3);
    typeCell(*s, 3, 2, "2,500");
    EXPECT_EQ(slotOf(row(*s, 2), 360).toString(), "2500");
    EXPECT_EQ(s->cell(3, 0), "取付費");
    s->labourModeClicked(0);
    EXPECT_EQ(s->cell(3, 0), "歩掛(共通)");
    typeCell(*s, 3, 2, "0.35");
    EXPECT_EQ(slotOf(row(*s, 2), 336).toString(), "0.35");
    EXPECT_EQ(slotOf(row(*s, 2), 360).toString(), "2500"); // no installation cost changed
    for (int tab = 0; tab < 7; ++tab) {
        s->tabChanged(tab);
        EXPECT_EQ(s->cell(3, 2), "0.35") << tab;
    }
    s->labourModeClicked(1);
    s->tabChanged(3);
    EXPECT_EQ(s->cell(3, 2), "2,500");
    s->tabChanged(6);
    EXPECT_EQ(s->cell(3, 2), "0");
}

TEST(SelvanCells, CommitsCleanTheTextAndEnterMovesDownAndWrapsToRowOne)
{
    SelvanFolder f;
    auto s = f.start();
    typeCell(*s, 2, 14, "1,500");
    EXPECT_EQ(slotOf(row(*s, 14), 208).toString(), "1500");
    EXPECT_EQ(s->cell(2, 14), "1,500");
    EXPECT_EQ(at(*s), (GridCoord{2, 1}));
    typeCell(*s, 2, 14, "");
    EXPECT_EQ(slotOf(row(*s, 14), 208).toString(), "0");
    EXPECT_EQ(s->cell(2, 14), "0");
    typeCell(*s, 2, 3, "12.345");
    EXPECT_EQ(slotOf(row(*s, 3), 208).toString(), "12.345");
    EXPECT_EQ(s->cell(2, 3), "12.345"); // the cell shows what is stored
    EXPECT_EQ(at(*s), (GridCoord{2, 4}));

    // Up and Down commit and leave the move to the grid.
    s->cellTextStored(2, 5, "77");
    EXPECT_FALSE(gridKey(*s, vkey::Down, 2, 5, true));
    EXPECT_EQ(slotOf(row(*s, 5), 208).toString(), "77");
    EXPECT_EQ(at(*s), (GridCoord{2, 5}));

    // Typed and left for another control: committed to the tab it was typed on.
    s->cellTextStored(2, 6, "66");
    s->tabChanged(1);
    EXPECT_EQ(slotOf(row(*s, 6), 208).toString(), "66");
    EXPECT_EQ(slotOf(row(*s, 6), 168).toString(), "0");

    // A size text is taken as it is typed; Enter moves down in column 1.
    auto fresh = f.start();
    fresh->cellTextStored(1, 14, "φ100");
    EXPECT_EQ(row(*fresh, 14).caption.text(), "φ100");
    EXPECT_TRUE(fresh->modified());
    EXPECT_TRUE(gridKey(*fresh, vkey::Return, 1, 14, true));
    EXPECT_EQ(at(*fresh), (GridCoord{1, 1}));
    // A size longer than its field is cut to it, in the cell as in the record; the grid's
    // editor takes no more than that while typed.
    fresh->cellTextStored(1, 2, std::string(45, 'x'));
    EXPECT_EQ(row(*fresh, 2).caption.text(), std::string(40, 'x'));
    EXPECT_EQ(fresh->cell(1, 2), std::string(40, 'x'));
    EXPECT_EQ(f.grid.TextByteLimit(1, 2), 40u);
    EXPECT_EQ(f.grid.TextByteLimit(2, 2), 0u);
}

TEST(SelvanCells, MovingThroughCellsStoresNothingAndABadNumberStoresNothing)
{
    SelvanFolder f;
    {
        auto s = f.start();
        typeCell(*s, 2, 1, "123.45");
        f.ui.expectNotice("名前のない資材 (ブロック 0)を登録しました。|確認"); // by its number
        s->registerClicked();
    }
    auto s = f.start();
    EXPECT_EQ(s->cell(2, 1), "123.45");
    gridKey(*s, vkey::Down, 2, 1);
    gridKey(*s, vkey::Return, 2, 1);
    EXPECT_EQ(at(*s), (GridCoord{2, 2}));
    gridKey(*s, vkey::Return, 2, 1, true);
    EXPECT_EQ(at(*s), (GridCoord{2, 2}));
    EXPECT_EQ(slotOf(row(*s, 1), 208).toString(), "123.45"); // Enter over the shown price stores it again
    EXPECT_FALSE(s->modified());

    s->cellTextStored(2, 1, "1,2a");
    EXPECT_THROW(gridKey(*s, vkey::Return, 2, 1, true), ConversionError);
    EXPECT_EQ(slotOf(row(*s, 1), 208).toString(), "123.45");
    EXPECT_EQ(s->cell(2, 1), "1,2a"); // the editor keeps the text to be mended
    EXPECT_TRUE(s->grid().EditorMode());
    EXPECT_FALSE(s->modified()); // nothing was stored
    EXPECT_EQ(at(*s), (GridCoord{2, 1}));
    EXPECT_TRUE(s->gridKeyDown(vkey::Escape, ShiftState{})); // Esc gives it up
    EXPECT_FALSE(s->grid().EditorMode());
    // The failed text is not tried again by the next command.
    s->commitTypedCell();
    s->tabChanged(0);
    EXPECT_EQ(s->cell(2, 1), "123.45");
}

TEST(SelvanCells, DigitsTypeArrowsMoveEnterUpDownCommitAndOtherKeysBeep)
{
    SelvanFolder f;
    {
        auto s = f.start();
        StrColGridModel &g = s->grid();
        // Column 1: only Enter is the program's.
        for (int vk : {vkey::Key0 + 5, vkey::KeyA, vkey::Delete, vkey::Left, vkey::Numpad0})
            EXPECT_FALSE(gridKey(*s, vk, 1, 3, true)) << vk;
        EXPECT_TRUE(g.EditorMode());
        EXPECT_TRUE(gridKey(*s, vkey::Return, 1, 3));
        EXPECT_EQ(at(*s), (GridCoord{1, 4}));
        EXPECT_TRUE(s->modified()); // Enter in column 1 counts as an edit
        // Columns 2 and 3.
        for (int col : {2, 3}) {
            f.ui.beeps = 0;
            for (int vk : {vkey::Left, vkey::Up, vkey::Right, vkey::Down})
                EXPECT_FALSE(gridKey(*s, vk, col, 5)) << vk;
            for (int vk : {vkey::Back, vkey::Numpad0, vkey::Numpad9, vkey::Decimal, vkey::OemComma, vkey::Shift,
                           vkey::NumLock, vkey::Key0, vkey::Key0 + 1, vkey::Key9, vkey::OemPeriod, vkey::OemMinus,
                           vkey::Subtract}) {
                EXPECT_FALSE(gridKey(*s, vk, col, 5, true)) << vk;
                EXPECT_TRUE(g.EditorMode()) << vk;
            }
            EXPECT_EQ(f.ui.beeps, 0);
            for (int vk : {vkey::Up, vkey::Down}) {
                EXPECT_FALSE(gridKey(*s, vk, col, 5, true)) << vk; // the grid moves on
                EXPECT_FALSE(g.EditorMode()) << vk;
            }
            EXPECT_TRUE(gridKey(*s, vkey::Return, col, 5, true));
            EXPECT_EQ(f.ui.beeps, 0);
            for (int vk : {vkey::KeyA, vkey::Space, vkey::OemPlus}) {
                const int beeps = f.ui.beeps;
                EXPECT_TRUE(gridKey(*s, vk, col, 5, true)) << vk;
                EXPECT_EQ(f.ui.beeps, beeps + 1) << vk;
                EXPECT_TRUE(g.EditorMode()) << vk; // the editor keeps its text
            }
            for (int vk : {vkey::Left, vkey::Right, vkey::Tab}) {
                EXPECT_FALSE(gridKey(*s, vk, col, 5, true)) << vk; // committed; the grid moves
                EXPECT_FALSE(g.EditorMode()) << vk;
            }
            EXPECT_EQ(f.ui.beeps, 3);
        }
        // Nothing was typed into a price: nothing was stored.
        EXPECT_EQ(slotOf(row(*s, 5), 208), Currency());
    }
    f.ui.beeps = 0;
    // A main-keyboard digit types on; a letter beeps and leaves the text to Enter.
    auto s = f.start();
    s->cellTextStored(2, 2, "40");
    gridKey(*s, vkey::Key0 + 4, 2, 2, true);
    EXPECT_EQ(f.ui.beeps, 0);
    EXPECT_EQ(slotOf(row(*s, 2), 208).toString(), "0");
    gridKey(*s, vkey::KeyA + 16, 2, 2, true); // Q
    EXPECT_EQ(f.ui.beeps, 1);
    EXPECT_EQ(slotOf(row(*s, 2), 208).toString(), "0");
    gridKey(*s, vkey::Return, 2, 2, true);
    EXPECT_EQ(slotOf(row(*s, 2), 208).toString(), "40");
}

TEST(SelvanCommands, InstallationCostsAreCopiedPastedAndUnifiedThroughTheBlockClipboard)
{
    SelvanFolder f;
    auto s = f.start();
    s->labourModeClicked(1);
    for (int tab = 0; tab < 7; ++tab) {
        s->tabChanged(tab);
        for (int r = 1; r <= 14; ++r)
            typeCell(*s, 3, r, std::to_string(100 * r + tab));
    }
    s->labourModeClicked(0);
    typeCell(*s, 3, 1, "0.5");
    s->labourModeClicked(1);

    s->tabChanged(2); // LEVEL2 at 352
    s->copyInstallation();
    EXPECT_EQ(slotOf(s->clipboard()[0], 384).toString(), "102");
    EXPECT_EQ(slotOf(s->clipboard()[0], 336).toString(), "0.5");
    f.ui.expectNotice("名前のない資材 (ブロック 0)を登録しました。|確認");
    s->registerClicked();
    s->copyInstallation();
    EXPECT_FALSE(s->modified()); // copying changes nothing
    s->tabChanged(5); // LEVEL5 at 376
    s->pasteInstallation();
    EXPECT_TRUE(s->modified());
    EXPECT_EQ(slotOf(row(*s, 3), 376).toString(), "302");
    EXPECT_EQ(slotOf(row(*s, 1), 336).toString(), "0.5");
    EXPECT_EQ(s->cell(3, 3), "302");

    // Unify on LEVEL3: all seven installation costs of every size become its LEVEL3 value.
    s->tabChanged(3);
    s->unifyInstallation();
    for (int r = 1; r <= 14; ++r)
        for (int offset : {344, 352, 360, 368, 376, 384, 392})
            EXPECT_EQ(slotOf(row(*s, r), offset).toString(), std::to_string(100 * r + 3)) << r << " " << offset;

    // After a whole copy the installation paste takes the copied block's 原価 cost (384).
    s->tabChanged(6);
    typeCell(*s, 3, 4, "999");
    s->copyAllClicked();
    s->tabChanged(1);
    s->pasteInstallation();
    EXPECT_EQ(slotOf(row(*s, 4), 344).toString(), "999");
}

TEST(SelvanCommands, PastingAllBeforeAnyCopyEmptiesTheBlock)
{
    SelvanFolder f;
    auto s = f.start();
    s->useRatesClicked(true);
    s->codeChosen(3);
    s->fractionChosen(2);
    s->significantChosen(0);
    s->labourModeClicked(1);
    s->sizeSet(13);
    s->unitChosen("本");
    f.ui.texts.push_back("逆止弁");
    s->editNameClicked();
    typeCell(*s, 2, 1, "5000");
    f.ui.expectNotice("逆止弁を登録しました。|確認");
    s->registerClicked();
    ASSERT_EQ(s->materialName(), "逆止弁");

    s->pasteAllClicked();
    EXPECT_TRUE(s->modified());
    EXPECT_EQ(s->materialName(), "");
    EXPECT_EQ(s->unitText(), "");
    EXPECT_EQ(s->cell(1, 1), "");
    EXPECT_EQ(s->cell(2, 1), "0");
    for (const EquipmentRecord &r : s->working()) {
        EXPECT_EQ(r.caption.text(), "");
        EXPECT_EQ(slotOf(r, 208), Currency());
    }
    // 小数以下切り捨て, 有効桁以下切り捨て, 歩掛を使用; the code and the check box stay.
    EXPECT_EQ(s->controls(), (EquipmentControls{3, 1, 1, 0, true}));

    // A copy and a paste carry the whole block, settings included, into another block.
    auto other = f.start();
    other->copyAllClicked();
    other->beginChoosing();
    ASSERT_TRUE(other->entryChosen(6));
    f.ui.texts.push_back("空き");
    other->endChoosing();
    other->pasteAllClicked();
    EXPECT_EQ(other->materialName(), "逆止弁");
    EXPECT_EQ(other->cell(1, 14), "300A");
    EXPECT_EQ(other->unitText(), "本");
    EXPECT_EQ(other->controls().codeIndex, 3);
    EXPECT_EQ(other->blockIndex(), 6);
}

TEST(SelvanCommands, SizeSetsFillTheSizeColumn)
{
    SelvanFolder f;
    auto s = f.start();
    s->sizeSet(15);
    EXPECT_EQ(s->cell(1, 1), "15A");
    EXPECT_EQ(s->cell(1, 7), "65A");
    EXPECT_EQ(row(*s, 14).caption.text(), "300A");
    s->sizeSet(13);
    EXPECT_EQ(s->cell(1, 4), "30A");
    EXPECT_EQ(row(*s, 8).caption.text(), "75A");
    EXPECT_TRUE(s->modified());
}

TEST(SelvanGrid, FourColumnsOfFixedWidthsWithWhiteCentredHeadings)
{
    StrColGridModel g;
    setupEquipmentGrid(g);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.RowCount(), 15);
    EXPECT_EQ(g.ColWidths(1), 287);
    EXPECT_EQ(g.RowHeights(14), 17);
    EXPECT_EQ(g.FixedColor(), TColor(10652814));
    EXPECT_EQ(g.FixedColor().red(), 142);
    EXPECT_EQ(g.Font().family, "ＭＳ ゴシック");
    EXPECT_EQ(g.Font().pixelSize, 15);
    EXPECT_TRUE(g.Options() & goEditing);
    EXPECT_TRUE(g.Options() & goRangeSelect);
    EXPECT_TRUE(g.FocusCellFontColorEnabled());
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g.cellTextStyle(c, 0, g.FindCellParam(c, 0)).alignment, taCenter);
        EXPECT_EQ(g.FindCellParam(c, 0)->FontColor(), clr::White);
    }
    EXPECT_EQ(g.FindCellParam(0, 9)->FontColor(), clr::White);
    EXPECT_EQ(g.cellTextStyle(1, 9, g.FindCellParam(1, 9)).alignment, taLeftJustify);
    EXPECT_EQ(g.cellTextStyle(3, 9, g.FindCellParam(3, 9)).alignment, taRightJustify);
}

TEST(SelvanPercentages, APercentageLeftWithoutEnterIsAppliedAsEnterWouldAndAnUnchangedOneIsNot)
{
    SelvanFolder f;
    auto s = derivingSession(f);
    typeCell(*s, 2, 1, "1234");
    f.ui.expectNotice("名前のない資材 (ブロック 0)を登録しました。|確認");
    s->registerClicked();
    s->percentageLeft(1, Cur("85")); // the stored percentage: nothing happens
    EXPECT_FALSE(s->modified());
    EXPECT_EQ(s->tab(), 0);
    s->percentageLeft(2, Cur("50"));
    EXPECT_EQ(s->percentage(2), Cur("50"));
    EXPECT_EQ(s->tab(), 2);
    EXPECT_TRUE(s->modified());
    EXPECT_NE(slotOf(row(*s, 1), 176), Currency());
}

TEST(SelvanPercentages, A1200IsRefusedWithTheRangeNeverStoredAsZero)
{
    SelvanFolder f;
    auto s = derivingSession(f);
    typeCell(*s, 2, 1, "1234");
    f.ui.expectNotice("名前のない資材 (ブロック 0)を登録しました。|確認");
    s->registerClicked();
    const SelvanEditState stored{s->working(), {}, s->unitText()};
    for (const bool byEnter : {true, false}) {
        const int shown = s->revision();
        try {
            byEnter ? s->percentageEntered(1, Cur("1200")) : s->percentageLeft(1, Cur("1200"));
            ADD_FAILURE() << "1200 % was taken";
        } catch (const RangeError &e) {
            EXPECT_EQ(std::string(e.what()), "「提 出1=定価×指定」に入力した 1200 は範囲外です。0 から 1000 "
                                             "までの数値を入力してください。欄は元の値に戻しました。");
        }
        EXPECT_EQ(s->percentage(1), Cur("85"));
        EXPECT_NE(s->revision(), shown); // the field shows 85 again
    }
    EXPECT_EQ(s->working(), stored.block);
    EXPECT_FALSE(s->modified());
    // Enter over the percentage shown again changes nothing either.
    s->percentageEntered(1, Cur("85"));
    EXPECT_EQ(s->tab(), 1);
    EXPECT_FALSE(s->modified());
}

TEST(SelvanPaste, SpreadsheetCellsStoreAsTypingThemWouldWithOneReport)
{
    const int ctrlV = vkey::KeyV, ctrlC = vkey::KeyC;
    SelvanFolder typedFolder, pastedFolder;
    auto typed = derivingSession(typedFolder);
    auto pasted = derivingSession(pastedFolder);
    typeCell(*typed, 2, 1, "1234");
    typeCell(*typed, 2, 3, "2500");

    pasted->grid().SelectCell(2, 1);
    pastedFolder.ui.clipboard.push_back("\"1,234\"\n\n２５００円\n15A\n");
    EXPECT_TRUE(pasted->gridSheetKey(ctrlV, true));
    EXPECT_EQ(pastedFolder.ui.notices.back(), "2 件を貼り付けました。\n数値でない 1 件は元のままです: 「15A」|確認");
    EXPECT_TRUE(pasted->modified());
    for (int r = 0; r < 14; ++r)
        EXPECT_EQ(pasted->working()[r].values, typed->working()[r].values) << r;
    EXPECT_EQ(pasted->cell(2, 3), "2,500");

    pasted->grid().SelectRange(2, 1, 2, 3);
    EXPECT_TRUE(pasted->gridSheetKey(ctrlC, true));
    EXPECT_EQ(pastedFolder.ui.clipboard.back(), "1234\n0\n2500\n");
}

TEST(SelvanPaste, SizesGoIntoTheSizeColumnAsTyped)
{
    SelvanFolder f;
    auto s = f.start();
    s->grid().SelectCell(1, 1);
    f.ui.clipboard.push_back("15A\t1,000\n20A\n");
    s->pasteFromSheet();
    EXPECT_EQ(f.ui.notices.back(), "3 件を貼り付けました。|確認");
    EXPECT_EQ(row(*s, 1).caption.text(), "15A");
    EXPECT_EQ(row(*s, 2).caption.text(), "20A");
    EXPECT_EQ(s->cell(1, 2), "20A");
    EXPECT_EQ(row(*s, 1).values[materialSlot(Basis::List)].toString(), "1000");
    EXPECT_TRUE(s->modified());
    s->undo();
    EXPECT_EQ(row(*s, 1).caption.text(), "");
    EXPECT_EQ(s->cell(1, 1), "");
}
