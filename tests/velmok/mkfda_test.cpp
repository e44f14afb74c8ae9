// mkfda, the tool that builds the sample price files from their readable sources.
#include "tests/velmok/cli_support.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

const char *const MinimalSource = R"(unit = ｍ
mode = 配管
locations = 屋内一般, 機械室, 屋外架空, 地中配管
component-decimals = 0
composite-fraction = 切り捨て
composite-digits = 10
composite-digits-rounding = 切り捨て
price-from-list = no
price-fraction = 切り捨て
price-digits = 1
price-digits-rounding = 切り捨て
percent = NET:60 LEVEL1:80 LEVEL2:75 LEVEL3:70 LEVEL4:65 LEVEL5:60
labour = NET:15000 LEVEL1:20000 LEVEL2:19000 LEVEL3:18000 LEVEL4:17000 LEVEL5:16000 LIST:22000

[pipe 3]
name = 配管用炭素鋼鋼管（白）
use = 給水   # a comment
[prices]
15A  1,000 950 900 850 800 700 1250
20A  1,200 1140 1080 1020 960 840 1500
[factors 屋内一般]
15A  1.1 0.3 0.05 0.2 0.05 0.1 0.05
20A  1.1 0.3 0.05 0.2 0.06 0.1 0.05
)";

Result mkfda(const TempDir &dir, const std::string &source)
{
    const fs::path src = dir.path / "src.txt";
    std::ofstream(src, std::ios::binary) << source;
    return runProgram(VELMO_MKFDA, {src.string(), (dir.path / "out.fda").string()});
}

std::string replaceLine(std::string s, const std::string &from, const std::string &to)
{
    const size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return s.replace(at, from.size(), to);
}

} // namespace

TEST(Mkfda, BuildsThePipeAtItsBlockWithCalculatedResults)
{
    TempDir dir;
    const Result r = mkfda(dir, MinimalSource);
    ASSERT_EQ(r.code, 0) << r.err;
    const fs::path out = dir.path / "out.fda";
    EXPECT_EQ(cli({"check", out.string()}).code, 0);
    const Json dump = cli({"dump", out.string(), "--pipe", "3"}).json();
    EXPECT_EQ(dump["records"][0]["name"].str(), "配管用炭素鋼鋼管（白）");
    EXPECT_EQ(dump["records"][1]["name"].str(), "給水");
    EXPECT_EQ(dump["records"][16]["size"].str(), "20A");
    EXPECT_EQ(dump["records"][47]["unit"].str(), "ｍ");
    EXPECT_EQ(dump["records"][59]["caption"].str(), "地中配管");
    EXPECT_EQ(slotOf(dump, 0, "A1"), "1000");
    EXPECT_EQ(slotOf(dump, 0, "A0"), "700");
    EXPECT_EQ(slotOf(dump, 59, "A6"), "22000");
    EXPECT_EQ(slotOf(dump, 14, "A5"), "60");
    // 1100 + 300 + 50 + 200 + 1000 + 100 + 55, cut to tens.
    EXPECT_EQ(slotOf(dump, 0, "C1"), "2805");
    EXPECT_EQ(slotOf(dump, 0, "D1"), "2800");
    EXPECT_EQ(slotOf(cli({"dump", out.string(), "--pipe", "1"}).json(), 0, "name"), "");
}

TEST(Mkfda, FaultsNameTheSourceLine)
{
    struct Case {
        std::string from, to, line, cause;
    };
    const Case cases[] = {
        {"unit = ｍ", "colour = blue", ":1:", "unknown setting"},
        {"mode = 配管", "mode = 給水", ":2:", "mode"},
        {"20A  1,200 1140", "20A  1,2x0 1140", ":20:", "not a number"},
        {"20A  1.1 0.3", "25A  1.1 0.3", ":23:", "25A"},
        {"15A  1.1 0.3 0.05 0.2 0.05 0.1 0.05", "15A  1.1 0.3 0.05", ":22:", "8 columns"},
        {"percent = NET:60 LEVEL1:80", "percent = NET:60", ":12:", "LEVEL1 is missing"},
        {"labour = ", "# labour = ", ":15:", "'labour' is not set"},
        {"use = 給水", "use = 給水😀", ":17:", "Shift-JIS"},
        {"[pipe 3]", "[pipe 21]", ":15:", "1 … 20"},
        {"[factors 屋内一般]", "[factors 屋上]", ":21:", "屋上"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.to);
        TempDir dir;
        const Result r = mkfda(dir, replaceLine(MinimalSource, c.from, c.to));
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("src.txt" + c.line), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.cause), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir.path / "out.fda"));
    }
}
