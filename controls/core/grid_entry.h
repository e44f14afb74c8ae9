#pragma once
// The grid-entry rules the price grids of the three programs share: which key builds the number
// in a cell's editor, which key ends the entry and stores it, and which one is not part of
// typing a number (it ends the entry too, with a beep). A program adds only what is its own:
// which cell stores into which slot, and which cell refuses with which words.
#include "currency.h"
#include "virtual_keys.h"

#include <string>

namespace velmo {

// The keys that build a number in a cell's editor: Backspace, the digits, the point and the
// minus sign, of the numeric keypad and of the main keyboard alike, so that a price can be
// typed on a keyboard without a keypad.
constexpr bool typesIntoNumber(int vk)
{
    return vk == vkey::Back || vkey::isNumpadDigit(vk) || vk == vkey::Decimal || vk == vkey::Subtract ||
           (vk >= vkey::Key0 && vk <= vkey::Key9) || vk == vkey::OemPeriod || vk == vkey::OemMinus;
}

// What the key filter of a price grid makes of a key.
struct KeyFilter {
    bool store = false;       // go on: store the text of the cell being edited
    bool closeEditor = false; // close the in-cell editor first (its text goes into the cell)
    bool beep = false;        // a key that does not belong to typing a number
};

// The key filter of every price grid:
// - a modifier or lock key alone, an arrow key with the editor closed, and a key that builds
//   the number (typesIntoNumber) go on to the grid and its editor;
// - Enter, Up and Down close the editor and store;
// - any other key closes the editor, beeps and stores.
KeyFilter commonKeyFilter(int vk, bool editorShown);

// The row Enter moves the entry to: the next data row, and from the last one (lastRow) back to
// row 1; a row outside 1 … lastRow goes to row 1 too.
constexpr int rowAfterEnter(int row, int lastRow) { return row >= 1 && row < lastRow ? row + 1 : 1; }

// The value a typed cell text stores: an empty text is 0; with removeCommas every "," goes
// first (the grouping of money texts); spaces around the number are allowed. Any other text
// raises ConversionError naming it, before anything is stored.
Currency entryValue(const std::string &text, bool removeCommas);

} // namespace velmo
