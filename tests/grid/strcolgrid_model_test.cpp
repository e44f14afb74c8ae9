// String column grid without a window: moving by key and mouse, range selection, scrolling with
// fixed cells, the in-cell editor and the select-cell decision.
#include "base/errors.h"
#include "grid/core/strcolgrid_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace velmo;

namespace {

constexpr ShiftState NoShift{};
constexpr ShiftState Shift{true, false, false};
constexpr ShiftState Ctrl{false, true, false};

// Stands in for the window: records what the model reports, lets a test play the key handler
// that programs connect to keyDown, and types into the editor the way the line edit does.
struct Window : StrColGridObserver {
    StrColGridModel &grid;
    std::vector<std::string> log;
    std::function<void(int &vk, ShiftState, bool &consumed)> onKey;

    explicit Window(StrColGridModel &g) : grid(g) { grid.setObserver(this); }
    ~Window() override { grid.setObserver(nullptr); }

    void cellFocused(int c, int r) override { log.push_back("focused " + std::to_string(c) + "," + std::to_string(r)); }
    void editorTextStored(int c, int r) override
    {
        log.push_back("stored " + std::to_string(c) + "," + std::to_string(r) + " " + grid.Cells(c, r));
    }
    std::vector<bool> closes; // each close of the editor: whether it kept its text
    void editorClosed(bool kept) override { closes.push_back(kept); }
    int cuts = 0; // texts the model cut to their cell's limit
    void editorTextCut() override { ++cuts; }
    void keyDown(int &vk, ShiftState shift, bool &consumed) override
    {
        if (onKey)
            onKey(vk, shift, consumed);
    }

    // A key with the focus where the window has it: in the editor while it is open. ch: the
    // character the key types, 0 for none.
    GridKeyResult key(int vk, ShiftState shift = NoShift, char ch = 0)
    {
        const bool fromEditor = grid.EditorMode();
        const bool typing = ch != 0 || vk == vkey::Back;
        const GridKeyResult r = grid.keyDown(vk, shift, typing, fromEditor);
        // The key that opened the editor types over its text, which opens selected; the editor
        // adds what the grid leaves to it.
        if (grid.EditorMode() && ch) {
            if (r.typeIntoEditor)
                grid.editorTextChanged(std::string(1, ch));
            else if (fromEditor && !r.handled)
                grid.editorTextChanged(grid.editorText() + ch);
        }
        return r;
    }
    GridKeyResult digit(char d) { return key(vkey::Numpad0 + (d - '0'), NoShift, d); }
};

// A grid laid out as the programs lay theirs out: 8 columns x 15 rows, one fixed row and column,
// range selection and editing, cells 80 x 20 (81 x 21 with their grid lines).
struct Grid : ::testing::Test {
    StrColGridModel grid;
    Window window{grid};
    Grid()
    {
        grid.SetColCount(8);
        grid.SetRowCount(15);
        grid.SetDefaultColWidth(80);
        grid.SetDefaultRowHeight(20);
        grid.SetOptions(DefaultGridOptions | goEditing);
    }
    CellRange sel() const { return grid.Selection(); }
    GridCoord at() const { return {grid.Col(), grid.Row()}; }
};

} // namespace

// --- moving by key -------------------------------------------------------------------------------

