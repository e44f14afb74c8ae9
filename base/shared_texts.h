#pragma once
// The texts of the shared floors that more than one of them shows the person, and base's own:
// the buttons of the message boxes, a file changed by another program, the file layer and the
// system's errors, numbers, a paste into a grid, the price lists' headings, the fonts the windows
// name. Each shared folder keeps the texts only it and the floors above show in its own header
// (`grid/core/grid_texts.h`, `pricefile/pricefile_texts.h`, `handoff/handoff_texts.h`,
// `pricework/pricework_texts.h`, `cli/cli_texts.h`, `registration/core/registration_texts.h`),
// in this namespace and style: each text written once, a text with a name or a value in it a
// function of them.
#include "base/usage_text.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmo::sharedtext {

// What opens a command line's usage, in place of the first command line's indent.
inline constexpr const char *UsageOpening = "使い方: ";

// ---- the fonts the windows and pages name (desktop/Fonts.h maps them to installed ones) ----
inline constexpr const char *GothicFont = "ＭＳ ゴシック";
inline constexpr const char *ProportionalGothicFont = "ＭＳ Ｐゴシック";

// ---- the buttons of the message boxes ----
inline constexpr const char *NoticeButton = "確認"; // the one button of a notice
inline constexpr const char *YesButton = "実行";    // the first button of a question
inline constexpr const char *CancelButton = "キャンセル"; // the second, and the dialogs' cancel button
// The third button of the save question before closing or switching: keep everything as it is.
inline constexpr const char *BackButton = "戻る";
inline constexpr const char *UnnamedOutputName = "出力"; // a save dialog's name when nothing names the output

// ---- a file changed by another program since it was read ----
// What was changed: the file, or a block of it by its name.
inline std::string changedFileSubject(const std::filesystem::path &file) { return "ファイル " + file.string() + " "; }
inline std::string changedBlockSubject(const std::filesystem::path &file, const std::string &blockName)
{
    return "ファイル " + file.string() + " の「" + blockName + "」";
}
inline constexpr const char *ChangedSinceReadText = "は、読み込んだ後にほかのプログラムで変更されています。";
// The question before a save overwrites it; `subject` is one of the two above.
inline std::string changedOnDiskQuestion(const std::string &subject)
{
    return subject + ChangedSinceReadText + "\n上書きすると、その変更は失われます。上書きしますか？";
}
// The error when the question was not answered "実行".
inline std::string saveWithdrawnText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " への保存を取りやめました。ほかのプログラムの変更はそのままです。";
}
// A write that found what it was about to replace changed since it was read, and left the file
// as it is.
inline std::string changedOnDiskWriteText(const std::filesystem::path &file)
{
    return changedFileSubject(file) + ChangedSinceReadText + "書き込みませんでした";
}
// A batch command cannot ask: what it adds to that.
inline constexpr const char *ForceHintText = " (上書きするには --force を付けてください)";

// The third answer of that question, and the button of the bar that says so: read the file (or
// the block) again and drop this program's unsaved edits.
inline constexpr const char *ReloadButton = "読み込み直す";
// The bar's other button: hide it and keep editing.
inline constexpr const char *CloseBarButton = "閉じる";
// Before the edits are dropped for what the file now holds.
inline std::string reloadQuestion(const std::string &subject)
{
    return "このプログラムで保存していない変更を破棄して、" + subject + "を読み込み直しますか？";
}
// The bar above the grids when the window comes to the front again with unsaved edits.
inline std::string changedOutsideBarText(const std::string &subject)
{
    return subject + "はほかのプログラムで変更されました。";
}
// The status bar after the file (or the block, given with the file's name) was read again.
inline std::string reloadedStatusText(const std::string &subject)
{
    return subject + "をほかのプログラムの変更に合わせて読み込み直しました。";
}

