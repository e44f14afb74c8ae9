#pragma once
// The texts the shared core shows the person: the buttons of the message boxes, the questions
// and notices of the block-editing session and the captions both registration programs give
// the windows around it, the batch commands' texts, and the messages of the file layer and of
// the number types. Each is written once here; a text with a name or a value in it is a
// function of them.
#include "base/usage_text.h"

#include <array>
#include <cerrno>
#include <cstdint>
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

// ---- the block-editing session ----
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

// ---- the windows of the two registration programs (torvik, selvan) around that session ----
inline constexpr const char *InputCaption = "QUORVANE-DX"; // the caption of every input box
inline constexpr const char *NamePrompt = "資材名称編集";    // the input box of the block's name
inline constexpr const char *EditNameButton = NamePrompt;    // and the button that opens it
inline constexpr const char *ChooseBlockButton = "資材選択"; // the button and the selection dialog's strip
inline constexpr const char *RegisterButton = "登　録";
inline constexpr const char *CopyAllItem = "表示中のデータをすべてコピー";
inline constexpr const char *PasteAllItem = "コピーしたすべてのデータを表示中のデータに貼り付け";
inline constexpr const char *GridExitItem = "終　了"; // the grid's pop-up menu
inline constexpr const char *ExitItem = "終了";       // the pop-up menu of the window
// The selection dialog.
inline constexpr const char *SelectCaption = "Quorvane-QUORVANE-DX-";
inline constexpr const char *SelectHeader = "QuorvaneQUORVANE-DX";
inline constexpr const char *SelectButton = "選択実行";
inline constexpr const char *MoveUpItem = "上へ移動";
inline constexpr const char *MoveDownItem = "下へ移動";

// ---- the price revision of the registration programs ----
inline constexpr const char *RevisionItem = "価格改定…";
inline constexpr const char *RevisionCaption = "価格改定（定価）";
inline constexpr const char *RevisionShownBlock = "表示中のブロック";
inline constexpr const char *RevisionWholeFile = "ファイル全体（すべてのブロック）";
inline constexpr const char *RevisionBlockHeading = "ブロック";
inline constexpr const char *RevisionSizeHeading = "サイズ";
inline std::string revisionFileQuestion(const std::filesystem::path &file, const std::string &summary)
{
    return summary + "\nファイル " + file.string() + " のすべてのブロックの定価を改定して保存します。よろしいですか？";
}
inline std::string registerBeforeRevisionText(const std::string &block)
{
    return "表示中のブロック " + block + " に登録していない変更があります。登録してからファイル全体を改定してください。";
}
inline std::string fileRevisedNotice(const std::filesystem::path &file, int blocks)
{
    return "ファイル " + file.string() + " の " + std::to_string(blocks) + " ブロックの定価を改定して保存しました。";
}

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

