#pragma once
// The choices of the output level dialog Tflevel_select, shared by the session that acts on
// them and the window that asks for them.
#include "base/errors.h"
#include "velmok/core/velmok_texts.h"
#include "pricefile/pricing_rules.h"

#include <iterator>
#include <string>

namespace velmo {

// What the output level dialog Tflevel_select gives back after it closed.
struct OutputLevelChoice {
    Basis basis = Basis::Level1; // LEVEL1 … LEVEL5 or 原価 (NET)
    bool heading = false;  // CheckBox7 "見出しを出力"
    bool results = false;  // CheckBox8 "計算結果を出力": components instead of factors
    bool confirmed = false; // closed with "実　行"
    bool operator==(const OutputLevelChoice &) const = default;
};

// The captions of the dialog's radio buttons level1 … level6.
constexpr int OutputLevelCount = 6;
using velmoktext::OutputLevelCaptions;
static_assert(std::size(OutputLevelCaptions) == OutputLevelCount);

// Whether a basis is one the tables are taken out at: LEVEL1 … LEVEL5 and NET, not the list price.
constexpr bool isOutputBasis(Basis b) { return basisNumber(b) >= 1 && basisNumber(b) <= OutputLevelCount; }
// Raises RangeError naming the basis when it is not one the tables are taken out at.
inline void requireOutputBasis(Basis b)
{
    if (!isOutputBasis(b))
        throw RangeError(velmoktext::outputBasisRangeText(basisNumber(b)));
}

} // namespace velmo
