// velmok-cli level: the price-level calculation of the dialog on files made here.
#include "tests/velmok/cli_support.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

// Two pipes: size row 1 with cost 800 and list 1380, size row 2 with cost 1234 and list 2000.
fs::path levelFile(const TempDir &dir)
{
    const fs::path file = dir.path / "kanzai1.fda";
    ServiceFile f;
    for (int p = 0; p < 2; ++p) {
        PipeBlock &b = f.pipeBlock(p);
        b[0].name.assignText("管" + std::to_string(p + 1));
        b[0].A(0) = Cur("800");
        b[0].A(6) = Cur("1380");
        b[1].A(0) = Cur("1234");
        b[1].A(6) = Cur("2000");
        setFactors(b[0], {"1", "0", "0", "0", "0", "0", "0"});
    }
    f.save(file);
    return file;
}

std::string levelPrices(const Json &j, size_t pipe, int loc, int k)
{
    const Json &a = rowOf(j, pipe, loc, k)["A"];
    std::string s;
    for (size_t n = 1; n <= 5; ++n)
        s += (s.empty() ? "" : " ") + a[n].str();
    return s;
}

} // namespace

TEST(CliLevel, RatesOfTheListPriceOnEveryLocationThenTheCalculation)
{
    TempDir dir;
    const fs::path file = levelFile(dir);
    const std::string before = readWholeFile(file);
    const Result r = cli({"level", file.string(), "--pipe", "1", "--levels", "80,75,70,65,60", "--unit", "10",
                          "--addend", "0.9"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = r.json();
    ASSERT_EQ(j["pipes"].size(), 1u);
    // 1380 × 0.8 = 1104 → 1110, 1035 → 1040, 966 → 970, 897 → 900, 828 → 830 (10 × Trunc(x/10 + 0.9)).
    for (int loc = 0; loc < 4; ++loc)
        EXPECT_EQ(levelPrices(j, 0, loc, 1), "1110 1040 970 900 830") << loc;
    EXPECT_EQ(levelPrices(j, 0, 0, 2), "1600 1500 1400 1300 1200");
    // The composites follow: factor B1 = 1 makes LEVEL1's total its price.
    EXPECT_EQ(rowOf(j, 0, 0, 1)["LEVEL1"]["total"].str(), "1110");
    // Without --write the file stays as it was.
    EXPECT_EQ(readWholeFile(file), before);
}

TEST(CliLevel, TheCostMethodWithEveryLevelAtZeroAndWrite)
{
    TempDir dir;
    const fs::path file = levelFile(dir);
    // --option=value works as well; the default addend is 0.5 (四捨五入).
    const Result r = cli({"level", file.string(), "--method=cost", "--unit=100", "--levels=0,0,0,0,0", "--write"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = r.json();
    ASSERT_EQ(j["pipes"].size(), 20u); // every pipe
    EXPECT_EQ(levelPrices(j, 1, 0, 1), "800 800 800 800 800");
    EXPECT_EQ(levelPrices(j, 1, 2, 2), "1200 1200 1200 1200 1200");
    // The file now holds the prices, and calc agrees with what level printed.
    const Result c = cli({"calc", file.string(), "--pipe", "2"});
    ASSERT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(levelPrices(c.json(), 0, 0, 2), "1200 1200 1200 1200 1200");
    EXPECT_EQ(cli({"check", file.string()}).code, 0);

    // The list method with zeros sets every LEVEL price to 0.
    const Result z = cli({"level", file.string(), "--levels", "0,0,0,0,0"});
    ASSERT_EQ(z.code, 0) << z.err;
    EXPECT_EQ(levelPrices(z.json(), 0, 0, 1), "0 0 0 0 0");
}

TEST(CliLevel, WrongOptionsAndFiguresBeyondTheRangeChangeNothing)
{
    TempDir dir;
    const fs::path file = levelFile(dir);
    const std::string before = readWholeFile(file);
    const std::vector<std::vector<std::string>> bad = {
        {"level", file.string()},
        {"level", file.string(), "--levels", "80,75,70,65"},
        {"level", file.string(), "--levels", "80,75,70,65,60,55"},
        {"level", file.string(), "--levels", "80,75,x,65,60"},
        {"level", file.string(), "--levels", "80,-75,70,65,60"},
        {"level", file.string(), "--levels", "1,2,3,4,5", "--unit", "5"},
        {"level", file.string(), "--levels", "1,2,3,4,5", "--addend", "0.3"},
        {"level", file.string(), "--levels", "1,2,3,4,5", "--method", "net"},
        {"level", file.string(), "--levels"},
        {"level", file.string(), "--levels", "1,2,3,4,5", "--pipe", "21"},
        {"calc", file.string(), "--levels", "1,2,3,4,5"},
    };
    for (const auto &args : bad) {
        const Result r = cli(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_NE(r.err.find("velmok-cli:"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    // A rate that carries a price beyond the Currency range fails whole: nothing is written.
    const Result big = cli({"level", file.string(), "--levels", "900000000000000,1,1,1,1", "--write"});
    EXPECT_EQ(big.code, 2);
    EXPECT_EQ(readWholeFile(file), before);
    const Result missing = cli({"level", (dir.path / "none.fda").string(), "--levels", "1,2,3,4,5"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_FALSE(fs::exists(dir.path / "none.fda"));
}
