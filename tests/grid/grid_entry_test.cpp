#include "base/errors.h"
#include "tests/common/fake_ui.h"
#include "grid/core/grid_entry.h"
#include "grid/core/strcolgrid_model.h"
#include "base/support.h"

#include <gtest/gtest.h>

#include <map>

using namespace velmo;

TEST(GridEntry, WhatAKeyIsToAnEntry)
{
    const ShiftState none{}, shift{true, false, false}, ctrl{false, true, false};
    // The digits, point and minus of both keyboards type, open or not (a closed editor opens).
    for (int vk : {vkey::Back, vkey::Numpad0, vkey::Numpad9, vkey::Decimal, vkey::Subtract, vkey::Key0, vkey::Key9,
                   vkey::OemPeriod, vkey::OemMinus})
        for (bool open : {false, true})
            EXPECT_EQ(entryKeyOf(vk, none, open, EntryText::Number), EntryKey::Types) << vk << " " << open;
    // The comma types where the cell takes money, and is refused in a factor.
    EXPECT_EQ(entryKeyOf(vkey::OemComma, none, true, EntryText::Money), EntryKey::Types);
    EXPECT_EQ(entryKeyOf(vkey::OemComma, none, true, EntryText::Number), EntryKey::Refused);
    // Letters, the space, signs and Shift+digits (which type signs) are refused, not stored.
    for (int vk : {vkey::KeyA, vkey::KeyZ, vkey::Space, vkey::OemPlus, vkey::Add, vkey::Multiply, vkey::OemSlash})
        for (bool open : {false, true})
            EXPECT_EQ(entryKeyOf(vk, none, open, EntryText::Money), EntryKey::Refused) << vk;
    EXPECT_EQ(entryKeyOf(vkey::Key0 + 1, shift, true, EntryText::Money), EntryKey::Refused);
    EXPECT_EQ(entryKeyOf(vkey::Numpad0 + 1, shift, true, EntryText::Money), EntryKey::Types);
    // A text cell takes every character.
    EXPECT_EQ(entryKeyOf(vkey::KeyA, none, true, EntryText::Free), EntryKey::Types);
    // Enter commits, open or not; Tab, the arrows and the page keys only an open editor.
    EXPECT_EQ(entryKeyOf(vkey::Return, none, false, EntryText::Number), EntryKey::Commits);
    EXPECT_EQ(entryKeyOf(vkey::Return, shift, true, EntryText::Number), EntryKey::Commits);
    for (int vk : {vkey::Tab, vkey::Left, vkey::Right, vkey::Up, vkey::Down, vkey::PageDown}) {
        EXPECT_EQ(entryKeyOf(vk, none, true, EntryText::Number), EntryKey::Commits) << vk;
        EXPECT_EQ(entryKeyOf(vk, none, false, EntryText::Number), EntryKey::Window) << vk;
    }
    // Esc and Ctrl+Z cancel an open edit and are the window's without one.
    EXPECT_EQ(entryKeyOf(vkey::Escape, none, true, EntryText::Number), EntryKey::Cancels);
    EXPECT_EQ(entryKeyOf(vkey::KeyZ, ctrl, true, EntryText::Number), EntryKey::Cancels);
    EXPECT_EQ(entryKeyOf(vkey::Escape, none, false, EntryText::Number), EntryKey::Window);
    EXPECT_EQ(entryKeyOf(vkey::KeyZ, ctrl, false, EntryText::Number), EntryKey::Window);
    EXPECT_TRUE(editorKeepsKey(vkey::Escape, none));
    EXPECT_TRUE(editorKeepsKey(vkey::KeyZ, ctrl));
    EXPECT_FALSE(editorKeepsKey(vkey::KeyS, ctrl));
    // Window shortcuts and navigation never reach the entry, whatever the cell.
    for (int vk : {vkey::KeyS, vkey::KeyP, vkey::KeyY})
        for (bool open : {false, true})
            EXPECT_EQ(entryKeyOf(vk, ctrl, open, EntryText::Number), EntryKey::Window) << vk;
    for (int vk : {vkey::F2, vkey::F2 + 1, vkey::Home, vkey::End, vkey::Insert})
        EXPECT_EQ(entryKeyOf(vk, none, false, EntryText::Number), EntryKey::Window) << vk;
    // Ctrl+C and Ctrl+V: the spreadsheet cells without an editor, the editor's own within it.
    EXPECT_EQ(entryKeyOf(vkey::KeyV, ctrl, false, EntryText::Number), EntryKey::Sheet);
    EXPECT_EQ(entryKeyOf(vkey::KeyV, ctrl, true, EntryText::Number), EntryKey::Types);
    // Delete edits an open text and is refused without one; modifier and lock keys do nothing.
    EXPECT_EQ(entryKeyOf(vkey::Delete, none, true, EntryText::Number), EntryKey::Types);
    EXPECT_EQ(entryKeyOf(vkey::Delete, none, false, EntryText::Number), EntryKey::Refused);
    for (int vk : {vkey::Shift, vkey::Control, vkey::Menu, vkey::Capital, vkey::NumLock})
        EXPECT_EQ(entryKeyOf(vk, none, true, EntryText::Number), EntryKey::None) << vk;
}

