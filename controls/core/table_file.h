#pragma once
// One writer for the tables the programs export (price lists, comparisons): a CSV file in
// Shift-JIS with CR LF, and an .xlsx workbook with one sheet per table, figures as numbers.
#include "controls/core/currency.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

// A cell: its text as the CSV writes it and, for a figure, the number an .xlsx cell holds.
struct TableCell {
    std::string text;
    std::optional<Currency> number;
};
TableCell textCell(std::string text);
TableCell numberCell(Currency value); // the text is the plain number ("-1234.5")

using TableRow = std::vector<TableCell>;

// A sheet of a workbook; its first row is the heading row (bold, frozen).
struct TableSheet {
    std::string name;
    std::vector<TableRow> rows;
};

// The rows as CSV in CP932 with CR LF after every row; a field holding a comma, a quote or a
// line end is quoted, with "" for a quote.
std::string tableCsvBytes(const std::vector<TableRow> &rows);

// The sheets as an .xlsx workbook: sheet names made safe and unique ("表N" when empty), the
// first row bold and frozen, figures as numbers with "," grouping and the decimals their column
// needs. Raises IoError naming `target` when the workbook cannot be put together.
std::string tableXlsxBytes(const std::vector<TableSheet> &sheets, const std::filesystem::path &target);

} // namespace velmo