TEST_F(Grid, ArrowsHomeEndAndPagesStayInTheNormalCells)
{
    EXPECT_EQ(at(), (GridCoord{1, 1}));
    window.key(vkey::Up);
    window.key(vkey::Left);
    EXPECT_EQ(at(), (GridCoord{1, 1})); // the fixed cells are never current
    window.key(vkey::Right);
    window.key(vkey::Down);
    EXPECT_EQ(at(), (GridCoord{2, 2}));
    EXPECT_EQ(window.log, (std::vector<std::string>{"focused 2,1", "focused 2,2"}));
    window.key(vkey::End);
    EXPECT_EQ(at(), (GridCoord{7, 2}));
    window.key(vkey::Right);
    EXPECT_EQ(at(), (GridCoord{7, 2}));
    window.key(vkey::Home);
    EXPECT_EQ(at(), (GridCoord{1, 2}));
    window.key(vkey::End, Ctrl);
    EXPECT_EQ(at(), (GridCoord{7, 14}));
    window.key(vkey::Home, Ctrl);
    EXPECT_EQ(at(), (GridCoord{1, 1}));

    // A page is the scrollable rows wholly in view: (200 - 21) / 21 = 8.
    grid.setClientSize(700, 200);
    EXPECT_EQ(grid.VisibleRowCount(), 8);
    window.key(vkey::PageDown);
    EXPECT_EQ(grid.Row(), 9);
    window.key(vkey::PageDown);
    EXPECT_EQ(grid.Row(), 14);
    window.key(vkey::PageUp);
    EXPECT_EQ(grid.Row(), 6);
}

TEST_F(Grid, ShiftF10OpensTheMenuAtTheCurrentCellWithOrWithoutAnEditor)
{
    const int f10 = vkey::F1 + 9;
    grid.SelectCell(3, 4);
    EXPECT_TRUE(window.key(f10, Shift).openMenu);
    EXPECT_EQ(at(), (GridCoord{3, 4}));
    EXPECT_FALSE(window.key(f10).openMenu);
    EXPECT_FALSE(window.key(f10, ShiftState{true, true, false}).openMenu);
    window.digit('7');
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_TRUE(window.key(f10, Shift).openMenu);
    EXPECT_TRUE(grid.EditorMode()); // the open edit stays for the menu's command to commit
    EXPECT_EQ(grid.editorText(), "7");
}

TEST_F(Grid, TabMovesAlongTheRowsOnlyWithGoTabs)
{
    grid.SelectCell(7, 3);
    EXPECT_EQ(window.key(vkey::Tab).focus, FocusMove::Next);
    EXPECT_EQ(window.key(vkey::Tab, Shift).focus, FocusMove::Previous);
    EXPECT_EQ(at(), (GridCoord{7, 3}));

    grid.SetOptions(grid.Options() | goTabs);
    EXPECT_EQ(window.key(vkey::Tab).focus, FocusMove::None);
    EXPECT_EQ(at(), (GridCoord{1, 4})); // on to the start of the next row
    window.key(vkey::Tab, Shift);
    EXPECT_EQ(at(), (GridCoord{7, 3})); // back to the end of the row before
    grid.SelectCell(7, 14);
    window.key(vkey::Tab);
    EXPECT_EQ(at(), (GridCoord{7, 14})); // the last cell stays
    EXPECT_EQ(sel(), (CellRange{7, 14, 7, 14}));
}

TEST_F(Grid, ShiftExtendsTheSelectionFromTheCurrentCell)
{
    grid.SelectCell(2, 2);
    window.key(vkey::Right, Shift);
    window.key(vkey::Down, Shift);
    window.key(vkey::Down, Shift);
    EXPECT_EQ(at(), (GridCoord{2, 2})); // the current cell stays where the range began
    EXPECT_EQ(sel(), (CellRange{2, 2, 3, 4}));
    window.key(vkey::Left, Shift);
    window.key(vkey::Left, Shift);
    EXPECT_EQ(sel(), (CellRange{1, 2, 2, 4}));
    EXPECT_TRUE(window.log.empty()); // extending focuses no new cell
    window.key(vkey::Down); // a plain move collapses it
    EXPECT_EQ(sel(), (CellRange{2, 3, 2, 3}));

    // Without goRangeSelect, Shift moves the current cell.
    grid.SetOptions(goEditing);
    window.key(vkey::Right, Shift);
    EXPECT_EQ(at(), (GridCoord{3, 3}));
    EXPECT_EQ(sel(), (CellRange{3, 3, 3, 3}));

    // With goRowSelect the whole row is selected and Left/Right do not move.
    grid.SetOptions(DefaultGridOptions | goRowSelect);
    grid.SelectCell(4, 5);
    window.key(vkey::Right);
    EXPECT_EQ(sel(), (CellRange{1, 5, 7, 5}));
    window.key(vkey::Down, Shift);
    EXPECT_EQ(sel(), (CellRange{1, 5, 7, 6}));
}

