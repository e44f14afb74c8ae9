#include "base/rounding.h"
#include "base/support.h"

#include <gtest/gtest.h>

using namespace velmo;

namespace {
std::string rs(const char *addend, const char *code, const char *value)
{
    return RoundSignificant(Cur(addend), Cur(code), Cur(value)).toString();
}
} // namespace

TEST(RoundSignificant, UnitCodesAddAndCut)
{
    EXPECT_EQ(rs("0", "100", "12345"), "12300");
    EXPECT_EQ(rs("0.5", "1000", "1234"), "1000");
    EXPECT_EQ(rs("0.9", "10", "1049"), "1050");
    EXPECT_EQ(rs("0", "10", "1049"), "1040");
    // A remainder below a tenth of the unit is dropped even when rounding up ...
    EXPECT_EQ(rs("0.9", "100", "1001"), "1000");
    EXPECT_EQ(rs("0.9", "10", "1001"), "1010");
    // ... and exactly a tenth rounds up: no binary fraction may turn 104.1 + 0.9 into 104.99.
    EXPECT_EQ(rs("0.9", "10", "1041"), "1050");
    EXPECT_EQ(rs("0.9", "1000", "2100"), "3000");
    EXPECT_EQ(rs("0.5", "10", "1045"), "1050");
}

TEST(RoundSignificant, LeadingCharacterCodesCountSignPointAndFraction)
{
    EXPECT_EQ(rs("0.5", "3", "12345"), "12300");
    EXPECT_EQ(rs("0.9", "3", "12345"), "12400");
    EXPECT_EQ(rs("0.9", "3", "12301"), "12300");
    EXPECT_EQ(rs("0.9", "3", "999"), "999");
    EXPECT_EQ(rs("0.5", "3", "1049"), "1050");
    EXPECT_EQ(rs("0", "4", "12345"), "12340");
    EXPECT_EQ(rs("0.9", "4", "123"), "123");
    // "123.5" is five characters: unit 100, 100 × Trunc(1.235 + addend).
    EXPECT_EQ(rs("0.9", "3", "123.5"), "200");
    EXPECT_EQ(rs("0", "3", "123.5"), "100");
    // The minus sign is a character: "-1234" keeps three, so the unit is 100.
    EXPECT_EQ(rs("0", "3", "-1234"), "-1200");
    EXPECT_EQ(rs("0.5", "3", "-1234"), "-1100"); // -12.34 + 0.5 = -11.84, cut toward zero
}

TEST(RoundSignificant, OtherCodesLeaveTheValue)
{
    EXPECT_EQ(rs("0.9", "1", "1049.5"), "1049.5");
    EXPECT_EQ(rs("0.9", "0", "1049.5"), "1049.5");
    EXPECT_EQ(rs("0.9", "7", "1049"), "1049");
    // Only the integer part of the code counts.
    EXPECT_EQ(rs("0", "100.7", "12345"), "12300");
}

TEST(Rules, FracAndComponentRule)
{
    EXPECT_EQ(Frac(Cur("-12.3"), Cur("0.5")).toString(), "-11");
    EXPECT_EQ(Frac(Cur("12.3"), Cur("0.9")).toString(), "13");
    EXPECT_EQ(Frac(Cur("12.05"), Cur("0.9")).toString(), "12");
    // 1000 × 1.1 is exactly 1100, not 1099.
    EXPECT_EQ(ComponentRule(Cur("1000"), Cur("1.1"), 0, Cur("0")).toString(), "1100");
    EXPECT_EQ(ComponentRule(Cur("333"), Cur("0.3"), 1, Cur("0")).toString(), "99.9");
    EXPECT_EQ(ComponentRule(Cur("333"), Cur("0.3"), 0, Cur("0.9")).toString(), "100");
    EXPECT_EQ(ComponentRule(Cur("1000.05"), Cur("1"), 1, Cur("0.9")).toString(), "1000.1");
    EXPECT_EQ(ComponentRule(Cur("1000.005"), Cur("1"), 1, Cur("0.9")).toString(), "1000");
    EXPECT_EQ(ComponentRule(Cur("1000.01"), Cur("1"), 0, Cur("0.9")).toString(), "1000");
    EXPECT_EQ(ComponentRule(Cur("1000.1"), Cur("1"), 0, Cur("0.9")).toString(), "1001");
    EXPECT_EQ(ComponentRule(Cur("12.3456"), Cur("1"), 3, Cur("0")).toString(), "12.345");
}
