#pragma once
// The three rounding rules of the price files. Each adds a fixed addend (0.9 round up, 0 cut,
// 0.5 half up) and then cuts toward zero. They are evaluated exactly on the scaled integers:
// a result that is exact in decimals stays exact (1041 at unit 10 with addend 0.9 is 1050).
#include "base/currency.h"

namespace velmo {

using int128 = __int128;

// Currency from an exact scaled integer; raises RangeError when it does not fit.
Currency currencyFromRaw128(int128 raw);

// 10^n as a 128-bit integer, n = 0 … 38.
int128 pow10i(int n);

// Fraction rule: Trunc(x + addend), to whole currency units.
Currency Frac(Currency x, Currency addend);

// Component rule: Trunc(a × b × s + addend) / s with s = 10^decimals (decimals 0 … 3).
Currency ComponentRule(Currency a, Currency b, int decimals, Currency addend);

// Significant-digit rule. Code 10, 100, 1000: unit U = code; code 3 or 4: keep that many
// leading characters of the value's plain text (sign, point and fraction count); any other
// code leaves the value as it is. Result = U × Trunc(x / U + addend).
Currency RoundSignificant(Currency addend, Currency code, Currency value);

// U × Trunc(num / (den × U) + addend) for an exact fraction num/den of currency units,
// U a whole unit ≥ 1. The shared core of the rules above.
Currency RoundToUnit(int128 num, int128 den, int128 unit, Currency addend);

} // namespace velmo
