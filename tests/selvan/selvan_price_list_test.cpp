// selvan's price lists: what a block lists, the window's commands, and selvan-cli pdf, csv and
// xlsx run as a program.
#include "base/shared_texts.h"
#include "base/cp932.h"
#include "selvan/core/selvan_price_list.h"
#include "pricework/price_list_output.h"
#include "tests/common/cli_run.h"
#include "tests/common/handoff_sample.h"
#include "tests/selvan/selvan_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

Result selvanCli(const std::vector<std::string> &args) { return runProgram(VELMO_SELVAN_CLI, args); }

// Blocks 2 "ゲート弁" (unit 本, sizes 15A … 80A in rows 0–13 but row 3 without one) and 9
// "逆止弁, 両フランジ" (unit ケ, one size); every other block without a name.
fs::path listFile(const fs::path &dir)
{
    const fs::path p = dir / "kigu1.dxa";
    createEquipmentFile(p);
    EquipmentBlock b = readEquipmentBlock(p, 2);
    b[0].name.assignText("ゲート弁");
    b[0].unit.assignText("本");
    for (int row = 0; row < 14; ++row) {
        b[row].caption.assignText(row == 3 ? "" : std::to_string(15 + 5 * row) + "A");
        b[row].values[materialSlot(Basis::List)] = Currency::fromInt(1000 + row);
        b[row].values[materialSlot(Basis::Level2)] = Currency::fromInt(800 + row);
        b[row].values[materialSlot(Basis::Net)] = Cur("600.5");
        b[row].values[eqslot::LabourRate] = Cur("0.35");
        b[row].values[installationSlot(Basis::List)] = Cur("2500");
        b[row].values[installationSlot(Basis::Level5)] = Cur("1900");
    }
    writeEquipmentBlock(p, 2, b);
    EquipmentBlock c = readEquipmentBlock(p, 9);
    c[0].name.assignText("逆止弁, 両フランジ");
    c[0].unit.assignText("ケ");
    c[0].caption.assignText("50A \"JIS\"");
    c[0].values[materialSlot(Basis::List)] = Cur("123456");
    writeEquipmentBlock(p, 9, c);
    return p;
}

std::string korrel() { return (fs::path(VELMO_SELVAN_CLI).parent_path() / "korrel").string(); }

} // namespace

TEST(SelvanPriceList, MaterialPricesLabourRateAndInstallationCostsOfEveryBasis)
{
    TempDir dir;
    const PriceList list = selvanPriceList(listFile(dir.path), std::nullopt);
    EXPECT_EQ(list.title, "資材単価表");
    ASSERT_EQ(list.columns.size(), 15u);
    EXPECT_EQ(list.columns[0].group, "資材単価");
    EXPECT_EQ(list.columns[7].heading, "歩掛(共通)");
    EXPECT_FALSE(list.columns[7].money);
    EXPECT_EQ(list.columns[14].group, "取付費");
    EXPECT_EQ(list.columns[14].heading, "原　価");
    ASSERT_EQ(list.blocks.size(), 2u);
    const PriceListBlock &b = list.blocks[0];
    EXPECT_EQ(b.index, 2);
    EXPECT_EQ(b.names, (std::vector<std::string>{"ゲート弁"}));
    EXPECT_EQ(b.unit, "本");
    ASSERT_EQ(b.rows.size(), 13u);
    EXPECT_EQ(b.rows[3].size, "35A");
    // 定価, LEVEL1 … LEVEL5, 原価 of the material, the labour rate, the same of installation.
    EXPECT_EQ(b.rows[0].prices, (std::vector<Currency>{Cur("1000"), Cur("0"), Cur("800"), Cur("0"), Cur("0"), Cur("0"),
                                                       Cur("600.5"), Cur("0.35"), Cur("2500"), Cur("0"), Cur("0"),
                                                       Cur("0"), Cur("0"), Cur("1900"), Cur("0")}));
    EXPECT_EQ(list.blocks[1].index, 9);
    EXPECT_EQ(selvanPriceList(listFile(dir.path), 5).blocks.at(0).rows.size(), 0u);
}

TEST(SelvanPriceList, TheWindowListsTheBlockShownWithWhatWasTypedAndNotSaved)
{
    SelvanFolder f;
    fs::create_directories(f.defaultFile().parent_path());
    listFile(f.defaultFile().parent_path());
    auto s = f.start("1;2;0;;;");
    typeCell(*s, 2, 1, "4321");
    s->unitChosen("kg");

    const fs::path csv = f.dir.path / "l.csv";
    f.ui.answers = {Answer::No};
    f.ui.saveFiles = {csv};
    s->exportPriceListCsv();
    ASSERT_EQ(f.ui.notices.size(), 1u);
    EXPECT_EQ(f.ui.notices[0], sharedtext::priceListWrittenText(csv) + "|確認");
    const std::string text = cp932::decode(readWholeFile(csv));
    EXPECT_NE(text.find("\r\n2,ゲート弁,,kg,15A,4321,"), std::string::npos) << text;
    // A field with a comma or a quote is quoted.
    EXPECT_NE(text.find("\r\n9,\"逆止弁, 両フランジ\",,ケ,\"50A \"\"JIS\"\"\",123456,"), std::string::npos) << text;
    EXPECT_TRUE(s->modified());
}

