#pragma once
// The editing rules of the main window's two editable grids, the rate grid 歩掛表 (factors
// B1–B7 in columns 4–10) and the material price grid 提出単価表 (prices in columns 1–7): the
// edit position, and which cell may be edited in which state and with which refusal. The keys
// themselves go through the shared entry engine of controls/core.
#include "grid/core/grid_entry.h"
#include "velmok/core/grid_texts.h"
#include "grid/core/virtual_keys.h"

#include <optional>
#include <string>

namespace velmo {

// Whether a grid row is one of the 14 size rows; only those are ever stored, calculated or shown.
constexpr bool isSizeRow(int row) { return row >= 1 && row <= SizeRowsPerLocation; }

// The first column of the rate grid that takes a factor (B1, 管); where the grid starts.
constexpr int FirstFactorColumn = 4;

// Why a rate grid cell may not be edited.
enum class RateCell {
    Editable,
    FixedColumn,       // columns 0–3: size, adopted price, composite, material price
    RefrigerantColumn, // column 9 (はつり補修) of a pipe in refrigerant mode
    ShowsResults,      // columns 4–10 while they show the cost components
};

// The rule for column col of the rate grid, checked in the order the refusals are given.
RateCell rateCellRule(int col, bool refrigerant, bool showsResults);
const char *refusalMessage(RateCell rule);

// The factor a rate grid column edits: 4 … 10 → B1 … B7; nothing for the other columns.
std::optional<int> factorOfColumn(int col);
// The price slot a material price grid column edits: 1–5 → A1–A5, 6 → A0, 7 → A6.
std::optional<int> priceSlotOfColumn(int col);

// With the rate flag on, only the list price column (7) of the material price grid takes keys.
constexpr bool priceColumnLocked(int selectedCol, bool useRates) { return useRates && selectedCol != 7; }

} // namespace velmo
