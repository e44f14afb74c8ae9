#include "base/rounding.h"

#include "base/shared_texts.h"
#include "base/errors.h"

#include <limits>

namespace velmo {
namespace {

int128 mulChecked(int128 a, int128 b)
{
    int128 r;
    if (__builtin_mul_overflow(a, b, &r))
        throw RangeError(sharedtext::ResultTooLargeText);
    return r;
}

int128 addChecked(int128 a, int128 b)
{
    int128 r;
    if (__builtin_add_overflow(a, b, &r))
        throw RangeError(sharedtext::ResultTooLargeText);
    return r;
}

} // namespace

Currency currencyFromRaw128(int128 raw)
{
    if (raw > std::numeric_limits<int64_t>::max() || raw < std::numeric_limits<int64_t>::min())
        throw RangeError(sharedtext::CurrencyOverflowText);
    return Currency::fromRaw(static_cast<int64_t>(raw));
}

int128 pow10i(int n)
{
    int128 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

Currency RoundToUnit(int128 num, int128 den, int128 unit, Currency addend)
{
    // num/(den·U) + a_raw/10^4 = (num·10^4 + a_raw·den·U) / (den·U·10^4)
    const int128 du = mulChecked(den, unit);
    const int128 n = addChecked(mulChecked(num, Currency::Scale), mulChecked(addend.raw(), du));
    const int128 q = n / mulChecked(du, Currency::Scale); // C++ division cuts toward zero
    return currencyFromRaw128(mulChecked(mulChecked(q, unit), Currency::Scale));
}

Currency Frac(Currency x, Currency addend)
{
    return RoundToUnit(x.raw(), Currency::Scale, 1, addend);
}

Currency ComponentRule(Currency a, Currency b, int decimals, Currency addend)
{
    // a×b×s + z = (a_raw·b_raw·s + z_raw·10^4) / 10^8, cut, then divided by s.
    const int128 s = pow10i(decimals);
    const int128 num = addChecked(mulChecked(mulChecked(int128(a.raw()), b.raw()), s),
                                  mulChecked(int128(addend.raw()), Currency::Scale));
    const int128 t = num / pow10i(8);
    return currencyFromRaw128(t * Currency::Scale / s);
}

Currency RoundSignificant(Currency addend, Currency code, Currency value)
{
    const int64_t c = code.intPart();
    int128 unit;
    if (c == 10 || c == 100 || c == 1000) {
        unit = c;
    } else if (c == 3 || c == 4) {
        const int n = static_cast<int>(value.toString().size());
        if (n <= c)
            return value;
        unit = pow10i(n - static_cast<int>(c));
    } else {
        return value;
    }
    return RoundToUnit(value.raw(), Currency::Scale, unit, addend);
}

} // namespace velmo
