#pragma once
// Fixed-point money: a signed 64-bit integer holding the value × 10,000.
// Every price, factor, percentage, rounding code and flag of the data files is a Currency.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmo {

class Currency {
public:
    static constexpr int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(int64_t raw) { Currency c; c.raw_ = raw; return c; }
    static constexpr Currency fromInt(int64_t units) { return fromRaw(units * Scale); }
    // Nearest Currency to a floating value (ties away from zero).
    static Currency fromDouble(long double v);
    // Parses an optional sign, digits and at most one point; more than four decimals are cut.
    // Anything else raises ConversionError naming the text.
    static Currency parse(std::string_view text);

    constexpr int64_t raw() const { return raw_; }
    long double toLongDouble() const { return static_cast<long double>(raw_) / Scale; }
    // Integer part, cut toward zero (what a code such as 1000 or 3 is compared by).
    constexpr int64_t intPart() const { return raw_ / Scale; }
    constexpr bool isZero() const { return raw_ == 0; }

    // Text form without grouping and without trailing zeros: 12.5, 0, 1234, -0.05.
    std::string toString() const;

    // Sums, differences and negation are checked: a result outside the range raises
    // RangeError, so a wrapped number never reaches a grid or a file.
    Currency operator+(Currency o) const;
    Currency operator-(Currency o) const;
    Currency operator-() const;
    Currency &operator+=(Currency o) { return *this = *this + o; }
    constexpr auto operator<=>(const Currency &) const = default;

private:
    int64_t raw_ = 0;
};

// Literal helper for tests and tables: Cur("0.9"), Cur("1000").
inline Currency Cur(std::string_view text) { return Currency::parse(text); }

} // namespace velmo