TEST(GridEntry, EnterWrapsFromTheLastRowAndTextsBecomeValuesOrFailWhole)
{
    EXPECT_EQ(rowAfterEnter(1, 14), 2);
    EXPECT_EQ(rowAfterEnter(13, 14), 14);
    EXPECT_EQ(rowAfterEnter(14, 14), 1);
    EXPECT_EQ(rowAfterEnter(0, 14), 1); // the heading row

    EXPECT_EQ(entryValue("", false), Currency());
    EXPECT_EQ(entryValue("", true), Currency());
    EXPECT_EQ(entryValue(" 12.5 ", false).toString(), "12.5");
    EXPECT_EQ(entryValue("1,234", true).toString(), "1234");
    EXPECT_EQ(entryValue("-0.05", false).toString(), "-0.05");
    EXPECT_THROW(entryValue("1,234", false), ConversionError); // the rate grid keeps the text as it is
    for (const char *bad : {"0..5", "a", "1 2", "  ", "--1"})
        EXPECT_THROW(entryValue(bad, true), ConversionError) << bad;
}

namespace {

// A grid of 3 columns and 5 data rows: column 1 takes money texts, column 2 is refused, column 0
// takes nothing. The stored values and what was shown again are recorded.
struct Prices : GridCellMap, StrColGridObserver {
    StrColGridModel grid;
    velmo::test::FakeUi ui;
    GridEntry entry{grid, ui, *this, 5, true};
    std::map<int, Currency> stored; // by row, column 1
    int shownAgain = 0;
    size_t noticesWhenShown = 0;
    bool modified = false;

    Prices()
    {
        grid.SetColCount(3);
        grid.SetRowCount(6);
        grid.SetFixedCols(0);
        grid.SetOptions(grid.Options() | goEditing);
        grid.setObserver(this);
        show();
    }
    void show()
    {
        for (int r = 1; r <= 5; ++r)
            grid.SetCells(1, r, stored.count(r) ? FormatMoney(stored[r]) : "0");
    }
    EntryCell entryCell(int col, int) const override
    {
        return col == 1 ? EntryCell::number(true) : col == 2 ? EntryCell::refused("入力できません。") : EntryCell::ignored();
    }
    void storeEntry(int, int from, int to, Currency v) override
    {
        for (int r = from; r <= to; ++r)
            stored[r] = v;
        show();
    }
    void showAgain() override
    {
        ++shownAgain;
        noticesWhenShown = ui.notices.size();
        show();
    }
    void markModified() override { modified = true; }
    void keyDown(int &vk, ShiftState shift, bool &consumed) override { consumed = entry.key(vk, shift); }

    // Selects (col, row), opens the editor and types `text`, then presses vk.
    void type(int col, int row, const std::string &text, int vk = vkey::Return, ShiftState shift = {})
    {
        grid.SelectCell(col, row);
        grid.ShowEditor();
        grid.editorTextChanged(text);
        grid.keyDown(vk, shift, false, true);
    }
};

} // namespace