// ---- the file layer ----
inline std::string missingFileText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " がありません";
}
// A look-up or a read that failed; `cause` is systemErrorText of the error.
inline std::string unreadableFileText(const std::filesystem::path &file, const std::string &cause)
{
    return "ファイル " + file.string() + " を読めません: " + cause;
}
// Something that is not a regular file; `what` says what it is instead.
inline std::string notRegularFileText(const std::filesystem::path &file, const std::string &what)
{
    return "ファイル " + file.string() + " は読めません: " + what;
}
// What a path that is not a regular file is instead.
inline constexpr const char *IsFolderText = "ファイルではなくフォルダーです";
inline constexpr const char *IsPipeText = "ファイルではなく名前付きパイプです";
inline constexpr const char *IsSocketText = "ファイルではなくソケットです";
inline constexpr const char *IsDeviceText = "ファイルではなくデバイスです";
inline constexpr const char *NotRegularText = "通常のファイルではありません";
// A file larger than its reader takes: `size` bytes, `expected` when an exact size is known.
inline std::string tooLargeFileText(const std::filesystem::path &file, const std::string &size,
                                    const std::string &expected)
{
    std::string text = "ファイル " + file.string() + " は大きすぎます: " + size + " バイトあります";
    if (!expected.empty())
        text += " (" + expected + " バイトのはず)";
    return text;
}
inline std::string notInspectedText(const std::filesystem::path &path, const std::string &cause)
{
    return path.string() + " を調べられません: " + cause;
}
inline std::string unwritableFileText(const std::filesystem::path &file, const std::string &cause)
{
    return "ファイル " + file.string() + " に書き込めません: " + cause;
}
// A file that the person may not write is never replaced, not even by root: the mode bits decide.
inline std::string readOnlyFileText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " は読み取り専用です";
}
// What the status bar of a window shows while the file it edits is read-only.
inline constexpr const char *ReadOnlyStatusText = "読み取り専用";
// The same before the path in the path panel of the registration programs.
inline std::string readOnlyMark(bool readOnly) { return readOnly ? std::string("[") + ReadOnlyStatusText + "] " : ""; }
// Another program of ours held the write lock of the file longer than a writer waits.
inline std::string lockTimeoutText(const std::filesystem::path &file, int seconds)
{
    return "ファイル " + file.string() + " はほかのプログラムが保存中です。" + std::to_string(seconds) +
           " 秒待ちましたが終わらないため、書き込みませんでした";
}
// The lock file beside a price file cannot be opened or locked.
inline std::string lockFailedText(const std::filesystem::path &file, const std::filesystem::path &lock,
                                  const std::string &cause)
{
    return "ファイル " + file.string() + " に書き込めません: ロックファイル " + lock.string() + " を使えません: " + cause;
}
// A program not of ours kept changing the file while it was being written.
inline std::string keptChangingText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " は書き込みの間にほかのプログラムで変更され続けたため、書き込みませんでした";
}
// The file was renamed into place but its folder could not be flushed.
inline std::string folderNotFlushedText(const std::filesystem::path &file, const std::filesystem::path &folder,
                                        const std::string &cause)
{
    return "ファイル " + file.string() + " は保存しましたが、フォルダー " + folder.string() +
           " をディスクに書き出せませんでした: " + cause;
}
// ---- the earlier versions of a price file (its history folder) ----
// A save went on without keeping the content it replaced.
inline std::string versionNotKeptText(const std::filesystem::path &file, const std::string &cause)
{
    return "ファイル " + file.string() + " は保存しましたが、以前の版を残せませんでした: " + cause;
}
inline std::string historyFolderLinkText(const std::filesystem::path &folder)
{
    return "履歴フォルダー " + folder.string() + " はシンボリックリンクのため使いません";
}
inline std::string historyFolderForeignText(const std::filesystem::path &folder)
{
    return "履歴フォルダー " + folder.string() + " はこのプログラムの履歴フォルダーではないため使いません";
}
inline std::string historyFileSkippedText(const std::filesystem::path &file, const std::string &why)
{
    return "履歴フォルダーのファイル " + file.string() + " を飛ばしました: " + why;
}
inline constexpr const char *ForeignHistoryFileText = "このプログラムが作ったファイルではありません";
inline constexpr const char *DamagedVersionText = "版の内容が壊れています";
inline std::string noSuchVersionText(const std::filesystem::path &file, int number)
{
    return "ファイル " + file.string() + " に版 " + std::to_string(number) + " はありません";
}
inline std::string unreadableVersionText(const std::filesystem::path &file, int number, const std::string &cause)
{
    return "ファイル " + file.string() + " の版 " + std::to_string(number) + " を読めません: " + cause;
}

// `what` (a program's task) found no place for its scratch folder in `parent`.
inline std::string scratchFolderText(const std::string &what, const std::filesystem::path &parent,
                                     const std::string &cause)
{
    return what + "の作業フォルダーを " + parent.string() + " に作れません: " + cause;
}
inline std::string converterText(const char *from, const char *to)
{
    return std::string("文字コード変換 ") + from + " → " + to + " を開けません";
}