TEST_F(Grid, SelectRangeAndSizeChangesKeepTheCurrentCellInTheGrid)
{
    ASSERT_TRUE(grid.SelectRange(3, 4, 5, 6));
    EXPECT_EQ(at(), (GridCoord{3, 4}));
    EXPECT_EQ(sel(), (CellRange{3, 4, 5, 6}));
    EXPECT_TRUE(window.log.empty()); // moves made in code are no clicks
    EXPECT_THROW(grid.SelectRange(3, 4, 8, 6), RangeError);
    EXPECT_THROW(grid.SelectCell(1, 15), RangeError);
    EXPECT_FALSE(grid.SelectCell(0, 3)); // fixed

    grid.SetColCount(4);
    grid.SetRowCount(3);
    EXPECT_EQ(at(), (GridCoord{3, 2}));
    EXPECT_EQ(sel(), (CellRange{3, 2, 3, 2}));
    grid.SetCells(3, 2, "x");
    grid.SetColCount(1); // a single column cannot keep a fixed one
    EXPECT_EQ(grid.FixedCols(), 0);
    EXPECT_EQ(grid.Col(), 0);
    grid.SetColCount(4);
    EXPECT_EQ(grid.Cells(3, 2), ""); // the column was dropped with its text
}

// --- scrolling -----------------------------------------------------------------------------------

TEST_F(Grid, ScrollingKeepsTheFixedCellsAndBringsTheCurrentCellIntoView)
{
    // Room for the fixed column and two 81-pixel columns after it; the fixed row and eight rows.
    grid.setClientSize(81 * 3 + 40, 21 * 9 + 5);
    EXPECT_EQ(grid.maxLeftCol(), 6);  // columns 6 and 7 fill the room after the fixed one
    EXPECT_EQ(grid.maxTopRow(), 7);   // rows 7 .. 14
    ASSERT_TRUE(grid.SelectCell(7, 14));
    EXPECT_EQ(grid.LeftCol(), 6);
    EXPECT_EQ(grid.TopRow(), 7);
    EXPECT_TRUE(grid.isColScrolledOut(5) && !grid.isColScrolledOut(0) && !grid.isColScrolledOut(6));
    // The fixed cells are still at the top left; the current cell is wholly in view.
    EXPECT_EQ(grid.CellRect(0, 0), (PixelRect{0, 0, 80, 20}));
    EXPECT_EQ(grid.CellRect(7, 14), (PixelRect{162, 168, 80, 20}));
    EXPECT_EQ(grid.MouseCoord(10, 10), (GridCoord{0, 0}));
    EXPECT_EQ(grid.MouseCoord(90, 30), (GridCoord{6, 7}));
    EXPECT_EQ(grid.MouseCoord(81 * 3 + 1, 30), (GridCoord{-1, 7})); // right of the last column
    EXPECT_EQ(grid.CellRect(3, 3).width, 0);                         // scrolled out

    window.key(vkey::Home);
    EXPECT_EQ(grid.LeftCol(), 1);
    window.key(vkey::Up);
    EXPECT_EQ(grid.TopRow(), 7); // row 13 is still in view
    grid.SetTopRow(0);
    EXPECT_EQ(grid.TopRow(), 1); // never into the fixed rows
    grid.SetTopRow(100);
    EXPECT_EQ(grid.TopRow(), 7); // nor past the last page

    // A wider room needs no scrolling: everything comes back into view.
    grid.setClientSize(700, 420);
    EXPECT_EQ(grid.LeftCol(), 1);
    EXPECT_EQ(grid.TopRow(), 1);
}

