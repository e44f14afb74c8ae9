#pragma once
// The texts the composite unit price manager shows the person: titles, questions, notices,
// refusals and prompts, each written once. A text with a name or a value in it is a function
// of them. The captions and drop-down entries of the sheet set-up dialog stay with that
// dialog's state (sheet_setup.h); the shared box buttons are in shared_texts.h.
#include "base/shared_texts.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmo::velmoktext {

// ---- names the data begin with ----
// The services of a new data folder's names file, 1–10.
inline constexpr std::array<const char *, 10> DefaultServiceNames = {"給水",   "排水",   "通気", "給湯", "消火",
                                                                     "冷温水", "冷却水", "蒸気", "油",   "冷媒"};
// The eras of a printed date, newest first, and the days of the week from Sunday.
inline constexpr std::array<const char *, 5> EraNames = {"令和", "平成", "昭和", "大正", "明治"};
inline constexpr std::array<const char *, 7> WeekdayNames = {"日", "月", "火", "水", "木", "金", "土"};

// ---- the window ----
inline constexpr const char *Title = "Velmaro";
inline constexpr const char *WindowCaption = "Velmaro-Brindlecraft-";
inline constexpr const char *NetworkTitlePanel = "Velmaro-Network版";
// The rate grid's hint: editing starts with a double click, Shift+Enter fills the rows below.
inline constexpr const char *RateGridHint =
    "入力はセルをダブルクリックしてください。Shift+Enterで以降の行に同一のデータが入力されます。";

// ---- saving, closing and the data folder ----
inline constexpr const char *SaveQuestion = "現在の編集内容を保存しますか？";
inline constexpr const char *SavedNotice = "保存しました。";
inline constexpr const char *FolderDialogTitle = "フォルダーを指定して下さい";
inline constexpr const char *NotCopiedHeading = "\n\n次のファイルはコピーできませんでした:";
inline constexpr const char *UnknownError = "不明なエラーが発生しました。";
inline std::string serviceNotReadText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " は読み込めなかったため、保存しません。";
}
inline std::string emptyFolderQuestion(const std::filesystem::path &folder)
{
    return folder.string() + " にデータがありません。初期データを作成しますか？";
}

// ---- names ----
inline constexpr const char *NodeNamePrompt = "名称を入力してください";
inline constexpr const char *ServiceNamePrompt = "グル－プ名を入力してください";
// "一般のデータを機械・屋外・地中へコピ－": location 0 to the other three.
inline std::string copyLocationCaption(const std::string &from, const std::string &to1, const std::string &to2,
                                       const std::string &to3)
{
    return from + "のデータを" + to1 + "・" + to2 + "・" + to3 + "へコピ－";
}

// ---- editing ----
inline constexpr const char *NoPipeNotice = "管材が選択されていません";
inline constexpr const char *ClearPipeQuestion = "現在の内容をすべてクリア－しますか？";
// The price-level calculation with levels left at 0 %: how many prices it sets to 0, first.
inline std::string levelsAtZeroQuestion(const std::vector<int> &levels, int prices)
{
    std::string names;
    for (const int n : levels)
        names += (names.empty() ? "Level" : "、Level") + std::to_string(n);
    return names + " が 0 % のため、" + std::to_string(prices) +
           " 件の単価が 0 になります。\n計算しますか？";
}
// The refusals of the two editable grids.
inline constexpr const char *FixedColumnRefusal = "この列のセルは編集できません。";
inline constexpr const char *ShowsResultsRefusal = "計算結果を表示しています。現在は編集できません。";
inline constexpr const char *RefrigerantColumnRefusal = "冷媒モードです。この列のセルは編集できません。";
inline constexpr const char *RatesInUseRefusal = "単価に掛け率を使用していますので、現在は入力できません。";

