#pragma once
// The texts of the print hand-off files' errors.
// One text header a shared folder, in the style of base/shared_texts.h and its namespace.
#include "base/shared_texts.h"

#include <filesystem>
#include <string>

namespace velmo::sharedtext {

// ---- the print hand-off files ----
inline constexpr const char *PrintSettingsFileWord = "印刷設定ファイル";
inline constexpr const char *PrintHeaderFileWord = "印刷見出しファイル";
inline constexpr const char *PrintDataFileWord = "印刷データ";
inline std::string missingHandoffFileText(const char *what, const std::filesystem::path &file)
{
    return std::string(what) + " " + file.string() + " がありません";
}
inline std::string priceListColumnsText(const std::filesystem::path &file, int most)
{
    return std::string(PrintSettingsFileWord) + " " + file.string() + " の価格表の列は 1 から " + std::to_string(most) + " までです";
}
inline std::string badHandoffLineText(const std::filesystem::path &file, size_t line, int fields)
{
    return std::string(PrintDataFileWord) + " " + file.string() + " の " + std::to_string(line) + " 行目は「;」で終わる " +
           std::to_string(fields) + " 項目の行ではありません";
}

} // namespace velmo::sharedtext
