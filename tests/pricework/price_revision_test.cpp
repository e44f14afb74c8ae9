// Price revisions: exact arithmetic, the three rounding rules at their edges, and the options.
#include "pricework/price_revision.h"

#include "base/errors.h"

#include <gtest/gtest.h>

using namespace velmo;

namespace {

Currency revised(const char *old, const char *percent, int64_t unit, RevisionRounding rule)
{
    return revisedPrice(Cur(old), PriceRevision{Cur(percent), unit, rule});
}

constexpr auto Up = RevisionRounding::Up, Down = RevisionRounding::Down, Half = RevisionRounding::Half;

} // namespace

TEST(PriceRevision, RoundsByTheRuleAtTheEdgesOfFourAndFive)
{
    // 1000 × 1.0345 = 1034.5 exactly; 1000 × 1.0344 = 1034.4.
    EXPECT_EQ(revised("1000", "3.45", 1, Half), Cur("1035"));
    EXPECT_EQ(revised("1000", "3.45", 1, Down), Cur("1034"));
    EXPECT_EQ(revised("1000", "3.45", 1, Up), Cur("1035"));
    EXPECT_EQ(revised("1000", "3.44", 1, Half), Cur("1034"));
    EXPECT_EQ(revised("1000", "3.44", 1, Up), Cur("1035"));
    // To tens: 1345 stays 1345 × 1 → 1350 half up, 1344 → 1340.
    EXPECT_EQ(revised("1345", "0", 10, Half), Cur("1350"));
    EXPECT_EQ(revised("1344", "0", 10, Half), Cur("1340"));
    EXPECT_EQ(revised("1341", "0", 10, Up), Cur("1350"));
    EXPECT_EQ(revised("1349", "0", 10, Down), Cur("1340"));
    // A price already on the unit stays as it is under every rule at 0 %.
    for (const RevisionRounding rule : {Up, Down, Half})
        EXPECT_EQ(revised("12300", "0", 100, rule), Cur("12300"));
    // To thousands, half up: 1500 → 2000, 1499.9999 → 1000.
    EXPECT_EQ(revised("1500", "0", 1000, Half), Cur("2000"));
    EXPECT_EQ(revised("1499.9999", "0", 1000, Half), Cur("1000"));
}

TEST(PriceRevision, NegativePercentagesAndPricesAndExactDecimals)
{
    EXPECT_EQ(revised("999", "-3", 10, Up), Cur("970"));   // 969.03
    EXPECT_EQ(revised("999", "-3", 10, Down), Cur("960"));
    EXPECT_EQ(revised("999", "-3", 10, Half), Cur("970"));
    EXPECT_EQ(revised("12345", "-100", 1, Up), Cur("0"));
    // A negative price (a credit) is rounded by its amount.
    EXPECT_EQ(revised("-1000", "3.45", 1, Half), Cur("-1035"));
    EXPECT_EQ(revised("-1000", "3.45", 1, Down), Cur("-1034"));
    // No binary fractions: 0.1 % of 100,000,000.07 is added exactly, then rounded down.
    EXPECT_EQ(revised("100000000.07", "0.1", 1, Down), Cur("100100000"));
    EXPECT_EQ(revised("100000000.07", "0.1", 1, Up), Cur("100100001"));
    // 1150 × 1.1 is 1265 exactly; in binary floating point it is 1264.9999…, which a cut
    // would take down to 1264.
    EXPECT_EQ(revisedPrice(Cur("1150"), {Cur("10"), 1, Down}), Cur("1265"));
    EXPECT_THROW(revisedPrice(Currency::fromRaw(INT64_MAX / 2), {Cur("1000"), 1, Half}), RangeError);
}

TEST(PriceRevision, PreviewCountsChangedPricesAndBlocksAndLeavesZeroPricesOut)
{
    RevisionPreview p;
    const PriceRevision r{Cur("5"), 10, Half};
    Currency a = Cur("1000"), b = Cur("0"), c = Cur("20"), d = Cur("3000");
    revise(a, r, p, 0, "管", "15A");
    revise(b, r, p, 0, "管", "20A"); // zero: left out
    revise(c, r, p, 0, "管", "25A"); // 21 → 20: unchanged, but listed
    revise(d, r, p, 4, "弁", "50A");
    EXPECT_EQ(a, Cur("1050"));
    EXPECT_EQ(d, Cur("3150"));
    ASSERT_EQ(p.prices.size(), 3u);
    EXPECT_EQ(p.changed, 2);
    EXPECT_EQ(p.blocks, 2);
    EXPECT_EQ(p.prices[1].row, "25A");
    EXPECT_EQ(revisionSummaryText(p, "ブロック"), "2 ブロックの 2 件の単価が変わります。");
}

TEST(PriceRevision, OptionTextsAreReadAsAPersonTypesThemAndOthersAreNamed)
{
    const PriceRevision r = parseRevision("３．５％", "100", "up");
    EXPECT_EQ(r.percent, Cur("3.5"));
    EXPECT_EQ(r.unit, 100);
    EXPECT_EQ(r.rounding, Up);
    EXPECT_EQ(parseRevision("-2", "1", "切り捨て").rounding, Down);
    EXPECT_EQ(parseRevision("0", "1000", "half").percent, Cur("0"));
    for (const auto &[percent, unit, round, named] :
         {std::tuple{"abc", "1", "half", "abc"}, {"1001", "1", "half", "1001"}, {"-100.01", "1", "half", "-100.01"},
          {"3", "5", "half", "'5'"}, {"3", "1", "nearest", "nearest"}}) {
        try {
            (void)parseRevision(percent, unit, round);
            ADD_FAILURE() << percent << " " << unit << " " << round;
        } catch (const ConversionError &e) {
            EXPECT_NE(std::string(e.what()).find(named), std::string::npos) << e.what();
        }
    }
}
