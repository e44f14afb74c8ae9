// torvik-cli pdf, csv and xlsx run as a program on the sample price file.
#include "pricework/price_list_output.h"
#include "torvik/core/torvik_price_list.h"
#include "tests/common/cli_run.h"
#include "tests/common/handoff_sample.h"
#include "tests/torvik/torvik_fixture.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

const fs::path Sample = fs::path(VELMO_SAMPLE_DIR) / "haikan1.fda";

Result torvikCli(const std::vector<std::string> &args) { return runProgram(VELMO_TORVIK_CLI, args); }

} // namespace

TEST(TorvikCliPriceList, PdfOfTheWholeFileHasAPagePerNamedBlockWithNamesAndPrices)
{
    if (!fs::exists(fs::path(VELMO_TORVIK_CLI).parent_path() / "korrel"))
        GTEST_SKIP() << "the print program korrel is built only with the windows (VELMO_GUI)";
    TempDir dir;
    const PriceList list = torvikPriceList(Sample, std::nullopt);
    ASSERT_GT(list.blocks.size(), 1u);
    const fs::path out = dir.path / "list.pdf";
    const Result r = torvikCli({"pdf", Sample.string(), out.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(pdfPageCount(readWholeFile(out)), static_cast<int>(list.blocks.size()));
    if (runShell("command -v pdftotext >/dev/null").code != 0)
        GTEST_SKIP() << "poppler-utils (pdftotext) is not installed";
    const Result text = runShell("pdftotext -layout " + shellWord(out.string()) + " -");
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("管材単価表"), std::string::npos) << text.out;
    // The last block's page: its name and its first list price as the page shows it.
    const PriceListBlock &last = list.blocks.back();
    ASSERT_FALSE(last.rows.empty());
    EXPECT_NE(text.out.find(last.names[0]), std::string::npos) << last.names[0];
    EXPECT_NE(text.out.find(priceText(list.columns[0], last.rows[0].prices[0])), std::string::npos);
}

TEST(TorvikCliPriceList, CsvAndXlsxOfOneBlockAndTheirErrors)
{
    TorvikFixture f;
    const Result csv = torvikCli({"csv", f.data().string(), "--block", "4"});
    ASSERT_EQ(csv.code, 0) << csv.err;
    EXPECT_EQ(csv.out, handoff::priceListCsvBytes(torvikPriceList(f.data(), 4)));
    // torvik's derivation as the window shows the block: 定価 of 15A 5000, LEVEL1 at 90 %
    // rounded half up to tens, 原価 at 40 %.
    EXPECT_NE(csv.out.find("\r\n4,"), std::string::npos);
    EXPECT_NE(csv.out.find(",15A,5000,4500,4000,3500,3000,2500,2000\r\n"), std::string::npos) << csv.out;

    const fs::path bad = f.dir.path / "no" / "list.xlsx";
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {"csv", f.data().string(), "--block", "20"}, {"pdf", f.data().string()}, {"xlsx", f.data().string(), bad.string()}}) {
        const Result r = torvikCli(args);
        EXPECT_EQ(r.code, 2) << args[0];
        EXPECT_EQ(r.err.rfind("torvik-cli: ", 0), 0u) << r.err;
    }
    EXPECT_NE(torvikCli({"xlsx", f.data().string(), bad.string()}).err.find(bad.string()), std::string::npos);
    const Result ok = torvikCli({"xlsx", f.data().string(), (f.dir.path / "l.xlsx").string()});
    EXPECT_EQ(ok.code, 0) << ok.err;
    EXPECT_EQ(readWholeFile(f.dir.path / "l.xlsx").substr(0, 2), "PK");
}