TEST_F(Grid, NegativeSizesAreKeptAndShowAsEmptySections)
{
    grid.SetColWidths(2, -5);
    EXPECT_EQ(grid.ColWidths(2), -5);
    EXPECT_EQ(grid.sectionWidth(2), 0);
    EXPECT_EQ(grid.sectionWidth(3), 81);
    EXPECT_EQ(grid.MouseCoord(81 * 2 + 5, 5).col, 3); // column 2 takes no room
    EXPECT_EQ(grid.contentWidth(), 81 * 7);
}

// --- mouse ---------------------------------------------------------------------------------------

TEST_F(Grid, ClicksSelectNormalCellsOnlyAndShiftOrDragExtends)
{
    grid.mouseDown(81 * 4 + 10, 21 * 5 + 10, NoShift);
    grid.mouseUp();
    EXPECT_EQ(at(), (GridCoord{4, 5}));
    grid.mouseDown(10, 21 * 7 + 3, NoShift); // size column
    grid.mouseDown(81 * 6 + 3, 10, NoShift); // heading row
    EXPECT_EQ(at(), (GridCoord{4, 5}));
    grid.mouseDown(81 * 6 + 3, 21 * 7 + 3, Shift);
    EXPECT_EQ(sel(), (CellRange{4, 5, 6, 7}));
    EXPECT_EQ(window.log, (std::vector<std::string>{"focused 4,5", "focused 4,5"}));

    // Dragging moves the far corner; beyond the cells it stops at the first or last one.
    grid.mouseDown(81 * 2 + 3, 21 * 2 + 3, NoShift);
    grid.mouseMove(81 * 3 + 3, 21 * 4 + 3, true);
    EXPECT_EQ(sel(), (CellRange{2, 2, 3, 4}));
    grid.mouseMove(5000, 5, true);
    EXPECT_EQ(sel(), (CellRange{2, 1, 7, 2}));
    grid.mouseUp();
    grid.mouseMove(81 * 5, 21 * 5, true);
    EXPECT_EQ(sel(), (CellRange{2, 1, 7, 2}));

    // A double click on the current cell opens the editor.
    grid.doubleClick(81 * 3 + 3, 21 * 3 + 3);
    EXPECT_FALSE(grid.EditorMode());
    grid.doubleClick(81 * 2 + 3, 21 * 2 + 3);
    EXPECT_TRUE(grid.EditorMode());
}

TEST_F(Grid, ColumnEdgesInTheFixedRowSizeColumnsWithGoColSizing)
{
    EXPECT_EQ(grid.mouseMove(81 * 2 - 1, 10, false), GridCursor::Arrow);
    grid.SetOptions(grid.Options() | goColSizing | goRowSizing);
    EXPECT_EQ(grid.mouseMove(81 * 2 - 1, 10, false), GridCursor::SizeColumn);
    EXPECT_EQ(grid.mouseMove(81 * 2 - 1, 30, false), GridCursor::Arrow); // not below the fixed row
    EXPECT_EQ(grid.mouseMove(20, 21 * 3 - 1, false), GridCursor::SizeRow);
    grid.mouseDown(81 * 2 - 1, 10, NoShift);
    EXPECT_EQ(grid.mouseMove(81 + 50, 10, true), GridCursor::SizeColumn);
    grid.mouseUp();
    EXPECT_EQ(grid.ColWidths(1), 50);
    EXPECT_EQ(at(), (GridCoord{1, 1})); // sizing selects nothing
}

// --- editor --------------------------------------------------------------------------------------

