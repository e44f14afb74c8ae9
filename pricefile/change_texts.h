#pragma once
// The texts of the report of what changed between two price files, which velmok's window and
// the three command lines show: the heading row and the names of the fields compared.
#include <string>

namespace velmo::changetext {

// Fields of the pipe's and the material's texts.
inline constexpr const char *Name = "名称";
inline constexpr const char *Name2 = "名称2行目";
inline constexpr const char *Name3 = "名称3行目";
inline constexpr const char *PriceMemo = "材料単価メモ";
inline constexpr const char *PageMemo = "ページメモ";
inline constexpr const char *Unit = "単位";
inline constexpr const char *Size = "サイズ";
inline constexpr const char *LocationName = "場所名";
// A block that lies at another number in the new file.
inline constexpr const char *Moved = "移動";

// Prefixes of the figures that are kept per price basis ("資材単価 LEVEL1").
inline constexpr const char *MaterialPrice = "資材単価";
inline constexpr const char *Percentage = "掛け率";
inline constexpr const char *Composite = "複合単価";
inline constexpr const char *Adopted = "採用単価";
inline constexpr const char *LabourPrice = "基礎工費";
inline constexpr const char *HangerPrice = "吊金物";
inline constexpr const char *InstallationCost = "取付費";
inline constexpr const char *Factor = "歩掛";

// The seven factors of a pipe's size row, B1 … B7.
inline constexpr const char *FactorNames[7] = {"管", "継手類", "接合材", "支持金物", "配管工", "はつり補修", "その他"};

// The rounding and calculation settings.
inline constexpr const char *CompositeCode = "複合単価 有効桁";
inline constexpr const char *CompositeFraction = "複合単価 小数以下";
inline constexpr const char *ComponentDecimals = "計算結果の桁";
inline constexpr const char *PipeMode = "配管モード";
inline constexpr const char *CompositeAddend = "複合単価 有効桁以下";
inline constexpr const char *PriceCode = "単価 有効桁";
inline constexpr const char *PriceFraction = "単価 小数以下";
inline constexpr const char *PriceAddend = "単価 有効桁以下";
inline constexpr const char *UseRates = "単価に掛け率を使用";
inline constexpr const char *LabourMode = "取付費の計算";

// The heading row of the report's table.
inline constexpr const char *PipeColumn = "管材";
inline constexpr const char *BlockColumn = "ブロック";
inline constexpr const char *NameColumn = "名称";
inline constexpr const char *SizeColumn = "サイズ";
inline constexpr const char *LocationColumn = "場所";
inline constexpr const char *FieldColumn = "項目";
inline constexpr const char *OldColumn = "変更前";
inline constexpr const char *NewColumn = "変更後";
inline constexpr const char *DifferenceColumn = "差";
inline constexpr const char *PercentColumn = "増減率(%)";

// The location column of a location whose name is empty: "場所1" … "場所4".
inline std::string locationNumberText(int location) { return "場所" + std::to_string(location + 1); }

} // namespace velmo::changetext
