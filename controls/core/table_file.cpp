#include "controls/core/table_file.h"

#include "controls/core/cp932.h"
#include "controls/core/xlsx_book.h"

#include <algorithm>

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

void writeSheet(XlsxBook &book, lxw_worksheet *ws, const TableSheet &sheet)
{
    size_t columns = 0;
    for (const TableRow &r : sheet.rows)
        columns = std::max(columns, r.size());
    // Each column shows the decimals its figures need, the same in every row.
    std::vector<int> decimals(columns, 0);
    std::vector<double> widths(columns, 6);
    for (const TableRow &r : sheet.rows)
        for (size_t c = 0; c < r.size(); ++c) {
            if (r[c].number)
                decimals[c] = std::max(decimals[c], decimalsOf(*r[c].number));
            widths[c] = std::max(widths[c], std::min(widthOf(r[c].text) + 2, 60.0));
        }
    lxw_format *heading = book.format("", true, true, true);
    lxw_format *text = book.format("", false, true);
    for (size_t row = 0; row < sheet.rows.size(); ++row) {
        const TableRow &r = sheet.rows[row];
        for (size_t c = 0; c < r.size(); ++c) {
            const auto lr = static_cast<int>(row);
            const auto lc = static_cast<int>(c);
            if (row == 0)
                book.writeText(ws, lr, lc, r[c].text, heading);
            else if (r[c].number)
                book.writeNumber(ws, lr, lc, static_cast<double>(r[c].number->toLongDouble()),
                                 book.format(xlsxNumberFormat(true, decimals[c])));
            else
                book.writeText(ws, lr, lc, r[c].text, text);
        }
    }
    for (size_t c = 0; c < columns; ++c)
        xlsxCheck(worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), widths[c], nullptr));
    if (!sheet.rows.empty())
        worksheet_freeze_panes(ws, 1, 0);
    worksheet_set_paper(ws, 9); // A4
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
            names.push_back(safeSheetName(sheets[i].name, "表" + std::to_string(i + 1), names));
            writeSheet(book, book.addSheet(names.back()), sheets[i]);
        }
        if (sheets.empty())
            book.addSheet("表1");
    });
}

} // namespace velmo