// ---- taking the table out ----
inline constexpr const char *CsvFileCaption = "表示中の管材データをCSVファイルとして出力";
inline constexpr const char *CsvFileDone = "ＣＳＶ出力しました。";
inline constexpr const char *CsvClipboardCaption = "表示中の管材データをクリップボ－ドへＣＳＶ形式で取り出す";
inline constexpr const char *CsvClipboardDone = "クリップボ－ドへコピ－しました。";
inline constexpr const char *XlsxCaption = "表示中の管材データをExcelファイルとして出力";
inline constexpr const char *XlsxDone = "Excelファイルに出力しました。";
// ---- 労務単価改定 ----
inline constexpr const char *LabourRevisionItem = "労務単価改定…";
inline constexpr const char *LabourRevisionCaption = "労務単価改定（基礎工費）";
inline constexpr const char *LabourRevisionShownPipe = "表示中の管材";
inline constexpr const char *LabourRevisionWholeFile = "このファイルのすべての管材";
inline constexpr const char *LabourRevisionPipeHeading = "管材";
inline constexpr const char *LabourRevisionBasisHeading = "単価の種類";
inline std::string labourRevisionFileQuestion(const std::string &summary)
{
    return summary + "\nこのファイルのすべての管材の基礎工費を改定します。この改定は元に戻せません"
                     "（ファイルは「保存」するまで変わりません）。よろしいですか？";
}
// ---- comparing the service file with another pipe price file ----
inline constexpr const char *CompareCaption = "別のファイルと比較…";
inline constexpr const char *CompareFileTitle = "比較するファイルを指定して下さい";
inline constexpr const char *CompareFileFilter = "*.fda";
inline constexpr const char *NoDifferenceNotice = "2つのファイルに違いはありません。";
inline constexpr const char *CompareCsvButton = "CSVファイルに出力";
inline constexpr const char *CompareXlsxButton = "Excelファイルに出力";
inline constexpr const char *CompareCloseButton = "閉じる";
// The comparison dialog's title: from the other file to the one on screen.
inline std::string compareTitle(const std::filesystem::path &other, const std::filesystem::path &current)
{
    return "比較: " + other.string() + " → " + current.string();
}
inline std::string compareCountText(size_t rows) { return "違い: " + std::to_string(rows) + " 件"; }
// The print program's notices are those of torvik's and selvan's price lists too.
using sharedtext::printProgramMissingText;
using sharedtext::printProgramNotStartedText;

// ---- the tables, the grids and the dialogs of the core ----
// The working row an error names: "管材「…」 一般 3 行目（20A）"; a row without a size has no
// size in brackets.
inline std::string rowLabelText(const std::string &pipe, const std::string &place, int row,
                                const std::optional<std::string> &size)
{
    std::string label = (pipe.empty() ? std::string("名称のない管材") : "管材「" + pipe + "」") + " " + place + " " +
                        std::to_string(row) + " 行目";
    if (size)
        label += "（" + *size + "）";
    return label;
}
// The single location tab of a refrigerant pipe.
inline constexpr const char *RefrigerantTabCaption = "一般";
// The heading rows of the rate grid (a refrigerant pipe's columns 5–7 and 9 differ) and of the
// material price grid.
inline constexpr const char *RateGridHeadings[] = {"No",       "採用単価", "複合単価", "提出単価",   "管",    "継 手 類",
                                                   "接 合 材", "支持金物", "配 管 工", "はつり補修", "その他"};
inline constexpr const char *RefrigerantJointHeading = "継手接合等";
inline constexpr const char *RefrigerantSupportHeading = "支持金物";
inline constexpr const char *RefrigerantSundriesHeading = "雑 材 料";
inline constexpr const char *PriceGridHeadings[] = {"No", "LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4", "LEVEL5", "原　価", "定　価"};
// The headings of the tables taken out (CSV, clipboard, print data).
inline constexpr const char *OutputHeadings[] = {"呼び径",   "単位",   "採用単価", "材料単価",   "所要材料", "継  手",
                                                 "接合材等", "支持金物", "配管工",   "はつり補修", "その他",   "合   計"};