// ---- a supplier's price list read into a block's list prices ----
inline constexpr const char *ImportPriceListItem = "価格表の取り込み…"; // the menu command
inline constexpr const char *ImportPriceListTitle = "価格表の取り込み"; // its dialogs
inline constexpr const char *PriceListFilter = "価格表 (*.csv *.txt *.xlsx *.ods);;すべてのファイル (*)";
inline constexpr const char *ImportButton = "取り込み";
inline constexpr const char *SheetLabel = "シート";
inline constexpr const char *SizeColumnLabel = "サイズの列";
inline constexpr const char *PriceColumnLabel = "定価の列";
inline constexpr const char *ImportSizeHeading = "サイズ";
inline constexpr const char *OldListPriceHeading = "現在の定価";
inline constexpr const char *NewListPriceHeading = "取り込む定価";
inline constexpr const char *UnmatchedRowsHeading = "どのサイズにも一致しない行";
inline constexpr const char *BadPriceCellsHeading = "価格として読めないセル";
inline constexpr const char *DuplicateRowsHeading = "同じサイズが複数の行にあるもの (取り込む行は「取り込む定価」の欄で選べます)";
inline constexpr const char *SizesWithoutPriceHeading = "価格のないサイズ";
// A row of the list in the preview: "12 行目: 15A 1,200".
inline std::string sheetLineText(int row, const std::string &size, const std::string &price)
{
    return std::to_string(row) + " 行目: " + size + (price.empty() ? "" : "  " + price);
}
inline std::string importCountsText(int matched, int headings, int unmatched, int withoutPrice, int badPrices,
                                    int duplicated, int hidden)
{
    std::string text = "取り込む定価 " + std::to_string(matched) + " 件 / 見出しの行 " + std::to_string(headings) +
                       " 行 / 一致しない行 " + std::to_string(unmatched) + " 件 / 価格のないサイズ " +
                       std::to_string(withoutPrice) + " 件 / 読めない価格 " + std::to_string(badPrices) +
                       " 件 / 複数の行にあるサイズ " + std::to_string(duplicated) + " 件";
    if (hidden > 0)
        text += "\n非表示の行 " + std::to_string(hidden) + " 行は読みませんでした";
    return text;
}
// A size that several rows of the list price: the row taken and the others.
inline std::string duplicateSizeText(const std::string &size, int row, const std::string &price,
                                     const std::vector<int> &others)
{
    std::string text = size + ": " + std::to_string(row) + " 行目の " + price + " を取り込みます (ほかに";
    for (const int r : others)
        text += " " + std::to_string(r) + " 行目";
    return text + ")";
}
// A row to choose for a size that several rows price: "3,550 (12 行目)".
inline std::string rowChoiceText(const std::string &price, int row)
{
    return price + " (" + std::to_string(row) + " 行目)";
}
// A sheet the workbook hides, in the dialog's list of sheets.
inline std::string hiddenSheetName(const std::string &sheet) { return sheet + " (非表示)"; }
// The guesses read another sheet than the first because the first has no heading.
inline std::string headingSheetText(const std::string &first, const std::string &used)
{
    return "シート「" + first + "」にはサイズと定価の見出しがないため、見出しのあるシート「" + used + "」を表示しています";
}
// The command line read another sheet than the first: the first lacks the column asked for.
inline std::string otherSheetUsedText(const std::filesystem::path &list, const std::string &first,
                                      const std::string &heading, const std::string &used)
{
    return "価格表 " + list.string() + ": シート「" + first + "」には" +
           (heading.empty() ? std::string("サイズや定価の見出し") : "見出し「" + heading + "」") + "がないため、シート「" + used +
           "」を読みました。シートを決めるには --sheet '" + used + "' を指定してください";
}
// No shown sheet has the heading asked for; a hidden one, or none.
inline std::string headingOnHiddenSheetText(const std::string &heading, const std::string &first,
                                            const std::string &hidden)
{
    return "シート「" + first + "」に見出しが「" + heading + "」の列はありません。非表示のシート「" + hidden +
           "」にあります: --sheet '" + hidden + "' を指定してください";
}
// A column of the choice lists: "2: 定価" (its number and the first text it holds).
inline std::string columnChoiceText(int column, const std::string &firstText)
{
    return std::to_string(column) + (firstText.empty() ? "" : ": " + firstText);
}
// What a workbook is read as, in the message of one that cannot be read.
inline constexpr const char *XlsxBookKind = "Excel ブック (.xlsx)";
inline constexpr const char *OdsBookKind = "OpenDocument スプレッドシート (.ods)";
inline constexpr const char *SpreadsheetBookKind = "表計算のブック (.xlsx・.ods)";
inline std::string damagedWorkbookText(const std::filesystem::path &file, const std::string &cause,
                                       const char *kind = XlsxBookKind)
{
    return "ファイル " + file.string() + " は " + kind + " として読めません: " + cause;
}
inline constexpr const char *NotZipCause = "ZIP 形式ではないか、壊れています";
inline constexpr const char *NoWorkbookCause = "ブックの目次 (xl/workbook.xml か content.xml) がありません";
inline constexpr const char *NoSheetsCause = "シートがありません";
inline std::string badPartCause(const std::string &part) { return "部品 " + part + " が壊れています"; }
inline std::string missingPartCause(const std::string &part) { return "部品 " + part + " がありません"; }
inline std::string partTooLargeCause(const std::string &part) { return "部品 " + part + " が大きすぎます"; }
inline std::string noSuchSheetText(const std::filesystem::path &file, const std::string &sheet)
{
    return "ファイル " + file.string() + " にシート「" + sheet + "」がありません";
}
inline std::string emptyPriceListText(const std::filesystem::path &file) { return "ファイル " + file.string() + " に表がありません"; }
// Another failure while a price list was read or its columns chosen, with the list's name.
inline std::string inPriceListText(const std::filesystem::path &list, const std::string &what)
{
    return "価格表 " + list.string() + ": " + what;
}
// A column asked for that the table does not have.
inline std::string noColumnNumberText(int column, int columns)
{
    return std::to_string(column) + " 列目はありません (この表は " + std::to_string(columns) + " 列です)";
}
inline std::string noColumnHeadingText(const std::string &heading)
{
    return "見出しが「" + heading + "」の列はありません";
}
// The same in a workbook: the sheet looked in, and that --sheet chooses another.
inline std::string noColumnHeadingOnSheetText(const std::string &heading, const std::string &sheet)
{
    return "シート「" + sheet + "」に見出しが「" + heading + "」の列はありません (ほかのシートは --sheet で指定してください)";
}
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

