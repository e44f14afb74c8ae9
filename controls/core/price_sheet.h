#pragma once
// A supplier's price list as a table of cell texts: a CSV or tab-separated text file (UTF-8 or
// Shift-JIS) or the sheets of an Excel workbook (.xlsx). Only read, never written.
#include "controls/core/sheet_text.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmo {

// The largest price list read; a larger file is refused before a byte of it is read. A part of
// a workbook is refused when it unpacks to more than MaxPriceSheetPartBytes.
constexpr uintmax_t MaxPriceSheetBytes = uintmax_t{20} << 20;
constexpr uintmax_t MaxPriceSheetPartBytes = uintmax_t{200} << 20;

struct PriceSheet {
    std::string name; // the sheet's name; empty for a text file
    SheetRows rows;   // cell texts in UTF-8; row r of the list is rows[r - 1]
};

struct PriceBook {
    std::filesystem::path file;
    std::vector<PriceSheet> sheets; // a text file has one
    // The sheet called `name`, or the first one when `name` is empty; a name the book does not
    // have raises IoError naming the file and the sheet.
    const PriceSheet &sheet(const std::string &name) const;
    int sheetIndex(const std::string &name) const;
};

// Reads a price list: a file whose first bytes are those of a ZIP archive is a workbook, any
// other file text. Text is UTF-8 when it is valid UTF-8 (with or without a byte order mark),
// else Shift-JIS; its cells are separated by tabs when its first line has a tab outside quotes,
// else by commas; a cell in double quotes may hold the separator, line
// ends and "" for a quote. A workbook gives its sheets in order, each cell by its position:
// shared strings, inline strings and numbers (a number as plain decimal text, at most four
// decimals). A missing file, a folder, a file over MaxPriceSheetBytes and a damaged workbook
// raise IoError naming the file.
PriceBook readPriceBook(const std::filesystem::path &file);
// The sheets of a workbook already read into `bytes` (`file` names it in messages).
std::vector<PriceSheet> workbookSheets(const std::filesystem::path &file, const std::string &bytes);

// Bytes as text: UTF-8 (a byte order mark dropped) when valid, else decoded from CP932.
std::string priceListText(std::string_view bytes);

} // namespace velmo