// ---- numbers ----
inline constexpr const char *CurrencyOverflowText = "計算結果が通貨型の範囲を超えました";
inline constexpr const char *ResultTooLargeText = "計算結果が大きすぎます";
inline std::string numberTooLargeText(const std::string &value) { return "数値が通貨型の範囲を超えました: " + value; }
inline std::string notANumberText(std::string_view text) { return "'" + std::string(text) + "' は有効な数値ではありません"; }
inline std::string numberOutOfRangeText(std::string_view text)
{
    return "'" + std::string(text) + "' は扱える数値の範囲 (±922337203685477.5807) を超えています";
}

// ---- a paste of spreadsheet cells into a price grid ----
inline constexpr const char *PasteFromSheetItem = "貼り付け（表計算から）";
// The history of the pipe or block being edited: Ctrl+Z and Ctrl+Y.
inline constexpr const char *UndoStepItem = "元に戻す";
inline constexpr const char *RedoStepItem = "やり直し";
// One report for the whole paste: "12 件を貼り付けました。3 件は編集できないセルのため貼り付けていません。"
// and the texts that are no figure or too large, by name.
inline std::string pasteReportText(int pasted, int notEditable, int outside, const std::vector<std::string> &notNumbers,
                                   const std::vector<std::string> &outOfRange)
{
    std::string t = std::to_string(pasted) + " 件を貼り付けました。";
    if (notEditable > 0)
        t += std::to_string(notEditable) + " 件は編集できないセルのため貼り付けていません。";
    if (outside > 0)
        t += std::to_string(outside) + " 件は表の範囲の外のため貼り付けていません。";
    auto list = [&t](const std::vector<std::string> &texts, const char *what) {
        if (texts.empty())
            return;
        t += "\n" + std::string(what) + " " + std::to_string(texts.size()) + " 件は元のままです:";
        for (const std::string &n : texts)
            t += " 「" + n + "」";
    };
    list(notNumbers, "数値でない");
    list(outOfRange, "扱える範囲を超える");
    return t;
}
template <class Report> std::string pasteReportText(const Report &r)
{
    return pasteReportText(r.pasted, r.notEditable, r.outside, r.notNumbers, r.outOfRange);
}
inline constexpr const char *NothingToPasteText = "クリップボードに貼り付けられる表がありません。";

// ---- price lists of the registration programs (print, CSV and Excel) ----
inline constexpr const char *PrintPriceListItem = "価格表の印刷…";
inline constexpr const char *CsvPriceListItem = "価格表をCSVファイルとして出力…";
inline constexpr const char *XlsxPriceListItem = "価格表をExcelファイルとして出力…";
// Which blocks: the one shown, or every block with a name.
inline constexpr const char *PriceListScopeQuestion = "価格表に載せる資材を選んでください。";
inline constexpr const char *PriceListCurrentButton = "表示中の資材";
inline constexpr const char *PriceListAllButton = "名前のあるすべての資材";
inline std::string noNamedBlockText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " には名前のある資材がありません。";
}
// The headings of the table beside the price columns.
inline constexpr const char *PriceListBlockHeading = "ブロック";
inline constexpr const char *PriceListNameHeading = "名称";
inline constexpr const char *PriceListMemoHeading = "備考";
inline constexpr const char *PriceListUnitHeading = "単位";
inline constexpr const char *PriceListSizeHeading = "サイズ";
inline std::string noSuchBlockText(int block)
{
    return "ブロック " + std::to_string(block) + " はありません (0 から 19 まで)";
}
// A command line's command that writes into a file named after FILE got none.
inline std::string noOutFileError(const std::string &command)
{
    return command + " には出力するファイルを指定してください";
}
// A sheet of a block without a usable name.
inline std::string priceListSheetFallback(int block) { return "ブロック" + std::to_string(block); }
inline std::string priceListWrittenText(const std::filesystem::path &file)
{
    return "価格表を " + file.string() + " に出力しました。";
}
// The print program (velmok's print, the price lists): missing, or it did not start.
inline std::string printProgramMissingText(const std::string &program, const std::filesystem::path &folder)
{
    return "印刷プログラム " + program + " が見つかりません。\n" + "印刷データは " + folder.string() +
           " に書き出しました。";
}
inline std::string printProgramNotStartedText(const std::string &program)
{
    return "印刷プログラム " + program + " を起動できませんでした。";
}
// A program run and waited for.
inline std::string programNotRunText(const std::filesystem::path &program, const std::string &cause)
{
    return "プログラム " + program.string() + " を起動できません: " + cause;
}
inline std::string programNotAwaitedText(const std::filesystem::path &program, const std::string &cause)
{
    return "プログラム " + program.string() + " の終了を待てません: " + cause;
}
inline std::string printProgramNotFoundText(const std::string &program)
{
    return "印刷プログラム " + program + " が見つかりません";
}
inline std::string printDataNotWrittenText(const std::string &cause)
{
    return "一時フォルダーに印刷データを書き込めません (" + cause + ")";
}
// A price list with more price columns than the print program's data line holds.
inline std::string tooManyPriceColumnsText(size_t columns, int most)
{
    return "価格表の列 " + std::to_string(columns) + " は印刷できません (" + std::to_string(most) + " 列まで)";
}
inline std::string pdfNotMadeText(const std::filesystem::path &pdf, const std::string &cause)
{
    return "PDF " + pdf.string() + " を作れません: " + cause;
}
// `said`: what the print program wrote to its standard error, passed through (its last line
// without the program's name, which is the cause it gives).
inline std::string printProgramFailedText(const std::filesystem::path &program, int status,
                                          const std::filesystem::path &pdf, std::string said = "")
{
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r'))
        said.pop_back();
    if (const size_t nl = said.rfind('\n'); nl != std::string::npos)
        said.erase(0, nl + 1);
    std::string text = "印刷プログラム " + program.string() + " が終了状態 " + std::to_string(status) + " で終わりました。PDF " +
                       pdf.string() + " は作られていません";
    if (!said.empty())
        text += ": " + said;
    return text;
}

