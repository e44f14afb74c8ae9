#pragma once
// A supplier's price list and a pipe block, for the session and the command line alike: the
// sizes it is matched to and where the list prices go (定価, A6 of location 0's size rows).
#include "pricework/price_import.h"
#include "registration/core/pipe_block_file.h"

namespace velmo {

// The sizes and list prices of the 14 size rows of location 0.
ImportTarget importTargetOf(const PipeBlock &block);
// The list prices the preview gives into those rows; the derived prices follow at the next
// recalculation.
void setListPrices(PipeBlock &block, const ImportPreview &preview);

} // namespace velmo
