#include "torvik/core/torvik_price_list.h"

#include "base/shared_texts.h"
#include "base/errors.h"
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
            b.memo += (b.memo.empty() ? "" : "　") + texts.texts[i];
    b.unit = texts.unit;
    // The material prices are those of location 0, the only one that carries them.
    for (int row = 0; row < SizeRowsPerLocation; ++row) {
        const PriceRecord &r = block[row];
        if (!hasName(r.size.text()))
            continue;
        PriceListRow line{r.size.text(), {}};
        for (int tab = 0; tab < PriceTabCount; ++tab)
            line.prices.push_back(r.slots[materialSlot(basisOfTab(tab))]);
        b.rows.push_back(std::move(line));
    }
    return b;
}

PriceList emptyTorvikPriceList() { return PriceList{torvik::PriceListTitle, torvikPriceColumns(), {}}; }

PriceList torvikPriceList(const std::filesystem::path &file, std::optional<int> only)
{
    const std::string bytes = readServiceFileBytes(file);
    PriceList list = emptyTorvikPriceList();
    for (const int i : priceListBlocks(pipeNamesOf(bytes), only)) {
        if (i < 0 || i >= PipesPerFile)
            throw RangeError(controltext::noSuchBlockText(i));
        // As torvik shows the block once it has opened it: the purchase and LEVEL prices derived.
        PipeBlock block = pipeBlockOf(bytes, i);
        recalculatePipeBlock(block, torvikControlsFrom(block[SettingsRecord], TorvikControls{}));
        list.blocks.push_back(torvikPriceListBlock(i, block, storedTexts(block)));
    }
    return list;
}

} // namespace velmo
