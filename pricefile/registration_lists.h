#pragma once
// The lists of the programs' rounding settings ("計算処理"), in the order of SignificantCodes and
// AddendRaws (pricing_rules.h): the entry a stored code or addend selects is found with
// significantCodeIndex and addendIndex. velmok's 基本設定 shows the same two addend lists; its
// code list has its own captions. And the units the registration programs offer.
#include <array>

namespace velmo {

// ComboBox1: the significant-digit code of the derived prices (D1).
inline constexpr std::array<const char *, 6> SignificantCodeEntries = {
    "最小有効桁1", "最小有効桁10", "最小有効桁100", "最小有効桁1000", "有効3桁", "有効4桁"};
// ComboBox2: the fraction addend (D2).
inline constexpr std::array<const char *, 3> FractionAddendEntries = {"小数以下切り上げ", "小数以下切り捨て",
                                                                      "小数以下四捨五入"};
// ComboBox3: the significant-digit addend (D3).
inline constexpr std::array<const char *, 3> SignificantAddendEntries = {"有効桁以下切り上げ", "有効桁以下切り捨て",
                                                                         "有効桁以下四捨五入"};

// The unit box `ci`.
inline constexpr std::array<const char *, 5> UnitEntries = {"ｍ", "本", "kg", "枚", "ケ"};

} // namespace velmo
