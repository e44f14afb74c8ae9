// The main window's commands that take the selected pipe's table out of the program: the items
// of 外部デ－タ入出力 (one ExportFormat each) and the print hand-off.
//
// Printing is not an ExportFormat: it writes three files into the program folder rather than
// one output where the person chooses, and it ends by starting the print program; velmok-cli's
// pdf hands every named pipe over at once. It shares the output level dialog with the formats.
#include "base/shared_texts.h"
#include "velmok/core/main_outputs.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "handoff/handoff_files.h"
#include "base/programs.h"
#include "velmok/core/file_comparison.h"
#include "velmok/core/main_session.h"
#include "pricefile/service_file.h"

namespace velmo {

std::optional<OutputLevelChoice> MainOutputs::chooseOutput(bool withOptions)
{
    // An empty table is not the pipe's data: without a pipe nothing is asked or written.
    if (!s_.pipeLoaded_) {
        s_.ui_.notice(velmoktext::NoPipeNotice, controltext::NoticeButton);
        return std::nullopt;
    }
    OutputLevelChoice choice = s_.ui_.askOutputLevel(withOptions);
    if (!isOutputBasis(choice.basis))
        choice.basis = Basis::Level1;
    if (!withOptions)
        choice.heading = choice.results = false;
    // The dialog's basis becomes the selected column of the material price grid, as a click
    // on that column would, whether or not the dialog was confirmed.
    s_.basis_ = choice.basis;
    s_.ui_.showNow();
    if (!choice.confirmed)
        return std::nullopt;
    return choice;
}

void MainOutputs::exportTable(const ExportFormat &format)
{
    const auto choice = chooseOutput(format.takesOptions());
    if (!choice)
        return;
    const std::vector<std::string> tabs = s_.tabCaptions();
    if (format.destination() == ExportDestination::Clipboard) {
        // The CSV text, and beside it the same rows as a table that a spreadsheet pastes as cells.
        const std::string text = format.bytes({s_.table_, tabs, *choice, {}});
        s_.ui_.setClipboardContent({text, sheetHtml(parseSheetText(text, ','))});
    } else {
        // Named after the service and the pipe shown: "給水_水道用硬質塩化ビニルライニング鋼管.CSV".
        const std::string pipe = s_.pipeLoaded_ ? s_.table_.row(1).rec.name.text() : std::string();
        const auto path = s_.ui_.chooseSaveFile(format.fileFilter(), format.defaultSuffix(),
                                                suggestedFileName({s_.names_.services[s_.position_.service], pipe}, format.defaultSuffix()));
        if (!path)
            return;
        format.write({s_.table_, tabs, *choice, *path});
    }
    s_.ui_.notice(format.doneNotice(), controltext::NoticeButton);
}

void MainOutputs::compareWithFile()
{
    s_.requireServiceLoaded();
    const auto other = s_.ui_.chooseFileToCompare();
    if (!other)
        return;
    ServiceFile older;
    older.load(*other);
    FileComparison comparison(s_.ui_, *other, s_.currentFilePath(), comparePipeFiles(older, s_.file_));
    if (comparison.rowCount() == 0) {
        s_.ui_.notice(velmoktext::NoDifferenceNotice, controltext::NoticeButton);
        return;
    }
    s_.ui_.showComparison(comparison);
}

void MainOutputs::print()
{
    const auto choice = chooseOutput(false);
    if (!choice)
        return;
    const std::string data = buildOutputText(s_.table_, s_.tabCaptions(), OutputMode::Print, *choice);
    writePrintHandoff(s_.homes_.handoff, data, s_.table_, s_.basis_, s_.ui_.today());

    const auto program = findProgram(handoff::PrintProgram, s_.programDir_);
    if (!program) {
        s_.ui_.notice(velmoktext::printProgramMissingText(handoff::PrintProgram, s_.programDir_), controltext::NoticeButton);
        return;
    }
    // The print program starts in the hand-off folder and reads the files there.
    if (!s_.ui_.startProgram(program->string(), {}, s_.homes_.handoff.string()))
        s_.ui_.notice(velmoktext::printProgramNotStartedText(program->string()), controltext::NoticeButton);
}

} // namespace velmo
