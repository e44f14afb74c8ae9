#pragma once
// A price list: blocks of a registration program's price file as tables of their named sizes
// and the prices of every basis, for the printed list and the CSV and Excel exports. torvik and
// selvan fill it from their blocks; this file turns it into the rows of a table file.
#include "base/currency.h"
#include "pricework/table_file.h"

#include <optional>
#include <string>
#include <vector>

namespace velmo {

// A price column: its heading and, where it is one basis of a group of prices, the group
// ("資材単価", "取付費"). Money is shown in whole yen with "," grouping, a factor as a plain number.
struct PriceListColumn {
    std::string group;
    std::string heading;
    bool money = true;
};

// One named size of a block and its price in each column.
struct PriceListRow {
    std::string size;
    std::vector<Currency> prices;
};

struct PriceListBlock {
    int index = 0;                  // the block's number in its file, 0–19, as --block counts
    std::vector<std::string> names; // the name lines the window shows, the first the block's name
    std::string memo;               // the memos the window shows, joined; empty when none
    std::string unit;
    std::vector<PriceListRow> rows; // the sizes that have a name, in row order
};

struct PriceList {
    std::string title; // the heading of the printed page and the title of the export
    std::vector<PriceListColumn> columns;
    std::vector<PriceListBlock> blocks;
};

// A name counts when it holds more than spaces (half- or full-width).
bool hasName(const std::string &text);

// The blocks a list is made of: `only` alone, or every block whose name counts.
std::vector<int> priceListBlocks(const std::vector<std::string> &blockNames, std::optional<int> only);

// A price as the list shows it in its column: money text ("1,234") or a plain number ("0.35").
std::string priceText(const PriceListColumn &column, Currency value);

// The whole list as one table: a heading line, then one line per size of every block with the
// block's number, names, memo and unit repeated, each price a number cell.
std::vector<TableRow> priceListTable(const PriceList &list);

// One sheet per block, named after the block ("ブロックN" when it has no name; the workbook
// writer makes the names safe and unique): the title, the names, the memo and the unit as the
// title lines above a table of the sizes and their prices, the groups of the columns, where
// there are any, as a heading row above the columns' headings.
std::vector<TableSheet> priceListSheets(const PriceList &list);

} // namespace velmo
