#pragma once
// The price grid of the pipe registration program and what its tabs and rate fields stand for:
// 6 columns × 15 rows, the sizes in column 0, the price of the selected tab in column 1 and
// the pipe-fitter labour rate of the four locations in columns 2–5.
#include "pricefile/pricing_rules.h"
#include "pricefile/registration_lists.h"
#include "pricefile/size_sets.h"
#include "grid/core/strcolgrid_model.h"
#include "registration/core/registration_grid.h"

#include <array>
#include <string>

namespace velmo {

constexpr int PriceGridCols = 6;
constexpr int PriceGridRows = RegistrationGridRows;
constexpr int PriceColumn = 1;     // 資材単価
constexpr int FirstRateColumn = 2; // 屋内一般 … 地中配管: location = column − 2
constexpr std::array<int, PriceGridCols> PriceGridColWidths = {60, 80, 80, 80, 80, 80};


// The rate fields NValEdit1 … NValEdit6 by their Tag: 1–5 the percentages of LEVEL1 … LEVEL5,
// 6 the purchase percentage. Each percentage lies in the settings record's slot of its basis,
// and the field of Tag t governs the prices of tab t.
constexpr int RateFieldCount = static_cast<int>(PercentLabels.size());
constexpr Basis basisOfRateTag(int tag) { return tag == RateFieldCount ? Basis::Net : basisAt(tag); }

// The ready-made size lists of the grid's pop-up menu, rows 1–14 (size_sets.h); an empty
// entry clears the row's size.
enum class SizeList { From13, From15, Refrigerant1, Refrigerant2 };
const SizeRows &sizeListEntries(SizeList list);

// Sets up a grid model as the price grid: counts, fixed cells, widths, heights, the fixed
// colour, the options (grid lines, range selection, editing) and the focus cell's own font
// colour. The window gives the widget the grid font.
void setUpPriceGrid(StrColGridModel &grid);

} // namespace velmo
