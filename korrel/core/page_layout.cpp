#include "korrel/core/page_layout.h"
#include "korrel/core/korrel_texts.h"

#include "base/shared_texts.h"

#include <algorithm>

namespace velmo::print {

namespace {

constexpr double Margin = 10;
constexpr double TableTop = 47;
constexpr double GroupRowHeight = 6, HeadingRowHeight = 7, RowHeight = 9.5;
constexpr int Rows = 14;

using korreltext::ComponentGroup;
using korreltext::FactorGroup;

bool isFactor(int field) { return field >= handoff::FactorField && field < handoff::ComponentField; }
bool isComponent(int field) { return field >= handoff::ComponentField && field < handoff::TotalField; }

// A price list of torvik or selvan: its title, the block's names, unit and memo, and a table of
// the sizes and the prices of its columns, a group row above the columns that have a group.
PageLayout layoutPriceList(const PrintPage &page)
{
    PageLayout l;
    const PrintHeader &h = *page.header;
    const double right = PageLayout::Width - Margin;
    const double width = right - Margin;

    l.text(Margin, Margin, width, 10, h.dataTitle, Align::Centre, 16, true);
    l.rule(Margin, 21.5, right, 21.5, 0.4);
    std::string names = page.pipeNames[0];
    for (int i = 1; i < 3; ++i)
        if (!page.pipeNames[i].empty())
            names += "　" + page.pipeNames[i];
    const std::string unit = page.rows.empty() ? "" : (*page.rows.front())[handoff::UnitField];
    l.text(Margin, 23, width - 50, 7, std::string(sharedtext::PriceListNameHeading) + "：" + names, Align::Left, 11, true);
    l.text(right - 50, 23, 50, 7, std::string(sharedtext::PriceListUnitHeading) + "：" + unit, Align::Right, 11, true);
    if (!h.memo.empty())
        l.text(Margin, 31, width, 6, std::string(sharedtext::PriceListMemoHeading) + "：" + h.memo, Align::Left, 9);

    // The size column is wider where the sizes are texts of their own (selvan's many columns).
    const size_t n = h.columns.size();
    const double sizeWidth = n > 8 ? 52 : 40;
    const double priceWidth = std::min(30.0, (width - sizeWidth) / static_cast<double>(n));
    bool grouped = false;
    for (const std::string &g : h.columnGroups)
        grouped = grouped || !g.empty();
    const double headTop = TableTop - 7;
    const double nameTop = headTop + (grouped ? GroupRowHeight : 0);
    const double bodyTop = nameTop + HeadingRowHeight;
    const double bottom = bodyTop + Rows * RowHeight;
    const double tableRight = Margin + sizeWidth + priceWidth * static_cast<double>(n);

    l.text(Margin, headTop, sizeWidth, bodyTop - headTop, sharedtext::PriceListSizeHeading, Align::Centre, 8.5, true);
    l.rule(Margin, headTop, Margin, bottom);
    double x = Margin + sizeWidth;
    for (size_t c = 0; c < n; ++c) {
        const std::string &group = c < h.columnGroups.size() ? h.columnGroups[c] : std::string();
        const bool startsGroup = !group.empty() && (c == 0 || h.columnGroups[c - 1] != group);
        if (group.empty()) {
            l.text(x, headTop, priceWidth, bodyTop - headTop, h.columns[c], Align::Centre, 8, true);
            l.rule(x, headTop, x, bottom);
        } else {
            if (startsGroup) {
                size_t span = 1;
                while (c + span < n && h.columnGroups[c + span] == group)
                    ++span;
                l.text(x, headTop, priceWidth * static_cast<double>(span), GroupRowHeight, group, Align::Centre, 8.5, true);
                l.rule(x, nameTop, x + priceWidth * static_cast<double>(span), nameTop);
            }
            l.text(x, nameTop, priceWidth, HeadingRowHeight, h.columns[c], Align::Centre, 8, true);
            l.rule(x, startsGroup ? headTop : nameTop, x, bottom);
        }
        x += priceWidth;
    }
    l.rule(tableRight, headTop, tableRight, bottom);
    l.rule(Margin, headTop, tableRight, headTop, 0.4);
    l.rule(Margin, bodyTop, tableRight, bodyTop, 0.4);
    for (int r = 1; r < Rows; ++r)
        l.rule(Margin, bodyTop + r * RowHeight, tableRight, bodyTop + r * RowHeight, 0.1);
    l.rule(Margin, bottom, tableRight, bottom, 0.4);

    for (size_t r = 0; r < page.rows.size() && r < static_cast<size_t>(Rows); ++r) {
        const PrintRow &row = *page.rows[r];
        const double y = bodyTop + static_cast<double>(r) * RowHeight;
        l.text(Margin + 1, y, sizeWidth - 2, RowHeight, row[handoff::SizeField], Align::Left, 9);
        for (size_t c = 0; c < n; ++c)
            l.text(Margin + sizeWidth + priceWidth * static_cast<double>(c) + 1, y, priceWidth - 2, RowHeight,
                 row[handoff::PriceListFirstPrice + c], Align::Right, 9);
    }

    const double foot = PageLayout::Height - Margin - 5;
    l.text(Margin, foot, 120, 5, h.applicationTitle + (h.dataTitle.empty() ? "" : "　" + h.dataTitle), Align::Left, 8);
    l.text(right - 40, foot, 40, 5, std::to_string(page.number) + " / " + std::to_string(page.count), Align::Right, 8);
    return l;
}

} // namespace

bool unusedRow(const PrintRow &row)
{
    if (!row[handoff::SizeField].empty())
        return false;
    for (int f = handoff::AdoptedField; f < handoff::DataFields; ++f)
        if (!row[f].empty() && row[f] != "0")
            return false;
    return true;
}

std::vector<Column> tableColumns(bool refrigerant)
{
    const char *const *names = refrigerant ? handoff::RefrigerantPartNames : handoff::PartNames;
    const double factorWidth = refrigerant ? 14 : 12.5;
    const double componentWidth = refrigerant ? 18.5 : 15.5;
    const double totalWidth = refrigerant ? 20 : 19;

    std::vector<Column> cols = {{korreltext::SizeColumn, handoff::SizeField, 15, Align::Centre},
                                {korreltext::UnitColumn, handoff::UnitField, 9, Align::Centre},
                                {korreltext::AdoptedColumn, handoff::AdoptedField, 19, Align::Right},
                                {korreltext::MaterialColumn, handoff::MaterialField, 19, Align::Right}};
    for (int group : {handoff::FactorField, handoff::ComponentField})
        for (int i = 0; i < 7; ++i) {
            if (refrigerant && i == handoff::ChippingPart)
                continue; // はつり補修 has no meaning for refrigerant piping
            cols.push_back({names[i], group + i, group == handoff::FactorField ? factorWidth : componentWidth,
                            Align::Right});
        }
    cols.push_back({korreltext::TotalColumn, handoff::TotalField, totalWidth, Align::Right});
    return cols;
}

PageLayout layoutPage(const PrintPage &page)
{
    if (page.header->priceList())
        return layoutPriceList(page);
    PageLayout l;
    const PrintHeader &h = *page.header;
    const double right = PageLayout::Width - Margin;
    const double width = right - Margin;

    // Heading: the title, the date, the pipe and its location, the labour prices, the memo.
    l.text(Margin, Margin, width, 10, korreltext::TableTitle, Align::Centre, 16, true);
    l.text(right - 90, Margin, 90, 5, headingDate(h), Align::Right, 10);
    l.text(right - 90, Margin + 5, 90, 5, h.year.empty() ? "" : korreltext::westernYear(h.year), Align::Right, 8);
    l.rule(Margin, 21.5, right, 21.5, 0.4);

    std::string pipe = page.pipeNames[0];
    for (int i = 1; i < 3; ++i)
        if (!page.pipeNames[i].empty())
            pipe += "　" + page.pipeNames[i];
    l.text(Margin, 23, 190, 7, korreltext::PipeLabel + pipe, Align::Left, 11, true);
    l.text(right - 80, 23, 80, 7, korreltext::LocationLabel + page.location, Align::Right, 11, true);
    l.text(Margin, 31, 130, 6, korreltext::LabourLabel + labourText(h.labour), Align::Left, 9.5);
    l.text(Margin + 130, 31, 80, 6, korreltext::NetLabourLabel + groupedNumber(h.netLabour), Align::Left, 9.5);
    if (!h.memo.empty())
        l.text(Margin, 38, width, 6, korreltext::MemoLabel + h.memo, Align::Left, 9);

    // The table: a group row over the factors and the components, the headings, 14 rows.
    const std::vector<Column> cols = tableColumns(h.refrigerant);
    const double headTop = TableTop, nameTop = TableTop + GroupRowHeight;
    const double bodyTop = nameTop + HeadingRowHeight;
    const double bottom = bodyTop + Rows * RowHeight;
    double x = Margin;
    double factorsLeft = 0, factorsRight = 0, componentsLeft = 0, componentsRight = 0;
    for (const Column &c : cols) {
        const bool grouped = isFactor(c.field) || isComponent(c.field);
        if (isFactor(c.field)) {
            if (factorsLeft == 0)
                factorsLeft = x;
            factorsRight = x + c.width;
        } else if (isComponent(c.field)) {
            if (componentsLeft == 0)
                componentsLeft = x;
            componentsRight = x + c.width;
        }
        if (grouped)
            l.text(x, nameTop, c.width, HeadingRowHeight, c.heading, Align::Centre, 8, true);
        else
            l.text(x, headTop, c.width, GroupRowHeight + HeadingRowHeight, c.heading, Align::Centre, 8.5, true);
        for (size_t r = 0; r < page.rows.size() && r < Rows; ++r) {
            if (unusedRow(*page.rows[r]))
                continue;
            const double y = bodyTop + static_cast<double>(r) * RowHeight;
            std::string value = (*page.rows[r])[c.field];
            l.text(x + 1, y, c.width - 2, RowHeight, std::move(value), c.align, 9);
        }
        // Column lines; inside a group the heading of the group spans them.
        l.rule(x, grouped && x != factorsLeft && x != componentsLeft ? nameTop : headTop, x, bottom);
        x += c.width;
    }
    l.rule(x, headTop, x, bottom);
    l.text(factorsLeft, headTop, factorsRight - factorsLeft, GroupRowHeight, FactorGroup, Align::Centre, 8.5, true);
    l.text(componentsLeft, headTop, componentsRight - componentsLeft, GroupRowHeight, ComponentGroup, Align::Centre,
         8.5, true);
    l.rule(Margin, headTop, x, headTop, 0.4);
    l.rule(factorsLeft, nameTop, factorsRight, nameTop);
    l.rule(componentsLeft, nameTop, componentsRight, nameTop);
    l.rule(Margin, bodyTop, x, bodyTop, 0.4);
    for (int r = 1; r < Rows; ++r)
        l.rule(Margin, bodyTop + r * RowHeight, x, bodyTop + r * RowHeight, 0.1);
    l.rule(Margin, bottom, x, bottom, 0.4);

    // Foot: who printed it and the page number.
    const double foot = PageLayout::Height - Margin - 5;
    l.text(Margin, foot, 120, 5, h.applicationTitle + (h.dataTitle.empty() ? "" : "　" + h.dataTitle), Align::Left, 8);
    l.text(right - 40, foot, 40, 5, std::to_string(page.number) + " / " + std::to_string(page.count), Align::Right, 8);
    return l;
}

} // namespace velmo::print
