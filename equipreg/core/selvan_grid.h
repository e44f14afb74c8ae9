#pragma once
// The grid StrColGrid1 of the equipment registration program without its window: its set-up
// (4 columns, 15 rows, widths, font, colours and cell looks) and what each key does in it.
#include "strcolgrid_model.h"

#include <array>

namespace velmo {

constexpr int EquipmentGridCols = 4;  // No, size text, material price, labour rate or installation cost
constexpr int EquipmentGridRows = 15; // the heading row and the 14 size rows
constexpr std::array<int, EquipmentGridCols> EquipmentGridWidths = {20, 287, 81, 80};
constexpr int EquipmentGridRowHeight = 17;
constexpr TColor EquipmentFixedColor{10652814};
constexpr const char *EquipmentGridFont = "ＭＳ ゴシック";
constexpr int EquipmentGridFontPixels = 15;

// Sizes, fixed cells, font, colours, options, and the cell looks: headings white, centred and
// one pixel thick; column 0 centred in white; column 1 left; columns 2 and 3 right.
void setupEquipmentGrid(StrColGridModel &grid);

// What a key pressed in the grid does, decided before the grid handles it.
struct GridKeyPlan {
    bool closeEditor = false; // first close the in-cell editor (its text goes into the cell)
    bool finish = false;      // then SelvanSession::finishGridKey: beep, commit, Enter's move
    bool beep = false;        // the key is refused: numbers are typed on the keypad
    bool commit = false;      // the cell's typed text is stored
    bool consumed = false;    // the grid and its editor do nothing more with the key
};

// col: the left column of the grid's selection; editorOpen: the in-cell editor is open.
// Column 1 (size text): Enter moves down; every other key is the grid's.
// Columns 2 and 3 (prices):
//   - the arrow keys with the editor closed move the selection;
//   - Backspace, the digits, the point and the minus sign are typed into the editor;
//   - Enter, Up and Down close the editor and commit (Up and Down then move);
//   - Tab, Shift, Ctrl, Alt and the lock keys are left alone (focus moves, shortcuts, the
//     keypad's Num Lock);
//   - every other key closes the editor, beeps and commits.
GridKeyPlan planGridKey(int vk, int col, bool editorOpen);

} // namespace velmo
