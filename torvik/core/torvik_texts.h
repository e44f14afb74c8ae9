#pragma once
// The texts of the pipe unit price registration program: its title and captions, the prompts
// of its input boxes, its notices and errors, each defined once for the session, the windows
// and the tests. Texts both registration programs show are in registration_lists.h and
// shared_texts.h.
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "pricefile/price_record.h"
#include "pricefile/registration_lists.h"

#include <array>
#include <string>

namespace velmo::torvik {

// The application title: the caption strip and the caption of every message box.
inline constexpr const char *Title = "配管単価登録プログラム";
inline constexpr const char *WindowCaption = "Quorvane-QUORVANE DX-";

// Between the two memos where the price list shows them on one line.
inline constexpr const char *MemoSeparator = "　";

// The price grid's heading row as it is set at start; columns 2–5 then show the location
// captions of the block.
inline constexpr std::array<const char *, 6> GridHeadings = {
    "No", PriceHeading, ProposedLocationNames[0], ProposedLocationNames[1], ProposedLocationNames[2], ProposedLocationNames[3]};

// The prompts of the input boxes: the three names one after the other, the two memos, the
// size of a row and the heading of a location column.
inline constexpr std::array<const char *, 3> NamePrompts = {sharedtext::NamePrompt, "資材名称編集2", "資材名称編集3"};
inline constexpr const char *SourceMemoPrompt = "材料単価建物編集";
inline constexpr const char *PageMemoPrompt = "ぺ－ジ名称編集";
inline constexpr const char *SizePrompt = "サイズ編集";
inline constexpr const char *HeadingPrompt = "細目名称編集";

// The command line named a file that cannot be opened (`why`, from notAFileReason): the
// default file is opened instead.
inline std::string defaultFileNotice(const std::string &why, const std::string &defaultFile)
{
    return why + "。既定のファイル " + defaultFile + " を開きます。";
}

// A price of size row `row` (1–14, with its size when it has one) that could not be derived
// for a basis (basisLabel), and why.
inline std::string derivedPriceError(int row, const std::string &size, const char *basis, const std::string &why)
{
    std::string where = std::to_string(row) + " 行目";
    if (!size.empty())
        where += "（" + size + "）";
    return where + "の" + basis + "単価: " + why;
}

// The title of torvik's price list, printed and exported.
inline constexpr const char *PriceListTitle = "管材単価表";

// A rate field tag outside 1–6.
inline std::string noRateFieldError(int tag)
{
    return "掛け率の欄 " + std::to_string(tag) + " はありません (1 から 6 まで)";
}

// ---- torvik-cli ----
inline constexpr const char *CliName = "torvik-cli";
// The usage of torvik-cli's own commands; import and diff add theirs.
inline constexpr const char *CliCommands =
    "        torvik-cli dump FILE [--block N]\n"
    "        torvik-cli recalc FILE [--block N] [--write [--force]]\n"
    "        torvik-cli check FILE\n"
    "        torvik-cli revise FILE (--block N | --all) --percent P [--unit 1|10|100|1000]\n"
    "                   [--round up|down|half] [--write [--force]]\n"
    "        torvik-cli pdf FILE OUT.pdf [--block N]\n"
    "        torvik-cli csv FILE [--block N]\n"
    "        torvik-cli xlsx FILE OUT.xlsx [--block N]\n";
inline constexpr const char *CliNotes =
    "  N: 管材ブロック 0 … 19 (pdf, csv, xlsx: 指定しなければ名前のあるすべての管材)\n"
    "  revise: 定価を P % 上げ下げし (new = old × (100 + P) / 100)、U 円単位に切り上げ・切り捨て・四捨五入して\n"
    "          計算し直します。--write がなければ改定内容を JSON で表示するだけでファイルは変えません\n"
    "  --write: 計算した結果をファイルに書き戻します。ほかのブロックへのほかのプログラムの変更はそのまま残し、\n"
    "           書き戻すブロックが読み込んだ後に変更されていれば書き込まず終了状態 3 で終わります (--force で上書き)。\n"
    "           読み取り専用のファイルには書き込みません (終了状態 2)\n";

} // namespace velmo::torvik
