#pragma once
// Text that travels between the price grids and a spreadsheet through the clipboard: rows of
// cells separated by tabs (or by commas, as a CSV file holds them) beside the same cells as an
// HTML table, and figures as a spreadsheet user writes them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

using SheetRows = std::vector<std::vector<std::string>>;

// What the clipboard holds for the programs: plain text (UTF-8) and an HTML table, each empty
// when it holds none. A spreadsheet offers both; it reads the HTML table without asking how
// to split the text.
struct ClipboardContent {
    std::string text;
    std::string html;
    bool operator==(const ClipboardContent &) const = default;
};

// Splits clipboard text (UTF-8) into rows and cells: tab-separated when any tab occurs, else
// comma-separated, unless every line with a comma is one figure with "," grouping (a single
// column copied from a spreadsheet: one cell per line); a cell in double quotes may hold the separator, line ends and "" for a quote.
// Line ends are CR LF, LF or CR; the line end after the last row adds no empty row.
SheetRows parseSheetText(std::string_view text);
// The same with the separator given (nothing: one cell per line).
SheetRows parseSheetText(std::string_view text, std::optional<char> separator);

// The plain number text ("-1234.5") of a figure as a spreadsheet shows it: "," grouping in
// threes, full-width digits, point, comma and minus, a leading "¥" or "￥", a trailing "円",
// "%" (only where percentAllowed), spaces around. Nothing when the cell is no such figure.
std::optional<std::string> sheetNumberText(std::string_view cell, bool percentAllowed = false);

// Rows of cells as tab-separated text with a LF after each row, ready to paste into a
// spreadsheet (a cell holding a tab, line end or quote is quoted).
std::string sheetText(const SheetRows &rows);

// The cells as an HTML table (UTF-8): a cell that is a figure ("-1,234.5") is marked with its
// plain number, so that a spreadsheet takes it as a number and keeps every decimal.
std::string sheetHtml(const SheetRows &rows);

// The rows of the first table of an HTML text: the texts of its <td> and <th> cells with the
// tags gone, entities decoded and white space collapsed; a cell spanning n columns is followed
// by n - 1 empty cells. Empty when the text holds no table.
SheetRows parseSheetHtml(std::string_view html);

// Rows as the clipboard offers them: the tab-separated text and the HTML table.
ClipboardContent sheetClipboard(const SheetRows &rows);
// The cells on the clipboard: those of its text, or of its HTML table when it holds no text.
SheetRows clipboardRows(const ClipboardContent &content);

} // namespace velmo
