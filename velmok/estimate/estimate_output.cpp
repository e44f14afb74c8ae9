#include "velmok/estimate/estimate_output.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "base/support.h"
#include "handoff/handoff_format.h"
#include "pricework/price_list_output.h"
#include "pricework/xlsx_book.h"
#include "velmok/core/velmok_texts.h"

#include <algorithm>

namespace velmo::estimate {

namespace fs = std::filesystem;

std::string quantityText(int64_t hundredths) { return Currency::fromRaw(hundredths * 100).toString(); }

namespace {

std::string listName(const Estimate &e) { return e.list.filename().string(); }

// The columns of the breakdown after the size-independent ones: the price columns, the cost
// columns with --cost, the note last.
std::vector<std::string> columnsOf(const Estimate &e)
{
    std::vector<std::string> c(velmoktext::EstimateColumns.begin(), velmoktext::EstimateColumns.end() - 1);
    if (e.options.cost)
        c.insert(c.end(), velmoktext::EstimateCostColumns.begin(), velmoktext::EstimateCostColumns.end());
    c.push_back(velmoktext::EstimateColumns.back());
    return c;
}

} // namespace

void writeEstimateJson(cli::JsonWriter &j, const Estimate &e)
{
    const bool cost = e.options.cost;
    j.beginObject();
    j.path("list", e.list);
    j.key("sheet").string(e.sheet);
    j.key("level").number(int64_t{basisNumber(e.options.basis)});
    j.key("basis").string(basisKey(e.options.basis));
    j.key("amount_round").string(amountRoundName(e.options.round));
    j.key("rows").beginArray();
    for (const PricedRow &r : e.rows) {
        j.beginObject();
        j.key("row").number(int64_t{r.row});
        j.key("service").string(r.serviceName);
        j.key("pipe").string(r.pipeName);
        j.key("location").string(r.locationName);
        j.key("size").string(r.size);
        j.key("unit").string(r.unit);
        j.key("quantity").number(Currency::fromRaw(r.quantity * 100));
        j.key("unit_price").number(r.unitPrice);
        j.key("amount").number(r.amount);
        if (cost) {
            j.key("cost_price").number(r.costPrice);
            j.key("cost_amount").number(r.costAmount);
            j.key("margin").number(r.margin());
        }
        j.key("note").string(r.note);
        j.endObject();
    }
    j.endArray();
    j.key("services").beginArray();
    for (const ServiceTotal &s : e.services) {
        j.beginObject();
        j.key("service").string(s.name);
        j.key("subtotal").number(s.subtotal);
        if (cost) {
            j.key("cost_subtotal").number(s.costSubtotal);
            j.key("margin").number(s.subtotal - s.costSubtotal);
        }
        j.endObject();
    }
    j.endArray();
    j.key("total").number(e.total);
    if (cost) {
        j.key("cost_total").number(e.costTotal);
        j.key("margin").number(e.total - e.costTotal);
    }
    j.key("unmatched").beginArray();
    for (const UnmatchedRow &u : e.unmatched) {
        j.beginObject();
        j.key("row").number(int64_t{u.row});
        j.key("reason").string(u.reason);
        j.endObject();
    }
    j.endArray();
    j.endObject();
}

std::vector<TableRow> estimateTableRows(const Estimate &e)
{
    const bool cost = e.options.cost;
    std::vector<TableRow> rows;
    TableRow heading{textCell(velmoktext::EstimateServiceColumn)};
    for (const std::string &c : columnsOf(e))
        heading.push_back(textCell(c));
    rows.push_back(heading);
    const size_t width = heading.size();
    // A subtotal or total line: its label in the name column, the amounts in theirs.
    auto sumLine = [&](const std::string &service, const char *label, Currency amount, Currency costAmount) {
        TableRow t(width, textCell(""));
        t[0] = textCell(service);
        t[1] = textCell(label);
        t[7] = numberCell(amount);
        if (cost) {
            t[9] = numberCell(costAmount);
            t[10] = numberCell(amount - costAmount);
        }
        rows.push_back(t);
    };
    for (const ServiceTotal &s : e.services) {
        for (const size_t i : s.rows) {
            const PricedRow &r = e.rows[i];
            TableRow t{textCell(r.serviceName), textCell(r.pipeName), textCell(r.locationName), textCell(r.size),
                       numberCell(Currency::fromRaw(r.quantity * 100)), textCell(r.unit), numberCell(r.unitPrice),
                       numberCell(r.amount)};
            if (cost) {
                t.push_back(numberCell(r.costPrice));
                t.push_back(numberCell(r.costAmount));
                t.push_back(numberCell(r.margin()));
            }
            t.push_back(textCell(r.note));
            rows.push_back(t);
        }
        sumLine(s.name, velmoktext::EstimateSubtotal, s.subtotal, s.costSubtotal);
    }
    sumLine("", velmoktext::EstimateTotal, e.total, e.costTotal);
    if (!e.unmatched.empty()) {
        rows.push_back({});
        rows.push_back({textCell(velmoktext::EstimateUnmatchedSheet)});
        rows.push_back({textCell(velmoktext::EstimateUnmatchedColumns[0]), textCell(velmoktext::EstimateUnmatchedColumns[1])});
        for (const UnmatchedRow &u : e.unmatched)
            rows.push_back({numberCell(Currency::fromInt(u.row)), textCell(u.reason)});
    }
    return rows;
}

std::string estimateCsvBytes(const Estimate &e) { return tableCsvBytes(estimateTableRows(e)); }

// ---- the workbook ----

namespace {

std::string columnLetter(int col) { return std::string(1, static_cast<char>('A' + col)); }
std::string cellRef(int row, int col) { return columnLetter(col) + std::to_string(row + 1); }

// The spreadsheet's function that takes an amount to the yen as the estimate does. The product
// is first rounded to six places: a quantity of two decimals times a price of four has no
// more, and the binary fraction of the product (12.35 × 1000 = 12349.999…) must not lose a yen.
std::string amountFormula(AmountRound round, const std::string &quantity, const std::string &price)
{
    const char *f = round == AmountRound::Down ? "ROUNDDOWN" : round == AmountRound::Half ? "ROUND" : "ROUNDUP";
    return std::string("=") + f + "(ROUND(" + quantity + "*" + price + ",6),0)";
}

double number(Currency c) { return static_cast<double>(c.toLongDouble()); }

void writeBreakdown(XlsxBook &book, lxw_worksheet *ws, const Estimate &e)
{
    const bool cost = e.options.cost;
    const std::vector<std::string> columns = columnsOf(e);
    const int n = static_cast<int>(columns.size());
    constexpr int Quantity = 3, Price = 5, Amount = 6, CostPrice = 7, CostAmount = 8, Margin = 9;
    const int note = n - 1;
    constexpr int HeadingRow = 4;

    lxw_format *label = book.format("", true, false);
    book.writeText(ws, 0, 0, velmoktext::EstimateTitle, label);
    book.writeText(ws, 1, 0, velmoktext::EstimateBasisLabel, label);
    book.writeText(ws, 1, 2, basisLabel(e.options.basis), nullptr);
    book.writeText(ws, 2, 0, velmoktext::EstimateListLabel, label);
    book.writeText(ws, 2, 2, listName(e) + (e.sheet.empty() ? "" : " [" + e.sheet + "]"), nullptr);
    lxw_format *heading = book.format("", true, true, true);
    for (int c = 0; c < n; ++c)
        book.writeText(ws, HeadingRow, c, columns[static_cast<size_t>(c)], heading);

    int quantityDecimals = 0, priceDecimals = 0;
    for (const PricedRow &r : e.rows) {
        quantityDecimals = std::max(quantityDecimals, decimalsOf(Currency::fromRaw(r.quantity * 100)));
        priceDecimals = std::max({priceDecimals, decimalsOf(r.unitPrice), decimalsOf(r.costPrice)});
    }
    lxw_format *text = book.format("", false, true);
    lxw_format *bold = book.format("", true, true);
    lxw_format *quantity = book.format(xlsxNumberFormat(true, quantityDecimals));
    lxw_format *price = book.format(xlsxNumberFormat(true, priceDecimals));
    lxw_format *money = book.format(xlsxNumberFormat(true, 0));
    lxw_format *moneyBold = book.format(xlsxNumberFormat(true, 0), true);

    // The amounts of a sum line: each column's SUM over `refs`, ranges or single cells.
    auto sums = [&](int row, const std::vector<std::string> &ranges, Currency amount, Currency costAmount) {
        auto sum = [&](int col, Currency value) {
            std::string f = "=SUM(";
            for (size_t i = 0; i < ranges.size(); ++i) {
                const std::string &range = ranges[i];
                // A range is "first:last" of rows; a single cell is one row.
                const size_t colon = range.find(':');
                f += (i ? "," : "") + (colon == std::string::npos
                                           ? columnLetter(col) + range
                                           : columnLetter(col) + range.substr(0, colon) + ":" + columnLetter(col) +
                                                 range.substr(colon + 1));
            }
            book.writeFormula(ws, row, col, ranges.empty() ? "=0" : f + ")", number(value), moneyBold);
        };
        sum(Amount, amount);
        if (cost) {
            sum(CostAmount, costAmount);
            sum(Margin, amount - costAmount);
        }
    };

    int row = HeadingRow + 1;
    std::vector<std::string> subtotals;
    for (const ServiceTotal &s : e.services) {
        book.writeText(ws, row++, 0, s.name, bold);
        const int first = row;
        for (const size_t i : s.rows) {
            const PricedRow &r = e.rows[i];
            book.writeText(ws, row, 0, r.pipeName, text);
            book.writeText(ws, row, 1, r.locationName, text);
            book.writeText(ws, row, 2, r.size, text);
            book.writeNumber(ws, row, Quantity, number(Currency::fromRaw(r.quantity * 100)), quantity);
            book.writeText(ws, row, 4, r.unit, text);
            book.writeNumber(ws, row, Price, number(r.unitPrice), price);
            book.writeFormula(ws, row, Amount,
                              amountFormula(e.options.round, cellRef(row, Quantity), cellRef(row, Price)),
                              number(r.amount), money);
            if (cost) {
                book.writeNumber(ws, row, CostPrice, number(r.costPrice), price);
                book.writeFormula(ws, row, CostAmount,
                                  amountFormula(e.options.round, cellRef(row, Quantity), cellRef(row, CostPrice)),
                                  number(r.costAmount), money);
                book.writeFormula(ws, row, Margin, "=" + cellRef(row, Amount) + "-" + cellRef(row, CostAmount),
                                  number(r.margin()), money);
            }
            book.writeText(ws, row, note, r.note, text);
            ++row;
        }
        book.writeText(ws, row, 0, velmoktext::EstimateSubtotal, bold);
        sums(row, {std::to_string(first + 1) + ":" + std::to_string(row)}, s.subtotal, s.costSubtotal);
        subtotals.push_back(std::to_string(row + 1));
        ++row;
    }
    book.writeText(ws, row, 0, velmoktext::EstimateTotal, bold);
    sums(row, subtotals, e.total, e.costTotal);

    xlsxCheck(worksheet_set_column(ws, 0, 0, 34, nullptr));
    xlsxCheck(worksheet_set_column(ws, 1, 2, 10, nullptr));
    xlsxCheck(worksheet_set_column(ws, 3, 3, 9, nullptr));
    xlsxCheck(worksheet_set_column(ws, 4, 4, 6, nullptr));
    xlsxCheck(worksheet_set_column(ws, 5, static_cast<lxw_col_t>(note - 1), 12, nullptr));
    xlsxCheck(worksheet_set_column(ws, static_cast<lxw_col_t>(note), static_cast<lxw_col_t>(note), 24, nullptr));
    xlsxSheetLayout(ws, HeadingRow + 1, 0, 0);
}

void writeUnmatched(XlsxBook &book, lxw_worksheet *ws, const Estimate &e)
{
    lxw_format *heading = book.format("", true, true, true);
    book.writeText(ws, 0, 0, velmoktext::EstimateUnmatchedColumns[0], heading);
    book.writeText(ws, 0, 1, velmoktext::EstimateUnmatchedColumns[1], heading);
    lxw_format *text = book.format("", false, true);
    lxw_format *rowNumber = book.format(xlsxNumberFormat(false, 0));
    int row = 1;
    for (const UnmatchedRow &u : e.unmatched) {
        book.writeNumber(ws, row, 0, u.row, rowNumber);
        book.writeText(ws, row, 1, u.reason, text);
        ++row;
    }
    xlsxCheck(worksheet_set_column(ws, 0, 0, 6, nullptr));
    xlsxCheck(worksheet_set_column(ws, 1, 1, 80, nullptr));
    xlsxSheetLayout(ws, 1, 0, 0);
}

} // namespace

std::string estimateXlsxBytes(const Estimate &e, const fs::path &target)
{
    return xlsxBookBytes(target, [&](XlsxBook &book) {
        writeBreakdown(book, book.addSheet(velmoktext::EstimateTitle), e);
        writeUnmatched(book, book.addSheet(velmoktext::EstimateUnmatchedSheet), e);
    });
}

// ---- the printed breakdown ----

std::vector<fs::path> writeEstimateHandoff(const fs::path &folder, const Estimate &e)
{
    const bool cost = e.options.cost;
    const std::vector<std::string> columns = columnsOf(e);
    // The size is the table's first column of the printed list; the others follow it.
    std::vector<std::string> printed;
    for (const std::string &c : columns)
        if (c != velmoktext::EstimateColumns[2])
            printed.push_back(c);
    handoff::Header header;
    header.memo = velmoktext::estimateMemoText(basisLabel(e.options.basis), listName(e));
    auto line = [&](const std::string &page, const std::string &unit) {
        handoff::Row row;
        row[0] = page;
        row[handoff::UnitField] = unit;
        return row;
    };
    // Printed columns: 名称 規格 数量 単位 単価 金額 (原価単価 原価金額 粗利) 備考.
    auto put = [](handoff::Row &row, size_t column, const std::string &text) {
        row[static_cast<size_t>(handoff::PriceListFirstPrice) + column] = text;
    };
    const size_t amount = 5, note = printed.size() - 1;
    auto sumLine = [&](handoff::Row row, const std::string &name, Currency total, Currency costTotal) {
        put(row, 0, name);
        put(row, amount, FormatMoney(total));
        if (cost) {
            put(row, amount + 2, FormatMoney(costTotal));
            put(row, amount + 3, FormatMoney(total - costTotal));
        }
        return row;
    };

    std::error_code ec;
    fs::remove_all(folder, ec);
    std::vector<fs::path> folders;
    auto write = [&](const std::string &data) {
        const std::string n = std::to_string(folders.size() + 1);
        const fs::path f = folder / (n.size() < 2 ? "0" + n : n);
        fs::create_directories(f, ec);
        if (ec)
            throw IoError(f.string() + ": " + systemErrorText(ec.value()));
        handoff::Conf conf;
        conf.applicationTitle = velmoktext::Title;
        conf.dataTitle = velmoktext::EstimateTitle;
        conf.iconFile = (f / "Application.ico").string();
        conf.columns = printed;
        conf.columnGroups.assign(printed.size(), "");
        handoff::writeFiles(f, conf, header, data);
        folders.push_back(f);
    };
    for (const ServiceTotal &s : e.services) {
        std::string data;
        const std::string unit = e.rows[s.rows.front()].unit;
        for (const size_t i : s.rows) {
            const PricedRow &r = e.rows[i];
            handoff::Row row = line(s.name, unit);
            row[handoff::SizeField] = r.size;
            put(row, 0, r.pipeName);
            put(row, 1, r.locationName);
            put(row, 2, quantityText(r.quantity));
            put(row, 3, r.unit);
            put(row, 4, FormatMoney(r.unitPrice));
            put(row, amount, FormatMoney(r.amount));
            if (cost) {
                put(row, amount + 1, FormatMoney(r.costPrice));
                put(row, amount + 2, FormatMoney(r.costAmount));
                put(row, amount + 3, FormatMoney(r.margin()));
            }
            put(row, note, r.note);
            data += handoff::dataLineBytes(row);
        }
        data += handoff::dataLineBytes(sumLine(line(s.name, unit), velmoktext::EstimateSubtotal, s.subtotal, s.costSubtotal));
        write(data);
    }
    // The last page: each service's subtotal and the total.
    std::string data;
    for (const ServiceTotal &s : e.services)
        data += handoff::dataLineBytes(sumLine(line(velmoktext::EstimateTotal, ""), s.name, s.subtotal, s.costSubtotal));
    data += handoff::dataLineBytes(sumLine(line(velmoktext::EstimateTotal, ""), velmoktext::EstimateTotal, e.total, e.costTotal));
    write(data);
    return folders;
}

void writeEstimatePdf(const Estimate &e, const fs::path &out, const fs::path &programFolder)
{
    handoff::writeHandoffPdf([&](const fs::path &scratch) { return writeEstimateHandoff(scratch / "estimate", e); }, out,
                             programFolder);
}

} // namespace velmo::estimate
