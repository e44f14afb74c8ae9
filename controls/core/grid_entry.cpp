#include "grid_entry.h"

#include "errors.h"
#include "strcolgrid_model.h"
#include "support.h"
#include "user_interface.h"

namespace velmo {

KeyFilter commonKeyFilter(int vk, bool editorShown)
{
    if (vkey::onlyChangesLaterKeys(vk))
        return {};
    if (vkey::isArrow(vk) && !editorShown)
        return {};
    if (typesIntoNumber(vk))
        return {};
    KeyFilter f;
    f.store = true;
    f.closeEditor = true;
    f.beep = vk != vkey::Return && vk != vkey::Up && vk != vkey::Down;
    return f;
}

Currency entryValue(const std::string &text, bool removeCommas)
{
    const std::string t = removeCommas ? CleanNumberText(text) : text;
    const size_t first = t.find_first_not_of(' ');
    if (first == std::string::npos)
        return t.empty() ? Currency() : Currency::parse(t); // only spaces: not a number
    return Currency::parse(t.substr(first, t.find_last_not_of(' ') - first + 1));
}

GridEntry::GridEntry(StrColGridModel &grid, UserInterface &ui, GridCellMap &cells, int lastRow, bool fillOnShift)
    : grid_(grid), ui_(ui), cells_(cells), lastRow_(lastRow), fillOnShift_(fillOnShift)
{
}

bool GridEntry::key(int vk, bool shift)
{
    if (vk == 0)
        return false;
    const CellRange sel = grid_.Selection();
    if (sel.top >= 1 && sel.top <= lastRow_ && cells_.entryCell(sel.left, sel.top).kind == EntryCell::Kind::Text) {
        if (vk != vkey::Return)
            return false;
        cells_.markModified();
        grid_.SelectCell(sel.left, rowAfterEnter(sel.top, lastRow_));
        return true;
    }
    const KeyFilter f = commonKeyFilter(vk, grid_.EditorMode());
    if (!f.store)
        return false; // on to the grid or the cell editor
    grid_.CloseEditor();
    if (f.beep)
        ui_.beep();
    commit(vk == vkey::Return, shift && fillOnShift_);
    return true;
}

void GridEntry::commit(bool enter, bool fill)
{
    const CellRange sel = grid_.Selection();
    commitCell(sel.left, sel.top, enter, fill);
}

void GridEntry::commitCell(int c, int r, bool enter, bool fill)
{
    const EntryCell cell = r >= 1 && r <= lastRow_ ? cells_.entryCell(c, r) : EntryCell::ignored();
    switch (cell.kind) {
    case EntryCell::Kind::Ignored:
        cells_.markModified();
        return;
    case EntryCell::Kind::Refused:
        ui_.notice(cell.refusal, "確認");
        cells_.showAgain();
        return;
    case EntryCell::Kind::Untouched:
    case EntryCell::Kind::Text:
        if (enter)
            grid_.SelectCell(c, rowAfterEnter(r, lastRow_));
        return;
    case EntryCell::Kind::Number:
        break;
    }
    const std::string text = grid_.Cells(c, r);
    Currency value;
    try {
        value = entryValue(text, cell.grouped);
    } catch (const ConversionError &) {
        // Nothing is stored or marked modified: the grid shows the stored values again, so the
        // next key meets what the data hold.
        cells_.showAgain();
        throw;
    }
    cells_.markModified();
    cells_.storeEntry(c, r, fill ? lastRow_ : r, value, text);
    if (enter)
        grid_.SelectCell(c, rowAfterEnter(r, lastRow_));
}

} // namespace velmo
