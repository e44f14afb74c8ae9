#include "pricework/price_revision.h"

#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "base/errors.h"
#include "base/sheet_text.h"

#include <algorithm>

namespace velmo {

namespace {

using Wide = __int128;

// a / b rounded by the rule, for a ≥ 0, b > 0.
Wide divideRounded(Wide a, Wide b, RevisionRounding rule)
{
    const Wide q = a / b, rest = a % b;
    switch (rule) {
    case RevisionRounding::Up: return rest ? q + 1 : q;
    case RevisionRounding::Down: return q;
    case RevisionRounding::Half: return rest * 2 >= b ? q + 1 : q;
    }
    return q;
}

} // namespace

Currency revisedPrice(Currency old, const PriceRevision &r)
{
    // old × (100 + P) / 100 exactly: both raw values carry four decimals, so the product is
    // the new price × 100 × Scale². Rounded to the unit, it is a whole number of units.
    const Wide factor = static_cast<Wide>(100) * Currency::Scale + r.percent.raw();
    const Wide product = static_cast<Wide>(old.raw() < 0 ? -old.raw() : old.raw()) * factor;
    const Wide perUnit = static_cast<Wide>(100) * Currency::Scale * Currency::Scale * r.unit;
    Wide units = divideRounded(product, perUnit, r.rounding);
    if (old.raw() < 0)
        units = -units;
    const Wide raw = units * r.unit * Currency::Scale;
    if (raw > INT64_MAX || raw < -INT64_MAX)
        throw RangeError(sharedtext::revisedTooLargeText(old.toString()));
    return Currency::fromRaw(static_cast<int64_t>(raw));
}

PriceRevision parseRevision(const std::string &percent, const std::string &unit, const std::string &rounding)
{
    PriceRevision r;
    // A percent sign after the figure is what the person means anyway.
    std::string p = percent;
    for (const std::string sign : {"%", "％"})
        if (p.size() >= sign.size() && p.compare(p.size() - sign.size(), sign.size(), sign) == 0)
            p.erase(p.size() - sign.size());
    const std::optional<std::string> number = sheetNumberText(p, false);
    if (!number)
        throw ConversionError(sharedtext::percentNotNumberText(percent));
    r.percent = Currency::parse(*number);
    if (r.percent < Cur("-100") || r.percent > Cur("1000"))
        throw ConversionError(sharedtext::percentOutsideText(percent));
    const auto u = std::find_if(RevisionUnits.begin(), RevisionUnits.end(),
                                [&](int64_t v) { return std::to_string(v) == unit; });
    if (u == RevisionUnits.end())
        throw ConversionError(sharedtext::badRevisionUnitText(unit));
    r.unit = *u;
    for (size_t i = 0; i < RevisionRoundingKeys.size(); ++i)
        if (rounding == RevisionRoundingKeys[i] || rounding == RevisionRoundingNames[i]) {
            r.rounding = static_cast<RevisionRounding>(i);
            return r;
        }
    throw ConversionError(sharedtext::badRevisionRoundingText(rounding));
}

void RevisionPreview::add(int block, const std::string &name, const std::string &row, Currency before, Currency after)
{
    if (before.isZero() && after.isZero())
        return;
    if (before != after) {
        const bool first = std::none_of(prices.begin(), prices.end(), [&](const RevisedPrice &p) {
            return p.block == block && p.before != p.after;
        });
        if (first)
            ++blocks;
        ++changed;
    }
    prices.push_back({block, name, row, before, after});
}

void revise(Currency &price, const PriceRevision &r, RevisionPreview &preview, int block, const std::string &name,
            const std::string &row)
{
    const Currency before = price;
    price = revisedPrice(before, r);
    preview.add(block, name, row, before, price);
}

void writeRevisionJson(cli::JsonWriter &j, const RevisionPreview &p, const PriceRevision &r, bool written)
{
    j.beginObject();
    j.key("percent").number(r.percent);
    j.key("unit").number(int64_t{r.unit});
    j.key("round").string(RevisionRoundingKeys[static_cast<size_t>(r.rounding)]);
    j.key("written").boolean(written);
    j.key("blocks").number(int64_t{p.blocks});
    j.key("changed").number(int64_t{p.changed});
    j.key("prices").beginArray();
    for (const RevisedPrice &x : p.prices) {
        j.beginObject();
        j.key("block").number(int64_t{x.block});
        j.key("name").string(x.name);
        j.key("row").string(x.row);
        j.key("old").number(x.before);
        j.key("new").number(x.after);
        j.endObject();
    }
    j.endArray();
    j.endObject();
}

std::string revisionSummaryText(const RevisionPreview &p, const char *blockWord)
{
    return sharedtext::revisionSummary(p.blocks, blockWord, p.changed);
}

RevisionDialogText listRevisionDialogText()
{
    return {sharedtext::RevisionCaption,
            {sharedtext::RevisionShownBlock, sharedtext::RevisionWholeFile},
            sharedtext::RevisionBlockHeading,
            sharedtext::RevisionSizeHeading};
}

} // namespace velmo
