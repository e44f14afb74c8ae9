#pragma once
// The range of a number field (a percentage, a rate): what a person may enter, and the refusal
// of anything outside it. Every field that checks a value goes through checkFieldValue, so that
// the refusal is worded the same way everywhere and names the range.
#include "base/shared_texts.h"
#include "grid/core/grid_texts.h"
#include "base/currency.h"
#include "base/errors.h"

#include <string>

namespace velmo {

struct FieldRange {
    Currency low;
    Currency high;
    constexpr bool holds(Currency v) const { return v >= low && v <= high; }
};

// A percentage field: 0 to 999.99 %, never negative.
inline constexpr FieldRange PercentRange{Currency(), Currency::fromRaw(999'9900)};

// Raises RangeError when `value`, entered into the field called `field`, lies outside `range`:
// the message names the field, the value and the range in words. Nothing is stored before.
inline void checkFieldValue(const std::string &field, Currency value, const FieldRange &range)
{
    if (!range.holds(value))
        throw RangeError(sharedtext::fieldOutOfRangeText(field, value.toString(), range.low.toString(),
                                                          range.high.toString()));
}

} // namespace velmo
