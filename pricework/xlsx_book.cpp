#include "pricework/xlsx_book.h"
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "base/scratch_folder.h"
#include "pricework/zip_workbook.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace velmo {

namespace fs = std::filesystem;

namespace {

constexpr size_t MaxSheetName = 31;

// The number of characters of UTF-8 text.
size_t characters(const std::string &s)
{
    size_t n = 0;
    for (const char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

// The first `n` characters of UTF-8 text.
std::string firstCharacters(const std::string &s, size_t n)
{
    size_t i = 0, count = 0;
    while (i < s.size()) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (count == n)
                break;
            ++count;
        }
        ++i;
    }
    return s.substr(0, i);
}

// The cause of a failed workbook in Japanese; the library's own texts are English.
std::string libraryErrorText(lxw_error e)
{
    switch (e) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED: return sharedtext::OutOfMemoryText;
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE: return sharedtext::scratchNotWritableText(systemErrorText(errno));
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD: return sharedtext::bookNotZippedText(systemErrorText(errno));
    default: return sharedtext::workbookLibraryErrorText(static_cast<int>(e));
    }
}

} // namespace

void xlsxCheck(lxw_error e)
{
    if (e != LXW_NO_ERROR)
        throw IoError(libraryErrorText(e));
}

XlsxBook::XlsxBook(const fs::path &file, const fs::path &scratch) : scratch_(scratch.string())
{
    lxw_workbook_options options{};
    options.tmpdir = scratch_.data();
    book_ = workbook_new_opt(file.c_str(), &options);
    if (!book_)
        throw IoError(sharedtext::BookNotMadeText);
}

XlsxBook::~XlsxBook()
{
    if (book_)
        workbook_close(book_); // only after a failure: close() has released it otherwise
}

lxw_worksheet *XlsxBook::addSheet(const std::string &name)
{
    lxw_worksheet *ws = workbook_add_worksheet(book_, name.c_str());
    if (!ws)
        throw IoError(sharedtext::sheetNotMadeText(name));
    sheets_.push_back(ws);
    sheetNames_.push_back(name);
    cells_.emplace_back();
    return ws;
}

std::map<std::pair<int, int>, XlsxBook::Cell> &XlsxBook::cellsOf(lxw_worksheet *ws)
{
    const auto it = std::find(sheets_.begin(), sheets_.end(), ws);
    return cells_.at(static_cast<size_t>(it - sheets_.begin()));
}

void XlsxBook::writeText(lxw_worksheet *ws, int row, int col, const std::string &text, lxw_format *f)
{
    xlsxCheck(worksheet_write_string(ws, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), text.c_str(), f));
    cellsOf(ws)[{row, col}] = Cell{false, 0, text};
}

void XlsxBook::writeNumber(lxw_worksheet *ws, int row, int col, double value, lxw_format *f)
{
    xlsxCheck(worksheet_write_number(ws, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), value, f));
    cellsOf(ws)[{row, col}] = Cell{true, value, ""};
}

void XlsxBook::writeFormula(lxw_worksheet *ws, int row, int col, const std::string &formula, double value,
                            lxw_format *f)
{
    xlsxCheck(worksheet_write_formula_num(ws, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), formula.c_str(),
                                          f, value));
    cellsOf(ws)[{row, col}] = Cell{true, value, ""};
}

void XlsxBook::writeBlank(lxw_worksheet *ws, int row, int col, lxw_format *f)
{
    xlsxCheck(worksheet_write_blank(ws, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), f));
    cellsOf(ws)[{row, col}] = Cell{};
}

void XlsxBook::mergeRange(lxw_worksheet *ws, int firstRow, int firstCol, int lastRow, int lastCol,
                          const std::string &text, lxw_format *f)
{
    xlsxCheck(worksheet_merge_range(ws, static_cast<lxw_row_t>(firstRow), static_cast<lxw_col_t>(firstCol),
                                    static_cast<lxw_row_t>(lastRow), static_cast<lxw_col_t>(lastCol), text.c_str(), f));
    auto &cells = cellsOf(ws);
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstCol; c <= lastCol; ++c)
            cells[{r, c}] = Cell{};
    cells[{firstRow, firstCol}] = Cell{false, 0, text};
}

