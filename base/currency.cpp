#include "base/currency.h"

#include "base/shared_texts.h"
#include "base/errors.h"

#include <cmath>
#include <limits>

namespace velmo {

Currency Currency::fromDouble(long double v)
{
    const long double r = std::round(v * Scale);
    if (!(std::fabs(r) < 9.2e18L))
        throw RangeError(sharedtext::numberTooLargeText(std::to_string(static_cast<double>(v))));
    return fromRaw(static_cast<int64_t>(r));
}

namespace {

[[noreturn]] void outOfRange(const char *what, Currency a, Currency b)
{
    throw RangeError(std::string(sharedtext::CurrencyOverflowText) + ": " + a.toString() + " " + what + " " + b.toString());
}

} // namespace

Currency Currency::operator+(Currency o) const
{
    int64_t r;
    if (__builtin_add_overflow(raw_, o.raw_, &r))
        outOfRange("+", *this, o);
    return fromRaw(r);
}

Currency Currency::operator-(Currency o) const
{
    int64_t r;
    if (__builtin_sub_overflow(raw_, o.raw_, &r))
        outOfRange("-", *this, o);
    return fromRaw(r);
}

Currency Currency::operator-() const
{
    int64_t r;
    if (__builtin_sub_overflow(int64_t{0}, raw_, &r))
        throw RangeError(std::string(sharedtext::CurrencyOverflowText) + ": -(" + toString() + ")");
    return fromRaw(r);
}

Currency Currency::parse(std::string_view text)
{
    auto fail = [&]() -> Currency {
        throw ConversionError(sharedtext::notANumberText(text));
    };
    auto tooLarge = [&]() -> Currency {
        throw ConversionError(sharedtext::numberOutOfRangeText(text));
    };
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned __int128 intPart = 0;
    int64_t frac = 0;
    int fracDigits = 0;
    bool point = false, anyDigit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            if (point)
                return fail();
            point = true;
        } else if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (!point) {
                intPart = intPart * 10 + static_cast<unsigned>(c - '0');
                if (intPart > static_cast<unsigned __int128>(std::numeric_limits<int64_t>::max() / Scale) + 1)
                    return tooLarge();
            } else if (fracDigits < 4) {
                frac = frac * 10 + (c - '0');
                ++fracDigits;
            }
        } else {
            return fail();
        }
    }
    if (!anyDigit)
        return fail();
    while (fracDigits < 4) {
        frac *= 10;
        ++fracDigits;
    }
    // The most negative raw value has no positive counterpart, so the magnitude is checked
    // against the limit of its sign before it is made an int64.
    const unsigned __int128 mag = intPart * Scale + static_cast<unsigned __int128>(frac);
    const unsigned __int128 limit = static_cast<unsigned __int128>(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
    if (mag > limit)
        return tooLarge();
    return fromRaw(negative ? static_cast<int64_t>(-static_cast<__int128>(mag)) : static_cast<int64_t>(mag));
}

std::string Currency::toString() const
{
    const bool negative = raw_ < 0;
    // Work on the magnitude as unsigned so the most negative value has no overflow.
    const uint64_t mag = negative ? uint64_t(0) - static_cast<uint64_t>(raw_) : static_cast<uint64_t>(raw_);
    std::string s = negative ? "-" : "";
    s += std::to_string(mag / Scale);
    uint64_t frac = mag % Scale;
    if (frac != 0) {
        std::string f = std::to_string(frac);
        f.insert(0, 4 - f.size(), '0');
        while (!f.empty() && f.back() == '0')
            f.pop_back();
        s += '.';
        s += f;
    }
    return s;
}

} // namespace velmo
