#pragma once
// The lists of the programs' rounding settings ("計算処理"), in the order of SignificantCodes and
// AddendRaws (pricing_rules.h): the entry a stored code or addend selects is found with
// significantCodeIndex and addendIndex. velmok's 基本設定 shows the same two addend lists; its
// code list has its own captions. And the units the registration programs offer, their tabs of
// the price bases and the labels of their percentage fields.
#include "pricefile/pricing_rules.h"

#include <array>

namespace velmo {

// The group that holds the three lists, and the group of the unit box.
inline constexpr const char *RoundingGroupCaption = "計算処理";
inline constexpr const char *UnitGroupCaption = "単位";

// ComboBox1: the significant-digit code of the derived prices (D1).
inline constexpr std::array<const char *, 6> SignificantCodeEntries = {
    "最小有効桁1", "最小有効桁10", "最小有効桁100", "最小有効桁1000", "有効3桁", "有効4桁"};
// ComboBox2: the fraction addend (D2).
inline constexpr std::array<const char *, 3> FractionAddendEntries = {"小数以下切り上げ", "小数以下切り捨て",
                                                                      "小数以下四捨五入"};
// ComboBox3: the significant-digit addend (D3).
inline constexpr std::array<const char *, 3> SignificantAddendEntries = {"有効桁以下切り上げ", "有効桁以下切り捨て",
                                                                         "有効桁以下四捨五入"};

// The unit box `ci`, and its text at start.
inline constexpr std::array<const char *, 5> UnitEntries = {"ｍ", "本", "kg", "枚", "ケ"};
inline constexpr const char *DefaultUnit = UnitEntries[0];

// The heading of the price grid's column of material prices.
inline constexpr const char *PriceHeading = "資材単価";

// The tabs TabControl1 above the price grid, index 0–6: 定価, LEVEL1 … LEVEL5, 原価.
inline constexpr std::array<const char *, 7> PriceTabCaptions = {"定　価", "LEVEL1", "LEVEL2", "LEVEL3",
                                                                 "LEVEL4", "LEVEL5", "原　価"};
constexpr int PriceTabCount = static_cast<int>(PriceTabCaptions.size());
constexpr bool isPriceTab(int tab) { return tab >= 0 && tab < PriceTabCount; }
// The price basis a tab shows (0 定価, 1–5 LEVEL1–LEVEL5, 6 原価); a percentage field's tag is
// the tab it governs.
constexpr Basis basisOfTab(int tab)
{
    return tab == 0 ? Basis::List : tab == PriceTabCount - 1 ? Basis::Net : basisAt(tab);
}

// The group of percentage fields NValEdit1 … NValEdit6 (tags 1–6: LEVEL1 … LEVEL5, 仕入) and
// its check box.
inline constexpr std::array<const char *, 6> PercentLabels = {"提 出1=定価×指定", "提 出2=定価×指定",
                                                              "提 出3=定価×指定", "提 出4=定価×指定",
                                                              "提 出5=定価×指定", "仕　入=定価×指定"};
inline constexpr const char *UseRatesCaption = "単価に掛け率を使用";

} // namespace velmo
