#pragma once
// The selected pipe as delimited text (text_builder.h): a CSV file in CP932 with CR LF, and the
// same rows on the clipboard, ready to paste into a spreadsheet.
#include "velmok/exports/export_format.h"
#include "velmok/core/velmok_texts.h"

namespace velmo {

// "表示中の管材データをCSVファイルとして出力": the file text and one CR LF, in CP932; on the
// command line it goes to standard output.
class CsvFileExport : public ExportFormat {
public:
    const char *name() const override { return "csv"; }
    const char *menuCaption() const override { return velmoktext::CsvFileCaption; }
    const char *fileFilter() const override { return "*.CSV"; }
    const char *defaultSuffix() const override { return "CSV"; }
    bool takesOptions() const override { return true; }
    CommandLineOutput commandLine() const override { return CommandLineOutput::StandardOutput; }
    const char *doneNotice() const override { return velmoktext::CsvFileDone; }
    std::string bytes(const ExportInput &in) const override;
};

// "表示中の管材データをクリップボ－ドへＣＳＶ形式で取り出す": the clipboard text, without the
// final line end; the window only.
class CsvClipboardExport : public ExportFormat {
public:
    const char *name() const override { return "clipboard"; }
    const char *menuCaption() const override { return velmoktext::CsvClipboardCaption; }
    ExportDestination destination() const override { return ExportDestination::Clipboard; }
    bool takesOptions() const override { return true; }
    CommandLineOutput commandLine() const override { return CommandLineOutput::None; }
    const char *doneNotice() const override { return velmoktext::CsvClipboardDone; }
    std::string bytes(const ExportInput &in) const override;
};

} // namespace velmo
