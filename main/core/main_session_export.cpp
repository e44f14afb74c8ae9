// The main window's commands that take the selected pipe's table out of the program: the CSV
// file, the clipboard, the Excel workbook and the print hand-off.
#include "main_session.h"

#include "errors.h"
#include "fileio.h"
#include "handoff_files.h"
#include "programs.h"
#include "xlsx_export.h"

namespace velmo {

namespace {

constexpr const char *CsvNotice = "ＣＳＶ出力しました。";
constexpr const char *ClipboardNotice = "クリップボ－ドへコピ－しました。";
constexpr const char *ExcelNotice = "Excelファイルに出力しました。";

} // namespace

std::optional<OutputLevelChoice> MainSession::chooseOutput(bool withOptions)
{
    // An empty table is not the pipe's data: without a pipe nothing is asked or written.
    if (!pipeLoaded_) {
        ui_.notice(velmoktext::NoPipeNotice, controltext::NoticeButton);
        return std::nullopt;
    }
    OutputLevelChoice choice = askOutputLevel ? askOutputLevel(withOptions) : OutputLevelChoice{};
    if (choice.basis < 1 || choice.basis > OutputLevelCount)
        choice.basis = 1;
    if (!withOptions)
        choice.heading = choice.results = false;
    // The dialog's basis becomes the selected column of the material price grid, as a click
    // on that column would, whether or not the dialog was confirmed.
    basisColumn_ = choice.basis;
    if (showNow)
        showNow();
    if (!choice.confirmed)
        return std::nullopt;
    return choice;
}

void MainSession::exportCsv()
{
    const auto choice = chooseOutput(true);
    if (!choice)
        return;
    const std::string text = buildOutputText(table_, tabCaptions(), OutputMode::File, *choice);
    const auto path = ui_.chooseSaveFile("*.CSV", "CSV");
    if (!path)
        return;
    writeFileAtomically(*path, outputFileBytes(text));
    ui_.notice(CsvNotice, "確認");
}

void MainSession::copyCsv()
{
    const auto choice = chooseOutput(true);
    if (!choice)
        return;
    ui_.setClipboardText(buildOutputText(table_, tabCaptions(), OutputMode::Clipboard, *choice));
    ui_.notice(ClipboardNotice, "確認");
}

void MainSession::exportExcel()
{
    const auto choice = chooseOutput(false);
    if (!choice)
        return;
    const auto path = ui_.chooseSaveFile("*.xlsx", "xlsx");
    if (!path)
        return;
    writeFileAtomically(*path, xlsxWorkbookBytes(table_, tabCaptions(), choice->basis, *path));
    ui_.notice(ExcelNotice, "確認");
}

void MainSession::print()
{
    const auto choice = chooseOutput(false);
    if (!choice)
        return;
    const std::string data = buildOutputText(table_, tabCaptions(), OutputMode::Print, *choice);
    writePrintHandoff(programDir_, data, table_, basisColumn_, today ? today() : localToday());

    const auto program = findProgram(handoff::PrintProgram, programDir_);
    if (!program) {
        ui_.notice("印刷プログラム " + std::string(handoff::PrintProgram) + " が見つかりません。\n" +
                       "印刷データは " + programDir_.string() + " に書き出しました。",
                   "確認");
        return;
    }
    if (!ui_.startProgram(program->string(), {}, programDir_.string()))
        ui_.notice("印刷プログラム " + program->string() + " を起動できませんでした。", "確認");
}

} // namespace velmo
