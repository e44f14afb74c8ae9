#pragma once
// The selected pipe as an Excel workbook: one sheet per location with the pipe's names, the
// basis and its labour price above a table of the size rows (size, unit, adopted price,
// material price, the seven factors, the seven components, the total). Figures are numbers
// with grouping formats; factors keep their decimals.
#include "velmok/core/calc.h"
#include "velmok/exports/export_format.h"
#include "velmok/core/velmok_texts.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmo {

// The name of a worksheet for a location caption: the characters Excel refuses ([ ] : * ? / \)
// become "_", at most 31 characters, "場所N" when empty, a number appended when taken.
std::string worksheetName(const std::string &caption, int location, const std::vector<std::string> &taken);

// The .xlsx bytes of the calculated table for a basis (1 … 5 LEVEL, 6 NET); `tabs` are the
// location tab captions. Raises IoError naming `target`, the file the workbook is for, and the
// cause when it cannot be assembled.
std::string xlsxWorkbookBytes(const WorkingTable &table, const std::vector<std::string> &tabs, Basis basis,
                              const std::filesystem::path &target);

// "表示中の管材データをExcelファイルとして出力": the workbook for the chosen basis; on the
// command line it is written into OUT.
class XlsxExport : public ExportFormat {
public:
    const char *name() const override { return "xlsx"; }
    const char *menuCaption() const override { return velmoktext::XlsxCaption; }
    bool separatedAbove() const override { return true; }
    const char *fileFilter() const override { return "*.xlsx"; }
    const char *defaultSuffix() const override { return "xlsx"; }
    bool takesOptions() const override { return false; }
    const char *doneNotice() const override { return velmoktext::XlsxDone; }
    std::string bytes(const ExportInput &in) const override;
};

} // namespace velmo
