#pragma once
// The price-level dialog Tftankacalc ("現在の管材単価計算") without its window: the choices it
// opens with and what they stand for. The dialog is made afresh for every use, so it always
// opens with these defaults; "実 行" hands params() to MainSession::levelCalc, "Exit" nothing.
#include "velmok/core/calc.h"
#include "velmok/core/velmok_texts.h"

#include <array>

namespace velmo {

class LevelCalcDialog {
public:
    // Group "端数処理": the addend of each radio button, in the order shown.
    static constexpr std::array<const char *, 3> AddendCaptions = std::to_array(velmoktext::LevelAddendCaptions);
    static constexpr std::array<int64_t, 3> AddendValues = {5000, 9000, 0}; // raw: 0.5, 0.9, 0
    // Group "有効桁": the unit prices are rounded to.
    static constexpr std::array<const char *, 5> UnitCaptions = {"1", "10", "100", "1000", "10000"};
    static constexpr std::array<int64_t, 5> UnitValues = {1, 10, 100, 1000, 10000};
    // Group "計算方法と掛率".
    static constexpr std::array<const char *, 2> MethodCaptions = std::to_array(velmoktext::LevelMethodCaptions);
    static constexpr std::array<const char *, 5> LevelCaptions = {"Level1", "Level2", "Level3", "Level4", "Level5"};
    static constexpr const char *ExecuteCaption = velmoktext::LevelExecuteCaption;
    static constexpr const char *ExitCaption = "Exit";

    int addendChoice() const { return addend_; }
    void chooseAddend(int i);
    int unitChoice() const { return unit_; }
    void chooseUnit(int i);
    int methodChoice() const { return method_; }
    void chooseMethod(int i);
    Currency level(int n) const { return levels_.at(n); } // n = 0 … 4
    // A percentage outside 0–999.99 raises RangeError naming the field and the range; the
    // level keeps its value.
    void setLevel(int n, Currency percent);

    LevelCalcParams params() const;

private:
    int addend_ = 0; // 四捨五入
    int unit_ = 0;   // 1
    int method_ = 0; // 提 出=定価×掛 率％
    std::array<Currency, 5> levels_{};
};

} // namespace velmo