TEST_F(Grid, TypingOpensTheEditorAndEveryChangeIsStored)
{
    grid.SelectCell(2, 3);
    EXPECT_TRUE(window.digit('1').typeIntoEditor);
    EXPECT_TRUE(grid.EditorMode());
    window.digit('2');
    window.key(vkey::Decimal, NoShift, '.');
    window.digit('5');
    EXPECT_EQ(grid.Cells(2, 3), "12.5");
    EXPECT_EQ(window.log.back(), "stored 2,3 12.5");
    EXPECT_FALSE(window.key(vkey::Left).handled); // the editor moves its caret
    EXPECT_EQ(at(), (GridCoord{2, 3}));
    window.key(vkey::Return);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(window.log.back(), "stored 2,3 12.5");
    // With the editor closed Enter and Escape go on to the window (a dialog's buttons).
    EXPECT_FALSE(window.key(vkey::Return).handled);
    EXPECT_FALSE(window.key(vkey::Escape).handled);
    // F2 opens it; Up closes it and moves.
    window.key(vkey::F2);
    EXPECT_TRUE(grid.EditorMode());
    window.key(vkey::Up);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(at(), (GridCoord{2, 2}));
    // Keys that type nothing open nothing.
    window.key(vkey::Delete);
    EXPECT_FALSE(grid.EditorMode());
}

TEST_F(Grid, AnEditorNeverHoldsMoreBytesThanItsCellTakes)
{
    // Column 2 takes 6 bytes (a size), the others any text.
    grid.TextByteLimit = [](int col, int) { return col == 2 ? size_t{6} : size_t{0}; };
    grid.SelectCell(2, 3);
    for (const char d : std::string("1234567"))
        window.digit(d);
    EXPECT_EQ(grid.editorText(), "123456");
    EXPECT_EQ(grid.Cells(2, 3), "123456");
    EXPECT_EQ(window.cuts, 1);
    // A pasted text is cut between characters: "配管" is four bytes.
    grid.editorTextChanged("15A配管");
    EXPECT_EQ(grid.Cells(2, 3), "15A配");
    EXPECT_EQ(window.cuts, 2);
    window.key(vkey::Return);
    EXPECT_EQ(grid.Cells(2, 3), "15A配");

    grid.SelectCell(3, 3);
    window.key(vkey::F2);
    grid.editorTextChanged(std::string(100, 'x'));
    EXPECT_EQ(grid.Cells(3, 3).size(), 100u);
    EXPECT_EQ(window.cuts, 2);
}

TEST_F(Grid, EscapeRestoresTheText)
{
    grid.SetCells(1, 1, "100");
    grid.SelectCell(1, 1);
    window.digit('9');
    EXPECT_EQ(grid.Cells(1, 1), "9"); // stored as typed
    window.key(vkey::Escape);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(1, 1), "100");
    EXPECT_EQ(window.closes, std::vector<bool>{false});
    // A click on another cell closes the editor and keeps what it holds.
    window.digit('7');
    grid.SelectCell(2, 2);
    EXPECT_EQ(grid.Cells(1, 1), "7");
    EXPECT_EQ(window.closes, (std::vector<bool>{false, true}));
}

TEST_F(Grid, SettingTheEditedCellUpdatesTheEditorText)
{
    grid.SelectCell(3, 3);
    window.digit('8');
    grid.SetCells(3, 3, "");
    EXPECT_EQ(grid.editorText(), "");
    grid.CloseEditor();
    EXPECT_EQ(grid.Cells(3, 3), "");
}

TEST_F(Grid, HandlerClosingTheEditorStopsTheKey)
{
    // "Any other key closes the editor and beeps": the key must not reopen the editor.
    window.onKey = [&](int &vk, ShiftState, bool &) {
        if (grid.EditorMode() && vk >= vkey::Key0 && vk <= vkey::Key9)
            grid.CloseEditor();
    };
    grid.SelectCell(1, 1);
    window.digit('4');
    window.key(vkey::Key0 + 3, NoShift, '3'); // main keyboard digit
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(1, 1), "4");
    // A move after the edit was closed still moves.
    window.digit('6');
    window.key(vkey::Down);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Cells(1, 1), "6");
}

