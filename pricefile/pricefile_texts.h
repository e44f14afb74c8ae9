#pragma once
// The texts of the price files: blocks, sizes and damage, the checker's findings, and the report
// of what changed between two price files (namespace changetext).
// One text header a shared folder, in the style of base/shared_texts.h and its namespace.
#include "base/shared_texts.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace velmo::sharedtext {

// ---- the price files ----
// What a block is called in messages: a pipe of the pipe price file, a material block of the
// equipment price file, and a block of the equipment file's checker.
inline constexpr const char *PipeBlockWord = "管材";
inline constexpr const char *MaterialBlockWord = "資材";
inline constexpr const char *EquipmentBlockWord = "ブロック";
inline std::string noSuchBlockText(const std::filesystem::path &file, const char *blockWord, int block)
{
    return "ファイル " + file.string() + " の" + blockWord + "ブロック " + std::to_string(block) + " はありません (0 から 19 まで)";
}
inline std::string shortFileText(const std::filesystem::path &file, uintmax_t records, int needed)
{
    return "ファイル " + file.string() + " が短すぎます: " + std::to_string(records) + " レコードしかありません (" +
           std::to_string(needed) + " レコード必要)";
}
inline constexpr const char *OtherKindOfFileText = "。ほかの種類のファイルかもしれません";
inline std::string equipmentRecordCountText(size_t records)
{
    return "設備単価ファイルのレコード数が " + std::to_string(records) + " です";
}
// The location names proposed for new data, locations 0–3: indoor general, machine room,
// outdoor overhead, underground.
inline constexpr std::array<const char *, 4> ProposedLocationNames = {"屋内一般", "機械室", "屋外架空", "地中配管"};
// The names of the price bases 6 and 7 beside LEVEL1 … LEVEL5.
inline constexpr const char *NetBasisName = "原価";
inline constexpr const char *ListBasisName = "定価";

// Damaged texts of a price file.
// The names of the four texts in a pipe price record and in an equipment record.
inline constexpr std::array<const char *, 4> PriceTextNames = {"名称", "場所名", "呼び径", "単位"};
inline constexpr std::array<const char *, 4> EquipmentTextNames = {"名称", "サイズ", "予備のサイズ", "単位"};
inline constexpr const char *LengthBeyondFieldText = "長さのバイトが欄の大きさを超えています";
inline constexpr const char *NotShiftJisText = "シフトJISとして読めない文字があります";
inline constexpr const char *LoneLeadByteText = "2バイト文字の前半で切れています";
inline std::string damagedTextLine(int record, const char *blockWord, int block, const char *field, const char *what)
{
    return "レコード " + std::to_string(record) + " (" + blockWord + " " + std::to_string(block) + ") の" + field + ": " + what;
}
inline std::string damageNoticeHead(const std::string &file)
{
    return "ファイル " + file + " の文字列に壊れたところがあります。読めた範囲で表示し、保存するとそのとおりに書き直します:";
}
inline std::string moreDamageText(size_t more) { return "\nほか " + std::to_string(more) + " か所"; }

// The checker of a price file's fields (velmok-cli check and the others).
inline std::string fileSizeProblemText(size_t size, int records, int recordSize, size_t expected)
{
    return "大きさが " + std::to_string(size) + " バイトです (" + std::to_string(records) + " レコード × " +
           std::to_string(recordSize) + " バイト = " + std::to_string(expected) + " バイト)";
}
inline std::string recordPlaceText(int record, const char *blockWord, int block, int row)
{
    return "レコード " + std::to_string(record) + " (" + blockWord + " " + std::to_string(block) + " の " +
           std::to_string(row) + " 行目)";
}
inline std::string valueNotListedText(const std::string &value, const std::string &list)
{
    return value + " は " + list + " のどれでもありません";
}
inline std::string percentageOutsideText(const std::string &value) { return value + " は 0 から 1000 (%) の外です"; }
inline std::string lengthBeyondFieldProblem(int length, size_t capacity)
{
    return "長さ " + std::to_string(length) + " が欄の " + std::to_string(capacity) + " バイトを超えています";
}
inline constexpr const char *NotShiftJisProblem = "シフトJIS の文字列ではありません";
inline constexpr const char *LoneLeadByteProblem = "2 バイト文字の 1 バイト目で終わっています";
// The settings fields checked, by their slot and meaning.
namespace fieldname {
inline constexpr const char *B1 = "B1 有効桁";
inline constexpr const char *B2 = "B2 端数処理";
inline constexpr const char *B3 = "B3 金額の小数桁";
inline constexpr const char *B4 = "B4 管材の種類";
inline constexpr const char *B6 = "B6 有効桁以下の処理";
inline constexpr const char *D1 = "D1 有効桁";
inline constexpr const char *D2 = "D2 小数以下の処理";
inline constexpr const char *D3 = "D3 有効桁以下の処理";
inline constexpr const char *ShareOf = " の割合"; // after a basis: "LEVEL1 の割合"
inline constexpr const char *LabourMode = "労務費の区分";
inline constexpr const char *Significant = "有効桁";
inline constexpr const char *Fraction = "小数以下の処理";
inline constexpr const char *BelowSignificant = "有効桁以下の処理";
} // namespace fieldname

} // namespace velmo::sharedtext

// The texts of the report of what changed between two price files, which velmok's window and
// the three command lines show: the heading row and the names of the fields compared.
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
// The name of the report's sheet in a workbook.
inline constexpr const char *SheetName = "比較";

// The location column of a location whose name is empty: "場所1" … "場所4".
inline std::string locationNumberText(int location) { return "場所" + std::to_string(location + 1); }

} // namespace velmo::changetext