// The Excel file's sheet: its title, the labels of its heading rows and the column groups.
inline constexpr const char *XlsxTitle = "複合単価表";
inline constexpr const char *XlsxPipeLabel = "管材名";
inline constexpr const char *XlsxPipeNameSeparator = "　"; // between the pipe's three names
inline constexpr const char *XlsxPlaceLabel = "施工場所";
inline constexpr const char *XlsxBasisLabel = "出力単価";
inline constexpr const char *XlsxLabourLabel = "基礎工費（１人工）";
inline constexpr const char *XlsxRatesGroup = "歩掛";
inline constexpr const char *XlsxAmountsGroup = "金額";
// The output level dialog's radio buttons level1 … level6, and the basis it may not give.
inline constexpr const char *OutputLevelCaptions[] = {"LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4", "LEVEL5", "原　価"};
inline std::string outputBasisRangeText(int basis)
{
    return "出力する単価の種類 " + std::to_string(basis) + " は 1 から 6 の範囲にありません";
}
// The print data's label of the net basis (the levels are "(Level1)" …).
inline constexpr const char *NetPrintLabel = "(仕切)";
inline std::string noSuchDateText(const std::string &date) { return "日付 " + date + " はありません"; }
// The price-level dialog: the groups 端数処理 and 計算方法と掛率, its execute button, and a
// choice it does not have.
inline constexpr const char *LevelAddendCaptions[] = {"四捨五入", "切り上げ", "切り捨て"};
inline constexpr const char *LevelMethodCaptions[] = {"提 出=定価×掛 率％", "提 出=原 価×割増率％"};
inline constexpr const char *LevelExecuteCaption = "実 行";
inline std::string noSuchChoiceText(int choice) { return "選択肢 " + std::to_string(choice) + " はありません。"; }
// The 基本設定 panel: the entries of 有効桁 and the name of a percentage field in its errors.
inline constexpr const char *PriceCodeEntries[] = {"有効桁1", "有効桁10", "有効桁100", "有効桁1000", "有効3桁", "有効4桁"};
inline std::string percentFieldName(int level)
{
    return std::string("掛け率 ") + (level == 0 ? std::string("原価") : "LEVEL" + std::to_string(level));
}
// A labour price in the preview of 労務単価改定: "基礎工費 LEVEL1".
inline std::string labourPriceLabel(const std::string &basis) { return "基礎工費 " + basis; }
// The display layout: the prompts of a uniform cell width per grid, and a layout file that was
// unreadable at the start.
inline constexpr const char *UniformWidthPrompts[] = {"歩掛表のセル幅を入力", "提出単価表のセル幅を入力",
                                                      "複合単価表のセル幅を入力"};
inline std::string layoutNotOverwrittenText(const std::filesystem::path &file)
{
    return "表示設定ファイル " + file.string() + " は起動時に読み込めなかったため、上書きしません。";
}
// The command line "管種;管材": a number out of range, said before number 1 is opened.
inline constexpr const char *ArgumentServiceField = "管種";
inline constexpr const char *ArgumentPipeField = "管材";
inline std::string argumentNumberRefusal(const std::string &what, const std::string &text, int max)
{
    return "コマンドラインの" + what + "番号 " + text + " はありません (1〜" + std::to_string(max) + ")。" + what +
           " 1 を開きます。";
}
// Between the names of the programs tried, in a notice.
inline constexpr const char *ListSeparator = "、";

// ---- the small commands of Information(&I) ----
inline constexpr const char *NotepadName = "メモ帳";
inline constexpr const char *CalculatorName = "電卓";
inline std::string notStartedText(const std::string &what, const std::string &tried)
{
    return what + "を起動できませんでした。\n次のプログラムが見つからないか、起動できません:\n" + tried;
}
inline std::string manualMissingText(const std::string &manual) { return "取扱説明書が見つかりません。\n" + manual; }
inline std::string manualNotOpenedText(const std::string &manual)
{
    return "取扱説明書を開けませんでした。HTML を表示するプログラム（ブラウザー）が見つかりません。\n" + manual;
}
inline std::string installFolderText(const std::string &folder) { return "現在のインストールフォルダー\n" + folder; }
// An installed program also names the user's own folders.
inline std::string installedFoldersText(const std::string &program, const std::string &data, const std::string &settings)
{
    return installFolderText(program) + "\n\nデータフォルダー\n" + data + "\n\n設定フォルダー\n" + settings;
}
inline std::string notAServiceFileText(const std::string &file)
{
    return "ファイル " + file + " は管種のファイル (kanzai1.fda … kanzai10.fda) ではないため開けません。" +
           "データフォルダーの管種 1 を開きます。";
}
inline std::string folderArgumentText(const std::string &folder)
{
    return folder + " はファイルではなくフォルダーです。データフォルダーの管種 1 を開きます。";
}
inline std::string memoryText(std::uint64_t available, std::uint64_t total)
{
    return "現在のメモリーは\nFree " + std::to_string(available) + " / Total " + std::to_string(total) + " Bytes";
}
inline std::string screenResolutionText(int width, int height)
{
    return "現在の画面解像度は\n" + std::to_string(width) + "×" + std::to_string(height);
}
inline const std::string ReleaseText = std::string(Title) + "\nRelease 20040815A";
inline const std::string VersionText = std::string(Title) + "\nVersion2.20";

} // namespace velmo::velmoktext

