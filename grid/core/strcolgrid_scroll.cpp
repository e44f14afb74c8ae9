// Scrolling and geometry of the string column grid: the client size, the left column and top
// row in view, bringing a cell into view, and the pixel position of cells and of the mouse.
#include "grid/core/strcolgrid_model.h"

#include <algorithm>

namespace velmo {

// --- scrolling ---------------------------------------------------------------------------------

void StrColGridModel::setClientSize(int width, int height)
{
    if (width == clientWidth_ && height == clientHeight_)
        return;
    clientWidth_ = width;
    clientHeight_ = height;
    const int left = leftCol_, top = topRow_;
    clampScroll();
    if (left != leftCol_ || top != topRow_)
        layoutChanged();
}

int StrColGridModel::maxLeftCol() const
{
    int used = 0;
    for (int c = 0; c < fixedCols_; ++c)
        used += sectionWidth(c);
    for (int c = ColCount() - 1; c >= fixedCols_; --c) {
        used += sectionWidth(c);
        if (used > clientWidth_)
            return std::min(c + 1, ColCount() - 1);
    }
    return fixedCols_;
}

int StrColGridModel::maxTopRow() const
{
    int used = 0;
    for (int r = 0; r < fixedRows_; ++r)
        used += sectionHeight(r);
    for (int r = RowCount() - 1; r >= fixedRows_; --r) {
        used += sectionHeight(r);
        if (used > clientHeight_)
            return std::min(r + 1, RowCount() - 1);
    }
    return fixedRows_;
}

void StrColGridModel::clampScroll()
{
    leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, maxLeftCol()));
    topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, maxTopRow()));
}

void StrColGridModel::SetLeftCol(int col)
{
    const int old = leftCol_;
    leftCol_ = col;
    clampScroll();
    if (leftCol_ != old)
        layoutChanged();
}

void StrColGridModel::SetTopRow(int row)
{
    const int old = topRow_;
    topRow_ = row;
    clampScroll();
    if (topRow_ != old)
        layoutChanged();
}

int StrColGridModel::VisibleRowCount() const
{
    int room = clientHeight_;
    for (int r = 0; r < fixedRows_; ++r)
        room -= sectionHeight(r);
    int count = 0;
    for (int r = topRow_, used = 0; r < RowCount(); ++r) {
        used += sectionHeight(r);
        if (used > room)
            break;
        ++count;
    }
    return std::max(1, count);
}

void StrColGridModel::scrollInView(int col, int row)
{
    const int left = leftCol_, top = topRow_;
    if (col >= fixedCols_ && col < ColCount()) {
        if (col < leftCol_) {
            leftCol_ = col;
        } else {
            auto fits = [&] {
                int used = 0;
                for (int c = 0; c < fixedCols_; ++c)
                    used += sectionWidth(c);
                for (int c = leftCol_; c <= col; ++c)
                    used += sectionWidth(c);
                return used <= clientWidth_;
            };
            while (leftCol_ < col && !fits())
                ++leftCol_;
        }
    }
    if (row >= fixedRows_ && row < RowCount()) {
        if (row < topRow_) {
            topRow_ = row;
        } else {
            auto fits = [&] {
                int used = 0;
                for (int r = 0; r < fixedRows_; ++r)
                    used += sectionHeight(r);
                for (int r = topRow_; r <= row; ++r)
                    used += sectionHeight(r);
                return used <= clientHeight_;
            };
            while (topRow_ < row && !fits())
                ++topRow_;
        }
    }
    clampScroll();
    if (left != leftCol_ || top != topRow_)
        layoutChanged();
}

int StrColGridModel::columnLeft(int col) const
{
    if (isColScrolledOut(col))
        return -1;
    int x = 0;
    for (int c = 0; c < col; ++c)
        if (!isColScrolledOut(c))
            x += sectionWidth(c);
    return x;
}

int StrColGridModel::rowTop(int row) const
{
    if (isRowScrolledOut(row))
        return -1;
    int y = 0;
    for (int r = 0; r < row; ++r)
        if (!isRowScrolledOut(r))
            y += sectionHeight(r);
    return y;
}

GridCoord StrColGridModel::MouseCoord(int x, int y) const
{
    GridCoord at;
    if (x >= 0) {
        for (int c = 0, left = 0; c < ColCount(); ++c) {
            if (isColScrolledOut(c))
                continue;
            left += sectionWidth(c);
            if (x < left) {
                at.col = c;
                break;
            }
        }
    }
    if (y >= 0) {
        for (int r = 0, top = 0; r < RowCount(); ++r) {
            if (isRowScrolledOut(r))
                continue;
            top += sectionHeight(r);
            if (y < top) {
                at.row = r;
                break;
            }
        }
    }
    return at;
}

PixelRect StrColGridModel::CellRect(int col, int row) const
{
    CheckCellPos(col, row);
    const int left = columnLeft(col), top = rowTop(row);
    if (left < 0 || top < 0)
        return {std::max(left, 0), std::max(top, 0), 0, 0};
    return {left, top, std::max(0, sectionWidth(col) - GridLineWidth()),
            std::max(0, sectionHeight(row) - GridLineWidth())};
}

} // namespace velmo
