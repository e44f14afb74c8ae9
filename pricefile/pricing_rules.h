#pragma once
// Pricing rules that more than one program uses: the seven price bases and where each keeps its
// prices in a pipe price record, the rounding choices stored in the settings records, and the
// price derived from a list price by a percentage.
#include "base/currency.h"
#include "pricefile/price_record.h"

#include <array>
#include <optional>

namespace velmo {

// Price bases in calculation order: LEVEL1 … LEVEL5 (submitted prices), NET (原価, the cost
// or purchase price) and the list price (定価).
enum class Basis { Level1 = 1, Level2, Level3, Level4, Level5, Net, List };
constexpr int BasisCount = 7;
constexpr Basis basisAt(int i) { return static_cast<Basis>(i); } // i = 1 … 7
constexpr int basisNumber(Basis b) { return static_cast<int>(b); }
// The name the programs show for a basis: "LEVEL1" … "LEVEL5", "原価", "定価".
const char *basisLabel(Basis b);
// The key of a basis in the batch programs' JSON: "LEVEL1" … "LEVEL5", "NET", "LIST".
const char *basisKey(Basis b);

// The material price slot of a basis in a size row: LEVELn → An, NET → A0, list → A6. The
// percentage that derives a basis from the list price lies in the same slot of the settings
// record (the list price has none).
constexpr int materialSlot(Basis b)
{
    return b == Basis::Net ? slot::A(0) : b == Basis::List ? slot::A(6) : slot::A(basisNumber(b));
}

// The labour price slot of a basis in the labour record: LEVELn → Cn, NET → C0, list → A6.
constexpr int labourSlot(Basis b)
{
    return b == Basis::Net ? slot::C(0) : b == Basis::List ? slot::A(6) : slot::C(basisNumber(b));
}

// The significant-digit codes in the order of the programs' lists: keep units, tens, hundreds,
// thousands, three and four significant digits.
constexpr std::array<int64_t, 6> SignificantCodes = {1, 10, 100, 1000, 3, 4};
// The rounding addends in the order of the lists: 切り上げ 0.9, 切り捨て 0, 四捨五入 0.5.
constexpr std::array<int64_t, 3> AddendRaws = {9000, 0, 5000};

inline Currency significantCode(int index) { return Currency::fromInt(SignificantCodes.at(index)); }
inline Currency addend(int index) { return Currency::fromRaw(AddendRaws.at(index)); }

// The list entry of a stored code, compared by its whole part; nothing when none matches.
std::optional<int> significantCodeIndex(Currency code);
// The list entry of a stored addend, compared exactly; nothing when none matches.
std::optional<int> addendIndex(Currency value);

// A material price derived from the list price L by a percentage P:
// RoundSignificant(sigAddend, sigCode, Trunc(L × P / 100 + fracAddend)), evaluated exactly.
Currency derivedPrice(Currency list, Currency percent, Currency fracAddend, Currency sigCode, Currency sigAddend);

} // namespace velmo
