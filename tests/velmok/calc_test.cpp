#include "velmok/core/calc.h"
#include "pricefile/service_file.h"

#include <gtest/gtest.h>

using namespace velmo;

namespace {

// A pipe whose size row 1 carries the factors of the worked example and whose prices are the
// same for every basis: material 1000, labour 20000.
struct Pipe {
    ServiceFile file;
    WorkingTable t;
    PipeBlock &block = file.pipeBlock(0);

    Pipe()
    {
        PriceRecord &row = block[0];
        for (int i = 0; i <= 6; ++i)
            row.A(i) = Cur("1000");
        const char *factors[] = {"1.1", "0.3", "0.05", "0.2", "0.05", "0.1", "0.05"};
        for (int i = 1; i <= 7; ++i)
            row.B(i) = Cur(factors[i - 1]);
        PriceRecord &labour = block[59];
        for (int i = 0; i <= 5; ++i)
            labour.C(i) = Cur("20000");
        labour.A(6) = Cur("20000");
        block[14].B(1) = Cur("10");
        t.load(block);
    }
    PriceRecord &settings() { return t.settings(); }
    void calc() { t.recalculateAll(block); }
    const BasisResult &res(Basis b, int a = 1) const { return t.row(a).result(b); }
};

std::string ks(const BasisResult &r)
{
    std::string s;
    for (const Currency &k : r.K)
        s += k.toString() + " ";
    return s;
}

} // namespace

TEST(Composite, WorkedExampleForEveryBasis)
{
    Pipe p;
    p.calc();
    for (int i = 1; i <= 7; ++i) {
        const BasisResult &r = p.res(basisAt(i));
        EXPECT_EQ(ks(r), "1100 300 50 200 1000 100 55 ") << "basis " << i;
        EXPECT_EQ(r.total.toString(), "2805");
        EXPECT_EQ(r.adopted.toString(), i == 6 ? "0" : "2800");
    }
    // The results go into the C and D slots of the row and into the file's record.
    EXPECT_EQ(p.block[0].C(1).toString(), "2805");
    EXPECT_EQ(p.block[0].D(5).toString(), "2800");
    EXPECT_EQ(p.block[0].C(0).toString(), "2805");

    p.settings().B(6) = Cur("0.5");
    p.calc();
    EXPECT_EQ(p.res(Basis::Level3).adopted.toString(), "2810");
    EXPECT_EQ(p.res(Basis::List).adopted.toString(), "2810");
}

TEST(Composite, RefrigerantModeBuildsSupportFromMaterialsAndDropsChipping)
{
    Pipe p;
    p.settings().B(4) = Cur("2");
    p.calc();
    for (int i = 1; i <= 7; ++i) {
        // K4 = (1100 + 300 + 50) × 0.2, K6 = 0 whatever B6 holds, K7 = 1000 × 0.05.
        EXPECT_EQ(ks(p.res(basisAt(i))), "1100 300 50 290 1000 0 50 ");
        EXPECT_EQ(p.res(basisAt(i)).total.toString(), "2790");
    }
}

TEST(Composite, BasesTakeTheirOwnMaterialAndLabourPrices)
{
    Pipe p;
    PriceRecord &row = p.t.row(1).rec;
    row.A(0) = Cur("500");  // NET
    row.A(3) = Cur("0");    // LEVEL3 without material still gets labour
    row.A(6) = Cur("2000"); // list price
    PriceRecord &lab = p.t.row(LabourRow).rec;
    lab.C(0) = Cur("10000");
    lab.C(2) = Cur("30000");
    lab.A(6) = Cur("40000");
    p.calc();
    EXPECT_EQ(ks(p.res(Basis::Net)), "550 150 25 100 500 50 27 ");
    EXPECT_EQ(ks(p.res(Basis::Level2)), "1100 300 50 200 1500 150 82 ");
    EXPECT_EQ(ks(p.res(Basis::Level3)), "0 0 0 0 1000 100 55 ");
    EXPECT_EQ(p.res(Basis::Level3).total.toString(), "1155");
    EXPECT_EQ(ks(p.res(Basis::List)), "2200 600 100 400 2000 200 110 ");
    EXPECT_EQ(p.res(Basis::List).total.toString(), "5610");
    EXPECT_EQ(p.res(Basis::List).adopted.toString(), "5610");
}