void XlsxBook::compareWith(const std::vector<PriceSheet> &sheets) const
{
    if (sheets.size() != cells_.size())
        throw IoError(sharedtext::sheetCountRereadText(sheets.size(), cells_.size()));
    for (size_t s = 0; s < sheets.size(); ++s) {
        const SheetRows &rows = sheets[s].rows;
        auto read = [&](int r, int c) -> std::string {
            const auto ur = static_cast<size_t>(r), uc = static_cast<size_t>(c);
            return ur < rows.size() && uc < rows[ur].size() ? rows[ur][uc] : std::string();
        };
        auto differs = [&](int r, int c) {
            throw IoError(sharedtext::cellRereadText(sheetNames_[s], r + 1, c + 1));
        };
        for (const auto &[at, cell] : cells_[s]) {
            const std::string got = read(at.first, at.second);
            if (!cell.number) {
                if (got != cell.text)
                    differs(at.first, at.second);
                continue;
            }
            // The reader gives a number as decimal text of at most four decimals.
            char *end = nullptr;
            const double v = std::strtod(got.c_str(), &end);
            if (got.empty() || *end != '\0' ||
                std::fabs(v - cell.value) > std::max(0.00005, std::fabs(cell.value) * 1e-14))
                differs(at.first, at.second);
        }
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                if (!rows[r][c].empty() && !cells_[s].count({static_cast<int>(r), static_cast<int>(c)}))
                    differs(static_cast<int>(r), static_cast<int>(c));
    }
}

lxw_format *XlsxBook::format(const std::string &numberFormat, bool bold, bool border, bool centre, bool wrap)
{
    const std::string key =
        numberFormat + (bold ? "|b" : "|") + (border ? "|r" : "|") + (centre ? "|c" : "|") + (wrap ? "|w" : "|");
    auto it = formats_.find(key);
    if (it != formats_.end())
        return it->second;
    lxw_format *f = workbook_add_format(book_);
    if (!f)
        throw IoError(libraryErrorText(LXW_ERROR_MEMORY_MALLOC_FAILED));
    if (!numberFormat.empty())
        format_set_num_format(f, numberFormat.c_str());
    if (bold)
        format_set_bold(f);
    if (border)
        format_set_border(f, LXW_BORDER_THIN);
    if (centre) {
        format_set_align(f, LXW_ALIGN_CENTER);
        format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    }
    if (wrap) {
        format_set_text_wrap(f);
        format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
    }
    formats_.emplace(key, f);
    return f;
}

void XlsxBook::close()
{
    const lxw_error e = workbook_close(book_);
    book_ = nullptr;
    xlsxCheck(e);
}

void xlsxSheetLayout(lxw_worksheet *ws, int frozenRows, int frozenCols, int pagesTall)
{
    worksheet_freeze_panes(ws, static_cast<lxw_row_t>(frozenRows), static_cast<lxw_col_t>(frozenCols));
    worksheet_set_landscape(ws);
    worksheet_set_paper(ws, 9); // A4
    worksheet_fit_to_pages(ws, 1, static_cast<uint16_t>(pagesTall));
    if (frozenRows > 0)
        xlsxCheck(worksheet_repeat_rows(ws, 0, static_cast<lxw_row_t>(frozenRows - 1)));
}

std::string xlsxNumberFormat(bool grouping, int decimals)
{
    std::string f = grouping ? "#,##0" : "0";
    if (decimals > 0)
        f += "." + std::string(static_cast<size_t>(decimals), '0');
    return f;
}

int decimalsOf(Currency c)
{
    int64_t frac = c.raw() % Currency::Scale;
    if (frac < 0)
        frac = -frac;
    if (frac == 0)
        return 0;
    int d = 4;
    while (frac % 10 == 0) {
        frac /= 10;
        --d;
    }
    return d;
}

std::string safeSheetName(const std::string &text, const std::string &fallback, const std::vector<std::string> &taken)
{
    std::string name;
    for (const char c : text)
        name += std::string("[]:*?/\\").find(c) != std::string::npos ? '_' : c;
    while (!name.empty() && name.front() == '\'')
        name.erase(0, 1);
    while (!name.empty() && name.back() == '\'')
        name.pop_back();
    if (name.empty())
        name = fallback;
    name = firstCharacters(name, MaxSheetName);
    const std::string base = name;
    for (int n = 2; std::find(taken.begin(), taken.end(), name) != taken.end(); ++n) {
        const std::string suffix = "(" + std::to_string(n) + ")";
        name = firstCharacters(base, MaxSheetName - characters(suffix)) + suffix;
    }
    return name;
}

std::string xlsxBookBytes(const fs::path &target, const std::function<void(XlsxBook &)> &fill)
{
    try {
        const ScratchFolder scratch(sharedtext::WorkbookTask);
        const fs::path file = scratch.path() / "book.xlsx";
        XlsxBook book(file, scratch.path());
        fill(book);
        book.close();
        std::string bytes = readWholeFile(file);
        checkWrittenWorkbook(target, bytes);
        book.compareWith(workbookSheets(target, bytes));
        return bytes;
    } catch (const IoError &e) {
        throw IoError(sharedtext::workbookNotMadeText(target, std::string(errorCause(e))));
    }
}

} // namespace velmo
