#pragma once
// The texts of the block session torvik and selvan share.
// One text header a shared folder, in the style of base/shared_texts.h and its namespace.
#include "base/shared_texts.h"

#include <filesystem>
#include <string>

namespace velmo::sharedtext {

// ---- the block-editing session ----
// An earlier version of the file is put back whole: the edits of the block shown would be lost.
inline std::string registerBeforeRestoreText(const std::string &block)
{
    return "表示中のブロック " + block + " に登録していない変更があります。登録してから以前の版に戻してください。";
}
inline std::string blockNotReadText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " の資材は読み込めなかったため、保存しません。";
}
inline std::string blockSavedNotice(const std::string &blockName) { return blockName + "を登録しました。"; }
inline std::string saveBlockQuestion(const std::string &blockName) { return blockName + "の変更を保存しますか？"; }
// A block without a name, in the questions and notices about it.
inline std::string unnamedBlockName(int block) { return "名前のない資材 (ブロック " + std::to_string(block) + ")"; }
// A block number on the command line that a file of 20 blocks does not have.
inline std::string refusedBlockNumberText(const std::string &given)
{
    return "コマンドラインの資材番号 " + given + " はありません (0〜19)。資材 0 を開きます。";
}

// ---- the registration programs, torvik and selvan ----

// A size row in a revision's preview or report: its size, or "3 行目" by its number from 1 when
// it has none.
inline std::string sizeRowLabel(const std::string &size, int rowFrom1)
{
    return size.empty() ? std::to_string(rowFrom1) + " 行目" : size;
}

} // namespace velmo::sharedtext
