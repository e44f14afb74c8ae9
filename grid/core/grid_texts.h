#pragma once
// The texts the grids and number fields show the person: a typed value a cell or field cannot
// take, and the grid's programming errors.
// One text header a shared folder, in the style of base/shared_texts.h and its namespace.
#include "base/shared_texts.h"

#include <string>

namespace velmo::sharedtext {

// ---- a typed value the cell cannot take ----
// A cell named for a message: "15A の 定価", or by its row and column number without headings.
inline std::string cellNameText(const std::string &rowHeading, const std::string &colHeading, int col, int row)
{
    const std::string r = rowHeading.empty() ? std::to_string(row) + " 行目" : rowHeading;
    const std::string c = colHeading.empty() ? std::to_string(col + 1) + " 列目" : colHeading;
    return r + " の " + c;
}
inline std::string entryTooLargeText(const std::string &cell, const std::string &text)
{
    return cell + " に入力した「" + text +
           "」は大きすぎて扱えません。扱える値は 922 兆 (922,337,203,685,477) までです。セルは元の値に戻しました。";
}
inline std::string entryResultTooLargeText(const std::string &cell, const std::string &text)
{
    return cell + " に「" + text +
           "」を入れると、計算した価格が扱える値 922 兆 (922,337,203,685,477) を超えます。セルは元の値に戻しました。";
}

// ---- a number field (percentage, rate) given a value outside its range ----
// The field keeps the value it had: what it shows is what is stored.
inline std::string fieldOutOfRangeText(const std::string &field, const std::string &value, const std::string &low,
                                       const std::string &high)
{
    return "「" + field + "」に入力した " + value + " は範囲外です。" + low + " から " + high +
           " までの数値を入力してください。欄は元の値に戻しました。";
}

// ---- the grid's and its parameters' programming errors ----
inline constexpr const char *CellPositionText = "ｾﾙ位置がｸﾞﾘｯﾄﾞの範囲を超えました。";
inline constexpr const char *FixedColsText = "固定列の数は 0 以上、列数より小さくしてください";
inline constexpr const char *FixedRowsText = "固定行の数は 0 以上、行数より小さくしてください";
inline std::string listIndexText(int index) { return "リストのインデックスが範囲を超えました (" + std::to_string(index) + ")"; }
inline std::string parameterName(int n) { return "パラメータ" + std::to_string(n); }
inline std::string fontName(int n) { return "フォント" + std::to_string(n); }
inline std::string belowZeroText(const std::string &owner, const char *property)
{
    return owner + "." + property + " の値が 0 を下まわりました";
}
inline constexpr const char *BadRangeText = "範囲が不正です";
inline std::string fontWidthText(const std::string &owner) { return owner + ".FontWidth の値が範囲を超えました"; }
inline constexpr const char *EmptyFontNameText = "フォント名は空にできません";
inline constexpr const char *FontNameTakenText = "このフォント名はすでに使用されています";
inline constexpr const char *UnknownFontNameText = "CellParams で指定されたフォント名が Fonts に登録されていません";

} // namespace velmo::sharedtext
