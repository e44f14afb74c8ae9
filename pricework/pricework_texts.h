#pragma once
// The texts of prices in and out of spreadsheets: a supplier's price list read into a block, the
// revision by a percentage, the registration windows' price commands, workbooks.
// One text header a shared folder, in the style of base/shared_texts.h and its namespace.
#include "base/shared_texts.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace velmo::sharedtext {

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

} // namespace velmo::sharedtext
