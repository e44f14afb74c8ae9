#include "torvik/core/price_grid.h"

namespace velmo {

const SizeRows &sizeListEntries(SizeList list)
{
    // The refrigerant list of this menu stops at 50.8: row 14 is left without a size.
    static constexpr SizeRows refrigerant1 = withEmptyRow(RefrigerantSizes, SizeRowsPerLocation - 1);
    switch (list) {
    case SizeList::From13: return SizesFrom13;
    case SizeList::From15: return SizesFrom15;
    case SizeList::Refrigerant1: return refrigerant1;
    case SizeList::Refrigerant2: break;
    }
    return RefrigerantPairSizes;
}

void setUpPriceGrid(StrColGridModel &grid)
{
    grid.BeginLoad();
    grid.SetColCount(PriceGridCols);
    grid.SetRowCount(PriceGridRows);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    for (int c = 0; c < PriceGridCols; ++c)
        grid.SetColWidths(c, PriceGridColWidths[c]);
    grid.SetDefaultRowHeight(PriceGridRowHeight);
    grid.SetFixedColor(PriceGridFixedColor);
    grid.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect | goEditing);
    grid.SetFocusCellFontColorEnabled(true);
    grid.EndLoad();
}

} // namespace velmo
