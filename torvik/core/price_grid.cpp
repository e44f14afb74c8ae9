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
    setUpRegistrationGrid(grid, PriceGridColWidths);
    grid.SetDefaultRowHeight(RegistrationGridRowHeight);
    grid.EndLoad();
}

} // namespace velmo
