#pragma once
// A walk of random keys through a percentage field (the numeric edit of grid/core), with
// Enter handing the field's value to the program as the window does, checked against the
// contract of number fields (docs/editing.md): a value inside the field's range is stored and
// shown; one outside it is refused with a message that gives the range, nothing is stored,
// and the field shows the stored value again.
#include "base/currency.h"
#include "base/errors.h"
#include "grid/core/field_range.h"
#include "grid/core/nvaledit_state.h"
#include "grid/core/virtual_keys.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

namespace velmo::test {

struct FieldWalkProgram {
    FieldRange range;
    std::function<void(NValEditState &)> configure = [](NValEditState &) {}; // as the window sets the field up
    std::function<void(long double value)> enter;                             // Enter in the field
    std::function<Currency()> stored;                                         // what the program holds
};

struct FieldWalkCounts {
    int stored = 0, refused = 0;
};

inline FieldWalkCounts runFieldWalk(const FieldWalkProgram &p, uint32_t seed, int steps)
{
    std::mt19937 rng(seed);
    NValEditState field;
    p.configure(field);
    FieldWalkCounts counts;
    // The field takes the focus showing the stored value, its whole text selected.
    auto asNumber = [](Currency c) { return static_cast<long double>(c.raw()) / Currency::Scale; };
    auto refresh = [&] {
        field.SetValue(asNumber(p.stored()));
        return field.FocusGained();
    };
    bool selected = refresh();
    const std::string keys = "0123456789.-\bx";
    for (int i = 0; i < steps && !::testing::Test::HasFailure(); ++i) {
        const std::string where = "seed " + std::to_string(seed) + ", step " + std::to_string(i);
        if (std::uniform_int_distribution<int>(0, 6)(rng) > 0) {
            const char ch = keys[std::uniform_int_distribution<size_t>(0, keys.size() - 1)(rng)];
            if (ch == '\b')
                field.KeyDown(vkey::Back, selected);
            else
                field.KeyPress(static_cast<char32_t>(ch), selected);
            selected = false;
            continue;
        }
        // Enter: the value typed goes to the program; the window then shows its state.
        const long double typed = field.Value();
        const Currency value = Currency::fromDouble(typed);
        const Currency before = p.stored();
        std::string error;
        try {
            p.enter(typed);
        } catch (const RangeError &e) {
            error = e.what();
        }
        if (p.range.holds(value)) {
            EXPECT_EQ(error, "") << where << " typed " << field.Text();
            EXPECT_EQ(p.stored(), value) << where << " typed " << field.Text();
            ++counts.stored;
        } else {
            EXPECT_NE(error.find(p.range.high.toString()), std::string::npos) << where << ": " << error;
            EXPECT_EQ(p.stored(), before) << where << " typed " << field.Text();
            ++counts.refused;
        }
        selected = refresh();
        EXPECT_EQ(Currency::fromDouble(field.Value()), p.stored()) << where;
    }
    return counts;
}

} // namespace velmo::test