TEST_F(Grid, EnterStoresTheTextBeforeTheHandlerGoesOn)
{
    // The programs' handlers: Enter with the editor open closes it, then read the cell where
    // the editor last stored its text.
    window.onKey = [&](int &vk, ShiftState, bool &) {
        if (vk != vkey::Return)
            return;
        if (grid.EditorMode())
            grid.CloseEditor();
        window.log.push_back("enter " + grid.Cells(4, 6));
    };
    grid.SelectCell(4, 6);
    grid.SetCells(4, 6, "9");
    window.key(vkey::F2);
    grid.editorTextChanged(""); // Backspace in the editor
    window.digit('7');
    window.key(vkey::Return);
    ASSERT_GE(window.log.size(), 3u);
    EXPECT_EQ(window.log[window.log.size() - 1], "enter 7");
    EXPECT_EQ(window.log[window.log.size() - 2], "stored 4,6 7");
    EXPECT_EQ(window.log[window.log.size() - 4], "stored 4,6 ");
    EXPECT_FALSE(grid.EditorMode());
}

TEST_F(Grid, ConsumedKeyIsNotHandledByTheGrid)
{
    grid.SelectCell(1, 1);
    window.onKey = [](int &vk, ShiftState, bool &consumed) {
        if (vk == vkey::Down)
            consumed = true;
        if (vk == vkey::KeyA)
            vk = 0;
        if (vk == vkey::KeyZ)
            vk = vkey::Right; // a handler may turn one key into another
    };
    window.key(vkey::Down);
    EXPECT_EQ(grid.Row(), 1);
    window.key(vkey::KeyA, NoShift, 'a');
    EXPECT_FALSE(grid.EditorMode());
    window.key(vkey::Right);
    EXPECT_EQ(grid.Col(), 2);
    window.key(vkey::Right, Shift); // range selection keeps the current cell
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(sel(), (CellRange{2, 1, 3, 1}));
    window.key(vkey::KeyZ, NoShift, 'z');
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_FALSE(grid.EditorMode());
}

TEST_F(Grid, CellWithoutEditingIsReadOnlyWhileSelected)
{
    TSCGCellParam &p = grid.CellParams().Add();
    p.SetCol(2);
    p.SetRow(2);
    p.SetOptions(DefaultGridOptions); // no goEditing
    p.SetOptionsEnabled(true);
    grid.SetCells(2, 2, "固定");
    ASSERT_TRUE(grid.SelectCell(2, 2));
    EXPECT_FALSE(grid.OptionsInForce() & goEditing);
    window.key(vkey::F2);
    window.digit('5');
    EXPECT_FALSE(grid.ShowEditor());
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(2, 2), "固定");
    window.key(vkey::Right); // the neighbour has the base options again
    EXPECT_TRUE(grid.OptionsInForce() & goEditing);
    window.digit('5');
    EXPECT_TRUE(grid.EditorMode());
    // A row-selecting grid edits nothing.
    grid.CloseEditor();
    grid.SetOptions(DefaultGridOptions | goEditing | goRowSelect);
    EXPECT_FALSE(grid.ShowEditor());
}

TEST_F(Grid, EditorTakesTheCellsFontAndInputMode)
{
    grid.SetImeMode(imClose);
    TSCGCellFont &heading = grid.Fonts().Add();
    grid.SetCellAlignment(3, 3, taCenter); // a parameter with the default input mode
    grid.FindCellParam(3, 3, false)->SetFontName(heading.Name());
    grid.SelectCell(3, 3);
    EXPECT_EQ(grid.editorFont(), &heading);
    EXPECT_EQ(grid.editorImeMode(true), imDontCare); // made with the parameter's own mode
    EXPECT_EQ(grid.editorImeMode(false), imClose);   // selected: the grid's unless enabled
    grid.FindCellParam(3, 3, false)->SetImeModeEnabled(true);
    EXPECT_EQ(grid.editorImeMode(false), imDontCare);
    grid.SelectCell(4, 4);
    EXPECT_EQ(grid.editorFont(), nullptr);
    EXPECT_EQ(grid.editorImeMode(true), imClose);
}

