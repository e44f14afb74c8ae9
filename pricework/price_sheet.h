#pragma once
// A supplier's price list as a table of cell texts: a CSV or tab-separated text file (UTF-8 or
// Shift-JIS), the sheets of an Excel workbook (.xlsx) or of an OpenDocument spreadsheet (.ods),
// with the rows and sheets the spreadsheet hides marked. Only read, never written.
#include "base/sheet_text.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace velmo {

// The largest price list read; a larger file is refused before a byte of it is read. A part of
// a workbook is refused when it unpacks to more than MaxPriceSheetPartBytes.
constexpr uintmax_t MaxPriceSheetBytes = uintmax_t{20} << 20;
constexpr uintmax_t MaxPriceSheetPartBytes = uintmax_t{200} << 20;

struct PriceSheet {
    PriceSheet(std::string sheetName = {}, SheetRows sheetRows = {}, bool sheetHidden = false,
               std::vector<int> rowsHidden = {})
        : name(std::move(sheetName)), rows(std::move(sheetRows)), hidden(sheetHidden), hiddenRows(std::move(rowsHidden))
    {
    }
    std::string name; // the sheet's name; empty for a text file
    SheetRows rows;   // cell texts in UTF-8; row r of the list is rows[r - 1]
    bool hidden = false;         // a sheet the workbook hides
    std::vector<int> hiddenRows; // 0-based rows the sheet hides (filtered out or collapsed), ascending
    bool rowHidden(size_t row) const;
};

struct PriceBook {
    std::filesystem::path file;
    std::vector<PriceSheet> sheets; // a text file has one
    // The sheet called `name`, or the first sheet the book shows when `name` is empty (the
    // first sheet when it hides them all); a name the book does not have raises IoError naming
    // the file and the sheet.
    const PriceSheet &sheet(const std::string &name) const;
    int sheetIndex(const std::string &name) const;
};

// Reads a price list: a file whose first bytes are those of a ZIP archive is a workbook (an
// .xlsx when it holds xl/workbook.xml, an .ods when it holds content.xml), any other file text. Text is UTF-8 when it is valid UTF-8 (with or without a byte order mark),
// else Shift-JIS; its cells are separated by tabs when its first line has a tab outside quotes,
// else by commas; a cell in double quotes may hold the separator, line
// ends and "" for a quote. A workbook gives its sheets in order, each cell by its position:
// shared strings, inline strings and numbers (a number as plain decimal text, at most four
// decimals); hidden sheets (state hidden or veryHidden) and rows (hidden="1") are marked. An
// .ods gives the tables of content.xml, rows and cells repeated as often as they say (empty ones
// only counted), float, currency and percentage cells by their office:value, other cells by
// their text; rows of table:visibility "collapse" or "filter" and tables whose style has
// table:display="false" are marked hidden. A missing file, a folder, a file over MaxPriceSheetBytes and a damaged workbook
// raise IoError naming the file.
PriceBook readPriceBook(const std::filesystem::path &file);
// The sheets of a workbook (.xlsx or .ods) already read into `bytes` (`file` names it in
// messages).
std::vector<PriceSheet> workbookSheets(const std::filesystem::path &file, const std::string &bytes);

// Bytes as text: UTF-8 (a byte order mark dropped) when valid, else decoded from CP932.
std::string priceListText(std::string_view bytes);

} // namespace velmo
