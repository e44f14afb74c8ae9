#pragma once
// The editing rules of the main window's two editable grids, the rate grid 歩掛表 (factors
// B1–B7 in columns 4–10) and the material price grid 提出単価表 (prices in columns 1–7): the
// edit position, which cell may be edited in which state and with which refusal, and what a key
// asks the window to do afterwards. The key filter is the shared one of controls/core.
#include "grid_entry.h"
#include "grid_texts.h"
#include "virtual_keys.h"

#include <bitset>
#include <functional>
#include <optional>
#include <string>

namespace velmo {

// The refusals of the two grids, in the words the notice boxes show.
namespace editmsg {
constexpr const char *FixedColumn = "この列のセルは編集できません。";
constexpr const char *ShowsResults = "計算結果を表示しています。現在は編集できません。";
constexpr const char *RefrigerantColumn = "冷媒モードです。この列のセルは編集できません。";
constexpr const char *RatesInUse = "単価に掛け率を使用していますので、現在は入力できません。";
} // namespace editmsg

// The rate grid's hint: editing starts with a double click, Shift+Enter fills the rows below.
constexpr const char *RateGridHint =
    "入力はセルをダブルクリックしてください。Shift+Enterで以降の行に同一のデータが入力されます。";

// The cell whose editor text was stored last, in either editable grid. Every key of the two
// grids acts on this cell, not on the selected one. It starts at column 0, row 0 (the heading
// row) and changes only when an editor stores its text.
struct EditPosition {
    int col = 0;
    int row = 0;
    bool operator==(const EditPosition &) const = default;
};

// Whether a grid row is one of the 14 size rows; only those are ever stored, calculated or shown.
constexpr bool isSizeRow(int row) { return row >= 1 && row <= SizeRowsPerLocation; }

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

// A key pressed in one of the two grids, with what the session needs to know of the grid.
struct GridKeyEvent {
    int vk = 0;
    bool shift = false;
    bool editorShown = false;
    int editorCol = 0, editorRow = 0; // where the editor is open
    int selectedCol = 1;              // the grid's current column
    // The grid's text of a cell; for the editor's cell the text typed so far.
    std::function<std::string(int col, int row)> cellText;
};

// What the window does after the session handled a key, in this order: close the editor, show
// the listed rows again in all three grids, select a cell, and let the grid handle the key as
// usual when passOn is set.
struct GridKeyDecision {
    bool passOn = false;
    bool closeEditor = false;
    std::bitset<GridRows> rows; // grid rows (1–14) to show again
    bool allRows = false;       // every row of the three grids (the shown price basis changed)
    std::optional<EditPosition> select;
    bool focusRowChanged = false; // the highlighted row of the three grids moved
    // A text that is no number: nothing was stored, the editor is closed and the cell shows the
    // stored value again; the window shows this message in the error box afterwards.
    std::string error;

    void show(int row)
    {
        if (isSizeRow(row))
            rows.set(static_cast<size_t>(row));
    }
    void showAll()
    {
        for (int k = 1; k <= SizeRowsPerLocation; ++k)
            show(k);
    }
};

} // namespace velmo
