#include "price_grid.h"

namespace velmo {

const std::array<const char *, PriceGridRows - 1> &sizeListEntries(SizeList list)
{
    static const std::array<const char *, PriceGridRows - 1> from13 = {
        "13A", "20A", "25A", "30A", "40A", "50A", "60A", "75A", "100A", "125A", "150A", "200A", "250A", "300A"};
    static const std::array<const char *, PriceGridRows - 1> from15 = {
        "15A", "20A", "25A", "32A", "40A", "50A", "65A", "80A", "100A", "125A", "150A", "200A", "250A", "300A"};
    static const std::array<const char *, PriceGridRows - 1> refrigerant1 = {
        "6.4", "9.5", "12.7", "15.9", "19.1", "22.2", "25.4", "28.6", "31.8", "34.9", "38.1", "44.5", "50.8", ""};
    // "×" is the two-byte multiplication sign of the code page: "12×19" fills the 6 bytes.
    static const std::array<const char *, PriceGridRows - 1> refrigerant2 = {
        "6×9.5", "6×12", "6×15", "9×12", "9×15", "9×19", "12×19", "", "", "", "", "", "", ""};
    switch (list) {
    case SizeList::From13: return from13;
    case SizeList::From15: return from15;
    case SizeList::Refrigerant1: return refrigerant1;
    case SizeList::Refrigerant2: break;
    }
    return refrigerant2;
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
