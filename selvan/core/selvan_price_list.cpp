#include "selvan/core/selvan_price_list.h"

#include "base/shared_texts.h"
#include "base/errors.h"
#include "selvan/core/selvan_texts.h"
#include "pricefile/registration_lists.h"

namespace velmo {

std::vector<PriceListColumn> selvanPriceColumns()
{
    std::vector<PriceListColumn> columns;
    for (const char *tab : PriceTabCaptions)
        columns.push_back({PriceHeading, tab, true});
    columns.push_back({"", selvan::LabourRateHeading, false});
    for (const char *tab : PriceTabCaptions)
        columns.push_back({selvan::InstallationHeading, tab, true});
    return columns;
}

PriceListBlock selvanPriceListBlock(int index, const EquipmentBlock &block, const std::string &name,
                                    const std::string &unit)
{
    PriceListBlock b;
    b.index = index;
    b.names = {name};
    b.unit = unit;
    for (int row = 0; row < EquipmentSizeRows; ++row) {
        const EquipmentRecord &r = block[row];
        if (!hasName(r.caption.text()))
            continue;
        PriceListRow line{r.caption.text(), {}};
        for (int tab = 0; tab < PriceTabCount; ++tab)
            line.prices.push_back(r.values[materialSlot(basisOfTab(tab))]);
        line.prices.push_back(r.values[eqslot::LabourRate]);
        for (int tab = 0; tab < PriceTabCount; ++tab)
            line.prices.push_back(r.values[installationSlot(basisOfTab(tab))]);
        b.rows.push_back(std::move(line));
    }
    return b;
}

PriceList emptySelvanPriceList() { return PriceList{selvan::PriceListTitle, selvanPriceColumns(), {}}; }

PriceList selvanPriceList(const std::filesystem::path &file, std::optional<int> only)
{
    const std::string bytes = readEquipmentFileBytes(file);
    PriceList list = emptySelvanPriceList();
    for (const int i : priceListBlocks(equipmentNamesOf(bytes), only)) {
        if (i < 0 || i >= EquipmentBlockCount)
            throw RangeError(controltext::noSuchBlockText(i));
        const EquipmentBlock block = equipmentBlockOf(bytes, i);
        list.blocks.push_back(selvanPriceListBlock(i, block, block[0].name.text(), block[0].unit.text()));
    }
    return list;
}

} // namespace velmo
