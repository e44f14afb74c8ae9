#include "main/core/main_grids.h"

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
    // Columns 1–7 of the two grids are the bases in their order.
    price.SelectCell(basisNumber(basis), focusRow);
    composite.SelectCell(basisNumber(basis), focusRow);
    rate.SelectCell(std::max(1, rate.Col()), focusRow);
}

} // namespace velmo