// ---- velmok-cli ----
namespace velmo::velmoktext {

inline constexpr const char *CliName = "velmok-cli";
// The usage lines after the export formats, and the notes on the commands.
inline constexpr const char *CliUsageTail =
    "        velmok-cli pdf FILE [--level L] OUT.pdf\n"
    "        velmok-cli level FILE [--pipe P] --levels L1,L2,L3,L4,L5 [--method list|cost]\n"
    "                   [--unit 1|10|100|1000|10000] [--addend 0.5|0.9|0] [--write [--force]]\n"
    "        velmok-cli revise-labour FILE (--pipe P | --all) --percent P [--unit 1|10|100|1000]\n"
    "                   [--round up|down|half] [--write [--force]]\n";
inline constexpr const char *CliUsageNotes =
    "  P: 管材 1 … 20   L: 1 … 5 LEVEL1 … LEVEL5、6 原価\n"
    "  revise-labour: 基礎工費 (すべての単価の種類) を P % 上げ下げし、U 円単位に丸めて計算し直します。\n"
    "                 --write がなければ改定内容を JSON で表示するだけでファイルは変えません\n"
    "  --write: 計算した結果をファイルに書き戻します。読み込んだ後にほかのプログラムが変更したファイルには\n"
    "           書き込まず終了状態 3 で終わります (--force で上書き)。読み取り専用のファイルには書き込みません\n"
    "           (終了状態 2)\n";
// The usage errors of its options, each naming the value given.
inline std::string badPipeOptionText(const std::string &given)
{
    return "--pipe には 1 から 20 までの管材番号を指定してください ('" + given + "')";
}
inline std::string badLevelOptionText(const std::string &given)
{
    return "--level には単価の種類 1 から 6 (LEVEL1 … LEVEL5、6 原価) を指定してください ('" + given + "')";
}
inline constexpr const char *NoPipeNumberText = "--pipe の後に管材番号がありません";
inline constexpr const char *NoLevelText = "--level の後に単価の種類がありません";
inline std::string badMethodOptionText(const std::string &given)
{
    return "--method には list か cost を指定してください ('" + given + "')";
}
// --unit and --addend: the values the price-level dialog offers, listed "1、10、100".
inline std::string notAChoiceText(const std::string &option, const std::vector<std::string> &choices,
                                  const std::string &given)
{
    std::string list;
    for (const std::string &c : choices)
        list += (list.empty() ? "" : "、") + c;
    return option + " には " + list + " のどれかを指定してください ('" + given + "')";
}
inline std::string fiveLevelsText(const std::string &given) { return "--levels には 5 つの割合を指定してください ('" + given + "')"; }
inline std::string levelNotPercentText(const std::string &item) { return "--levels: '" + item + "' は割合ではありません"; }
inline std::string levelNegativeText(const std::string &item) { return "--levels: '" + item + "' は負の値です"; }
// Files: one more than the command takes (OUT when it takes one, else FILE), or too few.
inline std::string secondCliFileText(bool out, const std::string &given)
{
    return std::string(out ? "OUT" : "FILE") + " が 2 つ以上あります ('" + given + "')";
}
inline std::string cliNeedsFileText(const std::string &command) { return command + " には FILE が必要です"; }
inline std::string cliNeedsOutText(const std::string &command) { return command + " には FILE と OUT が必要です"; }
inline std::string cliNeedsPipeText(const std::string &command) { return command + " には --pipe P が必要です"; }
inline constexpr const char *LevelNeedsLevelsText = "level には --levels L1,L2,L3,L4,L5 が必要です";
// 以前の版… puts the whole file back: the edits shown would be lost.
inline std::string saveBeforeRestoreText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " に保存していない変更があります。保存してから以前の版に戻してください。";
}
inline constexpr const char *ForceWithoutWriteText = "--force は --write と一緒に指定してください";
// new: never over a file that is there.
inline std::string fileExistsText(const std::filesystem::path &file) { return "ファイル " + file.string() + " はすでにあります"; }
// pdf: the scratch folder's task, and a file without a named pipe.
inline constexpr const char *PdfScratchTask = "PDF出力";
inline std::string noNamedPipeText(const std::filesystem::path &file)
{
    return "ファイル " + file.string() + " には名前のある管材がありません";
}