TEST(GridEntry, EnterStoresAndWrapsShiftFillsBadTextsAndRefusalsStoreNothing)
{
    Prices p;
    p.type(1, 2, "1,500");
    EXPECT_EQ(p.stored[2], Currency::fromInt(1500));
    EXPECT_EQ(p.grid.Cells(1, 2), "1,500");
    EXPECT_EQ(p.grid.Row(), 3);
    EXPECT_TRUE(p.modified);
    p.type(1, 5, "7");
    EXPECT_EQ(p.grid.Row(), 1); // from the last row back to the first
    p.type(1, 3, "9", vkey::Return, ShiftState{true, false, false});
    for (int r = 3; r <= 5; ++r)
        EXPECT_EQ(p.stored[r], Currency::fromInt(9)) << r;
    EXPECT_EQ(p.stored[2], Currency::fromInt(1500));
    EXPECT_EQ(p.ui.beeps, 0);

    // A text that is no number: nothing stored or marked, no move, and the editor stays open
    // with the text; Esc then shows the stored value again.
    p.modified = false;
    EXPECT_THROW(p.type(1, 2, "1..5"), ConversionError);
    EXPECT_TRUE(p.grid.EditorMode());
    EXPECT_EQ(p.grid.Cells(1, 2), "1..5");
    EXPECT_FALSE(p.modified);
    EXPECT_EQ(p.grid.Row(), 2);
    p.grid.keyDown(vkey::Escape, {}, false, true);
    EXPECT_FALSE(p.grid.EditorMode());
    EXPECT_EQ(p.grid.Cells(1, 2), "1,500");
    EXPECT_EQ(p.shownAgain, 1);
    EXPECT_NO_THROW(p.grid.keyDown(vkey::Return, {}, false, false));
    EXPECT_EQ(p.stored[2], Currency::fromInt(1500));

    // A key that is no part of a number beeps and leaves the editor open with its text.
    p.type(1, 4, "12", vkey::KeyA);
    EXPECT_EQ(p.ui.beeps, 1);
    EXPECT_TRUE(p.grid.EditorMode());
    EXPECT_EQ(p.grid.Cells(1, 4), "12");
    EXPECT_EQ(p.stored[4], Currency::fromInt(9)); // the fill's value until the edit is committed
    p.grid.keyDown(vkey::Return, {}, false, true);
    EXPECT_EQ(p.stored[4], Currency::fromInt(12));
    // A refused cell says why.
    p.type(2, 4, "3");
    EXPECT_EQ(p.ui.notices.back(), "入力できません。|確認");
    EXPECT_EQ(p.shownAgain, 2);
    EXPECT_EQ(p.noticesWhenShown, p.ui.notices.size() - 1); // the stored value came back before the box
    // Column 0 takes nothing but counts as an edit.
    p.modified = false;
    p.grid.SelectCell(0, 1);
    p.entry.commit(true, false);
    EXPECT_EQ(p.grid.Row(), 1);
    EXPECT_TRUE(p.modified);
}

namespace {

// A program that keeps an entry position of its own and derived figures on screen: column 1
// takes numbers, column 2 refuses but ends the entry, column 0 holds what was shown. Whatever
// the engine asks of it is recorded.
struct Positioned : GridCellMap {
    StrColGridModel grid;
    velmo::test::FakeUi ui;
    GridCoord position{1, 1};
    std::vector<std::string> calls;
    bool failStore = false, modified = false;

    Positioned()
    {
        grid.SetColCount(3);
        grid.SetRowCount(6);
        grid.SetFixedCols(1);
        grid.SetFixedRows(1);
        grid.SetOptions(grid.Options() | goEditing);
    }
    GridCoord entryPosition(const StrColGridModel &) const override { return position; }
    EntryCell entryCell(int col, int row) const override
    {
        if (row < 1)
            return EntryCell::untouched();
        return col == 1   ? EntryCell::number(false)
               : col == 2 ? EntryCell::refusedEndingEntry("この列は編集できません。")
                          : EntryCell::untouched();
    }
    void storeEntry(int col, int from, int to, Currency v) override
    {
        if (failStore)
            throw RangeError("too large");
        calls.push_back("store " + std::to_string(col) + ":" + std::to_string(from) + "-" + std::to_string(to) + " " +
                        v.toString());
    }
    void showAgain() override { calls.push_back("showAgain"); }
    void markModified() override { modified = true; }
    void settle(int col, int from, int to) override
    {
        calls.push_back("settle " + std::to_string(col) + ":" + std::to_string(from) + "-" + std::to_string(to));
        noticesWhenSettled = ui.notices.size();
    }
    size_t noticesWhenSettled = 99;
    void movedTo(int col, int row) override
    {
        calls.push_back("moved " + std::to_string(col) + ":" + std::to_string(row));
        position.row = row;
    }
};

} // namespace

