#include "base/shared_texts.h"
#include "grid/core/grid_texts.h"
#include "grid/core/grid_entry.h"

#include "base/errors.h"
#include "grid/core/strcolgrid_model.h"
#include "base/support.h"
#include "base/user_interface.h"

namespace velmo {

namespace {

// A key that types a character of its own (a letter, a digit, a sign, the space).
constexpr bool isCharacterKey(int vk)
{
    return vk == vkey::Space || (vk >= vkey::Key0 && vk <= vkey::Key9) || (vk >= vkey::KeyA && vk <= vkey::KeyA + 25) ||
           (vk >= vkey::Numpad0 && vk <= vkey::Divide) || (vk >= vkey::OemSemicolon && vk <= vkey::OemTilde) ||
           (vk >= vkey::OemOpenBracket && vk <= vkey::OemQuote) || vk == 226; // 226: the key left of Z
}

// The keys that build a number: the digits, the point and the minus of the keypad, and of the
// main keyboard without Shift (with Shift they type signs).
constexpr bool buildsNumber(int vk, bool shift)
{
    if (vkey::isNumpadDigit(vk) || vk == vkey::Decimal || vk == vkey::Subtract)
        return true;
    return !shift && ((vk >= vkey::Key0 && vk <= vkey::Key9) || vk == vkey::OemPeriod || vk == vkey::OemMinus);
}

} // namespace

EntryKey entryKeyOf(int vk, ShiftState mods, bool editorOpen, EntryText takes)
{
    if (vk == 0 || vkey::onlyChangesLaterKeys(vk))
        return EntryKey::None;
    if (mods.ctrl || mods.alt) {
        if (editorOpen && editorKeepsKey(vk, mods))
            return EntryKey::Cancels;
        const bool plainCtrl = mods.ctrl && !mods.alt && !mods.shift;
        if (plainCtrl && (vk == vkey::KeyC || vk == vkey::KeyV))
            return editorOpen ? EntryKey::Types : EntryKey::Sheet; // an open editor's own clipboard
        if (plainCtrl && editorOpen && (vk == vkey::KeyX || vk == vkey::KeyA))
            return EntryKey::Types;
        return EntryKey::Window;
    }
    switch (vk) {
    case vkey::Escape:
        return editorOpen ? EntryKey::Cancels : EntryKey::Window;
    case vkey::Return:
        return EntryKey::Commits;
    case vkey::Left:
    case vkey::Right:
        if (takes == EntryText::Free && editorOpen)
            return EntryKey::Types; // the caret moves in a text
        return editorOpen ? EntryKey::Commits : EntryKey::Window;
    case vkey::Tab:
    case vkey::Up:
    case vkey::Down:
    case vkey::PageUp:
    case vkey::PageDown:
        return editorOpen ? EntryKey::Commits : EntryKey::Window;
    case vkey::Home:
    case vkey::End:
        return editorOpen ? EntryKey::Types : EntryKey::Window;
    case vkey::Back:
        return EntryKey::Types;
    case vkey::Delete:
        return editorOpen ? EntryKey::Types : EntryKey::Refused;
    default:
        break;
    }
    if (!isCharacterKey(vk))
        return EntryKey::Window; // function keys, Insert, the input method's keys …
    if (takes == EntryText::Free || buildsNumber(vk, mods.shift))
        return EntryKey::Types;
    if (vk == vkey::OemComma && !mods.shift && takes == EntryText::Money)
        return EntryKey::Types;
    return EntryKey::Refused;
}

bool editorKeepsKey(int vk, ShiftState mods)
{
    if (vk == vkey::Escape)
        return !mods.ctrl && !mods.alt && !mods.shift;
    return vk == vkey::KeyZ && mods.ctrl && !mods.alt && !mods.shift;
}

Currency entryValue(const std::string &text, bool removeCommas)
{
    const std::string t = removeCommas ? CleanNumberText(text) : text;
    const size_t first = t.find_first_not_of(' ');
    if (first == std::string::npos)
        return t.empty() ? Currency() : Currency::parse(t); // only spaces: not a number
    return Currency::parse(t.substr(first, t.find_last_not_of(' ') - first + 1));
}

namespace {

enum class TextIs { Number, NoNumber, TooLarge };

// A typed text read once: whether it is a number a cell can hold (an optional sign, digits with
// at most one point, "," where the cell takes money, spaces around it; an empty text is 0), and
// that number.
struct ReadEntry {
    TextIs is = TextIs::NoNumber;
    Currency value;
};

ReadEntry readEntry(const std::string &text, bool removeCommas)
{
    try {
        return {TextIs::Number, entryValue(text, removeCommas)};
    } catch (const ConversionError &) {
    }
    const std::string t = removeCommas ? CleanNumberText(text) : text;
    const size_t first = t.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const std::string n = t.substr(first, t.find_last_not_of(' ') - first + 1);
    size_t i = n[0] == '-' || n[0] == '+' ? 1 : 0;
    int digits = 0, points = 0;
    for (; i < n.size(); ++i) {
        if (n[i] == '.')
            ++points;
        else if (n[i] >= '0' && n[i] <= '9')
            ++digits;
        else
            return {};
    }
    return {digits > 0 && points <= 1 ? TextIs::TooLarge : TextIs::NoNumber, Currency()};
}

} // namespace

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

EntryText GridEntry::takes(GridCoord at) const
{
    const EntryCell cell = cells_.pasteCell(at.col, at.row);
    if (cell.kind == EntryCell::Kind::Text)
        return EntryText::Free;
    return cell.grouped ? EntryText::Money : EntryText::Number;
}

void GridEntry::moveOn(int c, int r)
{
    const int next = rowAfterEnter(r, lastRow_);
    grid_.SelectCell(c, next); // a fixed column cannot be selected; the entry moves all the same
    cells_.movedTo(c, next);
}

void GridEntry::refuse(const EntryCell &cell)
{
    if (heldNotice_)
        *heldNotice_ = cell.refusal;
    else
        ui_.notice(cell.refusal, sharedtext::NoticeButton);
}

std::string GridEntry::cellName(int c, int r) const
{
    auto heading = [](std::string t) {
        for (char &ch : t)
            if (ch == '\r' || ch == '\n')
                ch = ' ';
        const size_t a = t.find_first_not_of(' ');
        return a == std::string::npos ? std::string() : t.substr(a, t.find_last_not_of(' ') - a + 1);
    };
    const std::string row = r >= 0 && r < grid_.RowCount() && grid_.ColCount() > 0 ? heading(grid_.Cells(0, r)) : "";
    const std::string col = c >= 0 && c < grid_.ColCount() && grid_.RowCount() > 0 ? heading(grid_.Cells(c, 0)) : "";
    return sharedtext::cellNameText(row, col, c, r);
}

EntryKey GridEntry::role(int vk, ShiftState mods) const
{
    return entryKeyOf(vk, mods, grid_.EditorMode(), takes(keyPosition()));
}

bool GridEntry::key(int vk, ShiftState mods)
{
    const bool open = grid_.EditorMode();
    switch (role(vk, mods)) {
    case EntryKey::None:
    case EntryKey::Window:
        return false;
    case EntryKey::Sheet:
        return sheetKey(vk, mods.ctrl);
    case EntryKey::Types:
        if (!open) {
            // The editor would open on the selected cell: a cell that refuses says so now,
            // before anything is typed into it.
            const CellRange sel = grid_.Selection();
            const EntryCell cell = cells_.entryCell(sel.left, sel.top);
            if (cell.kind == EntryCell::Kind::Refused) {
                refuse(cell);
                return true;
            }
        }
        return false;
    case EntryKey::Refused:
        ui_.beep();
        return true;
    case EntryKey::Cancels:
        grid_.CancelEditor();
        cells_.showAgain();
        return true;
    case EntryKey::Commits:
        break;
    }
    const bool enter = vk == vkey::Return;
    const bool fill = enter && mods.shift && fillOnShift_;
    if (open) {
        commitOpen(enter, fill);
        return enter; // Tab and the arrows go on to the grid, which moves
    }
    commit(enter, fill); // Enter without an editor: the entry position as shown
    return true;
}

bool GridEntry::commitOpenEdit()
{
    if (!grid_.EditorMode())
        return false;
    commitOpen(false, false);
    return true;
}

void GridEntry::commitOpen(bool enter, bool fill)
{
    const int c = grid_.editCol(), r = grid_.editRow();
    const EntryCell cell = cells_.entryCell(c, r);
    if (cell.kind == EntryCell::Kind::Number) {
        const std::string text = grid_.Cells(c, r); // the editor's text, as it stands in its cell
        switch (readEntry(text, cell.grouped).is) {
        case TextIs::Number:
            break;
        case TextIs::NoNumber:
            // The editor stays open with the text, so that it can be mended or given up with Esc.
            throw ConversionError(sharedtext::notANumberText(text));
        case TextIs::TooLarge:
            grid_.CancelEditor();
            cells_.showAgain();
            throw RangeError(sharedtext::entryTooLargeText(cellName(c, r), text));
        }
    }
    grid_.CloseEditor();
    commitCell(c, r, enter, fill);
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
        refuse(cell);
        if (cell.endsEntry && enter)
            moveOn(c, r);
        return;
    case EntryCell::Kind::Text:
        cells_.markModified(); // a text is stored as it is typed: ending it counts as an edit
        [[fallthrough]];
    case EntryCell::Kind::Untouched:
        cells_.settle(c, r, last);
        if (enter)
            moveOn(c, r);
        return;
    case EntryCell::Kind::Number:
        break;
    }
    const std::string text = grid_.Cells(c, r);
    const ReadEntry read = readEntry(text, cell.grouped);
    if (read.is != TextIs::Number) {
        // Nothing is stored or marked modified: the grid shows the stored values again, so the
        // next key meets what the data hold.
        cells_.showAgain();
        if (read.is == TextIs::TooLarge)
            throw RangeError(sharedtext::entryTooLargeText(cellName(c, r), text));
        throw ConversionError(sharedtext::notANumberText(text));
    }
    const Currency value = read.value;
    // Stored first, then marked: a store that fails leaves the data and the mark as they were.
    try {
        cells_.storeEntry(c, r, last, value);
    } catch (const RangeError &) {
        // A derived price left Currency's range: the program kept its data as they were; the
        // cell shows them again, and the message names the cell, not the sums.
        cells_.showAgain();
        throw RangeError(sharedtext::entryResultTooLargeText(cellName(c, r), text));
    }
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
            if (c >= grid_.ColCount() || r < 1 || r > lastRow_) {
                ++report.outside;
                continue;
            }
            const EntryCell cell = cells_.pasteCell(c, r);
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
                report.outOfRange.push_back(text); // more digits than a price holds
                continue;
            }
            try {
                cells_.storeEntry(c, r, r, value);
            } catch (const RangeError &) {
                report.outOfRange.push_back(text); // a derived price would leave the range
                continue;
            }
            ++report.pasted;
        }
    }
    if (report.pasted > 0)
        cells_.markModified();
    return report;
}

PasteReport GridEntry::pasteClipboard()
{
    const SheetRows rows = clipboardRows(ui_.clipboardContent());
    if (rows.empty()) {
        ui_.notice(sharedtext::NothingToPasteText, sharedtext::NoticeButton);
        return {};
    }
    const CellRange sel = grid_.Selection();
    const PasteReport r = paste(rows, {sel.left, sel.top});
    ui_.notice(sharedtext::pasteReportText(r), sharedtext::NoticeButton);
    return r;
}

void GridEntry::copySelection()
{
    SheetRows cells = gridCells(grid_, grid_.Selection());
    for (auto &row : cells)
        for (std::string &cell : row)
            if (const auto number = sheetNumberText(cell))
                cell = *number;
    ui_.setClipboardContent(sheetClipboard(cells));
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

SheetRows gridCells(const StrColGridModel &grid, const CellRange &range)
{
    SheetRows rows;
    for (int r = range.top; r <= range.bottom; ++r) {
        std::vector<std::string> row;
        for (int c = range.left; c <= range.right; ++c) {
            const std::string &text = grid.Cells(c, r);
            const auto number = text.find(',') != std::string::npos ? sheetNumberText(text) : std::nullopt;
            row.push_back(number ? *number : text);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace velmo
