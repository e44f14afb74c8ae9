#include "pricefile/pricing_rules.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"

#include "base/rounding.h"

namespace velmo {

const char *basisLabel(Basis b)
{
    static constexpr const char *names[] = {"", "LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4", "LEVEL5", sharedtext::NetBasisName, sharedtext::ListBasisName};
    return names[basisNumber(b)];
}

const char *basisKey(Basis b) { return b == Basis::List ? "LIST" : b == Basis::Net ? "NET" : basisLabel(b); }

std::optional<int> significantCodeIndex(Currency code)
{
    for (int i = 0; i < static_cast<int>(SignificantCodes.size()); ++i)
        if (code.intPart() == SignificantCodes[i])
            return i;
    return std::nullopt;
}

std::optional<int> addendIndex(Currency value)
{
    for (int i = 0; i < static_cast<int>(AddendRaws.size()); ++i)
        if (value.raw() == AddendRaws[i])
            return i;
    return std::nullopt;
}

Currency derivedPrice(Currency list, Currency percent, Currency fracAddend, Currency sigCode, Currency sigAddend)
{
    // Trunc(L×P/100 + D2): L×P/100 = L_raw·P_raw / 10^10 currency units.
    const Currency t = RoundToUnit(int128(list.raw()) * percent.raw(), pow10i(10), 1, fracAddend);
    return RoundSignificant(sigAddend, sigCode, t);
}

} // namespace velmo
