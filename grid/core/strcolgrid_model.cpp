// The string column grid's data: its size and contents, looks and options, per-cell
// parameters and the selection. Scrolling, keys and painting have files of their own.
#include "grid/core/strcolgrid_model.h"
#include "base/shared_texts.h"
#include "grid/core/grid_texts.h"

#include "base/errors.h"

#include <algorithm>
#include <limits>

namespace velmo {

namespace {

const char *const CellPosError = sharedtext::CellPositionText;

// Room enough for any grid: the whole grid counts as in view until the window gives its size.
constexpr int UnlimitedRoom = std::numeric_limits<int>::max() / 4;

const std::string &emptyText()
{
    static const std::string empty;
    return empty;
}

} // namespace

StrColGridModel::StrColGridModel()
    : cells_(5, std::vector<std::string>(5)), colWidths_(5, defaultColWidth_), rowHeights_(5, defaultRowHeight_),
      clientWidth_(UnlimitedRoom), clientHeight_(UnlimitedRoom)
{
    setCurrentQuietly(fixedCols_, fixedRows_);
}

void StrColGridModel::paramsChanged()
{
    looksChanged();
}

void StrColGridModel::paramLookChanged(const TSCGCellParam &p)
{
    if (p.RangeEnabled())
        cellsLookChanged({p.Col(), p.Row(), p.ColMax(), p.RowMax()});
    else
        cellsLookChanged({p.Col(), p.Row(), p.Col(), p.Row()});
}

void StrColGridModel::cellsLookChanged(CellRange cells)
{
    cells.left = std::max(cells.left, 0);
    cells.top = std::max(cells.top, 0);
    cells.right = std::min(cells.right, ColCount() - 1);
    cells.bottom = std::min(cells.bottom, RowCount() - 1);
    if (observer_ && cells.left <= cells.right && cells.top <= cells.bottom)
        observer_->cellsLookChanged(cells);
}

void StrColGridModel::selectionLooksChanged(const CellRange &before, TGridOptions optionsBefore)
{
    // The grid lines follow the options in force, and a ctTop caption the current row.
    if (optionsInForce_ != optionsBefore || cellParams_.AnyCaptionTop()) {
        looksChanged();
        return;
    }
    cellsLookChanged(before);
    cellsLookChanged(Selection());
}

void StrColGridModel::looksChanged()
{
    if (observer_)
        observer_->looksChanged();
}

void StrColGridModel::layoutChanged()
{
    if (observer_)
        observer_->layoutChanged();
}

// --- size and contents -------------------------------------------------------------------------

void StrColGridModel::SetColCount(int count)
{
    count = std::max(1, count);
    if (count == ColCount())
        return;
    CloseEditor();
    fixedCols_ = std::min(fixedCols_, count - 1);
    colWidths_.resize(static_cast<size_t>(count), defaultColWidth_);
    for (auto &row : cells_)
        row.resize(static_cast<size_t>(count));
    clampScroll();
    clampCurrent();
    if (observer_)
        observer_->countsChanged();
    layoutChanged();
}

void StrColGridModel::SetRowCount(int count)
{
    count = std::max(1, count);
    if (count == RowCount())
        return;
    CloseEditor();
    fixedRows_ = std::min(fixedRows_, count - 1);
    rowHeights_.resize(static_cast<size_t>(count), defaultRowHeight_);
    cells_.resize(static_cast<size_t>(count), std::vector<std::string>(colWidths_.size()));
    clampScroll();
    clampCurrent();
    if (observer_)
        observer_->countsChanged();
    layoutChanged();
}

void StrColGridModel::SetFixedCols(int count)
{
    if (count < 0 || count >= ColCount())
        throw RangeError(sharedtext::FixedColsText);
    CloseEditor();
    fixedCols_ = count;
    leftCol_ = count;
    clampScroll();
    clampCurrent();
    layoutChanged();
    looksChanged();
}

void StrColGridModel::SetFixedRows(int count)
{
    if (count < 0 || count >= RowCount())
        throw RangeError(sharedtext::FixedRowsText);
    CloseEditor();
    fixedRows_ = count;
    topRow_ = count;
    clampScroll();
    clampCurrent();
    layoutChanged();
    looksChanged();
}

void StrColGridModel::CheckCellPos(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        throw RangeError(CellPosError);
}

const std::string &StrColGridModel::Cells(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return emptyText();
    return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void StrColGridModel::SetCells(int col, int row, const std::string &text)
{
    CheckCellPos(col, row);
    std::string &cell = cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
    if (cell == text)
        return;
    cell = text;
    // An open editor on the cell follows the new text.
    if (editing_ && col == editCol_ && row == editRow_)
        editorText_ = text;
    if (observer_)
        observer_->cellChanged(col, row);
}

int StrColGridModel::ColWidths(int col) const
{
    CheckCellPos(col, 0);
    return colWidths_[static_cast<size_t>(col)];
}

void StrColGridModel::SetColWidths(int col, int width)
{
    CheckCellPos(col, 0);
    colWidths_[static_cast<size_t>(col)] = width;
    clampScroll();
    layoutChanged();
}

int StrColGridModel::RowHeights(int row) const
{
    CheckCellPos(0, row);
    return rowHeights_[static_cast<size_t>(row)];
}

void StrColGridModel::SetRowHeights(int row, int height)
{
    CheckCellPos(0, row);
    rowHeights_[static_cast<size_t>(row)] = height;
    clampScroll();
    layoutChanged();
}

void StrColGridModel::SetDefaultColWidth(int width)
{
    defaultColWidth_ = width;
    std::fill(colWidths_.begin(), colWidths_.end(), width);
    clampScroll();
    layoutChanged();
}

void StrColGridModel::SetDefaultRowHeight(int height)
{
    defaultRowHeight_ = height;
    std::fill(rowHeights_.begin(), rowHeights_.end(), height);
    clampScroll();
    layoutChanged();
}

int StrColGridModel::sectionWidth(int col) const
{
    const int w = colWidths_[static_cast<size_t>(col)];
    return w < 0 ? 0 : w + GridLineWidth();
}

int StrColGridModel::sectionHeight(int row) const
{
    const int h = rowHeights_[static_cast<size_t>(row)];
    return h < 0 ? 0 : h + GridLineWidth();
}

int StrColGridModel::contentWidth() const
{
    int width = 0;
    for (int c = 0; c < ColCount(); ++c)
        width += sectionWidth(c);
    return width;
}

int StrColGridModel::contentHeight() const
{
    int height = 0;
    for (int r = 0; r < RowCount(); ++r)
        height += sectionHeight(r);
    return height;
}

// --- looks and options ---------------------------------------------------------------------------

void StrColGridModel::SetColor(TColor c)
{
    color_ = c;
    looksChanged();
}

void StrColGridModel::SetFixedColor(TColor c)
{
    fixedColor_ = c;
    looksChanged();
}

void StrColGridModel::SetFont(const GridFont &font)
{
    font_ = font;
    looksChanged();
}

void StrColGridModel::SetFontColor(TColor c)
{
    font_.color = c;
    looksChanged();
}

void StrColGridModel::SetAlignment(TAlignment a)
{
    alignment_ = a;
    looksChanged();
}

void StrColGridModel::SetFixedAlignment(TAlignment a)
{
    fixedAlignment_ = a;
    looksChanged();
}

void StrColGridModel::SetLayout(TTextLayout l)
{
    layout_ = l;
    looksChanged();
}

void StrColGridModel::SetFixedLayout(TTextLayout l)
{
    fixedLayout_ = l;
    looksChanged();
}

void StrColGridModel::SetFocusDraw(bool v)
{
    focusDraw_ = v;
    looksChanged();
}

void StrColGridModel::SetFocusCellColor(TColor c)
{
    focusCellColor_ = c;
    looksChanged();
}

void StrColGridModel::SetFocusCellFontColor(TColor c)
{
    focusCellFontColor_ = c;
    looksChanged();
}

void StrColGridModel::SetFocusCellFontColorEnabled(bool v)
{
    focusCellFontColorEnabled_ = v;
    looksChanged();
}

void StrColGridModel::SetCellDivide(bool v)
{
    cellDivide_ = v;
    looksChanged();
}

void StrColGridModel::SetCtl3D(bool v)
{
    ctl3D_ = v;
    looksChanged();
}

void StrColGridModel::SetImeMode(TImeMode m)
{
    imeMode_ = m;
    looksChanged();
}

void StrColGridModel::SetOptions(TGridOptions o)
{
    options_ = o;
    optionsInForce_ = o;
    looksChanged();
}

void StrColGridModel::setFocused(bool focused)
{
    focused_ = focused;
    // Entering the grid selects its current cell again: its own options come back in force.
    if (focused)
        applyCellState(curCol_, curRow_);
    looksChanged();
}

// --- cell parameters ------------------------------------------------------------------------------

TSCGCellParam *StrColGridModel::FindCellParam(int col, int row, bool create)
{
    if (TSCGCellParam *found = cellParams_.Find(col, row))
        return found;
    if (!create)
        return nullptr;
    TSCGCellParam &param = cellParams_.Add();
    param.SetCaption(std::string());
    param.SetFontColor(FontColor());
    param.SetCellColor(IsFixedCell(col, row) ? fixedColor_ : color_);
    param.SetCellColorEnabled(true);
    param.SetFontColorEnabled(true);
    param.SetCol(col);
    param.SetRow(row);
    return &param;
}

void StrColGridModel::SetCellAlignment(int col, int row, TAlignment alignment)
{
    CheckCellPos(col, row);
    FindCellParam(col, row, true)->SetAlignment(alignment);
}

void StrColGridModel::SetCellFontColor(int col, int row, TColor color)
{
    CheckCellPos(col, row);
    FindCellParam(col, row, true)->SetFontColor(color);
}

void StrColGridModel::SetCellFontWidth(int col, int row, int width)
{
    CheckCellPos(col, row);
    FindCellParam(col, row, true)->SetFontWidth(width);
}

void StrColGridModel::SetCellColor(int col, int row, TColor color)
{
    CheckCellPos(col, row);
    TSCGCellParam *param = FindCellParam(col, row, true);
    param->SetCellColor(color);
    param->SetCellColorEnabled(true);
}

const TSCGCellFont *StrColGridModel::cellFont(int col, int row) const
{
    const TSCGCellParam *param = cellParams_.Find(col, row);
    return param && !param->FontName().empty() ? fonts_.Find(param->FontName()) : nullptr;
}

void StrColGridModel::EndLoad()
{
    loading_ = false;
    prevCol_ = curCol_;
    prevRow_ = curRow_;
    applyCellState(curCol_, curRow_);
    looksChanged();
}

// --- selection -----------------------------------------------------------------------------------

CellRange StrColGridModel::Selection() const
{
    return {std::min(curCol_, anchorCol_), std::min(curRow_, anchorRow_), std::max(curCol_, anchorCol_),
            std::max(curRow_, anchorRow_)};
}

bool StrColGridModel::SelectCell(int col, int row)
{
    return moveCurrent(col, row, true, false);
}

bool StrColGridModel::SelectRange(int left, int top, int right, int bottom)
{
    CheckCellPos(left, top);
    CheckCellPos(right, bottom);
    if (!moveCurrent(left, top, true, false))
        return false;
    moveAnchor(right, bottom);
    return true;
}

bool StrColGridModel::CanSelectCell(int col, int row)
{
    if (IsFixedCell(col, row))
        return false;
    bool result = true;
    if (OnSelectCell)
        OnSelectCell(*this, col, row, result);
    if (!result)
        return false;
    if (col != prevCol_ || row != prevRow_) {
        TSCGCellParam *newParam = FindCellParam(col, row, false);
        TSCGCellParam *oldParam = FindCellParam(prevCol_, prevRow_, false);
        const int oldCol = prevCol_, oldRow = prevRow_;
        const bool colChanges = col != oldCol, rowChanges = row != oldRow;
        try {
            if (oldParam) {
                if (oldParam->OnExitCell)
                    oldParam->OnExitCell(*oldParam, *this, oldCol, oldRow, col, row);
                if (colChanges && oldParam->OnExitCol)
                    oldParam->OnExitCol(*oldParam, *this, oldCol, col);
                if (rowChanges && oldParam->OnExitRow)
                    oldParam->OnExitRow(*oldParam, *this, oldRow, row);
            }
            if (newParam) {
                if (newParam->OnEnterCell)
                    newParam->OnEnterCell(*newParam, *this, oldCol, oldRow, col, row);
                if (colChanges && newParam->OnEnterCol)
                    newParam->OnEnterCol(*newParam, *this, oldCol, col);
                if (rowChanges && newParam->OnEnterRow)
                    newParam->OnEnterRow(*newParam, *this, oldRow, row);
            }
            if (OnCellChanged)
                OnCellChanged(*this, oldCol, oldRow, col, row);
            if (colChanges && OnColChanged)
                OnColChanged(*this, oldCol, col);
            if (rowChanges && OnRowChanged)
                OnRowChanged(*this, oldRow, row);
        } catch (...) {
            // A selection event that raises refuses the move; the previous cell stays selected
            // with its own options in force.
            return false;
        }
    }
    applyCellState(col, row);
    prevCol_ = col;
    prevRow_ = row;
    return true;
}

void StrColGridModel::applyCellState(int col, int row)
{
    const TSCGCellParam *param = cellParams_.Find(col, row);
    optionsInForce_ = param && param->OptionsEnabled() ? param->Options() : options_;
}

bool StrColGridModel::moveCurrent(int col, int row, bool moveAnchor, bool byUser)
{
    CheckCellPos(col, row);
    const CellRange before = Selection();
    const TGridOptions optionsBefore = optionsInForce_;
    if (!CanSelectCell(col, row))
        return false;
    CloseEditor();
    curCol_ = col;
    curRow_ = row;
    if (moveAnchor || !(optionsInForce_ & goRangeSelect)) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    if (optionsInForce_ & goRowSelect) {
        anchorCol_ = ColCount() - 1;
        curCol_ = fixedCols_;
    }
    scrollInView(curCol_, curRow_);
    if (observer_)
        observer_->selectionChanged();
    selectionLooksChanged(before, optionsBefore);
    if (byUser && observer_)
        observer_->cellFocused(curCol_, curRow_);
    return true;
}

void StrColGridModel::moveAnchor(int col, int row)
{
    if (!(optionsInForce_ & goRangeSelect)) {
        moveCurrent(col, row, true, false);
        return;
    }
    CloseEditor();
    const CellRange before = Selection();
    anchorCol_ = std::clamp(col, fixedCols_, ColCount() - 1);
    anchorRow_ = std::clamp(row, fixedRows_, RowCount() - 1);
    if (optionsInForce_ & goRowSelect)
        anchorCol_ = ColCount() - 1;
    scrollInView(anchorCol_, anchorRow_);
    if (observer_)
        observer_->selectionChanged();
    selectionLooksChanged(before, optionsInForce_);
}

void StrColGridModel::setCurrentQuietly(int col, int row)
{
    curCol_ = anchorCol_ = prevCol_ = col;
    curRow_ = anchorRow_ = prevRow_ = row;
    applyCellState(col, row);
    if (observer_)
        observer_->selectionChanged();
}

void StrColGridModel::clampCurrent()
{
    const int col = std::clamp(curCol_, std::min(fixedCols_, ColCount() - 1), ColCount() - 1);
    const int row = std::clamp(curRow_, std::min(fixedRows_, RowCount() - 1), RowCount() - 1);
    if (col != curCol_ || row != curRow_ || anchorCol_ >= ColCount() || anchorRow_ >= RowCount() ||
        anchorCol_ < fixedCols_ || anchorRow_ < fixedRows_)
        setCurrentQuietly(col, row);
}

} // namespace velmo
