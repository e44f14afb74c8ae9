#pragma once
// The texts of the command lines' shared commands and options.
// One text header a shared folder, in the style of base/shared_texts.h and its namespace.
#include "base/shared_texts.h"

#include <filesystem>
#include <string>

namespace velmo::sharedtext {

// ---- the batch commands ----
inline constexpr const char *StdoutFailedText = "標準出力に書き込めません";
// The same after the command wrote its file: the write stands.
inline std::string writtenButStdoutFailedText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " は書き込みました。" + StdoutFailedText;
}
// Command lines that are not the program's.
inline constexpr const char *NoCommandText = "コマンドがありません";
inline std::string unknownCommandText(const std::string &command) { return "コマンド '" + command + "' はありません"; }
inline std::string unknownOptionText(const std::string &command, const std::string &option)
{
    return command + " にオプション '" + option + "' はありません";
}
// What follows a usage error: how to see the usage.
inline std::string usageHintText(const std::string &program) { return "(" + program + " --help で使い方を表示します)"; }
// The block option of torvik-cli and selvan-cli, and the one file they take.
inline std::string badBlockError(const std::string &given)
{
    return "--block には 0 から 19 までのブロック番号を指定してください ('" + given + "')";
}
inline constexpr const char *NoBlockNumberError = "--block の後にブロック番号がありません";
inline std::string secondFileError(const std::string &given)
{
    return "ファイルは一つだけ指定してください ('" + given + "')";
}
inline std::string noFileError(const std::string &command) { return command + " にはファイルを指定してください"; }

// The batch programs' "import": a supplier's price list into one block's list prices.
inline UsagePart importUsageText(const std::string &program)
{
    return {"        " + program +
                " import FILE --block N LIST [--size-column C] [--price-column C] [--sheet NAME] [--write [--force]]\n",
            "  LIST: 仕入先の価格表 (CSV・タブ区切り: UTF-8 か Shift-JIS、.xlsx または .ods)。ブロック N のサイズに一致した\n"
            "        行の定価を取り込みます。非表示の行とシートは読みません。同じサイズの行が複数あれば最後の行を\n"
            "        取り込み、ほかの行を duplicates に示します。--write がなければ結果を JSON で表示するだけで、\n"
            "        ファイルは変更しません。一致した行がなければ --write でも書き込みません\n"
            "  C: 列番号 (1 から) または見出しの文字。既定は見出し (サイズ・呼び径・口径、定価・単価・価格) から、\n"
            "     見出しがなければ数値から推測します\n"
            "  --sheet: .xlsx・.ods のシート名 (既定は最初の表示されたシート。見出しがなければ見出しのあるシート)\n"};
}
// import --write when no row of the list matched a size of the block.
inline std::string nothingImportedText(const std::filesystem::path &list, const std::filesystem::path &file)
{
    return "価格表 " + list.string() + " にはブロックのサイズに一致する行がないため、ファイル " + file.string() +
           " には書き込みませんでした";
}
inline std::string missingOptionValueText(const std::string &option) { return option + " の後に値がありません"; }
inline std::string importExtraArgumentText(const std::string &given)
{
    return "import に指定できるのは価格ファイルと価格表の二つだけです ('" + given + "')";
}
inline constexpr const char *ImportNeedsFilesText = "import には価格ファイルと価格表を指定してください";
inline constexpr const char *ImportNeedsBlockText = "import には --block でブロック番号を指定してください";

// ---- the options of the command lines' commands (cli/) ----

