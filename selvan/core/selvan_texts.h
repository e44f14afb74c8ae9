#pragma once
// The texts of the equipment registration program: captions, headings, list entries and menu
// items of its windows, its notices and errors, and those of selvan-cli, each defined once for
// the session, the windows, the command line and the tests. The tabs, the percentage labels,
// the lists and the units both registration programs show are in registration_lists.h, the
// size sets in size_sets.h, the texts of the shared block session in shared_texts.h.
#include "base/shared_texts.h"
#include "cli/cli_texts.h"
#include "pricefile/registration_lists.h"

#include <array>
#include <filesystem>
#include <string>

namespace velmo::selvan {

// The application title: the window caption and the caption of every message box.
inline constexpr const char *AppTitle = "ダクト器具単価登録プログラム";
// The title strip, by the duct flag of the argument: the duct edition's is the application title.
inline constexpr const char *DuctTitle = AppTitle;
inline constexpr const char *PipingTitle = "配管付属品・器具単価登録プログラム";

// The grid's heading row; column 3 by labour mode.
inline constexpr std::array<const char *, 3> GridHeadings = {"No", "", PriceHeading};
inline constexpr const char *LabourRateHeading = "歩掛(共通)";
inline constexpr const char *InstallationHeading = "取付費";

// The title of selvan's price list, printed and exported.
inline constexpr const char *PriceListTitle = "資材単価表";

// The radio group 労務費, index 0 and 1 (the labour mode stored in the settings record).
inline constexpr std::array<const char *, 2> LabourModeEntries = {"歩掛を使用", "単価を使用"};

// The grid's pop-up menus beside the items both registration programs have.
inline constexpr const char *CopyInstallationItem = "表示中の取付費をコピー";
inline constexpr const char *PasteInstallationItem = "コピーした取付費を表示中の取付費に貼付";
inline constexpr const char *UnifyInstallationItem = "表示中の取付費で統一する";

// The selection dialog TFSelect_Data_K.
inline constexpr const char *SelectHint = "編集したい行を選択してください";

// ---- notices and errors of the session ----
// The one button of the notice that shows the settings record's labour mode.
inline constexpr const char *LabourModeButton = "OK";
// The file the command line named was not there.
inline std::string createdEmptyNotice(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " がなかったため、空のファイルを作成しました。";
}
inline std::string folderNotCreatedError(const std::filesystem::path &folder, const std::string &cause)
{
    return "フォルダー " + folder.string() + " を作成できません: " + cause;
}
inline std::string noTabError(int tab) { return "タブ " + std::to_string(tab) + " はありません (0 から 6 まで)"; }
inline std::string noPercentFieldError(int tag)
{
    return "割合の欄 " + std::to_string(tag) + " はありません (1 から 6 まで)";
}
// A derived price of size row `row` (1–14) of a material that could not be calculated.
inline std::string derivedPriceError(const std::string &material, int row, const std::string &size, const char *basis,
                                     const std::string &why)
{
    return "資材 " + material + " の " + std::to_string(row) + " 行目 (" + size + ") の " + basis +
           " の単価を計算できません: " + why;
}

// ---- selvan-cli ----
inline constexpr const char *CliName = "selvan-cli";
// The usage of selvan-cli's own commands; import and diff add theirs.
inline constexpr const char *CliCommands =
    "        selvan-cli dump FILE [--block N]\n"
    "        selvan-cli recalc FILE [--block N] [--write [--force]]\n"
    "        selvan-cli check FILE\n"
    "        selvan-cli revise FILE (--block N | --all) --percent P [--unit 1|10|100|1000]\n"
    "                   [--round up|down|half] [--write [--force]]\n"
    "        selvan-cli pdf FILE OUT.pdf [--block N]\n"
    "        selvan-cli csv FILE [--block N]\n"
    "        selvan-cli xlsx FILE OUT.xlsx [--block N]\n";
inline constexpr const char *CliNotes =
    "  N: 資材ブロック 0 … 19 (pdf, csv, xlsx: 指定しなければ名前のあるすべての資材)\n"
    "  revise: 定価を P % 上げ下げし (new = old × (100 + P) / 100)、U 円単位に切り上げ・切り捨て・四捨五入して\n"
    "          計算し直します。--write がなければ改定内容を JSON で表示するだけでファイルは変えません\n"
    "  --write: 計算した結果をファイルに書き戻します。ほかのブロックへのほかのプログラムの変更はそのまま残し、\n"
    "           書き戻すブロックが読み込んだ後に変更されていれば書き込まず終了状態 3 で終わります (--force で上書き)。\n"
    "           読み取り専用のファイルには書き込みません (終了状態 2)\n";
using sharedtext::badBlockError;
using sharedtext::NoBlockNumberError;
using sharedtext::noFileError;
using sharedtext::secondFileError;

} // namespace velmo::selvan