// ---- the estimate from a quantity list (数量表から見積) ----
// The headings that name the columns of a quantity list, compared as headings are (spaces and
// widths aside, a note in brackets after them dropped); the size column is found as the price
// lists' import finds it.
inline constexpr std::array<const char *, 2> EstimateServiceHeadings = {"設備", "管種"};
inline constexpr std::array<const char *, 2> EstimatePipeHeadings = {"管材", "名称"};
inline constexpr std::array<const char *, 2> EstimateLocationHeadings = {"場所", "施工場所"};
inline constexpr std::array<const char *, 1> EstimateQuantityHeadings = {"数量"};
inline constexpr std::array<const char *, 1> EstimateNoteHeadings = {"備考"};
inline constexpr const char *EstimateSizeHeading = "口径";
inline std::string estimateNoColumnText(const char *heading, const char *option)
{
    return std::string("数量表に見出し「") + heading + "」の列がありません (" + option + " で列を指定できます)";
}
// Why a row of the list is not priced.
inline std::string estimateEmptyCellText(const char *heading) { return std::string("「") + heading + "」が空です"; }
inline std::string estimateUnknownServiceText(const std::string &given)
{
    return "設備「" + given + "」はデータフォルダーにありません";
}
inline std::string estimateNoServiceFileText(const std::string &service, const std::string &file)
{
    return "設備「" + service + "」のファイル " + file + " がありません";
}
inline std::string estimateUnknownPipeText(const std::string &service, const std::string &given)
{
    return "設備「" + service + "」に管材「" + given + "」がありません";
}
inline std::string estimateUnknownLocationText(const std::string &given)
{
    return "施工場所「" + given + "」がありません (屋内一般、機械室、屋外架空、地中配管 か 1 から 4)";
}
inline std::string estimateUnknownSizeText(const std::string &pipe, const std::string &location, const std::string &given)
{
    return "管材「" + pipe + "」の" + location + "に口径「" + given + "」がありません";
}
inline std::string estimateZeroPriceText(const std::string &pipe, const std::string &size, const std::string &basis)
{
    return "管材「" + pipe + "」の口径「" + size + "」は " + basis + " の単価が 0 です";
}
inline std::string estimateQuantityNotNumberText(const std::string &given)
{
    return "数量「" + given + "」は数値ではありません";
}
inline std::string estimateQuantityNegativeText(const std::string &given) { return "数量「" + given + "」が負の値です"; }
inline std::string estimateQuantityDecimalsText(const std::string &given)
{
    return "数量「" + given + "」は小数 2 桁までにしてください";
}
inline std::string estimateAmountRangeText(const std::string &quantity)
{
    return "数量「" + quantity + "」の金額は大きすぎて計算できません";
}
inline std::string estimateNoDataFolderText(const std::filesystem::path &folder)
{
    return "データフォルダー " + folder.string() + " がありません";
}
// The breakdown as it is written out.
inline constexpr const char *EstimateTitle = "内訳明細書";
inline constexpr std::array<const char *, 8> EstimateColumns = {"名称", "規格", "口径", "数量",
                                                                "単位", "単価", "金額", "備考"};
