// velmok-cli revise-labour: the labour prices of every basis revised, the pipes calculated again.
#include "tests/velmok/cli_support.h"

#include "pricefile/pricing_rules.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

// Two named pipes with labour prices 25000 … 19000 and a factor of 0.1 on labour.
fs::path labourFile(const TempDir &dir)
{
    const fs::path file = dir.path / "kanzai1.fda";
    ServiceFile f;
    for (int p = 0; p < 2; ++p) {
        PipeBlock &b = f.pipeBlock(p);
        b[0].name.assignText("管" + std::to_string(p + 1));
        b[0].size.assignText("15A");
        b[0].A(0) = Cur("800");
        b[0].A(6) = Cur("1380");
        setFactors(b[0], {"1", "0", "0", "0.1", "0", "0", "0"});
        for (int n = 1; n <= BasisCount; ++n)
            labourOf(f, p).slots[labourSlot(basisAt(n))] = Currency::fromInt(26000 - 1000 * n - p);
    }
    f.save(file);
    return file;
}

} // namespace

TEST(CliReviseLabour, PreviewWithoutWriteLeavesTheFileAndWriteStoresTheCalculatedPipes)
{
    TempDir dir;
    const fs::path file = labourFile(dir);
    const std::string before = readWholeFile(file);
    const Result preview = cli({"revise-labour", file.string(), "--all", "--percent", "2.5", "--unit", "100"});
    ASSERT_EQ(preview.code, 0) << preview.err;
    EXPECT_TRUE(readWholeFile(file) == before);
    const Json j = preview.json();
    EXPECT_EQ(j["written"].str(), "false");
    EXPECT_EQ(j["blocks"].str(), "2");
    EXPECT_EQ(j["changed"].str(), "14");
    // Pipe 1, LEVEL1: 25000 × 1.025 = 25625 → 25600.
    EXPECT_EQ(j["prices"][0]["block"].str(), "1");
    EXPECT_EQ(j["prices"][0]["row"].str(), "基礎工費 LEVEL1");
    EXPECT_EQ(j["prices"][0]["old"].str(), "25000");
    EXPECT_EQ(j["prices"][0]["new"].str(), "25600");

    const Result one = cli({"revise-labour", file.string(), "--pipe", "2", "--percent", "-10", "--write"});
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(one.json()["blocks"].str(), "1");
    ServiceFile f;
    f.load(file);
    EXPECT_EQ(labourOf(f, 1).slots[labourSlot(Basis::Level1)], Cur("22499")); // 24999 × 0.9 = 22499.1
    EXPECT_EQ(labourOf(f, 0).slots[labourSlot(Basis::Level1)], Cur("25000"));   // pipe 1 as it was
    // The stored composite prices follow the new labour price: calculating again changes nothing.
    const std::string revised = readWholeFile(file);
    ASSERT_EQ(cli({"calc", file.string(), "--pipe", "2", "--write"}).code, 0);
    EXPECT_TRUE(readWholeFile(file) == revised);
    EXPECT_FALSE(revised == before);
}

TEST(CliReviseLabour, NeedsAPercentageAndOnePipeOrAllAndNamesABadValue)
{
    TempDir dir;
    const fs::path file = labourFile(dir);
    const std::string before = readWholeFile(file);
    for (const auto &[args, named] :
         {std::pair{std::vector<std::string>{"revise-labour", file.string(), "--all"}, "--percent"},
          {{"revise-labour", file.string(), "--percent", "3"}, "--all"},
          {{"revise-labour", file.string(), "--pipe", "1", "--all", "--percent", "3"}, "--all"},
          {{"revise-labour", file.string(), "--all", "--percent", "3", "--unit", "5"}, "'5'"},
          {{"revise-labour", file.string(), "--all", "--percent", "drei"}, "drei"},
          {{"revise-labour", file.string(), "--all", "--percent", "3", "--round", "nearest"}, "nearest"}}) {
        const Result r = cli(args);
        EXPECT_EQ(r.code, 2) << named;
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
    }
    EXPECT_TRUE(readWholeFile(file) == before);
}
