#pragma once
// The derivation of the pipe unit price registration program, for the session and the batch
// command line alike: the controls a block's settings record sets, and the purchase and LEVEL
// prices a block derives from its list prices.
#include "pricework/price_revision.h"
#include "pricefile/pipe_block.h"
#include "pricefile/registration_lists.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace velmo {

// The three rounding lists of "計算処理": ComboBox1, ComboBox2, ComboBox3.
enum class RoundingList { SignificantCode, FractionAddend, SignificantAddend };
constexpr int RoundingListCount = 3;

// The controls of the "計算処理" group the derivation reads: the entry of each rounding list
// (−1 for none), the check box "単価に掛け率を使用" and the unit box. At start-up item 0 of
// each list, checked, the first unit.
struct TorvikControls {
    std::array<int, RoundingListCount> lists{};
    bool useRates = true;
    std::string unit = DefaultUnit;
};

// The lists after a settings record was read into them: a stored value that matches no entry
// leaves its list as it was.
std::array<int, RoundingListCount> roundingListsFrom(const PriceRecord &settings, std::array<int, RoundingListCount> before);

// The controls after a block with this settings record was read: the lists as above, the unit
// of the record, the check box set by the flag when it is 1 or 0 and left as it was otherwise.
TorvikControls torvikControlsFrom(const PriceRecord &settings, TorvikControls before);

// Recalculate: the controls into the settings record and, with the check box on, the purchase
// and LEVEL prices of location 0 derived from the list price by the percentages and the
// rounding (exact decimal arithmetic). A price beyond the Currency range raises RangeError
// naming the size row and the basis; the block may then be half done, so callers work on a copy.
void recalculatePipeBlock(PipeBlock &block, const TorvikControls &controls);

// "価格改定": the list prices (定価) of the 14 size rows of block `index` revised and noted in
// the preview; the derived prices follow at the next recalculation.
void reviseListPrices(PipeBlock &block, int index, const PriceRevision &revision, RevisionPreview &preview);

// Blocks `indexes` of a pipe price file's bytes with their list prices revised and recalculated
// as torvik does when it opens them, ready to be written in one write.
std::vector<std::pair<int, PipeBlock>> revisePipeBlocks(const std::string &fileBytes, const std::vector<int> &indexes,
                                                        const PriceRevision &revision, RevisionPreview &preview);

// The label of size row k (0 … 13) in a preview or a report: its size, or "k+1 行目".
std::string sizeRowLabel(const std::string &size, int k);

} // namespace velmo
