#include "velmok/core/grid_texts.h"
#include "velmok/core/velmok_texts.h"

#include "base/support.h"

#include <array>

namespace velmo {

namespace {

const BasisResult &resultOf(const GridView &v, int a, Basis basis)
{
    return v.table.row(a).result(basis);
}

} // namespace

std::string rateGridText(const GridView &v, int col, int row)
{
    const bool refrigerant = v.table.refrigerant();
    if (row == 0) {
        static_assert(std::size(velmoktext::RateGridHeadings) == RateCols);
        if (refrigerant) {
            switch (col) {
            case 5: return velmoktext::RefrigerantJointHeading;
            case 6: return velmoktext::RefrigerantSupportHeading;
            case 7: return velmoktext::RefrigerantSundriesHeading;
            case 9: return "---";
            }
        }
        return velmoktext::RateGridHeadings[col];
    }
    if (!v.pipeLoaded)
        return "";
    const int a = workingRow(v.location, row);
    const WorkingRow &w = v.table.row(a);
    if (col == 0)
        return w.rec.size.text();
    const BasisResult &r = resultOf(v, a, v.basis);
    switch (col) {
    case 1: return FormatMoney(adoptedPrice(w, v.basis));
    case 2: return FormatMoney(r.total);
    case 3: return FormatStoredMoney(w.rec.slots[materialSlot(v.basis)]);
    default:
        if (col == 9 && refrigerant)
            return "";
        return v.rateShowsResults ? FormatMoney(r.K[col - 4]) : w.rec.B(col - 3).toString();
    }
}

std::string priceGridText(const GridView &v, int col, int row)
{
    static_assert(std::size(velmoktext::PriceGridHeadings) == PriceCols);
    if (row == 0)
        return velmoktext::PriceGridHeadings[col];
    if (!v.pipeLoaded)
        return "";
    const PriceRecord &r = v.table.row(row).rec; // location 0 carries the prices
    if (col == 0)
        return r.size.text();
    return FormatStoredMoney(r.slots[materialSlot(basisAt(col))]);
}

namespace {

// The composite price a cell of a data row shows, unrounded.
Currency compositeValue(const GridView &v, int col, int row)
{
    const WorkingRow &w = v.table.row(workingRow(v.location, row));
    return v.compositeShowsAdopted ? adoptedPrice(w, basisAt(col)) : w.result(basisAt(col)).total;
}

} // namespace

std::string compositeGridText(const GridView &v, int col, int row)
{
    if (row == 0)
        return priceGridText(v, col, 0);
    if (!v.pipeLoaded)
        return "";
    if (col == 0)
        return v.table.row(workingRow(v.location, row)).rec.size.text();
    return FormatMoney(compositeValue(v, col, row));
}

SheetRows compositeCells(const GridView &v, const CellRange &range)
{
    SheetRows rows;
    for (int r = range.top; r <= range.bottom; ++r) {
        std::vector<std::string> row;
        for (int c = range.left; c <= range.right; ++c)
            row.push_back(r >= 1 && c >= 1 && v.pipeLoaded ? compositeValue(v, c, r).toString() : compositeGridText(v, c, r));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace velmo
