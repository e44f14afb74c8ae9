#pragma once
// The 基本設定 panel of the main window as plain values: the three rounding lists, the check
// box "単価に掛け率を使用", the six percentages and the six labour prices, and how they map to
// the pipe's settings and labour records.
#include "velmok/core/calc.h"

#include <array>

namespace velmo {

// The values shown in the 基本設定 controls. List indexes are −1 before anything was chosen.
struct SettingsControls {
    int priceCodeIndex = 0;  // ComboBox1: 有効桁1 … 有効4桁
    int fracAddendIndex = 0; // ComboBox2: 小数以下切り上げ / 切り捨て / 四捨五入
    int sigAddendIndex = 0;  // ComboBox3: 有効桁以下切り上げ / 切り捨て / 四捨五入
    bool useRates = false;   // CheckGroupBox1 "単価に掛け率を使用"
    std::array<Currency, 6> percent{}; // avr_N, avr_1 … avr_5
    std::array<Currency, 6> labour{};  // GPAYDAY_N, GPAYDAY1 … GPAYDAY5
    bool operator==(const SettingsControls &) const = default;
};

// Entries of the three lists, in the order of SignificantCodes and AddendRaws.
extern const std::array<const char *, 6> PriceCodeEntries;
extern const std::array<const char *, 3> FracAddendEntries;
extern const std::array<const char *, 3> SigAddendEntries;

// The values the controls stand for.
BasicSettings basicSettingsOf(const SettingsControls &c);

// Loads a pipe's settings into the controls: a price code of 0 selects 有効桁1, a value that
// matches no entry leaves its list as it was, and the check box follows only 1 or 0.
void loadSettingsControls(SettingsControls &c, const BasicSettings &s, Currency storedFlag);

} // namespace velmo