// ---- the system's errors, as the file layer names their causes ----
// The cause of a failed system call in words; nothing for an error without words of its own.
inline const char *systemErrorWords(int err)
{
    switch (err) {
    case ENOENT: return "ファイルまたはフォルダーがありません";
    case EACCES: return "アクセスが拒否されました";
    case EPERM: return "この操作は許可されていません";
    case ENOSPC: return "ディスクの空き容量が足りません";
    case EDQUOT: return "ディスクの使用量の制限を超えました";
    case EROFS: return "読み取り専用のドライブです";
    case EISDIR: return IsFolderText;
    case ENOTDIR: return "パスの途中にフォルダーでないものがあります";
    case EEXIST: return "同じ名前のものがすでにあります";
    case EIO: return "ディスクの読み書きでエラーが発生しました";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case ENAMETOOLONG: return "名前が長すぎます";
    case ELOOP: return "シンボリックリンクが多すぎるか循環しています";
    case EBUSY: return "ほかのプログラムが使用中です";
    case EXDEV: return "別のドライブへは移せません";
    case ENOTEMPTY: return "フォルダーが空ではありません";
    case ESTALE: return "ネットワーク上のファイルが無効になりました";
    case ETIMEDOUT: return "応答がなく時間切れになりました";
    case EFBIG: return "ファイルが大きすぎます";
    case EINVAL: return "無効な引数です";
    default: return nullptr;
    }
}
// An error without words of its own: its number and the system's text.
inline std::string otherSystemErrorText(int err, const char *systemText)
{
    return "システムエラー " + std::to_string(err) + " (" + systemText + ")";
}

// ---- where a program keeps its files ----
inline std::string noUserFolderText(const std::string &variable)
{
    return "ユーザーのフォルダーが決まりません: " + variable + " も HOME も絶対パスで設定されていません";
}
inline std::string folderNotMadeText(const std::filesystem::path &folder, const std::string &cause)
{
    return "フォルダー " + folder.string() + " を作れません: " + cause;
}
inline std::string dataFolderNotMadeText(const std::filesystem::path &folder, const std::string &cause)
{
    return "データフォルダー " + folder.string() + " を作れません: " + cause;
}
inline constexpr const char *SameNameFileText = "同じ名前のファイルがあります";
inline std::string fileNotCopiedText(const std::filesystem::path &from, const std::filesystem::path &to,
                                     const std::string &cause)
{
    return "ファイル " + from.string() + " を " + to.string() + " にコピーできません: " + cause;
}
inline std::string fileNotCreatedText(const std::filesystem::path &file, const std::string &cause)
{
    return "ファイル " + file.string() + " を作成できません: " + cause;
}
inline std::string missingFolderText(const std::filesystem::path &folder)
{
    return "フォルダー " + folder.string() + " がありません";
}
inline std::string notFolderText(const std::filesystem::path &path) { return path.string() + " はフォルダーではありません"; }

} // namespace velmo::sharedtext
