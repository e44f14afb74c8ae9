#include "main/core/xlsx_export.h"

#include "controls/core/errors.h"
#include "controls/core/fileio.h"
#include "handoff/handoff_files.h"
#include "controls/core/scratch_folder.h"
#include "main/core/text_builder.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>

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

// The decimals a Currency value needs: 0 … 4.
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

// The cause of a failed workbook in Japanese; the library's own texts are English.
std::string libraryErrorText(lxw_error e)
{
    switch (e) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED: return "メモリーが足りません";
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE: return "一時フォルダーに書き込めません (" + systemErrorText(errno) + ")";
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD: return "ブックを圧縮できません (" + systemErrorText(errno) + ")";
    default: return "Excel 出力でエラー " + std::to_string(static_cast<int>(e)) + " が発生しました";
    }
}

class Workbook {
public:
    Workbook(const fs::path &file, const fs::path &scratch) : scratch_(scratch.string())
    {
        lxw_workbook_options options{};
        options.tmpdir = scratch_.data();
        book_ = workbook_new_opt(file.c_str(), &options);
        if (!book_)
            throw IoError("一時フォルダーにブックを作れません");
    }
    ~Workbook()
    {
        if (book_)
            workbook_close(book_); // only after a failure: close() has released it otherwise
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    lxw_worksheet *addSheet(const std::string &name)
    {
        lxw_worksheet *ws = workbook_add_worksheet(book_, name.c_str());
        if (!ws)
            throw IoError("シート「" + name + "」を作れません");
        return ws;
    }
    // A cell format: a number format (empty for none), bold, a border.
    lxw_format *format(const std::string &numberFormat, bool bold = false, bool border = true, bool centre = false)
    {
        const std::string key = numberFormat + (bold ? "|b" : "|") + (border ? "|r" : "|") + (centre ? "|c" : "|");
        auto it = formats_.find(key);
        if (it != formats_.end())
            return it->second;
        lxw_format *f = workbook_add_format(book_);
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
        formats_.emplace(key, f);
        return f;
    }
    void close()
    {
        const lxw_error e = workbook_close(book_);
        book_ = nullptr;
        if (e != LXW_NO_ERROR)
            throw IoError(libraryErrorText(e));
    }

private:
    std::string scratch_;
    lxw_workbook *book_ = nullptr;
    std::map<std::string, lxw_format *> formats_;
};

// "#,##0" with d decimals for money, "0" with d decimals for factors.
std::string numberFormat(bool grouping, int d)
{
    std::string f = grouping ? "#,##0" : "0";
    if (d > 0)
        f += "." + std::string(static_cast<size_t>(d), '0');
    return f;
}

void writeSheet(Workbook &book, lxw_worksheet *ws, const WorkingTable &table, const std::string &location, int loc,
                Basis basis)
{
    const bool refrigerant = table.refrigerant();
    lxw_format *label = book.format("", true, false);
    worksheet_write_string(ws, 0, 0, "複合単価表", book.format("", true, false));
    std::string pipe = table.row(1).rec.name.text();
    for (int r = 2; r <= 3; ++r)
        if (!table.row(r).rec.name.empty())
            pipe += "　" + table.row(r).rec.name.text();
    worksheet_write_string(ws, 1, 0, "管材名", label);
    worksheet_write_string(ws, 1, 2, pipe.c_str(), nullptr);
    worksheet_write_string(ws, 2, 0, "施工場所", label);
    worksheet_write_string(ws, 2, 2, location.c_str(), nullptr);
    worksheet_write_string(ws, 3, 0, "出力単価", label);
    worksheet_write_string(ws, 3, 2, OutputLevelCaptions[basisNumber(basis) - 1], nullptr);
    worksheet_write_string(ws, 3, 4, "基礎工費（１人工）", label);
    const Currency labour = table.row(LabourRow).rec.slots[labourSlot(basis)];
    worksheet_write_number(ws, 3, 6, static_cast<double>(labour.toLongDouble()),
                           book.format(numberFormat(true, decimalsOf(labour)), false, false));

    // Headings: a group row over the factors and the components, then the names.
    constexpr int GroupRow = 5, HeadingRow = 6, FirstRow = 7;
    lxw_format *heading = book.format("", true, true, true);
    const char *single[4] = {OutputHeadings[0], OutputHeadings[1], OutputHeadings[2], OutputHeadings[3]};
    for (int c = 0; c < 4; ++c)
        worksheet_merge_range(ws, GroupRow, c, HeadingRow, c, single[c], heading);
    worksheet_merge_range(ws, GroupRow, 4, GroupRow, 10, "歩掛", heading);
    worksheet_merge_range(ws, GroupRow, 11, GroupRow, 17, "金額", heading);
    worksheet_merge_range(ws, GroupRow, 18, HeadingRow, 18, OutputHeadings[11], heading);
    for (int i = 0; i < 7; ++i) {
        const char *name = (refrigerant ? handoff::RefrigerantPartNames : handoff::PartNames)[i];
        worksheet_write_string(ws, HeadingRow, static_cast<lxw_col_t>(4 + i), name, heading);
        worksheet_write_string(ws, HeadingRow, static_cast<lxw_col_t>(11 + i), name, heading);
    }

    std::vector<OutputRow> rows;
    for (int k = 1; k <= SizeRowsPerLocation; ++k)
        rows.push_back(outputRow(table, workingRow(loc, k), basis));
    // Each column shows the decimals its figures need, the same in every row.
    auto columnFormat = [&](bool grouping, auto value) {
        int d = 0;
        for (const OutputRow &o : rows)
            d = std::max(d, decimalsOf(value(o)));
        return book.format(numberFormat(grouping, d));
    };
    lxw_format *text = book.format("", false, true, true);
    lxw_format *adopted = columnFormat(true, [](const OutputRow &o) { return o.adopted; });
    lxw_format *material = columnFormat(true, [](const OutputRow &o) { return o.material; });
    lxw_format *total = columnFormat(true, [](const OutputRow &o) { return o.total; });
    std::array<lxw_format *, 7> factor{}, component{};
    for (int i = 0; i < 7; ++i) {
        factor[i] = columnFormat(false, [i](const OutputRow &o) { return o.factors[i]; });
        component[i] = columnFormat(true, [i](const OutputRow &o) { return o.components[i]; });
    }
    auto number = [&](int r, int c, Currency v, lxw_format *f) {
        worksheet_write_number(ws, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                               static_cast<double>(v.toLongDouble()), f);
    };
    for (int k = 0; k < SizeRowsPerLocation; ++k) {
        const OutputRow &o = rows[k];
        const int r = FirstRow + k;
        worksheet_write_string(ws, r, 0, o.size.c_str(), text);
        worksheet_write_string(ws, r, 1, o.unit.c_str(), text);
        number(r, 2, o.adopted, adopted);
        number(r, 3, o.material, material);
        for (int i = 0; i < 7; ++i) {
            number(r, 4 + i, o.factors[i], factor[i]);
            if (refrigerant && i == handoff::ChippingPart)
                worksheet_write_blank(ws, r, 11 + i, component[i]); // no はつり補修 for refrigerant piping
            else
                number(r, 11 + i, o.components[i], component[i]);
        }
        number(r, 18, o.total, total);
    }
    worksheet_set_column(ws, 0, 1, 8, nullptr);
    worksheet_set_column(ws, 2, 3, 11, nullptr);
    worksheet_set_column(ws, 4, 10, 8, nullptr);
    worksheet_set_column(ws, 11, 17, 10, nullptr);
    worksheet_set_column(ws, 18, 18, 11, nullptr);
    worksheet_freeze_panes(ws, FirstRow, 1);
    worksheet_set_landscape(ws);
    worksheet_set_paper(ws, 9); // A4
    worksheet_fit_to_pages(ws, 1, 1);
}

} // namespace

