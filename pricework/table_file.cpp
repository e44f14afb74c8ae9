#include "pricework/table_file.h"
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"

#include "base/cp932.h"
#include "pricework/xlsx_book.h"

#include <algorithm>
#include <cmath>

namespace velmo {

TableCell textCell(std::string text) { return TableCell{std::move(text), std::nullopt}; }

TableCell numberCell(Currency value) { return TableCell{value.toString(), value}; }

namespace {

std::string csvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string q = "\"";
    for (const char c : text) {
        if (c == '"')
            q += '"';
        q += c;
    }
    return q + "\"";
}

// Characters of a UTF-8 text, for a column width; a wide character counts twice.
double widthOf(const std::string &s)
{
    double w = 0;
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            w += 1;
        else if ((b & 0xC0) != 0x80)
            w += 2;
    }
    return w;
}

// The characters of a figure as its cell shows it: the plain number with "," grouping.
double figureWidth(const std::string &plain)
{
    const size_t point = plain.find('.');
    const size_t whole = (point == std::string::npos ? plain.size() : point) - (plain.rfind('-', 0) == 0 ? 1 : 0);
    return static_cast<double>(plain.size() + (whole > 0 ? (whole - 1) / 3 : 0));
}

constexpr double NarrowestColumn = 6, WidestColumn = 60;
constexpr double DefaultColumn = 8.43; // a column no table cell sizes, as a spreadsheet opens it
constexpr double LineHeight = 15;      // points of a line of the workbook's default font

// A merged range of the table's cells, by their rows and columns in the table.
struct Merge {
    int firstRow, firstCol, lastRow, lastCol;
};

// The merged cells of the heading rows: in each heading row above the last, runs of one text
// (a group over its columns). Every column keeps its own heading in the last heading row, where
// a reader of the workbook, the price import among them, looks for it.
std::vector<Merge> headingMerges(const TableSheet &sheet, size_t columns)
{
    const auto headings = static_cast<size_t>(std::clamp<int>(sheet.headingRows, 0, static_cast<int>(sheet.rows.size())));
    auto text = [&](size_t r, size_t c) { return c < sheet.rows[r].size() ? sheet.rows[r][c].text : std::string(); };
    std::vector<Merge> merges;
    for (size_t r = 0; r + 1 < headings; ++r)
        for (size_t c = 0; c < columns;) {
            size_t last = c;
            if (!text(r, c).empty())
                while (last + 1 < columns && text(r, last + 1) == text(r, c))
                    ++last;
            if (last > c)
                merges.push_back({static_cast<int>(r), static_cast<int>(c), static_cast<int>(r), static_cast<int>(last)});
            c = last + 1;
        }
    return merges;
}

void writeSheet(XlsxBook &book, lxw_worksheet *ws, const TableSheet &sheet)
{
    size_t columns = 0;
    for (const TableRow &r : sheet.rows)
        columns = std::max(columns, r.size());
    const int headings = std::clamp<int>(sheet.headingRows, 0, static_cast<int>(sheet.rows.size()));
    const std::vector<Merge> merges = headingMerges(sheet, columns);
    auto merged = [&](size_t r, size_t c) {
        return std::any_of(merges.begin(), merges.end(), [&](const Merge &m) {
            return static_cast<int>(r) >= m.firstRow && static_cast<int>(r) <= m.lastRow &&
                   static_cast<int>(c) >= m.firstCol && static_cast<int>(c) <= m.lastCol;
        });
    };
    // Each column as wide as its widest cell; a group heading spans its columns instead.
    std::vector<double> widths(columns, NarrowestColumn);
    for (size_t row = 0; row < sheet.rows.size(); ++row)
        for (size_t c = 0; c < sheet.rows[row].size(); ++c) {
            const TableCell &cell = sheet.rows[row][c];
            if (merged(row, c))
                continue;
            const double w = cell.number ? figureWidth(cell.text) : widthOf(cell.text);
            widths[c] = std::max(widths[c], std::min(w + 2, WidestColumn));
        }

    // The titles, each merged across the table; a text longer than the table's width is wrapped
    // onto as many lines as it needs, its row made that much taller.
    lxw_format *label = book.format("", true, false);
    int row = 0;
    for (const TableTitle &t : sheet.titles) {
        const int first = t.label.empty() ? 0 : 1;
        if (!t.label.empty())
            book.writeText(ws, row, 0, t.label, label);
        const int last = std::max(first, static_cast<int>(columns) - 1);
        double room = 0;
        for (int c = first; c <= last; ++c)
            room += static_cast<size_t>(c) < columns ? widths[static_cast<size_t>(c)] : DefaultColumn;
        const double lines = std::ceil((widthOf(t.text) + 1) / room);
        lxw_format *f = book.format("", t.bold, false, false, lines > 1);
        if (lines > 1)
            xlsxCheck(worksheet_set_row(ws, static_cast<lxw_row_t>(row), LineHeight * lines, nullptr));
        if (last > first)
            book.mergeRange(ws, row, first, row, last, t.text, f);
        else
            book.writeText(ws, row, first, t.text, f);
        ++row;
    }
    if (!sheet.titles.empty())
        ++row; // an empty line between the titles and the table
    const int tableRow = row;

    lxw_format *heading = book.format("", true, true, true);
    lxw_format *text = book.format("", false, true);
    for (const Merge &m : merges)
        book.mergeRange(ws, tableRow + m.firstRow, m.firstCol, tableRow + m.lastRow, m.lastCol,
                        sheet.rows[static_cast<size_t>(m.firstRow)][static_cast<size_t>(m.firstCol)].text, heading);
    for (size_t r = 0; r < sheet.rows.size(); ++r) {
        const TableRow &cells = sheet.rows[r];
        const int at = tableRow + static_cast<int>(r);
        for (size_t c = 0; c < cells.size(); ++c) {
            const auto lc = static_cast<int>(c);
            if (merged(r, c))
                continue;
            if (static_cast<int>(r) < headings)
                book.writeText(ws, at, lc, cells[c].text, heading);
            else if (cells[c].number)
                book.writeNumber(ws, at, lc, static_cast<double>(cells[c].number->toLongDouble()),
                                 book.format(xlsxNumberFormat(true, decimalsOf(*cells[c].number))));
            else
                book.writeText(ws, at, lc, cells[c].text, text);
        }
    }
    for (size_t c = 0; c < columns; ++c)
        xlsxCheck(worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), widths[c], nullptr));
    xlsxSheetLayout(ws, sheet.rows.empty() ? 0 : tableRow + headings, 0, 0);
}

} // namespace

std::string tableCsvBytes(const std::vector<TableRow> &rows)
{
    std::string text;
    for (const TableRow &r : rows) {
        for (size_t c = 0; c < r.size(); ++c)
            text += (c ? "," : "") + csvField(r[c].text);
        text += "\r\n";
    }
    return cp932::encode(text);
}

std::string tableXlsxBytes(const std::vector<TableSheet> &sheets, const std::filesystem::path &target)
{
    return xlsxBookBytes(target, [&](XlsxBook &book) {
        std::vector<std::string> names;
        for (size_t i = 0; i < sheets.size(); ++i) {
            names.push_back(safeSheetName(sheets[i].name, sharedtext::tableSheetName(i + 1), names));
            writeSheet(book, book.addSheet(names.back()), sheets[i]);
        }
        if (sheets.empty())
            book.addSheet(sharedtext::tableSheetName(1));
    });
}

} // namespace velmo
