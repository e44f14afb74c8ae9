#pragma once
// The grid-entry rules the price grids of the three programs share: which key builds the number
// in a cell's editor, which key ends the entry and stores it, and which one is not part of
// typing a number (it ends the entry too, with a beep). A program adds only what is its own:
// which cell stores into which slot, and which cell refuses with which words.
#include "controls/core/currency.h"
#include "controls/core/sheet_text.h"
#include "controls/core/strcolgrid_types.h"
#include "controls/core/virtual_keys.h"

#include <string>
#include <vector>

namespace velmo {

class StrColGridModel;
class UserInterface;

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

// What a cell of a price grid is to the entry engine.
struct EntryCell {
    enum class Kind {
        Number,    // takes a number
        Refused,   // says `refusal` and shows the stored values again; with endsEntry the
                   // entry still ends as one that stored nothing (settled, Enter moves on)
        Ignored,   // takes nothing, but the key counts as an edit (the modified mark)
        Untouched, // holds what was shown, nobody typed into it: nothing to store; Enter moves on
        Text,      // takes any text, stored as it is typed: only Enter is the engine's (it
                   // counts as an edit and moves on); every other key is the grid's
    };
    Kind kind = Kind::Ignored;
    const char *refusal = "";
    bool grouped = false;   // Number: the text may carry the "," grouping of money texts
    bool endsEntry = false; // Refused: the rows are settled and Enter moves on all the same

    static EntryCell number(bool grouped) { return {Kind::Number, "", grouped}; }
    static EntryCell refused(const char *words) { return {Kind::Refused, words}; }
    static EntryCell refusedEndingEntry(const char *words) { return {Kind::Refused, words, false, true}; }
    static EntryCell ignored() { return {}; }
    static EntryCell untouched() { return {Kind::Untouched}; }
    static EntryCell text() { return {Kind::Text}; }
};

// A program's side of one price grid: which cell takes what, and where a value goes.
class GridCellMap {
public:
    virtual ~GridCellMap() = default;
    // What cell (col, row) takes; rows outside the data rows are asked too (a program whose
    // entry position can be the heading row decides what a key does there).
    virtual EntryCell entryCell(int col, int row) const = 0;
    // What cell (col, row) takes from a paste: what it takes when a number is typed into it.
    // A program whose cells take a number only once typed into says so here.
    virtual EntryCell pasteCell(int col, int row) const { return entryCell(col, row); }
    // The cell a key commits while no editor is open: the top-left cell of the selection,
    // unless the program keeps an entry position of its own.
    virtual GridCoord entryPosition(const StrColGridModel &grid) const;
    // Stores v, typed as `text`, into column col of rows fromRow … toRow (more than one for the
    // fill), then shows the grid as the data now are.
    virtual void storeEntry(int col, int fromRow, int toRow, Currency v, const std::string &text) = 0;
    // Stores a pasted text into a cell whose pasteCell is a text cell (a size), as typing it
    // would, then shows it as stored.
    virtual void storePastedText(int /*col*/, int /*row*/, const std::string & /*text*/) {}
    // Shows the stored values again, in place of a refused or unreadable text.
    virtual void showAgain() = 0;
    // Marks the data modified.
    virtual void markModified() = 0;
    // An entry ended on rows fromRow … toRow of column col without storing anything (a cell
    // left as it was shown, or a refusal that ends the entry): a program that keeps derived
    // figures on screen works them out again here.
    virtual void settle(int /*col*/, int /*fromRow*/, int /*toRow*/) {}
    // Enter moved the entry to (col, row) and the grid selected it where it could.
    virtual void movedTo(int /*col*/, int /*row*/) {}
};

// Ctrl+V and Ctrl+C pressed in a price grid while no editor is open (in an open editor they
// are the editor's own).
enum class SheetKey { None, Paste, Copy };
constexpr SheetKey sheetKeyOf(int vk, bool ctrl, bool editorOpen)
{
    if (!ctrl || editorOpen)
        return SheetKey::None;
    return vk == vkey::KeyV ? SheetKey::Paste : vk == vkey::KeyC ? SheetKey::Copy : SheetKey::None;
}

// What a paste of spreadsheet cells did.
struct PasteReport {
    int pasted = 0;      // cells stored
    int notEditable = 0; // cells that take no figure: refused, fixed, text, or outside the grid
    std::vector<std::string> notNumbers; // cell texts that are no figure; their cells stay as they were
};

// The entry engine of a price grid whose model the session owns. A key travels down here
// before the grid handles it; a key that ends the entry closes the editor (its text goes into
// the cell), beeps when it is not part of typing a number, and commits the editor's cell, or
// without an editor the cell map's entry position: a refused cell shows the stored values
// again and says why, a text that is no number stores nothing and raises ConversionError
// after the stored values are shown again, a number is stored (with Shift and the fill on,
// into every row from there to the last), and Enter moves one row down, from the last row back
// to row 1. Whether the grid then handles the key as well is the caller's choice (key()'s
// result says whether the entry ended).
class GridEntry {
public:
    // lastRow: the last data row (rows 1 … lastRow); fillOnShift: Shift+Enter and the other
    // storing keys with Shift fill the rows below.
    GridEntry(StrColGridModel &grid, UserInterface &ui, GridCellMap &cells, int lastRow, bool fillOnShift);

    // A key pressed in the grid or in its editor; 0 (a character of the input method) does
    // nothing. True when the key ended an entry (the grid's editor should not type it).
    bool key(int vk, bool shift);
    // Commits the cell map's entry position; enter: then one row down.
    void commit(bool enter, bool fill);
    // Commits the cell (col, row), wherever the selection is now (a click moved it on).
    void commitCell(int col, int row, bool enter, bool fill);
    // Stores spreadsheet cells into the grid from `at` on, to the right and down: each figure by
    // the rules of a typed entry of its cell (a refused cell takes nothing, a derived figure is
    // worked out by the program as after typing); an empty cell is skipped, not zeroed. Nothing
    // is asked or shown per cell: the report says what was done, and the data are marked
    // modified once when anything was stored.
    PasteReport paste(const SheetRows &rows, GridCoord at);
    // Ctrl+V, "貼り付け（表計算から）": the spreadsheet cells on the clipboard from the selected
    // cell on, then one notice with the report (nothing when the clipboard holds no text).
    PasteReport pasteClipboard();
    // Ctrl+C: the selected cells onto the clipboard as spreadsheet text.
    void copySelection();
    // Ctrl+V and Ctrl+C (sheetKeyOf): the two above. True when the key was one of them.
    bool sheetKey(int vk, bool ctrl);

    // Refusals go into `slot` instead of a notice box, for an entry committed in the middle of
    // a click or a focus change, where no box may open.
    void holdNoticesIn(std::string &slot) { heldNotice_ = &slot; }

private:
    // The cell a key acts on: the open editor's, else the program's entry position.
    GridCoord keyPosition() const;
    void moveOn(int col, int row);

    StrColGridModel &grid_;
    UserInterface &ui_;
    GridCellMap &cells_;
    int lastRow_;
    bool fillOnShift_;
    std::string *heldNotice_ = nullptr;
};

} // namespace velmo
