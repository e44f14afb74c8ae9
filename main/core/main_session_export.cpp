// The main window's commands that take the selected pipe's table out of the program: the items
// of 外部デ－タ入出力 (one ExportFormat each) and the print hand-off.
//
// Printing is not an ExportFormat: it writes three files into the program folder rather than
// one output where the person chooses, and it ends by starting the print program; velmok-cli's
// pdf hands every named pipe over at once. It shares the output level dialog with the formats.
#include "main/core/main_session.h"

#include "controls/core/errors.h"
#include "controls/core/fileio.h"
#include "handoff/handoff_files.h"
#include "controls/core/programs.h"

namespace velmo {

std::optional<OutputLevelChoice> MainSession::chooseOutput(bool withOptions)
{
    // An empty table is not the pipe's data: without a pipe nothing is asked or written.
    if (!pipeLoaded_) {
        ui_.notice(velmoktext::NoPipeNotice, controltext::NoticeButton);
        return std::nullopt;
    }
    OutputLevelChoice choice = ui_.askOutputLevel(withOptions);
    if (choice.basis < 1 || choice.basis > OutputLevelCount)
        choice.basis = 1;
    if (!withOptions)
        choice.heading = choice.results = false;
    // The dialog's basis becomes the selected column of the material price grid, as a click
    // on that column would, whether or not the dialog was confirmed.
    basis_ = basisAt(choice.basis);
    ui_.showNow();
    if (!choice.confirmed)
        return std::nullopt;
    return choice;
}

void MainSession::exportTable(const ExportFormat &format)
{
    const auto choice = chooseOutput(format.takesOptions());
    if (!choice)
        return;
    const std::vector<std::string> tabs = tabCaptions();
    if (format.destination() == ExportDestination::Clipboard) {
        ui_.setClipboardText(format.bytes({table_, tabs, *choice, {}}));
    } else {
        const auto path = ui_.chooseSaveFile(format.fileFilter(), format.defaultSuffix());
        if (!path)
            return;
        format.write({table_, tabs, *choice, *path});
    }
    ui_.notice(format.doneNotice(), controltext::NoticeButton);
}

void MainSession::print()
{
    const auto choice = chooseOutput(false);
    if (!choice)
        return;
    const std::string data = buildOutputText(table_, tabCaptions(), OutputMode::Print, *choice);
    writePrintHandoff(programDir_, data, table_, basisNumber(basis_), ui_.today());

    const auto program = findProgram(handoff::PrintProgram, programDir_);
    if (!program) {
        ui_.notice(velmoktext::printProgramMissingText(handoff::PrintProgram, programDir_), controltext::NoticeButton);
        return;
    }
    if (!ui_.startProgram(program->string(), {}, programDir_.string()))
        ui_.notice(velmoktext::printProgramNotStartedText(program->string()), controltext::NoticeButton);
}

} // namespace velmo