// --- the select-cell decision ----------------------------------------------------------------------

TEST_F(Grid, SelectionEventsRunInOrderAndARaiseRefuses)
{
    std::vector<std::string> log;
    TSCGCellParam &a = grid.CellParams().Add();
    a.SetCol(1);
    a.SetRow(1);
    TSCGCellParam &b = grid.CellParams().Add();
    b.SetCol(2);
    b.SetRow(2);
    a.OnExitCell = [&](TSCGCellParam &, StrColGridModel &, int oc, int orow, int nc, int nr) {
        log.push_back("exitCell " + std::to_string(oc) + "," + std::to_string(orow) + ">" + std::to_string(nc) + "," +
                      std::to_string(nr));
    };
    a.OnExitCol = [&](TSCGCellParam &, StrColGridModel &, int, int) { log.push_back("exitCol"); };
    a.OnExitRow = [&](TSCGCellParam &, StrColGridModel &, int, int) { log.push_back("exitRow"); };
    b.OnEnterCell = [&](TSCGCellParam &, StrColGridModel &, int, int, int, int) { log.push_back("enterCell"); };
    b.OnEnterCol = [&](TSCGCellParam &, StrColGridModel &, int, int) { log.push_back("enterCol"); };
    b.OnEnterRow = [&](TSCGCellParam &, StrColGridModel &, int, int) { log.push_back("enterRow"); };
    grid.OnCellChanged = [&](StrColGridModel &, int, int, int, int) { log.push_back("cellChanged"); };
    grid.OnColChanged = [&](StrColGridModel &, int, int) { log.push_back("colChanged"); };
    grid.OnRowChanged = [&](StrColGridModel &, int, int) { log.push_back("rowChanged"); };
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_TRUE(grid.SelectCell(2, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"exitCell 1,1>2,2", "exitCol", "exitRow", "enterCell", "enterCol",
                                             "enterRow", "cellChanged", "colChanged", "rowChanged"}));

    // Same row: no row events; the same cell again: none at all.
    log.clear();
    EXPECT_TRUE(grid.SelectCell(3, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"cellChanged", "colChanged"}));
    log.clear();
    EXPECT_TRUE(grid.SelectCell(3, 2));
    EXPECT_TRUE(log.empty());

    // An event that raises refuses the move and keeps the previous cell.
    grid.OnRowChanged = [&](StrColGridModel &, int, int newRow) {
        if (newRow == 5)
            throw RangeError("拒否");
    };
    EXPECT_FALSE(grid.SelectCell(3, 5));
    EXPECT_EQ(grid.Row(), 2);
    window.key(vkey::Down);
    window.key(vkey::Down);
    window.key(vkey::Down); // to row 5: refused
    EXPECT_EQ(grid.Row(), 4);
    // The exit events of the next move name the cell that really was selected.
    log.clear();
    a.OnExitCell = nullptr;
    grid.OnCellChanged = [&](StrColGridModel &, int oc, int orow, int, int) {
        log.push_back("cellChanged from " + std::to_string(oc) + "," + std::to_string(orow));
    };
    EXPECT_TRUE(grid.SelectCell(1, 1));
    EXPECT_EQ(log.front(), "cellChanged from 3,4");
}

