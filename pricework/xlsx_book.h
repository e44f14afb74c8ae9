#pragma once
// Writing .xlsx workbooks with Debian's libxlsxwriter: a workbook assembled in a private folder,
// its cell formats, safe sheet names, and the bytes of the finished file. Every workbook the
// programs export goes through here.
#include "base/currency.h"
#include "pricework/price_sheet.h"

#include <xlsxwriter.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velmo {

class XlsxBook {
public:
    XlsxBook(const std::filesystem::path &file, const std::filesystem::path &scratch);
    ~XlsxBook();
    XlsxBook(const XlsxBook &) = delete;
    XlsxBook &operator=(const XlsxBook &) = delete;

    // A new sheet; raises IoError naming it when the library refuses the name.
    lxw_worksheet *addSheet(const std::string &name);
    // The cells of a sheet. Each is remembered, so that the finished workbook can be read back
    // and compared cell by cell (the library does not report every failed write of its
    // temporary files, and a lost piece of a sheet can still be well-formed XML). A merged range
    // holds its text in its first cell.
    void writeText(lxw_worksheet *ws, int row, int col, const std::string &text, lxw_format *f);
    void writeNumber(lxw_worksheet *ws, int row, int col, double value, lxw_format *f);
    void writeBlank(lxw_worksheet *ws, int row, int col, lxw_format *f);
    // A formula ("=SUM(G5:G9)") with the value it gives stored beside it, so that a reader that
    // does not calculate sees the figure; the value is what the read-back compares.
    void writeFormula(lxw_worksheet *ws, int row, int col, const std::string &formula, double value, lxw_format *f);
    void mergeRange(lxw_worksheet *ws, int firstRow, int firstCol, int lastRow, int lastCol, const std::string &text,
                    lxw_format *f);
    // After close(): raises IoError when the sheets read back from the workbook's bytes do not
    // hold exactly the cells written.
    void compareWith(const std::vector<PriceSheet> &sheets) const;
    // A cell format: a number format (empty for none), bold, a thin border, centred, a text
    // wrapped onto the lines its cell needs (from the top). Formats are made once and shared.
    lxw_format *format(const std::string &numberFormat, bool bold = false, bool border = true, bool centre = false,
                       bool wrap = false);
    // Writes the file; raises IoError with the cause in Japanese.
    void close();

private:
    struct Cell {
        bool number = false;
        double value = 0;
        std::string text;
    };
    std::map<std::pair<int, int>, Cell> &cellsOf(lxw_worksheet *ws);

    std::string scratch_;
    lxw_workbook *book_ = nullptr;
    std::map<std::string, lxw_format *> formats_;
    // Per sheet, in the order added: its name and the cells written, by (row, column).
    std::vector<lxw_worksheet *> sheets_;
    std::vector<std::string> sheetNames_;
    std::vector<std::map<std::pair<int, int>, Cell>> cells_;
};

// A call of the library that answers with an error code: anything but success raises IoError
// with the cause in Japanese, so that no cell or setting is missing from a workbook unsaid.
void xlsxCheck(lxw_error e);

// How a sheet opens and prints: the rows above `frozenRows` and the columns left of
// `frozenCols` stay in view; printed on A4 in landscape, one page wide and `pagesTall` pages
// tall (0: as many as the rows need), the frozen rows repeated at the top of every page.
void xlsxSheetLayout(lxw_worksheet *ws, int frozenRows, int frozenCols, int pagesTall);

// "#,##0" (grouping) or "0", with `decimals` places.
std::string xlsxNumberFormat(bool grouping, int decimals);

// The decimals a Currency value needs: 0 … 4.
int decimalsOf(Currency c);

// A worksheet name from a text: the characters Excel refuses ([ ] : * ? / \) become "_", quotes
// at either end go, at most 31 characters, `fallback` when nothing is left, "(2)", "(3)" …
// appended when the name is among `taken`.
std::string safeSheetName(const std::string &text, const std::string &fallback, const std::vector<std::string> &taken);

// The bytes of a workbook that `fill` puts together, in a private folder that also holds the
// library's own temporary files. The finished workbook is opened again and every part checked
// (checkWrittenWorkbook): the library does not report every failed write of its temporary
// files. A failure raises IoError naming `target`, the file the person asked for, and the
// cause, never the private folder.
std::string xlsxBookBytes(const std::filesystem::path &target, const std::function<void(XlsxBook &)> &fill);

} // namespace velmo
