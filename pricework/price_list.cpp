#include "pricework/price_list.h"

#include "base/shared_texts.h"
#include "base/support.h"

#include <algorithm>

namespace velmo {

namespace {

// The first name line and the others after it, as the print heading shows them.
std::string allNames(const PriceListBlock &b)
{
    std::string s;
    for (const std::string &n : b.names)
        if (hasName(n))
            s += (s.empty() ? "" : "　") + n;
    return s;
}

std::string columnTitle(const PriceListColumn &c)
{
    return c.group.empty() ? c.heading : c.group + " " + c.heading;
}


} // namespace

bool hasName(const std::string &text)
{
    std::string rest = text;
    for (const std::string space : {" ", "　"})
        for (size_t p; (p = rest.find(space)) != std::string::npos;)
            rest.erase(p, space.size());
    return !rest.empty();
}

std::vector<int> priceListBlocks(const std::vector<std::string> &blockNames, std::optional<int> only)
{
    if (only)
        return {*only};
    std::vector<int> blocks;
    for (size_t i = 0; i < blockNames.size(); ++i)
        if (hasName(blockNames[i]))
            blocks.push_back(static_cast<int>(i));
    return blocks;
}

std::string priceText(const PriceListColumn &column, Currency value)
{
    return column.money ? FormatMoney(value) : value.toString();
}

std::vector<TableRow> priceListTable(const PriceList &list)
{
    std::vector<TableRow> rows;
    TableRow heading{textCell(sharedtext::PriceListBlockHeading), textCell(sharedtext::PriceListNameHeading),
                     textCell(sharedtext::PriceListMemoHeading), textCell(sharedtext::PriceListUnitHeading),
                     textCell(sharedtext::PriceListSizeHeading)};
    for (const PriceListColumn &c : list.columns)
        heading.push_back(textCell(columnTitle(c)));
    rows.push_back(std::move(heading));
    for (const PriceListBlock &b : list.blocks)
        for (const PriceListRow &r : b.rows) {
            TableRow row{textCell(std::to_string(b.index)), textCell(allNames(b)), textCell(b.memo), textCell(b.unit),
                         textCell(r.size)};
            for (size_t i = 0; i < list.columns.size(); ++i)
                row.push_back(numberCell(i < r.prices.size() ? r.prices[i] : Currency()));
            rows.push_back(std::move(row));
        }
    return rows;
}

std::vector<TableSheet> priceListSheets(const PriceList &list)
{
    const bool grouped = std::any_of(list.columns.begin(), list.columns.end(),
                                     [](const PriceListColumn &c) { return !c.group.empty(); });
    std::vector<TableSheet> sheets;
    for (const PriceListBlock &b : list.blocks) {
        const std::string name = !b.names.empty() && hasName(b.names.front()) ? b.names.front()
                                                                              : sharedtext::priceListSheetFallback(b.index);
        TableSheet sheet{name, {}};
        // Above the table: the title and the block's names, its memo and its unit.
        sheet.titles.push_back({"", list.title, true});
        sheet.titles.push_back({"", allNames(b), true});
        if (!b.memo.empty())
            sheet.titles.push_back({sharedtext::PriceListMemoHeading, b.memo});
        sheet.titles.push_back({sharedtext::PriceListUnitHeading, b.unit});
        // A group heading line above the columns where any column has a group.
        if (grouped) {
            TableRow groups{textCell("")};
            for (const PriceListColumn &c : list.columns)
                groups.push_back(textCell(c.group));
            sheet.rows.push_back(std::move(groups));
            sheet.headingRows = 2;
        }
        TableRow heading{textCell(sharedtext::PriceListSizeHeading)};
        for (const PriceListColumn &c : list.columns)
            heading.push_back(textCell(c.heading));
        sheet.rows.push_back(std::move(heading));
        for (const PriceListRow &r : b.rows) {
            TableRow row{textCell(r.size)};
            for (size_t i = 0; i < list.columns.size(); ++i)
                row.push_back(numberCell(i < r.prices.size() ? r.prices[i] : Currency()));
            sheet.rows.push_back(std::move(row));
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

} // namespace velmo
