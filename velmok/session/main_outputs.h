#pragma once
// The main window's commands that take the selected pipe's table out of the program: the items
// of 外部デ－タ入出力 (one ExportFormat each), the comparison with another file and the print
// hand-off. It reads the session's table and service file through an OutputSource and asks the
// person through the MainUserInterface.
#include "velmok/exports/export_format.h"
#include "velmok/session/main_seams.h"
#include "velmok/session/main_user_interface.h"
#include "velmok/exports/output_level.h"
#include "base/program_homes.h"

#include <optional>

namespace velmo {

class MainOutputs {
public:
    // homes: the program folder, where the print program is looked for, and the hand-off folder.
    MainOutputs(OutputSource &source, MainUserInterface &ui, const ProgramHomes &homes)
        : source_(source), ui_(ui), homes_(homes)
    {
    }
    MainOutputs(const MainOutputs &) = delete;
    MainOutputs &operator=(const MainOutputs &) = delete;

    // Each asks the output level dialog first; its basis becomes the selected basis column
    // even when the dialog is cancelled, and a cancelled dialog writes nothing.
    // An item of 外部デ－タ入出力 (exportFormats()): a file chosen in the save dialog or the
    // clipboard, then the format's notice.
    void exportTable(const ExportFormat &format);
    // N8: print_Data.dat, Print.conf and print_header.dat beside the program, then the print
    // program, started without waiting; one that cannot be found or started is named in a
    // notice.
    void print();
    // "別のファイルと比較…": asks for another pipe price file, reads it whole (a file that
    // cannot be read raises IoError naming it) and shows what changed from it to the service
    // file on screen, unsaved edits included, in the comparison dialog; identical files give a
    // notice instead. Nothing is written but what the dialog's exports write.
    void compareWithFile();
    // What the outputs read, for the dialog 数量表から見積, which prices the service shown.
    OutputSource &source() { return source_; }

private:
    // Shows the output level dialog and selects its basis; nothing when there is no pipe or
    // the dialog was cancelled.
    std::optional<OutputLevelChoice> chooseOutput(bool withOptions);

    OutputSource &source_;
    MainUserInterface &ui_;
    const ProgramHomes &homes_;
};

} // namespace velmo
