#include "velmok/session/settings_controls.h"
#include "velmok/core/velmok_texts.h"

#include "pricefile/registration_lists.h"

#include <algorithm>

namespace velmo {

const std::array<const char *, 6> PriceCodeEntries = std::to_array(velmoktext::PriceCodeEntries);
const std::array<const char *, 3> FracAddendEntries = FractionAddendEntries;
const std::array<const char *, 3> SigAddendEntries = SignificantAddendEntries;

BasicSettings basicSettingsOf(const SettingsControls &c)
{
    BasicSettings s;
    s.priceCode = significantCode(std::clamp(c.priceCodeIndex, 0, 5));
    s.priceFracAddend = addend(std::clamp(c.fracAddendIndex, 0, 2));
    s.priceSigAddend = addend(std::clamp(c.sigAddendIndex, 0, 2));
    s.useRates = c.useRates;
    s.percent = c.percent;
    s.labour = c.labour;
    return s;
}

void loadSettingsControls(SettingsControls &c, const BasicSettings &s, Currency storedFlag)
{
    for (int i = 0; i < static_cast<int>(SignificantCodes.size()); ++i)
        if (s.priceCode == significantCode(i))
            c.priceCodeIndex = i;
    if (s.priceCode.isZero())
        c.priceCodeIndex = 0;
    if (const auto i = addendIndex(s.priceFracAddend))
        c.fracAddendIndex = *i;
    if (const auto i = addendIndex(s.priceSigAddend))
        c.sigAddendIndex = *i;
    if (storedFlag == Currency::fromInt(1) || storedFlag.isZero())
        c.useRates = storedFlag == Currency::fromInt(1);
    c.percent = s.percent;
    c.labour = s.labour;
}

} // namespace velmo
