#pragma once
// The grid-entry rules the price grids of the three programs share: which key builds the number
// in a cell's editor, which key ends the entry and stores it, and which one is not part of
// typing a number (it ends the entry too, with a beep). A program adds only what is its own:
// which cell stores into which slot, and which cell refuses with which words.
#include "base/currency.h"
#include "base/sheet_text.h"
#include "grid/core/strcolgrid_types.h"
#include "grid/core/virtual_keys.h"

#include <string>
#include <vector>

namespace velmo {

class StrColGridModel;
class UserInterface;

// The cells of `range` of a grid as rows; a figure shown with "," grouping is given as a plain
// number, so that a spreadsheet reads it as a number.
SheetRows gridCells(const StrColGridModel &grid, const CellRange &range);

// What a key is to an entry in a price grid (docs/editing.md). The one place that decides it:
// the engine below carries it out, and the grid asks it which keys an open editor keeps from
// the window's shortcuts.
enum class EntryKey {
    None,    // a modifier or lock key alone, or a character of the input method: nothing
    Types,   // goes into the editor (a closed editor opens on the keys that start a number)
    Refused, // cannot be part of the cell's value: the beep, and an open editor keeps its text
    Commits, // ends an open entry and stores it: Enter (also without an editor), Tab, arrows
    Cancels, // Esc or Ctrl+Z with an open editor: the stored value shows again
    Sheet,   // Ctrl+C or Ctrl+V with the editor closed: the spreadsheet cells
    Window,  // not the entry's: a window shortcut, a function key, a move without an editor
};

// What the cell at the entry position takes, as far as the key decision needs it.
enum class EntryText {
    Number,  // a number without grouping (a factor, a rate)
    Money,   // a number that may carry the "," grouping of money texts
    Free,    // any text (a size): the editor takes every character
};

EntryKey entryKeyOf(int vk, ShiftState mods, bool editorOpen, EntryText takes);

// True when an open editor keeps the key from the window's shortcuts (Esc, Ctrl+Z): the key
// then reaches the entry instead of closing the window or undoing a step.
bool editorKeepsKey(int vk, ShiftState mods);

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
    // Stores v into column col of rows fromRow … toRow (more than one for the fill), then shows
    // the grid as the data now are.
    virtual void storeEntry(int col, int fromRow, int toRow, Currency v) = 0;
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
    int notEditable = 0; // cells that take no figure: refused, fixed or text
    int outside = 0;     // cells beyond the grid's columns or data rows
    std::vector<std::string> notNumbers; // cell texts that are no figure; their cells stay as they were
    std::vector<std::string> outOfRange; // figures the cell cannot hold; their cells stay as they were
};

// The entry engine of a price grid whose model the session owns: it carries out the editing
// contract (docs/editing.md) for a program's cell map. A key travels down here before the grid
// handles it (entryKeyOf says what it is):
// - a key that types goes on to the editor; one that cannot be part of the cell's value is
//   refused with the beep and an open editor keeps its text;
// - Esc (or Ctrl+Z) in an open editor shows the stored value again and does nothing more;
// - Enter, Tab and the arrows commit an open editor: a text that is no number raises
//   ConversionError and the editor stays open with it; a value out of range, or one whose
//   derived prices leave Currency's range, raises RangeError naming the cell once the stored
//   values show again; a refused cell shows the stored values and says why; a number is stored
//   (with Shift+Enter and the fill on, into every row from there to the last);
// - Enter without an editor commits the entry position as shown, and Enter moves one row
//   down, from the last row back to row 1;
// - everything else (a window shortcut, a move without an editor) is not the entry's.
class GridEntry {
public:
    // lastRow: the last data row (rows 1 … lastRow); fillOnShift: Shift+Enter fills the rows
    // below.
    GridEntry(StrColGridModel &grid, UserInterface &ui, GridCellMap &cells, int lastRow, bool fillOnShift);

    // What a key is here, for the cell it would act on.
    EntryKey role(int vk, ShiftState mods) const;
    // A key pressed in the grid or in its editor. True when the entry took the key (the grid
    // and its editor do nothing more with it); false passes it on: to the editor to type, to
    // the grid to move (after Tab or an arrow committed the open editor), to the window.
    bool key(int vk, ShiftState mods);
    // Before every command: commits an open editor, as Tab would, so that the command meets
    // what the screen shows. A text that is no number raises ConversionError and the editor
    // stays open with it. True when an editor was open and is now committed.
    bool commitOpenEdit();
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
    // cell on, then one notice with the report; a clipboard without cells says so.
    PasteReport pasteClipboard();
    // Ctrl+C: the selected cells onto the clipboard as spreadsheet text, each figure as the
    // number it stands for (no grouping), so that a spreadsheet reads the stored value.
    void copySelection();
    // Ctrl+V and Ctrl+C (sheetKeyOf): the two above. True when the key was one of them.
    bool sheetKey(int vk, bool ctrl);

    // Refusals go into `slot` instead of a notice box, for an entry committed in the middle of
    // a click or a focus change, where no box may open.
    void holdNoticesIn(std::string &slot) { heldNotice_ = &slot; }
    void showNotices() { heldNotice_ = nullptr; } // notice boxes again

private:
    // The cell a key acts on: the open editor's, else the program's entry position.
    GridCoord keyPosition() const;
    EntryText takes(GridCoord at) const;
    void moveOn(int col, int row);
    void refuse(const EntryCell &cell);
    // Commits the open editor: checks its text first, so that a text that is no number keeps
    // the editor open.
    void commitOpen(bool enter, bool fill);
    // "15A の 定価": the cell by its row and column headings, for a message.
    std::string cellName(int col, int row) const;

    StrColGridModel &grid_;
    UserInterface &ui_;
    GridCellMap &cells_;
    int lastRow_;
    bool fillOnShift_;
    std::string *heldNotice_ = nullptr;
};

} // namespace velmo