TEST(Composite, ComponentDecimalsAndAddends)
{
    Pipe p;
    PriceRecord &row = p.t.row(1).rec;
    row.A(1) = Cur("1234.5678");
    row.B(1) = Cur("1.05"); // 1296.29619
    p.settings().B(3) = Cur("2");
    p.calc();
    EXPECT_EQ(p.res(Basis::Level1).K[0].toString(), "1296.29");
    p.settings().B(3) = Cur("3");
    p.calc();
    EXPECT_EQ(p.res(Basis::Level1).K[0].toString(), "1296.296");
    p.settings().B(3) = Cur("1");
    p.settings().B(2) = Cur("0.5");
    p.calc();
    EXPECT_EQ(p.res(Basis::Level1).K[0].toString(), "1296.3");

    // Any other code means whole units, and the code is reset to 0.
    p.settings().B(3) = Cur("7");
    p.settings().B(2) = Cur("0");
    p.calc();
    EXPECT_EQ(p.res(Basis::Level1).K[0].toString(), "1296");
    EXPECT_EQ(p.settings().B(3).toString(), "0");
    EXPECT_EQ(p.block[14].B(3).toString(), "0");

    // Round-up adds 0.9: a remainder of a tenth or more goes up, less is cut, exact stays.
    p.settings().B(2) = Cur("0.9");
    row.B(1) = Cur("1");
    for (auto [price, want] : {std::pair{"1000.1", "1001"}, {"1000.09", "1000"}, {"1000", "1000"}}) {
        row.A(1) = Cur(price);
        p.calc();
        EXPECT_EQ(p.res(Basis::Level1).K[0].toString(), want) << price;
    }
}

TEST(Composite, SettingsCodeZeroIsStoredBackAsOne)
{
    Pipe p;
    p.settings().B(1) = Cur("0");
    p.calc();
    EXPECT_EQ(p.settings().B(1).toString(), "1");
    EXPECT_EQ(p.block[14].B(1).toString(), "1");
    EXPECT_EQ(p.res(Basis::Level1).adopted.toString(), "2805");
}

TEST(Composite, LocationZeroPricesServeEveryLocation)
{
    Pipe p;
    PriceRecord &row16 = p.t.row(16).rec;
    for (int i = 1; i <= 7; ++i)
        row16.B(i) = p.t.row(1).rec.B(i);
    row16.B(5) = Cur("0.1");
    p.calc();
    for (int loc = 1; loc < 4; ++loc)
        for (int i = 0; i <= 6; ++i)
            EXPECT_EQ(p.t.row(1 + 15 * loc).rec.A(i).toString(), "1000");
    EXPECT_EQ(ks(p.res(Basis::Level1, 16)), "1100 300 50 200 2000 200 110 ");
    EXPECT_EQ(p.block[15].A(2).toString(), "1000"); // written back to the file's record
}

TEST(Composite, RatesDeriveMaterialPricesFromTheListPrice)
{
    Pipe p;
    PriceRecord &st = p.settings();
    st.D(4) = Cur("1");
    st.D(1) = Cur("10");  // prices to tens
    st.D(2) = Cur("0.5"); // half up below the yen
    st.D(3) = Cur("0");   // cut below the tens
    st.A(0) = Cur("60");
    st.A(1) = Cur("75");
    st.A(2) = Cur("80.5");
    p.t.row(1).rec.A(6) = Cur("1234");
    p.calc();
    const PriceRecord &row = p.t.row(1).rec;
    EXPECT_EQ(row.A(0).toString(), "740"); // 740.4 → 740 → 740
    EXPECT_EQ(row.A(1).toString(), "920"); // 925.5 + 0.5 → 926 → 920
    EXPECT_EQ(row.A(2).toString(), "990"); // 993.337 + 0.5 → 993 → 990
    EXPECT_EQ(row.A(3).toString(), "0");   // percentage 0
    EXPECT_EQ(p.t.row(46).rec.A(1).toString(), "920");

    // A list price of 0 gives every derived price 0; with the flag off, prices stay as entered.
    p.t.row(2).rec.A(6) = Cur("0");
    p.t.row(2).rec.A(1) = Cur("555");
    p.calc();
    EXPECT_EQ(p.t.row(2).rec.A(1).toString(), "0");
    st.D(4) = Cur("0");
    p.t.row(2).rec.A(1) = Cur("555");
    p.calc();
    EXPECT_EQ(p.t.row(2).rec.A(1).toString(), "555");
}

