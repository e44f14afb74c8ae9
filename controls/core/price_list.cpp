#include "controls/core/price_list.h"

#include "controls/core/control_texts.h"
#include "controls/core/support.h"

#include <algorithm>

namespace velmo {

namespace {

constexpr size_t SheetNameLimit = 31; // characters of a sheet name

// The characters of a UTF-8 text, each as its bytes.
std::vector<std::string> characters(const std::string &text)
{
    std::vector<std::string> chars;
    for (size_t i = 0; i < text.size();) {
        size_t n = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0)
            n = 4;
        else if (lead >= 0xE0)
            n = 3;
        else if (lead >= 0xC0)
            n = 2;
        chars.push_back(text.substr(i, n));
        i += n;
    }
    return chars;
}

std::string joined(const std::vector<std::string> &chars, size_t count)
{
    std::string s;
    for (size_t i = 0; i < count && i < chars.size(); ++i)
        s += chars[i];
    return s;
}

std::string folded(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    });
    return s;
}

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

TableCell textCell(std::string text) { return TableCell{std::move(text), std::nullopt}; }

// A price as a number cell; its text is the plain number a spreadsheet reads.
TableCell priceCell(Currency v) { return TableCell{v.toString(), v}; }

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
    TableRow heading{textCell(controltext::PriceListBlockHeading), textCell(controltext::PriceListNameHeading),
                     textCell(controltext::PriceListMemoHeading), textCell(controltext::PriceListUnitHeading),
                     textCell(controltext::PriceListSizeHeading)};
    for (const PriceListColumn &c : list.columns)
        heading.push_back(textCell(columnTitle(c)));
    rows.push_back(std::move(heading));
    for (const PriceListBlock &b : list.blocks)
        for (const PriceListRow &r : b.rows) {
            TableRow row{textCell(std::to_string(b.index)), textCell(allNames(b)), textCell(b.memo), textCell(b.unit),
                         textCell(r.size)};
            for (size_t i = 0; i < list.columns.size(); ++i)
                row.push_back(priceCell(i < r.prices.size() ? r.prices[i] : Currency()));
            rows.push_back(std::move(row));
        }
    return rows;
}

std::vector<TableSheet> priceListSheets(const PriceList &list)
{
    std::vector<std::string> wanted, fallback;
    for (const PriceListBlock &b : list.blocks) {
        wanted.push_back(b.names.empty() ? std::string() : b.names.front());
        fallback.push_back(controltext::priceListSheetFallback(b.index));
    }
    const std::vector<std::string> names = uniqueSheetNames(wanted, fallback);

    std::vector<TableSheet> sheets;
    for (size_t s = 0; s < list.blocks.size(); ++s) {
        const PriceListBlock &b = list.blocks[s];
        TableSheet sheet{names[s], {}};
        sheet.rows.push_back({textCell(list.title)});
        sheet.rows.push_back({textCell(controltext::PriceListNameHeading), textCell(allNames(b))});
        if (!b.memo.empty())
            sheet.rows.push_back({textCell(controltext::PriceListMemoHeading), textCell(b.memo)});
        sheet.rows.push_back({textCell(controltext::PriceListUnitHeading), textCell(b.unit)});
        sheet.rows.push_back({});
        // A group heading line above the columns that have one.
        const bool grouped = std::any_of(list.columns.begin(), list.columns.end(),
                                         [](const PriceListColumn &c) { return !c.group.empty(); });
        if (grouped) {
            TableRow groups{textCell("")};
            for (const PriceListColumn &c : list.columns)
                groups.push_back(textCell(c.group));
            sheet.rows.push_back(std::move(groups));
        }
        TableRow heading{textCell(controltext::PriceListSizeHeading)};
        for (const PriceListColumn &c : list.columns)
            heading.push_back(textCell(c.heading));
        sheet.rows.push_back(std::move(heading));
        for (const PriceListRow &r : b.rows) {
            TableRow row{textCell(r.size)};
            for (size_t i = 0; i < list.columns.size(); ++i)
                row.push_back(priceCell(i < r.prices.size() ? r.prices[i] : Currency()));
            sheet.rows.push_back(std::move(row));
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

std::vector<std::string> uniqueSheetNames(const std::vector<std::string> &wanted,
                                          const std::vector<std::string> &fallback)
{
    std::vector<std::string> names, seen;
    for (size_t i = 0; i < wanted.size(); ++i) {
        std::vector<std::string> chars;
        for (std::string &c : characters(wanted[i]))
            chars.push_back(c.size() == 1 && std::string(":\\/?*[]").find(c[0]) != std::string::npos ? "_" : c);
        while (!chars.empty() && (chars.front() == "'" || chars.front() == " "))
            chars.erase(chars.begin());
        chars.resize(std::min(chars.size(), SheetNameLimit));
        while (!chars.empty() && (chars.back() == "'" || chars.back() == " "))
            chars.pop_back();
        if (chars.empty())
            chars = characters(i < fallback.size() ? fallback[i] : std::to_string(i + 1));
        std::string name = joined(chars, chars.size());
        for (int n = 2; std::find(seen.begin(), seen.end(), folded(name)) != seen.end(); ++n) {
            const std::string suffix = " (" + std::to_string(n) + ")";
            name = joined(chars, SheetNameLimit - suffix.size()) + suffix;
        }
        seen.push_back(folded(name));
        names.push_back(name);
    }
    return names;
}

} // namespace velmo
