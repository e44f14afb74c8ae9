// The main window's commands that take the selected pipe's table out of the program: the items
// of 外部デ－タ入出力 (one ExportFormat each) and the print hand-off.
//
// Printing is not an ExportFormat: it writes three files into the program folder rather than
// one output where the person chooses, and it ends by starting the print program; velmok-cli's
// pdf hands every named pipe over at once. It shares the output level dialog with the formats.
#include "base/shared_texts.h"
#include "velmok/session/main_outputs.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "handoff/handoff_files.h"
#include "base/programs.h"
#include "velmok/exports/file_comparison.h"
#include "velmok/exports/print_handoff.h"
#include "velmok/exports/text_builder.h"
#include "velmok/core/velmok_texts.h"
#include "pricefile/service_file.h"

namespace velmo {

std::optional<OutputLevelChoice> MainOutputs::chooseOutput(bool withOptions)
{
    // An empty table is not the pipe's data: without a pipe nothing is asked or written.
    if (!source_.pipeLoaded()) {
        ui_.notice(velmoktext::NoPipeNotice, sharedtext::NoticeButton);
        return std::nullopt;
    }
    OutputLevelChoice choice = ui_.askOutputLevel(withOptions);
    if (!isOutputBasis(choice.basis))
        choice.basis = Basis::Level1;
    if (!withOptions)
        choice.heading = choice.results = false;
    // The dialog's basis becomes the selected column of the material price grid, as a click
    // on that column would, whether or not the dialog was confirmed.
    source_.selectBasis(choice.basis);
    ui_.showNow();
    if (!choice.confirmed)
        return std::nullopt;
    return choice;
}

void MainOutputs::exportTable(const ExportFormat &format)
{
    const auto choice = chooseOutput(format.takesOptions());
    if (!choice)
        return;
    const std::vector<std::string> tabs = source_.tabCaptions();
    if (format.destination() == ExportDestination::Clipboard) {
        // The CSV text, and beside it the same rows as a table that a spreadsheet pastes as cells.
        const std::string text = format.bytes({source_.table(), tabs, *choice, {}});
        ui_.setClipboardContent({text, sheetHtml(parseSheetText(text, ','))});
    } else {
        // Named after the service and the pipe shown: "給水_水道用硬質塩化ビニルライニング鋼管.CSV".
        const std::string pipe = source_.pipeLoaded() ? source_.table().row(1).rec.name.text() : std::string();
        const auto path = ui_.chooseSaveFile(format.fileFilter(), format.defaultSuffix(),
                                             suggestedFileName({source_.serviceName(), pipe}, format.defaultSuffix()));
        if (!path)
            return;
        format.write({source_.table(), tabs, *choice, *path});
    }
    ui_.notice(format.doneNotice(), sharedtext::NoticeButton);
}

void MainOutputs::compareWithFile()
{
    const ServiceFile &shown = source_.loadedFile();
    const auto other = ui_.chooseFileToCompare();
    if (!other)
        return;
    ServiceFile older;
    older.load(*other);
    FileComparison comparison(ui_, *other, source_.filePath(), comparePipeFiles(older, shown));
    if (comparison.rowCount() == 0) {
        ui_.notice(velmoktext::NoDifferenceNotice, sharedtext::NoticeButton);
        return;
    }
    ui_.showComparison(comparison);
}

void MainOutputs::print()
{
    const auto choice = chooseOutput(false);
    if (!choice)
        return;
    const std::string data = buildOutputText(source_.table(), source_.tabCaptions(), OutputMode::Print, *choice);
    // The dialog's basis is the selected basis now.
    writePrintHandoff(homes_.handoff, data, source_.table(), choice->basis, ui_.today());

    const auto program = findProgram(handoff::PrintProgram, homes_.program);
    if (!program) {
        ui_.notice(velmoktext::printProgramMissingText(handoff::PrintProgram, homes_.program), sharedtext::NoticeButton);
        return;
    }
    // The print program starts in the hand-off folder and reads the files there.
    if (!ui_.startProgram(program->string(), {}, homes_.handoff.string()))
        ui_.notice(velmoktext::printProgramNotStartedText(program->string()), sharedtext::NoticeButton);
}

} // namespace velmo