TEST(GridEntry, AProgramsOwnPositionRefusalsThatEndTheEntryAndHeldNotices)
{
    Positioned p;
    GridEntry entry(p.grid, p.ui, p, 5, true);
    p.grid.SelectCell(2, 4); // the selection is elsewhere: the program's position counts
    p.grid.SetCells(1, 1, "2.5");
    EXPECT_TRUE(entry.key(vkey::Return, ShiftState{true, false, false}));
    EXPECT_EQ(p.calls, (std::vector<std::string>{"store 1:1-5 2.5", "moved 1:2"}));
    EXPECT_TRUE(p.modified);

    // A refusal that ends the entry: said, the rows settled, Enter moves on; nothing is marked.
    p.calls.clear();
    p.modified = false;
    p.position = {2, 3};
    EXPECT_TRUE(entry.key(vkey::Return, ShiftState{}));
    EXPECT_EQ(p.ui.notices.back(), "この列は編集できません。|確認");
    EXPECT_EQ(p.calls, (std::vector<std::string>{"settle 2:3-3", "moved 2:4"}));
    EXPECT_EQ(p.noticesWhenSettled, 0u); // the stored values were shown before the box
    EXPECT_FALSE(p.modified);

    // The heading row: nothing stored, Enter goes to row 1 (column 0 cannot be selected).
    p.calls.clear();
    p.position = {0, 0};
    entry.commit(true, false);
    EXPECT_EQ(p.calls, (std::vector<std::string>{"settle 0:0-0", "moved 0:1"}));

    // The open editor's cell counts over the program's position.
    p.calls.clear();
    p.position = {2, 5};
    p.grid.SelectCell(1, 2);
    p.grid.ShowEditor();
    p.grid.editorTextChanged("4");
    EXPECT_FALSE(entry.key(vkey::Up, ShiftState{})); // committed; the grid moves
    EXPECT_EQ(p.calls, (std::vector<std::string>{"store 1:2-2 4"}));

    // A refusal in the middle of a focus change is held, not shown.
    std::string held;
    entry.holdNoticesIn(held);
    const size_t notices = p.ui.notices.size();
    entry.commitCell(2, 1, false, false);
    EXPECT_EQ(held, "この列は編集できません。");
    EXPECT_EQ(p.ui.notices.size(), notices);
}

TEST(GridEntry, AStoreThatFailsLeavesTheDataUnmarked)
{
    Positioned p;
    GridEntry entry(p.grid, p.ui, p, 5, false);
    p.failStore = true;
    p.grid.SetCells(1, 1, "9");
    EXPECT_THROW(entry.commit(true, false), RangeError);
    EXPECT_FALSE(p.modified);
    EXPECT_EQ(p.calls, (std::vector<std::string>{"showAgain"})); // the stored values, and no move
}

TEST(GridEntry, APasteStoresFiguresCountsWhatItCannotAndNamesNonNumbersOnce)
{
    Prices p;
    p.stored[4] = Currency::fromInt(99);
    p.show();
    // Column 0 takes nothing, column 2 is refused, row 6 and column 3 are outside the grid.
    const SheetRows rows = parseSheetText("x\t1,200\t5\n\t￥１２３\t\n\t\t\n\tabc\t\n\t12,34\t\n\t7円\t8\tz\n");
    const PasteReport r = p.entry.paste(rows, {0, 1});
    EXPECT_EQ(r.pasted, 2);      // 1,200  ￥１２３
    EXPECT_EQ(r.notEditable, 2); // x, 5
    EXPECT_EQ(r.outside, 3);     // 7円, 8, z of row 6, below the last data row
    EXPECT_EQ(r.notNumbers, (std::vector<std::string>{"abc", "12,34"}));
    EXPECT_EQ(p.stored[1], Currency::fromInt(1200));
    EXPECT_EQ(p.stored[2], Currency::fromInt(123));
    EXPECT_EQ(p.stored.count(3), 0u);             // an empty cell is skipped, not zeroed
    EXPECT_EQ(p.stored[4], Currency::fromInt(99)); // a text that is no figure leaves the cell
    EXPECT_EQ(p.stored.count(6), 0u);
    EXPECT_EQ(p.grid.Cells(1, 2), "123");
    EXPECT_TRUE(p.modified);
    EXPECT_TRUE(p.ui.notices.empty()); // no box per cell
    EXPECT_EQ(sharedtext::pasteReportText(r),
              "2 件を貼り付けました。2 件は編集できないセルのため貼り付けていません。"
              "3 件は表の範囲の外のため貼り付けていません。\n"
              "数値でない 2 件は元のままです: 「abc」 「12,34」");

    Prices q;
    const PasteReport none = q.entry.paste(parseSheetText("abc\n"), {1, 1});
    EXPECT_EQ(none.pasted, 0);
    EXPECT_FALSE(q.modified); // nothing stored, nothing marked
}