// A command line the option reader could not take apart at all.
inline std::string commandLineUnreadText(const std::string &command)
{
    return command + " のコマンドラインを読めません";
}
// The revise commands: a percentage, and the block option of the program or --all.
inline constexpr const char *RevisionNeedsPercentText = "改定率を --percent P で指定してください";
inline std::string revisionScopeText(const std::string &oneBlock)
{
    return "改定するのは " + oneBlock + " か --all のどちらか一方で指定してください";
}
// The diff command: its notes in the usage (pipes are numbered 1 … 20, equipment blocks 0 … 19)
// and its usage errors.
inline std::string diffUsageNotes(bool pipes)
{
    return std::string("  diff: OLD から NEW への変更を JSON で出力します (--csv: CSV を標準出力へ、--xlsx: Excel ファイル OUT へ)。\n"
                       "        ") +
           (pipes ? "管材は 1 … 20" : "ブロックは 0 … 19") + " で数えます。変更があってもなくても終了状態は 0 です\n";
}
// ---- the earlier versions of a file: history, show, restore, and diff of FILE@N ----
inline constexpr const char *HistoryUsageNotes =
    "  history: FILE の以前の版 (保存のたびに FILE と同じフォルダーの .velmaro-history/ に残ります) を JSON で\n"
    "        出力します: 版の番号、日時、プログラム、コマンド、ユーザー、ホスト、大きさ、その前の版からの変更の数\n"
    "  show: 版 N の内容を標準出力へ出力します (--out: ファイル OUT へ。すでにある名前には書きません)\n"
    "  restore: 版 N へ戻したときの変更を JSON で出力し、--write で版 N を書き込みます (それまでの内容も版として\n"
    "        残ります)。読んだ後にほかのプログラムが変えたファイルには --force がなければ書き込みません\n"
    "  FILE@N: diff の OLD と NEW には FILE の版 N を指定できます。版は 7 日までは全部、90 日までは 1 日に 1 つ、\n"
    "        それより前は 1 か月に 1 つ、多くて 200 版か 20 MB まで残ります (設定フォルダーの history.ini の\n"
    "        [HISTORY]=0 で残しません)\n";
// The dialog 以前の版… of the windows, and its restore.
inline std::string earlierVersionsTitle(const std::filesystem::path &file) { return "以前の版 - " + file.string(); }
inline constexpr const char *VersionColumn = "版";
inline constexpr const char *VersionTimeColumn = "日時";
inline constexpr const char *VersionProgramColumn = "プログラム";
inline constexpr const char *VersionUserColumn = "ユーザー";
inline constexpr const char *VersionChangesColumn = "変更した単価";
inline constexpr const char *UnreadableVersionMark = "(読めません)";
inline constexpr const char *ChooseVersionText = "版を選ぶと、今のファイルとの違いを表示します";
inline constexpr const char *RestoreButton = "元に戻す";
inline constexpr const char *CloseButton = "閉じる";
inline std::string versionComparisonText(int number, size_t changes)
{
    return "版 " + std::to_string(number) + " から今のファイルへの違い: " + std::to_string(changes) + " 件";
}
inline constexpr const char *NoEarlierVersionText = "このファイルには以前の版がありません";
inline std::string restoreVersionQuestion(const std::filesystem::path &file, int number)
{
    return "ファイル " + file.string() + " を版 " + std::to_string(number) +
           " の内容に戻します。今の内容も以前の版として残ります。よろしいですか？";
}
inline std::string restoredVersionNotice(const std::filesystem::path &file, int number)
{
    return "ファイル " + file.string() + " を版 " + std::to_string(number) + " の内容に戻しました";
}
inline constexpr const char *NoVersionNumberText = "--version の後に版の番号がありません";
inline std::string badVersionText(const std::string &given)
{
    return "--version には 1 以上の版の番号を指定してください ('" + given + "')";
}
inline std::string commandNeedsVersionText(const std::string &command)
{
    return command + " には --version N で版の番号が必要です";
}
inline std::string commandNeedsFileText(const std::string &command) { return command + " には FILE が必要です"; }
inline std::string commandSecondFileText(const std::string &command, const std::string &given)
{
    return command + " に 2 つ目のファイルは指定できません ('" + given + "')";
}
inline constexpr const char *NoOutFileText = "--out の後に出力ファイルがありません";
inline std::string outFileExistsText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " はすでにあります。書き込みませんでした";
}
inline constexpr const char *ForceWithoutWriteOptionText = "--force は --write と一緒に指定してください";
inline constexpr const char *DiffNoXlsxFileText = "--xlsx の後に出力ファイルがありません";
inline std::string diffThirdFileText(const std::string &given)
{
    return "diff に 3 つ目のファイルは指定できません ('" + given + "')";
}
inline constexpr const char *DiffNeedsTwoFilesText = "diff には比較する 2 つのファイル OLD と NEW が必要です";
inline constexpr const char *DiffCsvAndXlsxText = "--csv と --xlsx は一緒に指定できません";

} // namespace velmo::sharedtext
