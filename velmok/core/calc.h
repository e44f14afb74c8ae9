#pragma once
// The composite unit price of a pipe: the working table of its 60 rows and the calculation of
// the seven cost components and the totals for the seven price bases.
#include "pricefile/pipe_block.h"
#include "pricefile/pricing_rules.h"
#include "base/rounding.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

constexpr int ComponentCount = 7;

// Working rows are numbered 1 … 60: row = location·15 + k for size row k (1 … 14);
// rows 15, 30, 45, 60 are the tails. Row 15 is the pipe's settings, row 60 its labour prices.
constexpr int SettingsRow = 15;
constexpr int LabourRow = 60;
constexpr int WorkingRows = 60;
constexpr bool isTailRow(int a) { return a % RowsPerLocation == 0; }
constexpr int workingRow(int location, int k) { return location * RowsPerLocation + k; }

struct BasisResult {
    std::array<Currency, ComponentCount> K{}; // K1 … K7
    Currency total;   // unrounded composite: Frac(sum of the components, B2)
    Currency adopted; // RoundSignificant(B6, B1, total); not formed for NET
};

struct WorkingRow {
    PriceRecord rec;                             // the stored fields (Reserved*, Serial not used)
    std::array<BasisResult, BasisCount> basis{}; // index basis − 1
    const BasisResult &result(Basis b) const { return basis[static_cast<int>(b) - 1]; }
};

// The unit price a basis adopts for a row, as the composite grid shows it and the exports write
// it: the rounded composite, or for NET, which is not rounded, the composite itself.
inline Currency adoptedPrice(const WorkingRow &w, Basis b)
{
    return b == Basis::Net ? w.result(b).total : w.result(b).adopted;
}

// Whether a pipe's settings record (its row 15) says "単価に掛け率を使用": D4 is exactly 1.
inline bool usesRates(const PriceRecord &settings) { return settings.D(4) == Currency::fromInt(1); }

// The values of the 基本設定 panel of a pipe.
struct BasicSettings {
    Currency priceCode;        // D1: significant-digit code of derived prices
    Currency priceFracAddend;  // D2
    Currency priceSigAddend;   // D3
    bool useRates = false;     // D4 "単価に掛け率を使用"
    std::array<Currency, 6> percent{}; // [0] NET (A0), [1 … 5] LEVEL1 … LEVEL5 (A1 … A5)
    std::array<Currency, 6> labour{};  // [0] NET (C0), [1 … 5] LEVEL1 … LEVEL5 (C1 … C5)
    bool operator==(const BasicSettings &) const = default;
};

// The price-level dialog: LEVEL1 … LEVEL5 from the list price by a rate, or from the cost
// price by a surcharge, rounded to a unit with an addend.
struct LevelCalcParams {
    enum class Method { FromList, FromCost };
    Method method = Method::FromList;
    Currency addend = Currency::fromRaw(5000); // 0.5 四捨五入
    int64_t unit = 1;                          // 1, 10, 100, 1000, 10000
    std::array<Currency, 5> levels{};          // percentages Level1 … Level5
};

class WorkingTable {
public:
    WorkingRow &row(int a) { return rows_[a - 1]; }
    const WorkingRow &row(int a) const { return rows_[a - 1]; }
    PriceRecord &settings() { return row(SettingsRow).rec; }
    const PriceRecord &settings() const { return row(SettingsRow).rec; }
    bool refrigerant() const { return settings().B(4) == Currency::fromInt(2); }

    void clear();
    // Copies the 60 records of a pipe in.
    void load(const PipeBlock &block);
    // Copies the stored fields of row a into the pipe's block (Reserved0, Serial, Reserved144
    // of the block stay as they are).
    void store(int a, PipeBlock &block) const;

    // Calculates working row a; with a block, writes the row back into it. A figure outside the
    // Currency range raises RangeError naming the pipe, the location and the size row, and the
    // block then keeps the row as it was.
    void calculateRow(int a);
    void calculateRow(int a, PipeBlock &block);
    // Rows 1 … 59 in order.
    void recalculateAll();
    void recalculateAll(PipeBlock &block);

    BasicSettings basicSettings() const;
    // Writes the values into rows 15 and 60 (and records 14 and 59 of the block), then
    // recalculates every row.
    void applyBasicSettings(const BasicSettings &s, PipeBlock &block);

    // Sets LEVEL1 … LEVEL5 of every size row by the price-level dialog, then recalculates.
    void applyLevelCalc(const LevelCalcParams &p, PipeBlock &block);
    // The LEVEL prices applyLevelCalc would set from a figure to 0 only because their level
    // is left at 0 (提 出=定価×掛 率％ with 0 %), and those levels (1 … 5).
    struct ZeroedByLevels {
        int prices = 0;
        std::vector<int> levels;
    };
    ZeroedByLevels zeroedByLevels(const LevelCalcParams &p) const;

private:
    void calculate(int a);
    // Copies the material prices of size row a of location 0 to the same row of the others.
    void shareMaterialPrices(int a);
    // The pipe, location and size row of working row a, for error messages.
    std::string rowLabel(int a) const;

    std::array<WorkingRow, WorkingRows> rows_{};
};

// Working scale decimals from the component-decimals code B3: 1, 2, 3 → itself, else 0.
int componentDecimals(Currency code);

// Rate of the price-level dialog as a Currency: Level/100 or 1 + Level/100, to the nearest
// 0.0001 with ties to even.
Currency levelRate(Currency level, LevelCalcParams::Method m);

} // namespace velmo
