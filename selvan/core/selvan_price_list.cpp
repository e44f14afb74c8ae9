#include "selvan/core/selvan_price_list.h"

#include "registration/core/equipment_block_file.h"
#include "registration/core/registration_price_list.h"
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
    addNamedSizeRows(b, block, EquipmentSizeRows, [](const EquipmentRecord &r) { return r.caption.text(); },
                     [](const EquipmentRecord &r) {
                         std::vector<Currency> prices;
                         addTabPrices(prices, r.values, materialSlot);
                         prices.push_back(r.values[eqslot::LabourRate]);
                         addTabPrices(prices, r.values, installationSlot);
                         return prices;
                     });
    return b;
}

PriceList emptySelvanPriceList() { return PriceList{selvan::PriceListTitle, selvanPriceColumns(), {}}; }

PriceList selvanPriceList(const std::filesystem::path &file, std::optional<int> only)
{
    return filePriceList<EquipmentFileFormat>(file, only, emptySelvanPriceList(), [](int i, const EquipmentBlock &block) {
        return selvanPriceListBlock(i, block, block[0].name.text(), block[0].unit.text());
    });
}

} // namespace velmo
