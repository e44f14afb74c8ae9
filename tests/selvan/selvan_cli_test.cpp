// selvan-cli dump, recalc, check, revise, import and diff, run as a program.
#include "tests/common/version_commands.h"
#include "tests/common/cli_run.h"
#include "base/cp932.h"
#include "pricefile/equipment_file.h"
#include "base/fileio.h"
#include "base/shared_texts.h"
#include "cli/cli_texts.h"
#include "pricework/pricework_texts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

Result selvanCli(const std::vector<std::string> &args) { return runProgram(VELMO_SELVAN_CLI, args); }

// Block 4: "ゲート弁", unit 本, 14 list prices from 1234, LEVEL1 at 85 %, rounded up, code 1.
fs::path sampleFile(const TempDir &dir)
{
    const fs::path p = dir.path / "kigu1.dxa";
    createEquipmentFile(p);
    EquipmentBlock b = readEquipmentBlock(p, 4);
    b[0].name.assignText("ゲート弁");
    b[0].unit.assignText("本");
    for (int row = 0; row < 14; ++row) {
        b[row].caption.assignText(std::to_string(15 + 5 * row) + "A");
        b[row].values[materialSlot(Basis::List)] = Currency::fromInt(1234 + row);
        b[row].values[installationSlot(Basis::Level3)] = Cur("250.5");
        b[row].values[eqslot::LabourRate] = Cur("0.35");
    }
    EquipmentRecord &s = b[EquipmentSettingsRow];
    s.values[materialSlot(Basis::Level1)] = Cur("85");
    s.values[materialSlot(Basis::Net)] = Cur("60");
    s.values[eqslot::UseRates] = Cur("1");
    s.values[eqslot::LabourMode] = Cur("1");
    s.values[eqslot::SignificantCode] = Cur("1");
    s.values[eqslot::FractionAddend] = Cur("0.9");
    s.values[eqslot::SignificantAddend] = Cur("0.5");
    b[3].reserved0 = 7;
    b[3].rowTag = -2;
    writeEquipmentBlock(p, 4, b);
    return p;
}

} // namespace

