#include "velmok/session/main_grids.h"

#include "velmok/session/grid_editing.h"

#include <algorithm>

namespace velmo {

MainGrids::MainGrids()
{
    const std::pair<StrColGridModel *, int> grids[] = {{&rate, RateCols}, {&price, PriceCols}, {&composite, CompositeCols}};
    for (const auto &[g, cols] : grids) {
        g->SetColCount(cols);
        g->SetRowCount(GridRows);
        g->SetFixedCols(1);
        g->SetFixedRows(1);
    }
    // Prices and factors are typed into the rate grid and the material price grid.
    for (StrColGridModel *g : {&rate, &price})
        g->SetOptions(g->Options() | goEditing);
    // The rate grid starts on the first cell that takes a typed factor, so that the first key
    // types instead of meeting a refusal.
    rate.SelectCell(FirstFactorColumn, 1);
}

void MainGrids::showRow(const GridView &view, int row)
{
    for (int c = 0; c < RateCols; ++c)
        rate.SetCells(c, row, rateGridText(view, c, row));
    for (int c = 0; c < PriceCols; ++c)
        price.SetCells(c, row, priceGridText(view, c, row));
    for (int c = 0; c < CompositeCols; ++c)
        composite.SetCells(c, row, compositeGridText(view, c, row));
}

void MainGrids::showHighlight(int focusRow, Basis basis)
{
    for (StrColGridModel *g : {&rate, &price, &composite}) {
        for (int r = 1; r < GridRows; ++r) {
            const TColor colour = r == focusRow ? SelectedRowColour : SizeCellColour;
            // Only a size cell whose colour changes is painted again.
            const TSCGCellParam *p = g->FindCellParam(0, r, false);
            if (!p || !p->CellColorEnabled() || p->CellColor() != colour)
                g->SetCellColor(0, r, colour);
        }
    }
    // Columns 1–7 of the two grids are the bases in their order. A grid whose current cell is
    // already the one asked for keeps its selection (a range a Shift+click or Shift+arrow made).
    const auto select = [focusRow](StrColGridModel &g, int col) {
        if (g.Col() != col || g.Row() != focusRow)
            g.SelectCell(col, focusRow);
    };
    select(price, basisNumber(basis));
    select(composite, basisNumber(basis));
    select(rate, std::max(1, rate.Col()));
}

} // namespace velmo
