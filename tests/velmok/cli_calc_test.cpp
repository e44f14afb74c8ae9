// velmok-cli calc on price files made here: every rule of the composite calculation.
#include "tests/velmok/cli_support.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

// --- calc --------------------------------------------------------------------------------

TEST(CliCalc, EveryBasisTakesItsOwnPricesAndLocationsShareTheMaterialPrices)
{
    TempDir dir;
    const fs::path file = dir.path / "kanzai1.fda";
    ServiceFile f;
    PipeBlock &b = f.pipeBlock(0);
    b[0].name.assignText("配管用炭素鋼鋼管（白）");
    b[0].size.assignText("15A");
    b[0].unit.assignText("ｍ");
    b[14].caption.assignText("屋内一般");
    b[29].caption.assignText("機械室");
    // A0 NET, A1 … A5 LEVEL1 … 5, A6 list: each basis has its own price and labour price.
    const char *prices[] = {"700", "1000", "2000", "500", "0", "1234", "1500"};
    for (int i = 0; i <= 6; ++i)
        b[0].A(i) = Cur(prices[i]);
    setFactors(b[0], {"1.1", "0.3", "0.05", "0.2", "0.05", "0.1", "0.05"});
    // Location 1, row 1: its own factors, and stale prices that the calculation replaces.
    b[15].A(1) = Cur("99");
    setFactors(b[15], {"1", "0", "0", "0", "0", "0", "0"});
    settingsOf(f, 0).B(1) = Cur("10");
    PriceRecord &lab = labourOf(f, 0);
    const char *labour[] = {"6000", "20000", "10000", "15000", "12000", "8000"};
    for (int i = 0; i <= 5; ++i)
        lab.C(i) = Cur(labour[i]);
    lab.A(6) = Cur("30000");
    f.save(file);
    const std::string before = readWholeFile(file);

    const Result r = cli({"calc", file.string(), "--pipe", "1"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = r.json();
    ASSERT_EQ(j["pipes"].size(), 1u);
    const Json &pipe = j["pipes"][0];
    EXPECT_EQ(pipe["pipe"].str(), "1");
    EXPECT_EQ(pipe["name"].str(), "配管用炭素鋼鋼管（白）");
    EXPECT_EQ(pipe["mode"].str(), "normal");
    ASSERT_EQ(pipe["locations"].size(), 4u);
    EXPECT_EQ(pipe["locations"][0]["caption"].str(), "屋内一般");
    EXPECT_EQ(pipe["locations"][1]["caption"].str(), "機械室");
    EXPECT_EQ(pipe["locations"][3]["location"].str(), "3");
    EXPECT_EQ(pipe["locations"][2]["rows"].size(), 14u);

    const Json &row = rowOf(j, 0, 0, 1);
    EXPECT_EQ(row["row"].str(), "1");
    EXPECT_EQ(row["size"].str(), "15A");
    EXPECT_EQ(row["unit"].str(), "ｍ");
    EXPECT_EQ(row["A"].join(), "700 1000 2000 500 0 1234 1500");
    EXPECT_EQ(row["B"].join(), "1.1 0.3 0.05 0.2 0.05 0.1 0.05");
    struct Expect {
        const char *basis, *K, *total, *adopted;
    };
    const Expect expected[] = {
        {"LEVEL1", "1100 300 50 200 1000 100 55", "2805", "2800"},  // the worked example
        {"LEVEL2", "2200 600 100 400 500 50 27", "3877", "3870"},   // K7 27.5 cut
        {"LEVEL3", "550 150 25 100 750 75 41", "1691", "1690"},
        {"LEVEL4", "0 0 0 0 600 60 33", "693", "690"},              // no material, still labour
        {"LEVEL5", "1357 370 61 246 400 40 22", "2496", "2490"},
        {"NET", "770 210 35 140 300 30 16", "1501", "null"},
        {"LIST", "1650 450 75 300 1500 150 82", "4207", "4200"},
    };
    for (const Expect &e : expected) {
        SCOPED_TRACE(e.basis);
        EXPECT_EQ(row[e.basis]["K"].join(), e.K);
        EXPECT_EQ(row[e.basis]["total"].str(), e.total);
        EXPECT_EQ(row[e.basis]["adopted"].str(), e.adopted);
    }
    // Location 1 uses the location-0 prices with its own factors.
    const Json &other = rowOf(j, 0, 1, 1);
    EXPECT_EQ(other["A"].join(), "700 1000 2000 500 0 1234 1500");
    EXPECT_EQ(other["LEVEL1"]["K"].join(), "1000 0 0 0 0 0 0");
    EXPECT_EQ(other["LEVEL1"]["total"].str(), "1000");
    // An empty row has no composite.
    EXPECT_EQ(rowOf(j, 0, 0, 2)["LEVEL1"]["total"].str(), "0");

    // Without --write the file is not touched; with it the results are saved.
    EXPECT_TRUE(readWholeFile(file) == before);
    ASSERT_EQ(cli({"calc", file.string(), "--write"}).code, 0);
    const Result d = cli({"dump", file.string(), "--pipe", "1"});
    ASSERT_EQ(d.code, 0) << d.err;
    const Json dump = d.json();
    EXPECT_EQ(slotOf(dump, 0, "C1"), "2805");
    EXPECT_EQ(slotOf(dump, 0, "D1"), "2800");
    EXPECT_EQ(slotOf(dump, 0, "C0"), "1501");
    EXPECT_EQ(slotOf(dump, 0, "D5"), "2490");
    EXPECT_EQ(slotOf(dump, 15, "A1"), "1000");
    EXPECT_EQ(slotOf(dump, 0, "serial"), "1"); // saved after reading an existing file
}

TEST(CliCalc, RefrigerantModeBuildsSundriesFromMaterialsAndHasNoChipping)
{
    TempDir dir;
    const fs::path file = dir.path / "kanzai10.fda";
    ServiceFile f;
    PipeBlock &b = f.pipeBlock(4);
    b[0].A(1) = Cur("1000");
    setFactors(b[0], {"1.1", "0.3", "0.05", "0.2", "0.05", "0.1", "0.05"});
    settingsOf(f, 4).B(4) = Cur("2");
    labourOf(f, 4).C(1) = Cur("20000");
    f.save(file);

    const Result r = cli({"calc", file.string(), "--pipe=5"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = r.json();
    EXPECT_EQ(j["pipes"][0]["pipe"].str(), "5");
    EXPECT_EQ(j["pipes"][0]["mode"].str(), "refrigerant");
    // K4 = (1100 + 300 + 50) × 0.2; K6 = 0 whatever B6 holds; K7 = 1000 × 0.05.
    EXPECT_EQ(rowOf(j, 0, 0, 1)["LEVEL1"]["K"].join(), "1100 300 50 290 1000 0 50");
    EXPECT_EQ(rowOf(j, 0, 0, 1)["LEVEL1"]["total"].str(), "2790");
    EXPECT_EQ(rowOf(j, 0, 0, 1)["LEVEL1"]["adopted"].str(), "2790"); // code 0 reads as 1
}

TEST(CliCalc, ComponentDecimalsAndFractionAddends)
{
    // Pipe 3·d + z: component decimals d (0 … 3, plus 5 which means whole units) and addend
    // Z = 0, 0.5, 0.9. Row 1: 333 × 1.0137 = 337.5621; row 2: 100 × 1.5 = 150 exactly.
    const char *addends[] = {"0", "0.5", "0.9"};
    const char *codes[] = {"0", "1", "2", "3", "5"};
    TempDir dir;
    const fs::path file = dir.path / "kanzai2.fda";
    ServiceFile f;
    for (int d = 0; d < 5; ++d)
        for (int z = 0; z < 3; ++z) {
            const int p = d * 3 + z;
            PipeBlock &b = f.pipeBlock(p);
            b[0].A(1) = Cur("333");
            b[0].B(1) = Cur("1.0137");
            b[1].A(1) = Cur("100");
            b[1].B(1) = Cur("1.5");
            settingsOf(f, p).B(3) = Cur(codes[d]);
            settingsOf(f, p).B(2) = Cur(addends[z]);
        }
    f.save(file);

    const Result r = cli({"calc", file.string(), "--write"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = r.json();
    ASSERT_EQ(j["pipes"].size(), 20u);
    const char *k1[5][3] = {
        {"337", "338", "338"},
        {"337.5", "337.6", "337.6"},
        {"337.56", "337.56", "337.57"},
        {"337.562", "337.562", "337.563"}, // 337562.1 + 0.9 is exactly 337563
        {"337", "338", "338"},
    };
    const char *totals[3] = {"337", "338", "338"};
    for (int d = 0; d < 5; ++d)
        for (int z = 0; z < 3; ++z) {
            SCOPED_TRACE("B3 " + std::string(codes[d]) + ", B2 " + addends[z]);
            const Json &row = rowOf(j, d * 3 + z, 0, 1);
            // Only K1 has a factor; the others are Trunc(0 + Z) = 0.
            EXPECT_EQ(row["LEVEL1"]["K"].join(), std::string(k1[d][z]) + " 0 0 0 0 0 0");
            EXPECT_EQ(row["LEVEL1"]["total"].str(), totals[z]);
            EXPECT_EQ(row["LEVEL1"]["adopted"].str(), totals[z]);
            // An exact component stays as it is under every addend.
            EXPECT_EQ(rowOf(j, d * 3 + z, 0, 2)["LEVEL1"]["K"].join(), "150 0 0 0 0 0 0");
            EXPECT_EQ(rowOf(j, d * 3 + z, 0, 2)["LEVEL1"]["total"].str(), "150");
        }
    // Saved back: an unknown decimals code becomes 0, a composite code 0 becomes 1.
    const Json dump = cli({"dump", file.string(), "--pipe", "13"}).json();
    EXPECT_EQ(slotOf(dump, 14, "B3"), "0");
    EXPECT_EQ(slotOf(dump, 14, "B1"), "1");
    EXPECT_EQ(slotOf(cli({"dump", file.string(), "--pipe", "10"}).json(), 14, "B3"), "3");
}

TEST(CliCalc, AdoptedPriceFollowsTheCompositeCodeAndAddend)
{
    struct Case {
        const char *code, *addend, *adopted;
    };
    const Case cases[] = {
        {"10", "0", "12340"},   {"10", "0.5", "12350"}, {"10", "0.9", "12350"},
        {"100", "0.9", "12400"}, {"1000", "0.5", "12000"}, {"3", "0.5", "12300"},
        {"3", "0.9", "12400"},  {"4", "0", "12340"},    {"1", "0.9", "12345"},
    };
    TempDir dir;
    const fs::path file = dir.path / "kanzai3.fda";
    ServiceFile f;
    for (int p = 0; p < 9; ++p) {
        PipeBlock &b = f.pipeBlock(p);
        b[0].A(3) = Cur("12345");
        b[0].B(1) = Cur("1");
        settingsOf(f, p).B(1) = Cur(cases[p].code);
        settingsOf(f, p).B(6) = Cur(cases[p].addend);
    }
    f.save(file);
    const Result r = cli({"calc", file.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = r.json();
    for (int p = 0; p < 9; ++p) {
        SCOPED_TRACE(std::string("code ") + cases[p].code + ", addend " + cases[p].addend);
        EXPECT_EQ(rowOf(j, p, 0, 1)["LEVEL3"]["total"].str(), "12345");
        EXPECT_EQ(rowOf(j, p, 0, 1)["LEVEL3"]["adopted"].str(), cases[p].adopted);
    }
}

TEST(CliCalc, PricesDerivedFromTheListPrice)
{
    TempDir dir;
    const fs::path file = dir.path / "kanzai4.fda";
    ServiceFile f;
    // Pipe 1: percentages 60 / 80 75 70 65 62.5, fraction addend 0.5, unit 10, addend 0.9.
    PriceRecord &st = settingsOf(f, 0);
    const char *percent[] = {"60", "80", "75", "70", "65", "62.5"};
    for (int i = 0; i <= 5; ++i)
        st.A(i) = Cur(percent[i]);
    st.D(4) = Cur("1");
    st.D(2) = Cur("0.5");
    st.D(1) = Cur("10");
    st.D(3) = Cur("0.9");
    PipeBlock &b = f.pipeBlock(0);
    b[0].A(6) = Cur("1234");
    for (int i = 0; i <= 5; ++i)
        b[0].A(i) = Cur("1"); // overwritten by the derived prices
    // Pipe 2: three significant digits; 12345 × 80 % = 9876 → 9880 (half up).
    PriceRecord &st2 = settingsOf(f, 1);
    st2.A(1) = Cur("80");
    st2.D(4) = Cur("1");
    st2.D(1) = Cur("3");
    st2.D(3) = Cur("0.5");
    f.pipeBlock(1)[0].A(6) = Cur("12345");
    f.save(file);

    const Result r = cli({"calc", file.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = r.json();
    // 1234 × 62.5 % = 771.25 → 771 → 10 × Trunc(77.1 + 0.9) = 780, exactly.
    EXPECT_EQ(rowOf(j, 0, 0, 1)["A"].join(), "740 990 930 870 810 780 1234");
    EXPECT_EQ(rowOf(j, 0, 2, 1)["A"].join(), "740 990 930 870 810 780 1234");
    EXPECT_EQ(rowOf(j, 1, 0, 1)["A"].join(), "0 9880 0 0 0 0 12345");
}

TEST(CliCalc, ComponentsSummingBeyondTheCurrencyRangeAreARangeErrorNotAWrappedNumber)
{
    TempDir dir;
    const fs::path file = dir.path / "kanzai1.fda";
    ServiceFile f;
    f.clear();
    f.pipeBlock(3)[0].name.assignText("大口径");
    PriceRecord &row = f.pipeBlock(3)[5];
    // Each component fits the range; their sum does not.
    for (int i = 0; i <= 6; ++i)
        row.A(i) = Currency::fromRaw(int64_t{3} << 61);
    setFactors(row, {"1", "1", "0", "0", "0", "0", "0"});
    f.save(file);
    const std::string before = readWholeFile(file);

    const Result r = cli({"calc", file.string(), "--write"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("範囲"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("大口径"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("6"), std::string::npos) << r.err; // size row 6
    EXPECT_EQ(readWholeFile(file), before);                 // --write wrote nothing
}