TEST(SelvanCliDump, EveryFieldByItsOffset)
{
    TempDir dir;
    const fs::path p = sampleFile(dir);
    const Result r = selvanCli({"dump", p.string(), "--block", "4"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = r.json();
    ASSERT_EQ(j["records"].size(), 15u);
    const Json &rec = j["records"][3];
    EXPECT_EQ(rec["record"].str(), "63");
    EXPECT_EQ(rec["block"].str(), "4");
    EXPECT_EQ(rec["row"].str(), "3");
    EXPECT_EQ(rec["reserved0"].str(), "7");
    EXPECT_EQ(rec["rowTag"].str(), "-2");
    EXPECT_EQ(rec["caption"].str(), "30A");
    EXPECT_EQ(rec["unit"].str(), "本");
    EXPECT_EQ(rec["slots"]["208"].str(), "1237");
    EXPECT_EQ(rec["slots"]["360"].str(), "250.5");
    EXPECT_EQ(rec["slots"].size(), 44u);
    EXPECT_EQ(j["records"][0]["name"].str(), "ゲート弁");
    EXPECT_EQ(selvanCli({"dump", p.string()}).json()["records"].size(), 300u);
}

TEST(SelvanCliRecalc, DerivedPricesAsSelvanComputesThemAndWrittenOnlyWhenAsked)
{
    TempDir dir;
    const fs::path p = sampleFile(dir);
    const std::string before = readWholeFile(p);
    const Result r = selvanCli({"recalc", p.string(), "--block=4"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = r.json();
    const Json &block = j["blocks"][0];
    EXPECT_EQ(block["name"].str(), "ゲート弁");
    EXPECT_EQ(block["useRates"].str(), "1");
    EXPECT_EQ(block["percent"]["LEVEL1"].str(), "85");
    const Json &row1 = block["rows"][0];
    EXPECT_EQ(row1["size"].str(), "15A");
    EXPECT_EQ(row1["material"]["LIST"].str(), "1234");
    EXPECT_EQ(row1["material"]["LEVEL1"].str(), "1049"); // 1048.9 + 0.9, cut
    EXPECT_EQ(row1["material"]["NET"].str(), "741");     // 740.4 + 0.9, cut
    EXPECT_EQ(row1["material"]["LEVEL2"].str(), "0");
    EXPECT_EQ(row1["installation"]["LEVEL3"].str(), "250.5");
    EXPECT_EQ(row1["labourRate"].str(), "0.35");
    EXPECT_EQ(readWholeFile(p), before);

    ASSERT_EQ(selvanCli({"recalc", p.string(), "--write"}).code, 0);
    const EquipmentBlock b = readEquipmentBlock(p, 4);
    EXPECT_EQ(b[0].values[materialSlot(Basis::Level1)].toString(), "1049");
    EXPECT_EQ(b[13].values[materialSlot(Basis::Level1)].toString(), "1060"); // 1247 × 85 % = 1059.95
    EXPECT_EQ(b[14].unit.text(), "本");
    // A block with the box off keeps its prices; the new file's code 0 is stored as 1.
    EXPECT_EQ(readEquipmentBlock(p, 0)[14].values[eqslot::SignificantCode].toString(), "1");
}

TEST(SelvanCliCheck, ANewFileIsCleanAndOddValuesAreListed)
{
    TempDir dir;
    const fs::path p = sampleFile(dir);
    Result r = selvanCli({"check", p.string()});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, "");

    std::string data = readWholeFile(p);
    const size_t settings = (2 * 15 + 14) * 512;
    const int64_t percent = 1500 * 10000, code = 7 * 10000;
    std::memcpy(data.data() + settings + 168, &percent, 8);
    std::memcpy(data.data() + settings + 464, &code, 8);
    data[5 * 512 + 85] = 50; // a Caption length beyond its 40 bytes
    // A longer file is refused from its size, before it is read.
    writeFileAtomically(p, data + "xx");
    r = selvanCli({"check", p.string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("153602 バイト"), std::string::npos) << r.err;
    writeFileAtomically(p, data);
    r = selvanCli({"check", p.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("レコード 44 (ブロック 2 の 14 行目) 168 LEVEL1 の割合: 1500"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("464 有効桁: 7"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("レコード 5 (ブロック 0 の 5 行目) Caption: 長さ 50"), std::string::npos) << r.out;
}

TEST(SelvanCliUsage, ErrorsAreOneJapaneseLineWithStatusTwo)
{
    TempDir dir;
    const fs::path missing = dir.path / "none.dxa";
    for (const std::vector<std::string> &args :
         std::vector<std::vector<std::string>>{{"calc", "x"},
                                               {"dump"},
                                               {"dump", "a", "b"},
                                               {"dump", "a", "--block", "20"},
                                               {"check", "a", "--block", "1"},
                                               {"dump", "a", "--write"},
                                               {"recalc", missing.string()}}) {
        const Result r = selvanCli(args);
        EXPECT_EQ(r.code, 2) << r.out;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("selvan-cli: ", 0), 0u) << r.err;
    }
    EXPECT_FALSE(fs::exists(missing)); // the command line never creates a file
    std::ofstream(dir.path / "short.dxa") << "abc";
    const Result r = selvanCli({"dump", (dir.path / "short.dxa").string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("0 レコードしかありません"), std::string::npos) << r.err;
    EXPECT_EQ(selvanCli({"--help"}).code, 0);
    const Result none = selvanCli({});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.err.rfind("使い方: selvan-cli dump FILE", 0), 0u) << none.err;
}

TEST(SelvanCliReadPath, NothingIsCreatedOrReadThatIsNotAnEquipmentFile)
{
    TempDir dir;
    const fs::path missing = dir.path / "kigu9.dxa";
    ::mkfifo((dir.path / "fifo.dxa").c_str(), 0600);
    for (const fs::path &path : {missing, dir.path / "fifo.dxa"})
        for (const std::vector<std::string> &args :
             {std::vector<std::string>{"dump", path.string()}, {"recalc", path.string()}, {"recalc", path.string(), "--write"},
              {"check", path.string()}}) {
            SCOPED_TRACE(args[0] + " " + path.string());
            const Result r = selvanCli(args);
            EXPECT_EQ(r.code, 2);
            EXPECT_NE(r.err.find(path.string()), std::string::npos) << r.err;
        }
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_TRUE(fs::is_fifo(dir.path / "fifo.dxa"));
    if (fs::exists("/dev/full")) {
        const Result r = runProgram(VELMO_SELVAN_CLI, {"dump", sampleFile(dir).string()}, "/dev/full");
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("標準出力に書き込めません"), std::string::npos) << r.err;
    }
}

TEST(SelvanCliReadPath, WriteNeverOverwritesAnotherProgramsChangeOfABlockItWrites)
{
    if (!strace())
        GTEST_SKIP() << "strace is not installed";
    TempDir dir;
    const fs::path p = sampleFile(dir);
    const std::string read = readWholeFile(p);
    const fs::path theirs = dir.path / "theirs.dxa";
    writeFileAtomically(theirs, read);
    EquipmentBlock b = readEquipmentBlock(theirs, 4);
    b[0].name.assignText("ほかのプログラムの変更");
    writeEquipmentBlock(theirs, 4, b);
    const std::string changed = readWholeFile(theirs);

    Result r = runWhileAnotherWrites(VELMO_SELVAN_CLI, {"recalc", p.string(), "--write"}, p, theirs);
    EXPECT_EQ(r.code, 3) << r.err;
    EXPECT_NE(r.err.find("ほかのプログラムで変更されています"), std::string::npos) << r.err;
    EXPECT_EQ(readWholeFile(p), changed);

    // A change to a block the command does not write is kept, and the command writes its own.
    writeFileAtomically(p, read);
    r = runWhileAnotherWrites(VELMO_SELVAN_CLI, {"recalc", p.string(), "--block", "3", "--write"}, p, theirs);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readEquipmentBlock(p, 4)[0].name.text(), "ほかのプログラムの変更");

    writeFileAtomically(p, read);
    r = runWhileAnotherWrites(VELMO_SELVAN_CLI, {"recalc", p.string(), "--block", "4", "--write", "--force"}, p, theirs);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readEquipmentBlock(p, 4)[0].name.text(), "ゲート弁");
}

TEST(SelvanCliDiff, ChangesOfTheEquipmentFileAsJsonAndCsvWithStatusZeroAndFileErrorsWithTwo)
{
    TempDir dir;
    const fs::path older = sampleFile(dir), newer = dir.path / "new.dxa";
    fs::copy_file(older, newer);
    const Result same = selvanCli({"diff", older.string(), newer.string()});
    ASSERT_EQ(same.code, 0) << same.err;
    EXPECT_EQ(same.json()["changes"].size(), 0u);

    // A save by selvan rewrites Serial; only the LEVEL3 installation cost of 25A changes.
    EquipmentBlock b = readEquipmentBlock(newer, 4);
    b[2].values[installationSlot(Basis::Level3)] = Cur("300");
    writeEquipmentBlock(newer, 4, b);
    const Result r = selvanCli({"diff", older.string(), newer.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json changes = r.json()["changes"];
    ASSERT_EQ(changes.size(), 1u) << r.out;
    EXPECT_EQ(changes[0]["block"].str(), "4");
    EXPECT_EQ(changes[0]["name"].str(), "ゲート弁");
    EXPECT_EQ(changes[0]["size"].str(), "25A");
    EXPECT_EQ(changes[0]["field"].str(), "取付費 LEVEL3");
    EXPECT_EQ(changes[0]["difference"].str(), "49.5");
    EXPECT_EQ(changes[0]["percent"].str(), "19.76");
    EXPECT_THROW(changes[0]["location"], std::out_of_range); // equipment has no locations

    const Result csv = selvanCli({"diff", older.string(), newer.string(), "--csv"});
    ASSERT_EQ(csv.code, 0) << csv.err;
    EXPECT_TRUE(csv.out == cp932::encode("ブロック,名称,サイズ,項目,変更前,変更後,差,増減率(%)\r\n"
                                         "4,ゲート弁,25A,取付費 LEVEL3,250.5,300,49.5,19.76\r\n"))
        << csv.out;

    std::ofstream(dir.path / "short.dxa", std::ios::binary) << std::string(512 * 20, '\0');
    const Result bad = selvanCli({"diff", older.string(), (dir.path / "short.dxa").string()});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("short.dxa"), std::string::npos) << bad.err;
    EXPECT_EQ(selvanCli({"diff", older.string()}).code, 2);
}

TEST(SelvanCliRevise, PreviewLeavesTheFileAndWriteRevisesListPricesAndRecalculates)
{
    TempDir dir;
    const fs::path p = sampleFile(dir);
    const std::string before = readWholeFile(p);
    // Row 1: 1234 × 0.98 = 1209.32 → down to 10: 1200.
    const std::vector<std::string> args = {"revise", p.string(), "--block", "4", "--percent", "-2",
                                           "--unit", "10", "--round", "down"};
    const Result preview = selvanCli(args);
    ASSERT_EQ(preview.code, 0) << preview.err;
    EXPECT_TRUE(readWholeFile(p) == before);
    EXPECT_EQ(preview.json()["prices"][0]["new"].str(), "1200");
    EXPECT_EQ(preview.json()["prices"][0]["row"].str(), "15A");

    std::vector<std::string> write = args;
    write.push_back("--write");
    ASSERT_EQ(selvanCli(write).code, 0);
    EXPECT_EQ(readEquipmentBlock(p, 4)[0].values[materialSlot(Basis::List)], Cur("1200"));
    const std::string revised = readWholeFile(p);
    ASSERT_EQ(selvanCli({"recalc", p.string(), "--block", "4", "--write"}).code, 0);
    EXPECT_TRUE(readWholeFile(p) == revised); // the derived prices already follow the new list prices
    EXPECT_EQ(selvanCli({"revise", p.string(), "--percent", "3"}).code, 2); // neither --block nor --all
}

// ---------------------------------------------------------------- import

namespace {

void writeText(const fs::path &p, const std::string &bytes) { std::ofstream(p, std::ios::binary) << bytes; }

} // namespace

TEST(SelvanCliImport, WithoutWriteThePreviewAndTheFileByteForByte)
{
    TempDir dir;
    const fs::path p = sampleFile(dir);
    const std::string before = readWholeFile(p);
    const fs::path list = dir.path / "list.csv";
    writeText(list, "呼び径,定価\n１５Ａ,\"2,000\"\n20A,問合せ\n99A,5\n");
    const Result r = selvanCli({"import", p.string(), "--block", "4", list.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readWholeFile(p), before);
    const Json j = r.json();
    EXPECT_EQ(j["written"].str(), "false");
    EXPECT_EQ(j["sizes"][0]["size"].str(), "15A");
    EXPECT_EQ(j["sizes"][0]["old"].str(), "1234");
    EXPECT_EQ(j["sizes"][0]["new"].str(), "2000");
    EXPECT_EQ(j["sizes"][0]["listRow"].str(), "2");
    EXPECT_EQ(j["sizes"][1]["new"].str(), "null");
    EXPECT_EQ(j["badPrices"][0]["row"].str(), "3");
    EXPECT_EQ(j["badPrices"][0]["price"].str(), "問合せ");
    EXPECT_EQ(j["unmatched"].size(), 1u); // 99A; the heading is counted apart
    EXPECT_EQ(j["counts"]["headings"].str(), "1");
    EXPECT_EQ(j["counts"]["matched"].str(), "1");
    EXPECT_EQ(j["counts"]["sizesWithoutPrice"].str(), "13");
}

TEST(SelvanCliImport, WriteStoresRecalculatesAndKeepsEveryOtherBlock)
{
    TempDir dir;
    const fs::path p = sampleFile(dir);
    const std::string before = readWholeFile(p);
    const fs::path list = dir.path / "list.txt";
    writeText(list, "品番\t価格\tサイズ\nX1\t2,000\t15A\nX2\t\xEF\xBC\x93\xEF\xBC\x90\xEF\xBC\x90\xEF\xBC\x90\t20A\n");
    const Result r = selvanCli({"import", p.string(), "--block=4", list.string(), "--size-column", "サイズ",
                                "--price-column=2", "--write"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.json()["written"].str(), "true");
    const std::string after = readWholeFile(p);
    const size_t at = 4 * EquipmentBlockBytes;
    EXPECT_TRUE(after.substr(0, at) == before.substr(0, at));
    EXPECT_TRUE(after.substr(at + EquipmentBlockBytes) == before.substr(at + EquipmentBlockBytes));
    const EquipmentBlock b = readEquipmentBlock(p, 4);
    EXPECT_EQ(b[0].values[materialSlot(Basis::List)], Cur("2000"));
    EXPECT_EQ(b[1].values[materialSlot(Basis::List)], Cur("3000"));
    EXPECT_EQ(b[2].values[materialSlot(Basis::List)], Cur("1236"));
    // LEVEL1 at 85 %: 1700 and 2550, as recalc derives them.
    EXPECT_EQ(b[0].values[materialSlot(Basis::Level1)], Cur("1700"));
    EXPECT_EQ(b[1].values[materialSlot(Basis::Level1)], Cur("2550"));
    const Result again = selvanCli({"recalc", p.string(), "--block", "4"});
    EXPECT_EQ(again.json()["blocks"][0]["rows"][1]["material"]["LEVEL1"].str(), "2550");
}

TEST(SelvanCliImport, SheetsColumnsAndUsageErrorsAreSaidWithoutTouchingTheFile)
{
    TempDir dir;
    const fs::path p = sampleFile(dir);
    const std::string before = readWholeFile(p);
    const fs::path list = dir.path / "list.csv";
    writeText(list, "15A,100\n");
    auto fails = [&](const std::vector<std::string> &args, const std::string &message) {
        const Result r = selvanCli(args);
        EXPECT_EQ(r.code, 2) << r.out;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(readWholeFile(p), before);
    };
    fails({"import", p.string(), list.string(), "--write"}, sharedtext::ImportNeedsBlockText);
    fails({"import", p.string(), "--block", "4"}, sharedtext::ImportNeedsFilesText);
    fails({"import", p.string(), "--block", "20", list.string()}, "0 から 19");
    fails({"import", p.string(), "--block", "4", list.string(), "--price-column", "3", "--write"},
          sharedtext::noColumnNumberText(3, 2));
    fails({"import", p.string(), "--block", "4", list.string(), "--sheet", "鋼管", "--write"},
          sharedtext::noSuchSheetText(list, "鋼管"));
    fails({"import", p.string(), "--block", "4", dir.path.string(), "--write"}, sharedtext::IsFolderText);
    const Result help = selvanCli({"--help"});
    EXPECT_NE(help.out.find("selvan-cli import FILE --block N LIST"), std::string::npos);
}

TEST(SelvanCliImport, AWorkbookSheetChosenByName)
{
    if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl (Debian python3-openpyxl) is needed to write the workbook";
    TempDir dir;
    const fs::path p = sampleFile(dir);
    const fs::path book = dir.path / "list.xlsx";
    writeText(dir.path / "make.py", "import openpyxl,sys\nwb=openpyxl.Workbook()\nwb.active.title='表紙'\n"
                                    "ws=wb.create_sheet('弁')\nws.append(['サイズ','定価'])\nws.append(['25A',4321])\n"
                                    "wb.save(sys.argv[1])\n");
    ASSERT_EQ(runProgram("/usr/bin/python3", {(dir.path / "make.py").string(), book.string()}).code, 0);
    const Result r = selvanCli({"import", p.string(), "--block", "4", book.string(), "--sheet", "弁", "--write"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.json()["sheet"].str(), "弁");
    EXPECT_EQ(readEquipmentBlock(p, 4)[2].values[materialSlot(Basis::List)], Cur("4321"));
}

// A supplier's workbook as it comes: a cover sheet first, the old price of 15A left in a hidden
// row, 20A in two rows. The sheet read is named with the --sheet that chooses it, the hidden row
// is not read, and of two rows the last is taken and the other listed.
TEST(SelvanCliImport, ACoverSheetAHiddenRowAndTwoRowsOfASize)
{
    if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl (Debian python3-openpyxl) is needed to write the workbook";
    TempDir dir;
    const fs::path p = sampleFile(dir);
    const fs::path book = dir.path / "list.xlsx";
    writeText(dir.path / "make.py", "import openpyxl,sys\nwb=openpyxl.Workbook()\nwb.active.title='表紙'\n"
                                    "wb.active.append(['御見積書'])\nws=wb.create_sheet('弁')\n"
                                    "for r in [['弁 価格表'],['品名','サイズ','定価'],['仕切弁','15A',3000],['仕切弁','15A',3550],\n"
                                    "          ['仕切弁','20A',4000],['仕切弁','20A',4100]]:\n  ws.append(r)\n"
                                    "ws.row_dimensions[3].hidden=True\nwb.save(sys.argv[1])\n");
    ASSERT_EQ(runProgram("/usr/bin/python3", {(dir.path / "make.py").string(), book.string()}).code, 0);
    for (const bool byHeading : {true, false}) {
        std::vector<std::string> args = {"import", p.string(), "--block", "4", book.string()};
        if (byHeading)
            args.insert(args.end(), {"--price-column", "定価"});
        const Result r = selvanCli(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.err.find(sharedtext::otherSheetUsedText(book, "表紙", byHeading ? "定価" : "", "弁")), std::string::npos)
            << r.err;
        const Json j = r.json();
        EXPECT_EQ(j["sheet"].str(), "弁");
        EXPECT_EQ(j["sizeColumn"].str(), "2");
        EXPECT_EQ(j["priceColumn"].str(), "3");
        EXPECT_EQ(j["headingRow"].str(), "2");
        EXPECT_EQ(j["sizes"][0]["new"].str(), "3550");
        EXPECT_EQ(j["sizes"][0]["listRow"].str(), "4");
        EXPECT_EQ(j["sizes"][1]["new"].str(), "4100");
        EXPECT_EQ(j["duplicates"].size(), 1u);
        EXPECT_EQ(j["duplicates"][0]["row"].str(), "5");
        EXPECT_EQ(j["unmatched"].size(), 0u);
        EXPECT_EQ(j["counts"]["hiddenRows"].str(), "1");
        EXPECT_EQ(j["counts"]["headings"].str(), "1");
    }
    const Result named = selvanCli({"import", p.string(), "--block", "4", book.string(), "--sheet", "弁"});
    EXPECT_EQ(named.err, "");
    // A heading that no sheet has is named with the sheet looked in.
    const Result missing = selvanCli({"import", p.string(), "--block", "4", book.string(), "--price-column", "単価"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find(sharedtext::noColumnHeadingOnSheetText("単価", "表紙")), std::string::npos) << missing.err;
}

TEST(SelvanCliVersions, EachWriteKeepsAVersionToListShowCompareAndRestore)
{
    TempDir dir;
    const fs::path p = sampleFile(dir);
    checkVersionCommands(VELMO_SELVAN_CLI, p, {"revise", p.string(), "--all", "--percent", "10", "--write"},
                         {"revise", p.string(), "--block", "4", "--percent", "-5", "--write"});
}
