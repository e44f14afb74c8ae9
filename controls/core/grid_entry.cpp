#include "controls/core/control_texts.h"
#include "controls/core/grid_entry.h"

#include "controls/core/errors.h"
#include "controls/core/strcolgrid_model.h"
#include "controls/core/support.h"
#include "controls/core/user_interface.h"

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

GridCoord GridCellMap::entryPosition(const StrColGridModel &grid) const
{
    const CellRange sel = grid.Selection();
    return {sel.left, sel.top};
}

GridEntry::GridEntry(StrColGridModel &grid, UserInterface &ui, GridCellMap &cells, int lastRow, bool fillOnShift)
    : grid_(grid), ui_(ui), cells_(cells), lastRow_(lastRow), fillOnShift_(fillOnShift)
{
}

GridCoord GridEntry::keyPosition() const
{
    if (grid_.EditorMode())
        return {grid_.editCol(), grid_.editRow()};
    return cells_.entryPosition(grid_);
}

void GridEntry::moveOn(int c, int r)
{
    const int next = rowAfterEnter(r, lastRow_);
    grid_.SelectCell(c, next); // a fixed column cannot be selected; the entry moves all the same
    cells_.movedTo(c, next);
}

bool GridEntry::key(int vk, bool shift)
{
    if (vk == 0)
        return false;
    const GridCoord at = keyPosition();
    if (cells_.entryCell(at.col, at.row).kind == EntryCell::Kind::Text) {
        if (vk != vkey::Return)
            return false;
        cells_.markModified();
        moveOn(at.col, at.row);
        return true;
    }
    const KeyFilter f = commonKeyFilter(vk, grid_.EditorMode());
    if (!f.store)
        return false; // on to the grid or the cell editor
    grid_.CloseEditor();
    if (f.beep)
        ui_.beep();
    commitCell(at.col, at.row, vk == vkey::Return, shift && fillOnShift_);
    return true;
}

void GridEntry::commit(bool enter, bool fill)
{
    const GridCoord at = cells_.entryPosition(grid_);
    commitCell(at.col, at.row, enter, fill);
}

void GridEntry::commitCell(int c, int r, bool enter, bool fill)
{
    const EntryCell cell = cells_.entryCell(c, r);
    const int last = fill ? lastRow_ : r;
    switch (cell.kind) {
    case EntryCell::Kind::Ignored:
        cells_.markModified();
        return;
    case EntryCell::Kind::Refused:
        // The refused text gives way to the stored values before the box says why, so that the
        // screen never shows a value the data do not hold.
        if (cell.endsEntry)
            cells_.settle(c, r, last);
        else
            cells_.showAgain();
        if (heldNotice_)
            *heldNotice_ = cell.refusal;
        else
            ui_.notice(cell.refusal, controltext::NoticeButton);
        if (cell.endsEntry && enter)
            moveOn(c, r);
        return;
    case EntryCell::Kind::Untouched:
    case EntryCell::Kind::Text:
        cells_.settle(c, r, last);
        if (enter)
            moveOn(c, r);
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
    // Stored first, then marked: a store that fails leaves the data and the mark as they were.
    cells_.storeEntry(c, r, last, value, text);
    cells_.markModified();
    if (enter)
        moveOn(c, r);
}

PasteReport GridEntry::paste(const SheetRows &rows, GridCoord at)
{
    PasteReport report;
    for (size_t dr = 0; dr < rows.size(); ++dr) {
        for (size_t dc = 0; dc < rows[dr].size(); ++dc) {
            const std::string &text = rows[dr][dc];
            if (text.find_first_not_of(" \t") == std::string::npos)
                continue; // an empty cell leaves the cell as it is
            const int c = at.col + static_cast<int>(dc), r = at.row + static_cast<int>(dr);
            const bool inGrid = c < grid_.ColCount() && r >= 1 && r <= lastRow_;
            const EntryCell cell = inGrid ? cells_.pasteCell(c, r) : EntryCell::ignored();
            if (cell.kind == EntryCell::Kind::Text) {
                cells_.storePastedText(c, r, text);
                ++report.pasted;
                continue;
            }
            if (cell.kind != EntryCell::Kind::Number) {
                ++report.notEditable;
                continue;
            }
            const auto number = sheetNumberText(text);
            if (!number) {
                report.notNumbers.push_back(text);
                continue;
            }
            Currency value;
            try {
                value = entryValue(*number, false);
            } catch (const ConversionError &) {
                report.notNumbers.push_back(text); // more digits than a price holds
                continue;
            }
            cells_.storeEntry(c, r, r, value, *number);
            ++report.pasted;
        }
    }
    if (report.pasted > 0)
        cells_.markModified();
    return report;
}

PasteReport GridEntry::pasteClipboard()
{
    const SheetRows rows = parseSheetText(ui_.clipboardText());
    if (rows.empty())
        return {};
    const CellRange sel = grid_.Selection();
    const PasteReport r = paste(rows, {sel.left, sel.top});
    ui_.notice(controltext::pasteReportText(r.pasted, r.notEditable, r.notNumbers), controltext::NoticeButton);
    return r;
}

void GridEntry::copySelection()
{
    ui_.setClipboardText(sheetText(gridCells(grid_, grid_.Selection())));
}

bool GridEntry::sheetKey(int vk, bool ctrl)
{
    const SheetKey key = sheetKeyOf(vk, ctrl, grid_.EditorMode());
    if (key == SheetKey::None)
        return false;
    if (key == SheetKey::Paste)
        pasteClipboard();
    else
        copySelection();
    return true;
}

} // namespace velmo
