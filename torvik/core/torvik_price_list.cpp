#include "torvik/core/torvik_price_list.h"

#include "registration/core/pipe_block_file.h"
#include "registration/core/registration_price_list.h"
#include "torvik/core/torvik_calc.h"
#include "torvik/core/torvik_texts.h"
#include "pricefile/pricing_rules.h"
#include "pricefile/registration_lists.h"

namespace velmo {

PipeBlockTexts storedTexts(const PipeBlock &block)
{
    PipeBlockTexts t;
    for (size_t i = 0; i < t.texts.size(); ++i)
        t.texts[i] = block[i].name.text();
    t.unit = block[SettingsRecord].unit.text();
    return t;
}

std::vector<PriceListColumn> torvikPriceColumns()
{
    std::vector<PriceListColumn> columns;
    for (const char *tab : PriceTabCaptions)
        columns.push_back({"", tab, true});
    return columns;
}

PriceListBlock torvikPriceListBlock(int index, const PipeBlock &block, const PipeBlockTexts &texts)
{
    PriceListBlock b;
    b.index = index;
    b.names.assign(texts.texts.begin(), texts.texts.begin() + 3);
    for (size_t i = 3; i < texts.texts.size(); ++i)
        if (hasName(texts.texts[i]))
            b.memo += (b.memo.empty() ? "" : torvik::MemoSeparator) + texts.texts[i];
    b.unit = texts.unit;
    // The material prices are those of location 0, the only one that carries them.
    addNamedSizeRows(b, block, SizeRowsPerLocation, [](const PriceRecord &r) { return r.size.text(); },
                     [](const PriceRecord &r) {
                         std::vector<Currency> prices;
                         addTabPrices(prices, r.slots, materialSlot);
                         return prices;
                     });
    return b;
}

PriceList emptyTorvikPriceList() { return PriceList{torvik::PriceListTitle, torvikPriceColumns(), {}}; }

PriceList torvikPriceList(const std::filesystem::path &file, std::optional<int> only)
{
    return filePriceList<PipeFileFormat>(file, only, emptyTorvikPriceList(), [](int i, PipeBlock block) {
        // As torvik shows the block once it has opened it: the purchase and LEVEL prices derived.
        recalculatePipeBlock(block, torvikControlsFrom(block[SettingsRecord], TorvikControls{}));
        return torvikPriceListBlock(i, block, storedTexts(block));
    });
}

} // namespace velmo
