#include "velmok/session/grid_editing.h"

#include "velmok/core/velmok_texts.h"

namespace velmo {

RateCell rateCellRule(int col, bool refrigerant, bool showsResults)
{
    if (refrigerant && col == 9)
        return RateCell::RefrigerantColumn;
    if (col < FirstFactorColumn)
        return RateCell::FixedColumn;
    if (showsResults)
        return RateCell::ShowsResults;
    return RateCell::Editable;
}

const char *refusalMessage(RateCell rule)
{
    switch (rule) {
    case RateCell::FixedColumn: return velmoktext::FixedColumnRefusal;
    case RateCell::RefrigerantColumn: return velmoktext::RefrigerantColumnRefusal;
    case RateCell::ShowsResults: return velmoktext::ShowsResultsRefusal;
    case RateCell::Editable: break;
    }
    return "";
}

std::optional<int> factorOfColumn(int col)
{
    if (col >= FirstFactorColumn && col < RateCols)
        return col - FirstFactorColumn + 1;
    return std::nullopt;
}

std::optional<int> priceSlotOfColumn(int col)
{
    if (col >= 1 && col <= BasisCount)
        return materialSlot(basisAt(col));
    return std::nullopt;
}

} // namespace velmo
