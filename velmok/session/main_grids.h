#pragma once
// The three grids of the main window as the session fills them: the rate grid 歩掛表, the
// material price grid 提出単価表 and the composite grid 複合単価表. The session owns their
// models; the window's grid widgets show them.
#include "velmok/core/grid_texts.h"
#include "grid/core/strcolgrid_model.h"

namespace velmo {

// The size cells: the fixed colour, and the one of the highlighted row's size.
constexpr TColor SizeCellColour = TColor::fromRgb(142, 140, 162);
constexpr TColor SelectedRowColour = TColor::fromRgb(128, 128, 192);

struct MainGrids {
    StrColGridModel rate, price, composite;

    // 15 rows (the heading row and the 14 size rows), the size column and the heading row fixed.
    MainGrids();

    // Row `row` of the three grids as the view shows it.
    void showRow(const GridView &view, int row);
    // The highlighted size row in the three grids: its size cell coloured and selected; the
    // material price and composite grids select the shown basis, the rate grid keeps its column.
    void showHighlight(int focusRow, Basis basis);
    // One of the two grids that take prices: the rate grid or the material price grid.
    StrColGridModel &editable(bool rateGrid) { return rateGrid ? rate : price; }
};

} // namespace velmo