inline constexpr std::array<const char *, 3> EstimateCostColumns = {"原価単価", "原価金額", "粗利"};
inline constexpr const char *EstimateServiceColumn = "設備";
inline constexpr const char *EstimateSubtotal = "小計";
inline constexpr const char *EstimateTotal = "合計";
inline constexpr const char *EstimateBasisLabel = "単価の種類";
inline constexpr const char *EstimateListLabel = "数量表";
inline constexpr const char *EstimateUnmatchedSheet = "計上できない行";
inline constexpr std::array<const char *, 2> EstimateUnmatchedColumns = {"行", "理由"};
inline std::string estimateMemoText(const std::string &basis, const std::string &list)
{
    return std::string(EstimateBasisLabel) + " " + basis + "　" + EstimateListLabel + " " + list;
}
// The dialog 数量表から見積.
inline constexpr const char *EstimateCaption = "数量表から見積…";
inline constexpr const char *EstimateDialogTitle = "数量表から見積";
inline constexpr const char *EstimateListTitle = "数量表を指定して下さい";
inline constexpr const char *EstimateListFilter = "*.csv *.txt *.xlsx *.ods";
inline constexpr const char *EstimateNoList = "数量表が選ばれていません";
inline constexpr const char *EstimateShownNote =
    "表示中の設備は、保存していない変更も含めて画面の単価で見積もります。";
inline constexpr const char *EstimateChooseButton = "数量表を選ぶ…";
inline constexpr const char *EstimateBasisCaption = "単価の種類";
inline constexpr const char *EstimateRoundCaption = "金額の端数";
inline constexpr std::array<const char *, 3> EstimateRoundNames = {"切り捨て", "四捨五入", "切り上げ"};
inline constexpr const char *EstimateCostCheck = "原価と粗利を表示";
inline constexpr const char *EstimateXlsxButton = "Excelファイルに保存";
inline constexpr const char *EstimatePdfButton = "PDFに保存";
inline constexpr const char *EstimateCsvButton = "CSVファイルに保存";
inline constexpr const char *EstimatePdfFilter = "*.pdf";
inline constexpr const char *PdfDone = "PDFに保存しました。";
inline std::string estimateCountsText(size_t priced, size_t unmatched)
{
    return "計上 " + std::to_string(priced) + " 行、計上できない行 " + std::to_string(unmatched) + " 行";
}
inline std::string estimateUnmatchedLine(int row) { return std::to_string(row) + " 行目"; }
// The command line's estimate.
inline constexpr const char *CliEstimateUsage =
    "        velmok-cli estimate QUANTITIES --data FOLDER [--level L] [--amount-round down|half|up] [--cost]\n"
    "                   [--sheet S] [--service-column C] [--pipe-column C] [--location-column C]\n"
    "                   [--size-column C] [--quantity-column C] [--note-column C] [--csv | --xlsx OUT | --pdf OUT]\n";
inline constexpr const char *CliEstimateNotes =
    "  estimate: 数量表 (CSV、.xlsx、.ods) の各行を単価の種類 L (7 定価 も可) の採用単価で見積もります。\n"
    "            計上できない行は行番号と理由を示し、合計には入れません (終了状態 1)\n";
inline std::string badEstimateLevelText(const std::string &given)
{
    return "--level には単価の種類 1 から 7 (LEVEL1 … LEVEL5、6 原価、7 定価) を指定してください ('" + given + "')";
}
inline std::string badAmountRoundText(const std::string &given)
{
    return "--amount-round には down、half、up のどれかを指定してください ('" + given + "')";
}
inline constexpr const char *EstimateNeedsDataText = "estimate には --data でデータフォルダーを指定してください";
inline constexpr const char *EstimateOneOutputText = "--csv、--xlsx、--pdf はどれか一つだけ指定してください";
inline constexpr const char *EstimateNeedsListText = "estimate には数量表のファイルを指定してください";
inline std::string estimateExtraArgumentText(const std::string &given)
{
    return "estimate に余分な引数があります ('" + given + "')";
}

} // namespace velmo::velmoktext
