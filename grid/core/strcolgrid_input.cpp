// Keys, mouse and the in-cell editor of the string column grid.
#include "base/cp932.h"
#include "base/flag_scope.h"
#include "grid/core/strcolgrid_model.h"

#include <algorithm>
#include <cstdlib>

namespace velmo {

namespace {

bool isNavigationKey(int vk)
{
    switch (vk) {
    case vkey::Up:
    case vkey::Down:
    case vkey::Left:
    case vkey::Right:
    case vkey::Home:
    case vkey::End:
    case vkey::PageUp:
    case vkey::PageDown:
        return true;
    default:
        return false;
    }
}

FocusMove tabFocus(ShiftState shift)
{
    return shift.shift ? FocusMove::Previous : FocusMove::Next;
}


} // namespace

// --- keys ----------------------------------------------------------------------------------------

GridKeyResult StrColGridModel::keyDown(int vk, ShiftState shift, bool typing, bool fromEditor)
{
    const int originalVk = vk;
    bool consumed = false;
    const bool editorWasOpen = fromEditor && editing_;
    if (observer_)
        observer_->keyDown(vk, shift, consumed);
    if (consumed || (originalVk != 0 && vk == 0))
        return {};
    if (opensContextMenu(vk, shift)) {
        GridKeyResult r;
        r.openMenu = true;
        return r;
    }
    if (editorWasOpen) {
        if (editing_)
            return editorKey(vk, shift);
        // The handler ended the edit: the key types nothing more, but a move still moves.
        GridKeyResult r;
        if (!navigate(vk, shift) && vk == vkey::Tab)
            r.focus = tabFocus(shift);
        return r;
    }
    return closedKey(vk, shift, typing);
}

GridKeyResult StrColGridModel::editorKey(int vk, ShiftState shift)
{
    GridKeyResult r;
    switch (vk) {
    case vkey::Return:
        CloseEditor();
        break;
    case vkey::Escape:
        CancelEditor();
        break;
    case vkey::Up:
    case vkey::Down:
    case vkey::PageUp:
    case vkey::PageDown:
        CloseEditor();
        navigate(vk, shift);
        break;
    case vkey::Tab:
        CloseEditor();
        if (!navigate(vk, shift))
            r.focus = tabFocus(shift);
        break;
    default:
        r.handled = false; // the editor types it, or moves its caret
        break;
    }
    return r;
}

GridKeyResult StrColGridModel::closedKey(int vk, ShiftState shift, bool typing)
{
    GridKeyResult r;
    if (navigate(vk, shift))
        return r;
    switch (vk) {
    case vkey::F2:
        ShowEditor();
        return r;
    case vkey::Tab:
        r.focus = tabFocus(shift);
        return r;
    case vkey::Return:
    case vkey::Escape:
        r.handled = false; // left to the window (a dialog's default and cancel buttons)
        return r;
    default:
        break;
    }
    if (typing && ShowEditor())
        r.typeIntoEditor = true;
    return r;
}

bool StrColGridModel::navigate(int vk, ShiftState shift)
{
    const bool tab = vk == vkey::Tab && (optionsInForce_ & goTabs);
    if (!isNavigationKey(vk) && !tab)
        return false;
    const bool rowSelect = optionsInForce_ & goRowSelect;
    // Shift with an arrow key moves the far corner of the selection; the current cell stays.
    const bool extend = !tab && shift.shift && (optionsInForce_ & goRangeSelect);
    int col = extend ? anchorCol_ : curCol_;
    int row = extend ? anchorRow_ : curRow_;
    const int lastCol = ColCount() - 1, lastRow = RowCount() - 1;
    switch (vk) {
    case vkey::Up: --row; break;
    case vkey::Down: ++row; break;
    case vkey::Left:
        if (!rowSelect)
            --col;
        break;
    case vkey::Right:
        if (!rowSelect)
            ++col;
        break;
    case vkey::Home:
        col = fixedCols_;
        if (shift.ctrl)
            row = fixedRows_;
        break;
    case vkey::End:
        col = lastCol;
        if (shift.ctrl)
            row = lastRow;
        break;
    case vkey::PageUp: row -= VisibleRowCount(); break;
    case vkey::PageDown: row += VisibleRowCount(); break;
    case vkey::Tab:
        // Tab goes along the row and on to the start of the next one; Shift+Tab back.
        if (shift.shift) {
            if (--col < fixedCols_ && row > fixedRows_) {
                col = lastCol;
                --row;
            }
        } else if (++col > lastCol && row < lastRow) {
            col = fixedCols_;
            ++row;
        }
        break;
    default: break;
    }
    col = std::clamp(col, fixedCols_, lastCol);
    row = std::clamp(row, fixedRows_, lastRow);
    if (extend)
        moveAnchor(col, row);
    else if (col != curCol_ || row != curRow_)
        moveCurrent(col, row, true, true);
    return true;
}

// --- mouse ---------------------------------------------------------------------------------------

int StrColGridModel::sizingColumnAt(int x, int y) const
{
    if (!(optionsInForce_ & goColSizing))
        return -1;
    const int row = MouseCoord(x, y).row;
    if (row < 0 || row >= fixedRows_)
        return -1;
    for (int c = 0, left = 0; c < ColCount(); ++c) {
        if (isColScrolledOut(c))
            continue;
        left += sectionWidth(c);
        if (std::abs(x - (left - 1)) <= 2)
            return c;
    }
    return -1;
}

int StrColGridModel::sizingRowAt(int x, int y) const
{
    if (!(optionsInForce_ & goRowSizing))
        return -1;
    const int col = MouseCoord(x, y).col;
    if (col < 0 || col >= fixedCols_)
        return -1;
    for (int r = 0, top = 0; r < RowCount(); ++r) {
        if (isRowScrolledOut(r))
            continue;
        top += sectionHeight(r);
        if (std::abs(y - (top - 1)) <= 2)
            return r;
    }
    return -1;
}

void StrColGridModel::mouseDown(int x, int y, ShiftState shift)
{
    drag_ = Drag::None;
    if (const int c = sizingColumnAt(x, y); c >= 0) {
        drag_ = Drag::SizeCol;
        dragIndex_ = c;
        return;
    }
    if (const int r = sizingRowAt(x, y); r >= 0) {
        drag_ = Drag::SizeRow;
        dragIndex_ = r;
        return;
    }
    const GridCoord at = MouseCoord(x, y);
    if (at.col < 0 || at.row < 0 || IsFixedCell(at.col, at.row))
        return;
    if (shift.shift && (optionsInForce_ & goRangeSelect)) {
        moveAnchor(at.col, at.row);
        if (observer_)
            observer_->cellFocused(curCol_, curRow_);
    } else if (!moveCurrent(at.col, at.row, true, true)) {
        return;
    }
    if (optionsInForce_ & goRangeSelect)
        drag_ = Drag::Select;
}

GridCursor StrColGridModel::mouseMove(int x, int y, bool leftButton)
{
    switch (drag_) {
    case Drag::SizeCol:
        SetColWidths(dragIndex_, std::max(0, x - columnLeft(dragIndex_)));
        return GridCursor::SizeColumn;
    case Drag::SizeRow:
        SetRowHeights(dragIndex_, std::max(0, y - rowTop(dragIndex_)));
        return GridCursor::SizeRow;
    case Drag::Select:
        if (leftButton) {
            // Beyond the cells the selection stops at the first or last one.
            GridCoord at = MouseCoord(std::clamp(x, 0, std::max(0, clientWidth_ - 1)),
                                      std::clamp(y, 0, std::max(0, clientHeight_ - 1)));
            if (at.col < 0)
                at.col = x < 0 ? fixedCols_ : ColCount() - 1;
            if (at.row < 0)
                at.row = y < 0 ? fixedRows_ : RowCount() - 1;
            if (at.col != anchorCol_ || at.row != anchorRow_)
                moveAnchor(at.col, at.row);
        }
        return GridCursor::Arrow;
    case Drag::None:
        break;
    }
    if (sizingColumnAt(x, y) >= 0)
        return GridCursor::SizeColumn;
    if (sizingRowAt(x, y) >= 0)
        return GridCursor::SizeRow;
    return GridCursor::Arrow;
}

void StrColGridModel::mouseUp()
{
    drag_ = Drag::None;
}

void StrColGridModel::doubleClick(int x, int y)
{
    const GridCoord at = MouseCoord(x, y);
    if (at.col == curCol_ && at.row == curRow_ && !IsFixedCell(at.col, at.row))
        ShowEditor();
}

// --- editor --------------------------------------------------------------------------------------

bool StrColGridModel::canEditShow() const
{
    return (optionsInForce_ & goEditing) && !(optionsInForce_ & goRowSelect) && !IsFixedCell(curCol_, curRow_) &&
           curCol_ < ColCount() && curRow_ < RowCount();
}

bool StrColGridModel::ShowEditor()
{
    if (editing_)
        return true;
    if (!canEditShow())
        return false;
    scrollInView(curCol_, curRow_);
    editing_ = true;
    editCol_ = curCol_;
    editRow_ = curRow_;
    editOriginal_ = Cells(curCol_, curRow_);
    editorText_ = editOriginal_;
    if (observer_)
        observer_->editorOpened(); // may fail and cancel
    return editing_;
}

void StrColGridModel::storeEditorText()
{
    std::string &cell = cells_[static_cast<size_t>(editRow_)][static_cast<size_t>(editCol_)];
    if (cell != editorText_) {
        cell = editorText_;
        if (observer_)
            observer_->cellChanged(editCol_, editRow_);
    }
    if (observer_)
        observer_->editorTextStored(editCol_, editRow_);
}

void StrColGridModel::CloseEditor()
{
    if (!editing_ || closingEditor_)
        return;
    {
        const FlagScope closing(closingEditor_);
        storeEditorText();
        editing_ = false;
    }
    if (observer_)
        observer_->editorClosed(true);
}

void StrColGridModel::CancelEditor()
{
    if (!editing_ || closingEditor_)
        return;
    editing_ = false;
    std::string &cell = cells_[static_cast<size_t>(editRow_)][static_cast<size_t>(editCol_)];
    if (cell != editOriginal_) {
        cell = editOriginal_;
        if (observer_)
            observer_->cellChanged(editCol_, editRow_);
    }
    if (observer_)
        observer_->editorClosed(false);
}

void StrColGridModel::editorTextChanged(const std::string &typed)
{
    if (!editing_ || closingEditor_ || typed == editorText_)
        return;
    const size_t limit = TextByteLimit ? TextByteLimit(editCol_, editRow_) : 0;
    const std::string text = limit > 0 ? cp932::fitEdit(editorText_, typed, limit) : typed;
    if (text != editorText_) {
        editorText_ = text;
        storeEditorText();
    }
    if (text != typed && observer_)
        observer_->editorTextCut();
}

const TSCGCellFont *StrColGridModel::editorFont() const
{
    return cellFont(editing_ ? editCol_ : curCol_, editing_ ? editRow_ : curRow_);
}

TImeMode StrColGridModel::editorImeMode(bool creating) const
{
    const TSCGCellParam *param = cellParams_.Find(editing_ ? editCol_ : curCol_, editing_ ? editRow_ : curRow_);
    if (!param)
        return imeMode_;
    if (creating)
        return param->ImeMode();
    return param->ImeModeEnabled() ? param->ImeMode() : imeMode_;
}

} // namespace velmo