TEST(SelvanCliPriceList, CsvOnStandardOutputInShiftJisWithCrLf)
{
    TempDir dir;
    const fs::path p = listFile(dir.path);
    const Result r = selvanCli({"csv", p.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, handoff::priceListCsvBytes(selvanPriceList(p, std::nullopt)));
    const std::string text = cp932::decode(r.out);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "ブロック,名称,備考,単位,サイズ,資材単価 定　価,資材単価 LEVEL1,資材単価 LEVEL2,資材単価 LEVEL3,"
              "資材単価 LEVEL4,資材単価 LEVEL5,資材単価 原　価,歩掛(共通),取付費 定　価,取付費 LEVEL1,取付費 LEVEL2,"
              "取付費 LEVEL3,取付費 LEVEL4,取付費 LEVEL5,取付費 原　価");
    EXPECT_NE(text.find("\r\n2,ゲート弁,,本,15A,1000,0,800,0,0,0,600.5,0.35,2500,0,0,0,0,1900,0\r\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 13 + 1);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);

    const Result one = selvanCli({"csv", p.string(), "--block", "9"});
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 2);
}

TEST(SelvanCliPriceList, WrongBlocksFilesAndOutputsAreErrorsThatNameThem)
{
    TempDir dir;
    const fs::path p = listFile(dir.path);
    const fs::path out = dir.path / "no" / "list.xlsx";
    for (const std::vector<std::string> &args :
         std::vector<std::vector<std::string>>{{"csv", p.string(), "--block", "20"},
                                               {"pdf", p.string(), "--block", "-1", "x.pdf"},
                                               {"xlsx", p.string()},
                                               {"csv", p.string(), "extra"}}) {
        const Result r = selvanCli(args);
        EXPECT_EQ(r.code, 2) << args[0];
        EXPECT_EQ(r.err.rfind("selvan-cli: ", 0), 0u) << r.err;
    }
    const Result bad = selvanCli({"xlsx", p.string(), out.string()});
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.err.find(out.string()), std::string::npos) << bad.err;

    // A file without a named block lists nothing: an error naming the file, no output.
    const fs::path empty = dir.path / "empty.dxa";
    createEquipmentFile(empty);
    const Result none = selvanCli({"xlsx", empty.string(), (dir.path / "e.xlsx").string()});
    EXPECT_EQ(none.code, 2);
    EXPECT_NE(none.err.find(empty.string()), std::string::npos) << none.err;
    EXPECT_FALSE(fs::exists(dir.path / "e.xlsx"));
}

TEST(SelvanCliPriceList, XlsxReadBackHasASheetPerBlockWithNumbers)
{
    // Debian's python3 first, where the package python3-openpyxl puts the module.
    std::string python;
    for (const char *p : {"/usr/bin/python3", "python3"})
        if (python.empty() && runShell(std::string(p) + " -c 'import openpyxl' 2>/dev/null").code == 0)
            python = p;
    if (python.empty())
        GTEST_SKIP() << "python3-openpyxl is not installed";
    TempDir dir;
    const fs::path p = listFile(dir.path);
    const fs::path out = dir.path / "list.xlsx";
    const Result r = selvanCli({"xlsx", p.string(), out.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const Result read = runShell(
        python + " -c 'import openpyxl, sys\n"
        "wb = openpyxl.load_workbook(sys.argv[1])\n"
        "print(\"|\".join(wb.sheetnames))\n"
        "ws = wb[wb.sheetnames[0]]\n"
        "for row in ws.iter_rows(values_only=True):\n"
        "    print(\"|\".join(\"\" if v is None else v if isinstance(v, str) else \"#%r\" % v for v in row))\n' " +
        shellWord(out.string()));
    ASSERT_EQ(read.code, 0) << read.err;
    EXPECT_EQ(read.out.substr(0, read.out.find('\n')), "ゲート弁|逆止弁, 両フランジ");
    // The title and the names above the table, each in one cell merged across it.
    EXPECT_NE(read.out.find("\n資材単価表|||||||||||||||\nゲート弁|||||||||||||||\n"), std::string::npos) << read.out;
    EXPECT_NE(read.out.find("\nサイズ|定　価|LEVEL1|"), std::string::npos) << read.out;
    // Prices are numbers (#), a fraction kept: 600.5 and the labour rate 0.35.
    EXPECT_NE(read.out.find("\n15A|#1000|#0|#800|#0|#0|#0|#600.5|#0.35|#2500|"), std::string::npos) << read.out;
}

TEST(SelvanCliPriceList, PdfHasAPagePerNamedBlockWithItsNameAndPrices)
{
    if (!fs::exists(korrel()))
        GTEST_SKIP() << "the print program korrel is built only with the windows (VELMO_GUI)";
    TempDir dir;
    const fs::path p = listFile(dir.path);
    const fs::path out = dir.path / "list.pdf";
    const Result r = selvanCli({"pdf", p.string(), out.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(pdfPageCount(readWholeFile(out)), 2);
    if (runShell("command -v pdftotext >/dev/null").code != 0)
        GTEST_SKIP() << "poppler-utils (pdftotext) is not installed";
    const Result text = runShell("pdftotext -layout " + shellWord(out.string()) + " -");
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("ゲート弁"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("両フランジ"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("123,456"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("1,013"), std::string::npos) << text.out;

    const Result one = selvanCli({"pdf", p.string(), "--block", "9", out.string()});
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(pdfPageCount(readWholeFile(out)), 1);
    const Result bad = selvanCli({"pdf", p.string(), (dir.path / "no" / "x.pdf").string()});
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.err.find((dir.path / "no" / "x.pdf").string()), std::string::npos) << bad.err;
}
