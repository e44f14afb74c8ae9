#pragma once
// The texts of the main window's three grids, from the working table and what the window
// shows: the rate grid 歩掛表, the material price grid 提出単価表 and the composite grid
// 複合単価表. Row 0 is the heading row, rows 1–14 the size rows of the selected location.
#include "velmok/core/calc.h"
#include "base/sheet_text.h"
#include "grid/core/strcolgrid_types.h"

#include <string>

namespace velmo {

constexpr int RateCols = 11, PriceCols = 8, CompositeCols = 8, GridRows = 15;

// What decides the grid texts besides the table.
struct GridView {
    const WorkingTable &table;
    bool pipeLoaded = false;
    int location = 0;    // the selected tab
    Basis basis = Basis::Level1;
    bool rateShowsResults = false;
    bool compositeShowsAdopted = false;
};

std::string rateGridText(const GridView &v, int col, int row);
std::string priceGridText(const GridView &v, int col, int row);
std::string compositeGridText(const GridView &v, int col, int row);

// The composite grid's cells of `range` as a spreadsheet takes them from a copy: each price as
// worked out, with its decimals ("1234.5"), where the grid shows it to the yen ("1,235").
SheetRows compositeCells(const GridView &v, const CellRange &range);

} // namespace velmo
