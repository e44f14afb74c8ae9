#pragma once
// "労務単価改定": the labour prices of a pipe (基礎工費, one for each basis: LEVEL1 … LEVEL5,
// 原価, 定価) raised or lowered by a percentage and rounded to a unit; the composite prices
// follow when the pipe is calculated again.
#include "pricework/price_revision.h"
#include "pricefile/pipe_block.h"

#include <string>

namespace velmo {

// The labour prices of `block`, pipe number `pipe` (1 … 20 as velmok shows it), revised and
// noted in the preview.
void reviseLabourPrices(PipeBlock &block, int pipe, const PriceRevision &revision, RevisionPreview &preview);
// The same for the labour record of a pipe named `name`.
void reviseLabourRecord(PriceRecord &labour, int pipe, const std::string &name, const PriceRevision &revision,
                        RevisionPreview &preview);

} // namespace velmo
