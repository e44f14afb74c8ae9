#pragma once
// One writer for the tables the programs export (price lists, comparisons): a CSV file in
// Shift-JIS with CR LF, and an .xlsx workbook with one sheet per table, figures as numbers.
#include "base/currency.h"

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

// A line above the table of a sheet: a label in the first column and its text in one cell
// merged across the rest of the table, or, without a label, the text merged across the whole
// table. A text wider than the table widens its merged cell, never a column of the table.
struct TableTitle {
    std::string label;
    std::string text;
    bool bold = false;
};

// A sheet of a workbook: title lines, an empty line after them, then the table, whose first
// `headingRows` rows are headings (bold, centred, frozen with everything above them). In a
// heading row above the last, neighbours of one text become one merged cell (a group over its
// columns); every column keeps its own heading in the last heading row.
struct TableSheet {
    std::string name;
    std::vector<TableRow> rows;
    std::vector<TableTitle> titles = {};
    int headingRows = 1;
};

// The rows as CSV in CP932 with CR LF after every row; a field holding a comma, a quote or a
// line end is quoted, with "" for a quote.
std::string tableCsvBytes(const std::vector<TableRow> &rows);

// The sheets as an .xlsx workbook: sheet names made safe and unique ("表N" when empty); each
// column as wide as the widest text or figure of its table (not its titles); figures as numbers
// with "," grouping and the decimals each value has ("18,500" beside "1,234.5"); printed on A4
// in landscape, one page wide, the headings repeated on every page. Raises IoError naming
// `target` when the workbook cannot be put together.
std::string tableXlsxBytes(const std::vector<TableSheet> &sheets, const std::filesystem::path &target);

} // namespace velmo