// ---- workbooks ----
inline constexpr const char *OutOfMemoryText = "メモリーが足りません";
inline std::string scratchNotWritableText(const std::string &cause) { return "一時フォルダーに書き込めません (" + cause + ")"; }
inline std::string bookNotZippedText(const std::string &cause) { return "ブックを圧縮できません (" + cause + ")"; }
inline std::string workbookLibraryErrorText(int code) { return "Excel 出力でエラー " + std::to_string(code) + " が発生しました"; }
inline constexpr const char *BookNotMadeText = "一時フォルダーにブックを作れません";
inline std::string sheetNotMadeText(const std::string &sheet) { return "シート「" + sheet + "」を作れません"; }
inline std::string sheetCountRereadText(size_t found, size_t written)
{
    return "書いたブックを読み直せません: シートの数が " + std::to_string(found) + " です (" + std::to_string(written) + " のはず)";
}
inline std::string cellRereadText(const std::string &sheet, size_t row, size_t column)
{
    return "書いたブックを読み直せません: シート「" + sheet + "」の " + std::to_string(row) + " 行 " + std::to_string(column) +
           " 列が書いた内容と違います";
}
inline constexpr const char *WorkbookTask = "Excelファイル"; // the scratch folder's task
inline std::string workbookNotMadeText(const std::filesystem::path &file, const std::string &cause)
{
    return std::string(WorkbookTask) + " " + file.string() + " を作れません: " + cause;
}
inline constexpr const char *PdfTask = "PDF出力";
// The name of sheet n of a table without a name of its own.
inline std::string tableSheetName(size_t n) { return "表" + std::to_string(n); }

// ---- the headings a price list's columns are found by ----
inline constexpr std::array<const char *, 3> SizeHeadings = {"サイズ", "呼び径", "口径"};
// The price headings, the most telling first.
inline constexpr std::array<const char *, 3> PriceHeadings = {"定価", "単価", "価格"};

// ---- a revision by a percentage ----
inline constexpr std::array<const char *, 3> RevisionRoundingNames = {"切り上げ", "切り捨て", "四捨五入"};
inline std::string revisedTooLargeText(const std::string &old) { return "改定後の単価が大きすぎます (" + old + ")"; }
inline std::string percentNotNumberText(const std::string &percent) { return "改定率 '" + percent + "' は数値ではありません"; }
inline std::string percentOutsideText(const std::string &percent)
{
    return "改定率 '" + percent + "' は -100 から 1000 までの % で指定してください";
}
inline std::string badRevisionUnitText(const std::string &unit)
{
    return "単位 '" + unit + "' は 1、10、100、1000 のどれかで指定してください";
}
inline std::string badRevisionRoundingText(const std::string &rounding)
{
    return "端数処理 '" + rounding + "' は up、down、half のどれかで指定してください";
}
inline std::string revisionSummary(int blocks, const char *blockWord, int changed)
{
    return std::to_string(blocks) + " " + blockWord + "の " + std::to_string(changed) + " 件の単価が変わります。";
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

// ---- the options of the command lines' commands (cli/) ----
namespace velmo::sharedtext {

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
inline constexpr const char *DiffNoXlsxFileText = "--xlsx の後に出力ファイルがありません";
inline std::string diffThirdFileText(const std::string &given)
{
    return "diff に 3 つ目のファイルは指定できません ('" + given + "')";
}
inline constexpr const char *DiffNeedsTwoFilesText = "diff には比較する 2 つのファイル OLD と NEW が必要です";
inline constexpr const char *DiffCsvAndXlsxText = "--csv と --xlsx は一緒に指定できません";

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

// ---- the registration programs, torvik and selvan ----
namespace velmo::sharedtext {

// A size row in a revision's preview or report: its size, or "3 行目" by its number from 1 when
// it has none.
inline std::string sizeRowLabel(const std::string &size, int rowFrom1)
{
    return size.empty() ? std::to_string(rowFrom1) + " 行目" : size;
}

} // namespace velmo::sharedtext
