#include "velmok/exports/xlsx_export.h"
#include "pricefile/pricefile_texts.h"
#include "velmok/core/velmok_texts.h"

#include "pricework/xlsx_book.h"
#include "handoff/handoff_files.h"
#include "velmok/exports/text_builder.h"

#include <algorithm>
#include <array>

namespace velmo {

namespace fs = std::filesystem;

namespace {

void writeSheet(XlsxBook &book, lxw_worksheet *ws, const WorkingTable &table, const std::string &location, int loc,
                Basis basis)
{
    const bool refrigerant = table.refrigerant();
    lxw_format *label = book.format("", true, false);
    book.writeText(ws, 0, 0, velmoktext::XlsxTitle, book.format("", true, false));
    std::string pipe = table.row(1).rec.name.text();
    for (int r = 2; r <= 3; ++r)
        if (!table.row(r).rec.name.empty())
            pipe += velmoktext::XlsxPipeNameSeparator + table.row(r).rec.name.text();
    book.writeText(ws, 1, 0, velmoktext::XlsxPipeLabel, label);
    book.writeText(ws, 1, 2, pipe, nullptr);
    book.writeText(ws, 2, 0, velmoktext::XlsxPlaceLabel, label);
    book.writeText(ws, 2, 2, location, nullptr);
    book.writeText(ws, 3, 0, velmoktext::XlsxBasisLabel, label);
    book.writeText(ws, 3, 2, OutputLevelCaptions[basisNumber(basis) - 1], nullptr);
    book.writeText(ws, 3, 4, velmoktext::XlsxLabourLabel, label);
    const Currency labour = table.row(LabourRow).rec.slots[labourSlot(basis)];
    book.writeNumber(ws, 3, 6, static_cast<double>(labour.toLongDouble()),
                     book.format(xlsxNumberFormat(true, decimalsOf(labour)), false, false));

    // Headings: a group row over the factors and the components, then the names.
    constexpr int GroupRow = 5, HeadingRow = 6, FirstRow = 7;
    lxw_format *heading = book.format("", true, true, true);
    const char *single[4] = {OutputHeadings[0], OutputHeadings[1], OutputHeadings[2], OutputHeadings[3]};
    for (int c = 0; c < 4; ++c)
        book.mergeRange(ws, GroupRow, c, HeadingRow, c, single[c], heading);
    book.mergeRange(ws, GroupRow, 4, GroupRow, 10, velmoktext::XlsxRatesGroup, heading);
    book.mergeRange(ws, GroupRow, 11, GroupRow, 17, velmoktext::XlsxAmountsGroup, heading);
    book.mergeRange(ws, GroupRow, 18, HeadingRow, 18, OutputHeadings[11], heading);
    for (int i = 0; i < 7; ++i) {
        const char *name = (refrigerant ? handoff::RefrigerantPartNames : handoff::PartNames)[i];
        book.writeText(ws, HeadingRow, 4 + i, name, heading);
        book.writeText(ws, HeadingRow, 11 + i, name, heading);
    }

    std::vector<OutputRow> rows;
    for (int k = 1; k <= SizeRowsPerLocation; ++k)
        rows.push_back(outputRow(table, workingRow(loc, k), basis));
    // Each column shows the decimals its figures need, the same in every row.
    auto columnFormat = [&](bool grouping, auto value) {
        int d = 0;
        for (const OutputRow &o : rows)
            d = std::max(d, decimalsOf(value(o)));
        return book.format(xlsxNumberFormat(grouping, d));
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
        book.writeNumber(ws, r, c, static_cast<double>(v.toLongDouble()), f);
    };
    for (int k = 0; k < SizeRowsPerLocation; ++k) {
        const OutputRow &o = rows[k];
        const int r = FirstRow + k;
        book.writeText(ws, r, 0, o.size, text);
        book.writeText(ws, r, 1, o.unit, text);
        number(r, 2, o.adopted, adopted);
        number(r, 3, o.material, material);
        for (int i = 0; i < 7; ++i) {
            number(r, 4 + i, o.factors[i], factor[i]);
            if (refrigerant && i == handoff::ChippingPart)
                book.writeBlank(ws, r, 11 + i, component[i]); // no はつり補修 for refrigerant piping
            else
                number(r, 11 + i, o.components[i], component[i]);
        }
        number(r, 18, o.total, total);
    }
    xlsxCheck(worksheet_set_column(ws, 0, 1, 8, nullptr));
    xlsxCheck(worksheet_set_column(ws, 2, 3, 11, nullptr));
    xlsxCheck(worksheet_set_column(ws, 4, 10, 8, nullptr));
    xlsxCheck(worksheet_set_column(ws, 11, 17, 10, nullptr));
    xlsxCheck(worksheet_set_column(ws, 18, 18, 11, nullptr));
    xlsxSheetLayout(ws, FirstRow, 1, 1);
}

} // namespace

std::string worksheetName(const std::string &caption, int location, const std::vector<std::string> &taken)
{
    return safeSheetName(caption, changetext::locationNumberText(location), taken);
}

std::string xlsxWorkbookBytes(const WorkingTable &table, const std::vector<std::string> &tabs, Basis basis,
                              const fs::path &target)
{
    requireOutputBasis(basis);
    return xlsxBookBytes(target, [&](XlsxBook &book) {
        std::vector<std::string> names;
        for (size_t loc = 0; loc < tabs.size(); ++loc) {
            names.push_back(worksheetName(tabs[loc], static_cast<int>(loc), names));
            writeSheet(book, book.addSheet(names.back()), table, tabs[loc], static_cast<int>(loc), basis);
        }
    });
}

std::string XlsxExport::bytes(const ExportInput &in) const
{
    return xlsxWorkbookBytes(in.table, in.tabs, in.choice.basis, in.target);
}

} // namespace velmo