TEST_F(Grid, RefusedCellKeepsThePreviousCellsOptions)
{
    TSCGCellParam &readOnly = grid.CellParams().Add();
    readOnly.SetCol(2);
    readOnly.SetRow(2);
    readOnly.SetOptions(DefaultGridOptions);
    readOnly.SetOptionsEnabled(true);
    readOnly.OnEnterCell = [](TSCGCellParam &, StrColGridModel &, int, int, int, int) { throw VelmoError("拒否"); };
    EXPECT_FALSE(grid.SelectCell(2, 2));
    EXPECT_EQ(at(), (GridCoord{1, 1}));
    EXPECT_TRUE(grid.OptionsInForce() & goEditing); // still the options of the cell selected
    EXPECT_TRUE(grid.ShowEditor());

    // OnSelectCell refuses without events; its own failure is not swallowed.
    grid.CloseEditor();
    std::vector<GridCoord> asked;
    grid.OnSelectCell = [&](StrColGridModel &, int c, int r, bool &can) {
        asked.push_back({c, r});
        can = c != 5;
        if (c == 6)
            throw ConversionError("壊れた");
    };
    EXPECT_FALSE(grid.SelectCell(5, 5));
    EXPECT_TRUE(grid.SelectCell(4, 4));
    EXPECT_THROW(grid.SelectCell(6, 6), ConversionError);
    EXPECT_EQ(at(), (GridCoord{4, 4}));
    EXPECT_EQ(asked.size(), 3u);
}

// --- what is painted again -------------------------------------------------------------------------

namespace {

// Records which cells the model says must be painted again.
struct Repaints : StrColGridObserver {
    std::vector<std::string> log;
    void looksChanged() override { log.push_back("all"); }
    void cellsLookChanged(const CellRange &r) override
    {
        log.push_back(std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
                      std::to_string(r.bottom));
    }
};

} // namespace

TEST(GridRepaints, AMoveRepaintsTheOldAndNewSelectionAndAParameterItsOwnCells)
{
    StrColGridModel grid;
    grid.SetColCount(8);
    grid.SetRowCount(15);
    grid.SetOptions(DefaultGridOptions | goEditing);
    grid.SelectCell(4, 1);
    Repaints seen;
    grid.setObserver(&seen);

    grid.SelectCell(4, 2);
    EXPECT_EQ(seen.log, (std::vector<std::string>{"4,1-4,1", "4,2-4,2"}));
    seen.log.clear();
    grid.keyDown(vkey::Down, ShiftState{true, false, false}, false, false); // range to row 3
    EXPECT_EQ(seen.log, (std::vector<std::string>{"4,2-4,2", "4,2-4,3"}));
    seen.log.clear();

    grid.SetCellColor(0, 5, TColor::fromRgb(255, 0, 0));         // a new parameter: every cell may look different
    EXPECT_EQ(seen.log.front(), "all");
    seen.log.clear();
    grid.SetCellColor(0, 5, TColor::fromRgb(0, 0, 255));        // its colour again: only its cell
    EXPECT_EQ(seen.log, (std::vector<std::string>{"0,5-0,5", "0,5-0,5"}));
    seen.log.clear();
    TSCGCellParam &range = grid.CellParams().Add();
    range.SetRangeEnabled(false);
    range.SetColMax(20);
    range.SetRowMax(3);
    range.SetRangeEnabled(true);
    seen.log.clear();
    range.SetFontColor(TColor::fromRgb(0, 128, 0)); // clipped to the grid
    EXPECT_EQ(seen.log, (std::vector<std::string>{"0,0-7,3"}));
    seen.log.clear();

    // A ctTop caption shows text of the current row: a move repaints everything.
    range.SetCaptionType(ctTop);
    seen.log.clear();
    grid.SelectCell(2, 2);
    EXPECT_EQ(seen.log, (std::vector<std::string>{"all"}));
    seen.log.clear();
    range.SetCaptionType(ctCellText);

    // A cell with options of its own puts other grid lines in force: everything again.
    TSCGCellParam &own = *grid.FindCellParam(6, 6, true);
    own.SetOptions(DefaultGridOptions & ~goVertLine);
    own.SetOptionsEnabled(true);
    seen.log.clear();
    grid.SelectCell(6, 6);
    EXPECT_EQ(seen.log, (std::vector<std::string>{"all"}));
    grid.setObserver(nullptr);
}
