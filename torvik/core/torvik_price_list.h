#pragma once
// torvik's price list: for each pipe block its three names, its two memos, its unit and one
// line per named size with the material prices of the seven bases, in the order of the tabs
// (定価, LEVEL1 … LEVEL5, 原価), as the window shows them.
#include "pricework/price_list.h"
#include "pricefile/pipe_block.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace velmo {

// The five texts above and beside the grid (names 1–3, the two memos) and the unit box.
struct PipeBlockTexts {
    std::array<std::string, 5> texts;
    std::string unit;
};

// The texts as a block read from the file shows them: the names of records 0–4 and the unit
// of its settings record.
PipeBlockTexts storedTexts(const PipeBlock &block);

std::vector<PriceListColumn> torvikPriceColumns();
PriceListBlock torvikPriceListBlock(int index, const PipeBlock &block, const PipeBlockTexts &texts);
PriceList emptyTorvikPriceList();

// The list of the pipe price file `file`: block `only`, or every named block, each with the
// prices torvik shows once it has opened the block (derived from the list prices where the
// block says so). A block number outside 0–19 raises RangeError; a file that cannot be read
// IoError naming it.
PriceList torvikPriceList(const std::filesystem::path &file, std::optional<int> only);

} // namespace velmo