std::string worksheetName(const std::string &caption, int location, const std::vector<std::string> &taken)
{
    std::string name;
    for (const char c : caption)
        name += std::string("[]:*?/\\").find(c) != std::string::npos ? '_' : c;
    while (!name.empty() && name.front() == '\'')
        name.erase(0, 1);
    while (!name.empty() && name.back() == '\'')
        name.pop_back();
    if (name.empty())
        name = "場所" + std::to_string(location + 1);
    name = firstCharacters(name, MaxSheetName);
    const std::string base = name;
    for (int n = 2; std::find(taken.begin(), taken.end(), name) != taken.end(); ++n) {
        const std::string suffix = "(" + std::to_string(n) + ")";
        name = firstCharacters(base, MaxSheetName - characters(suffix)) + suffix;
    }
    return name;
}

std::string xlsxWorkbookBytes(const WorkingTable &table, const std::vector<std::string> &tabs, Basis basis,
                              const fs::path &target)
{
    requireOutputBasis(basis);
    // The workbook is put together in a private folder and only then written to its place;
    // a failure names the file the person asked for and the cause, never the private folder.
    try {
        const ScratchFolder scratch("Excelファイル");
        const fs::path file = scratch.path() / "book.xlsx";
        {
            Workbook book(file, scratch.path());
            std::vector<std::string> names;
            for (size_t loc = 0; loc < tabs.size(); ++loc) {
                names.push_back(worksheetName(tabs[loc], static_cast<int>(loc), names));
                writeSheet(book, book.addSheet(names.back()), table, tabs[loc], static_cast<int>(loc), basis);
            }
            book.close();
        }
        return readWholeFile(file);
    } catch (const IoError &e) {
        throw IoError("Excelファイル " + target.string() + " を作れません: " + std::string(errorCause(e)));
    }
}

std::string XlsxExport::bytes(const ExportInput &in) const
{
    return xlsxWorkbookBytes(in.table, in.tabs, in.choice.basis, in.target);
}

} // namespace velmo
