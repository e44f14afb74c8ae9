#pragma once
// One way of taking the selected pipe's table out of the program, as the menu 外部デ－タ入出力,
// the main session and velmok-cli all see it. A new format is one class deriving from
// ExportFormat and one line in the registry of export_format.cpp: the menu item, the session's
// command and the command-line subcommand follow from it.
#include "velmok/core/calc.h"
#include "velmok/exports/output_level.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// Where the output of a format goes in the window.
enum class ExportDestination {
    File,      // a file chosen in the save dialog
    Clipboard, // the system clipboard, as text
};

// How velmok-cli offers a format.
enum class CommandLineOutput {
    None,           // not at all
    StandardOutput, // `velmok-cli NAME FILE --pipe P [--level L] …`, the bytes on standard output
    OutFile,        // `velmok-cli NAME FILE --pipe P [--level L] … OUT.<suffix>`, written into OUT
};

// What a format is made from: one pipe's calculated table, its location tab captions, the
// output level dialog's choice (or the command line's), and the file the output is for.
struct ExportInput {
    const WorkingTable &table;
    const std::vector<std::string> &tabs;
    OutputLevelChoice choice;
    std::filesystem::path target; // named in the errors of bytes() and write(); empty for the clipboard
};

class ExportFormat {
public:
    virtual ~ExportFormat() = default;

    // The subcommand of velmok-cli and the name tests and callers look the format up by.
    virtual const char *name() const = 0;
    // The item of the menu 外部デ－タ入出力, and whether a separator goes above it.
    virtual const char *menuCaption() const = 0;
    virtual bool separatedAbove() const { return false; }
    virtual ExportDestination destination() const { return ExportDestination::File; }
    // For a file: the save dialog's filter ("*.CSV") and the suffix a name typed without one
    // gets ("CSV"), also the suffix of OUT in the command line's usage.
    virtual const char *fileFilter() const { return ""; }
    virtual const char *defaultSuffix() const { return ""; }
    // Whether the output level dialog shows its two check boxes (見出しを出力, 計算結果を出力)
    // and velmok-cli takes --heading and --results; without them both count as clear.
    virtual bool takesOptions() const = 0;
    virtual CommandLineOutput commandLine() const { return CommandLineOutput::OutFile; }
    // The notice once the output is in its place.
    virtual const char *doneNotice() const = 0;

    // The output: the bytes of the file, or the clipboard's text (UTF-8). Raises IoError
    // naming `in.target` when it cannot be made.
    virtual std::string bytes(const ExportInput &in) const = 0;
    // Writes bytes(in) whole into `in.target`, or nothing when they cannot be made.
    void write(const ExportInput &in) const;
};

// Every format, in the order of the menu 外部デ－タ入出力.
const std::vector<const ExportFormat *> &exportFormats();
// The format of a name (ExportFormat::name); nullptr when there is none.
const ExportFormat *findExportFormat(std::string_view name);

} // namespace velmo
