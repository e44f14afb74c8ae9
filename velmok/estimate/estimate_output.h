#pragma once
// An estimate written out: as JSON (the command line's answer), as a CSV file, as a workbook
// whose amounts, subtotals and total are formulas over the quantities and unit prices (with
// their values stored, so that a changed quantity updates them), and as a PDF made by the print
// program from the same hand-off files as the price lists.
#include "base/json_writer.h"
#include "pricework/table_file.h"
#include "velmok/estimate/estimate.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmo::estimate {

// {"list", "sheet", "level", "basis", "amount_round", "rows": [{"row", "service", "pipe",
// "location", "size", "unit", "quantity", "unit_price", "amount", ("cost_price", "cost_amount",
// "margin"), "note"}], "services": [{"service", "subtotal", ("cost_subtotal", "margin")}],
// "total", ("cost_total", "margin"), "unmatched": [{"row", "reason"}]}.
void writeEstimateJson(cli::JsonWriter &j, const Estimate &e);

// The breakdown as table rows: a heading line (設備 and the columns of the workbook), each
// service's rows and its subtotal, the total; then, after an empty line, the rows not priced.
std::vector<TableRow> estimateTableRows(const Estimate &e);

// The CSV file's bytes (CP932, CR LF).
std::string estimateCsvBytes(const Estimate &e);

// The workbook's bytes: the sheet 内訳明細書 (title, basis and list; the heading row; per
// service its name, its rows and a 小計 row; a 合計 row) and the sheet of the rows not priced.
// Raises IoError naming `target` when it cannot be put together.
std::string estimateXlsxBytes(const Estimate &e, const std::filesystem::path &target);

// The hand-off folders of the printed breakdown in `folder`: one per service (its rows and
// subtotal), the last the subtotals and the total.
std::vector<std::filesystem::path> writeEstimateHandoff(const std::filesystem::path &folder, const Estimate &e);

// The PDF `out`, made by the print program found beside `programFolder` or on PATH.
void writeEstimatePdf(const Estimate &e, const std::filesystem::path &out, const std::filesystem::path &programFolder);

// Money and quantity texts as the outputs show them: "1,234" and "12.5".
std::string quantityText(int64_t hundredths);

} // namespace velmo::estimate
