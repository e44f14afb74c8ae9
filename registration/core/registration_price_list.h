#pragma once
// Building the price list of a registration program's price file: the blocks it lists and the
// lines of a block, for any price file format as BlockFile takes it.
#include "base/errors.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"
#include "pricefile/registration_lists.h"
#include "pricework/price_list.h"

#include <filesystem>
#include <optional>
#include <string>

namespace velmo {

// The price list of a price file: block `only`, or every named block, each as `listBlock(index,
// block)` gives it. A block number outside the file's raises RangeError; a file that cannot be
// read IoError naming it.
template <typename Format, typename ListBlock>
PriceList filePriceList(const std::filesystem::path &file, std::optional<int> only, PriceList list,
                        ListBlock listBlock)
{
    const std::string bytes = Format::read(file);
    for (const int i : priceListBlocks(Format::namesOf(bytes), only)) {
        if (i < 0 || i >= Format::Blocks)
            throw RangeError(sharedtext::noSuchBlockText(i));
        list.blocks.push_back(listBlock(i, Format::blockOf(bytes, i)));
    }
    return list;
}

// The lines of a block's price list: one for each of its first `sizeRows` records whose size
// (`sizeOf`) has a name, with the prices `pricesOf` gives.
template <typename Block, typename SizeOf, typename PricesOf>
void addNamedSizeRows(PriceListBlock &b, const Block &block, int sizeRows, SizeOf sizeOf, PricesOf pricesOf)
{
    for (int row = 0; row < sizeRows; ++row) {
        const std::string size = sizeOf(block[row]);
        if (hasName(size))
            b.rows.push_back(PriceListRow{size, pricesOf(block[row])});
    }
}

// The prices of the seven bases in the order of the tabs (定価, LEVEL1 … LEVEL5, 原価), `slotOf`
// giving the slot of each basis in `values`.
template <typename Values, typename SlotOf>
void addTabPrices(std::vector<Currency> &prices, const Values &values, SlotOf slotOf)
{
    for (int tab = 0; tab < PriceTabCount; ++tab)
        prices.push_back(values[slotOf(basisOfTab(tab))]);
}

} // namespace velmo