TEST(Composite, ApplyingBasicSettingsWritesTheSettingsAndLabourRecords)
{
    Pipe p;
    BasicSettings s = p.t.basicSettings();
    s.labour[1] = Cur("30000");
    s.labour[0] = Cur("15000");
    s.percent[1] = Cur("70");
    s.priceCode = Cur("100");
    s.useRates = true;
    p.t.applyBasicSettings(s, p.block);
    EXPECT_EQ(p.block[59].C(1).toString(), "30000");
    EXPECT_EQ(p.block[59].C(0).toString(), "15000");
    EXPECT_EQ(p.block[14].A(1).toString(), "70");
    EXPECT_EQ(p.block[14].D(1).toString(), "100");
    EXPECT_EQ(p.block[14].D(4).toString(), "1");
    EXPECT_EQ(p.t.basicSettings(), s);
    EXPECT_EQ(p.res(Basis::Level1).K[4].toString(), "1500");
    EXPECT_EQ(p.t.row(1).rec.A(1).toString(), "700");
}

TEST(LevelCalc, ListRateAndCostSurchargeRoundedToTheUnit)
{
    Pipe p;
    PriceRecord &row = p.t.row(1).rec;
    row.A(6) = Cur("1234");
    row.A(0) = Cur("1234");
    p.t.row(15).rec.A(1) = Cur("42"); // a tail row keeps its slots

    LevelCalcParams lp;
    lp.unit = 100;
    lp.addend = Cur("0.5");
    lp.levels = {Cur("75"), Cur("80"), Cur("0"), Cur("100"), Cur("33.33")};
    p.t.applyLevelCalc(lp, p.block);
    EXPECT_EQ(row.A(1).toString(), "900");  // 925.5 / 100 + 0.5 → 9 → 900
    EXPECT_EQ(row.A(2).toString(), "1000"); // 987.2 → 10
    EXPECT_EQ(row.A(3).toString(), "0");
    EXPECT_EQ(row.A(4).toString(), "1200");
    EXPECT_EQ(row.A(5).toString(), "400"); // 411.2922 → 4.61 → 4
    EXPECT_EQ(p.t.row(15).rec.A(1).toString(), "42");
    EXPECT_EQ(p.block[0].A(1).toString(), "900");

    lp.method = LevelCalcParams::Method::FromCost;
    lp.unit = 10;
    lp.addend = Cur("0.9");
    lp.levels = {Cur("0"), Cur("10"), Cur("-10"), Cur("0"), Cur("0")};
    p.t.applyLevelCalc(lp, p.block);
    EXPECT_EQ(row.A(1).toString(), "1240"); // 123.4 + 0.9 → 124
    EXPECT_EQ(row.A(2).toString(), "1360"); // 1357.4 → 135.74 + 0.9 → 136
    EXPECT_EQ(row.A(3).toString(), "1110"); // 1110.6 → 111.06 + 0.9 → 111.96 → 111

    // With rates from the list price switched on, the recalculation overwrites the dialog's prices.
    p.settings().D(4) = Cur("1");
    p.settings().A(1) = Cur("50");
    p.t.applyLevelCalc(lp, p.block);
    EXPECT_EQ(row.A(1).toString(), "617");
}

TEST(LevelCalc, RatesAreHeldToFourDecimalsTiesToEven)
{
    using M = LevelCalcParams::Method;
    EXPECT_EQ(levelRate(Cur("75"), M::FromList).toString(), "0.75");
    EXPECT_EQ(levelRate(Cur("0.005"), M::FromList).toString(), "0");
    EXPECT_EQ(levelRate(Cur("0.015"), M::FromList).toString(), "0.0002");
    EXPECT_EQ(levelRate(Cur("0.0151"), M::FromList).toString(), "0.0002");
    EXPECT_EQ(levelRate(Cur("-0.015"), M::FromList).toString(), "-0.0002");
    EXPECT_EQ(levelRate(Cur("10"), M::FromCost).toString(), "1.1");
}
