// "価格表の取り込み…" in the pipe registration program and torvik-cli import: the list prices of
// the matched sizes, the derived prices as after typing them, one undo step, nothing changed by
// a cancel or a list that cannot be read, and the command line giving what the window gives.
#include "base/cp932.h"
#include "pricework/pricework_texts.h"
#include "tests/common/cli_run.h"
#include "tests/common/block_bytes.h"
#include "tests/common/ods_file.h"
#include "tests/torvik/torvik_fixture.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
using namespace velmo::test;

namespace {

void writeList(const fs::path &p, const std::string &utf8)
{
    std::ofstream(p, std::ios::binary) << cp932::encode(utf8);
}

// Scripts the file chooser with `list` and the dialog with the columns and 取り込み.
void scriptImport(FakeUi &ui, const fs::path &list, int sizeColumn = 0, int priceColumn = 1, bool take = true)
{
    ui.openFiles.push_back(list);
    ui.importChoices.push_back([=](PriceImportChoice &c) {
        c.chooseSizeColumn(sizeColumn);
        c.choosePriceColumn(priceColumn);
        return take;
    });
}

std::string bytesOf(const TorvikSession &s) { return blockBytes(s.working(), RecordSize); }

} // namespace

TEST(TorvikImport, ListPricesAndDerivedPricesAsIfTyped)
{
    TorvikFixture imported, typed;
    TorvikSession &s = imported.open();
    TorvikSession &t = typed.open();
    const fs::path list = imported.dir.path / "list.csv";
    // Shift-JIS, sizes in full width, a heading row, a row of another pipe and a bad price.
    writeList(list, "品名,呼び径,定価\r\n鋼管,１５Ａ,\"１，５１５\"\r\n鋼管,25,\"2,345円\"\r\n鋼管,350A,9\r\n鋼管,30A,未定\r\n");
    scriptImport(imported.ui, list, 1, 2);
    s.importPriceList();
    EXPECT_EQ(imported.ui.prompts,
              (std::vector<std::string>{std::string(sharedtext::ImportPriceListTitle) + "|" + sharedtext::PriceListFilter,
                                        sharedtext::ImportPriceListTitle}));
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(s.working()[0].A(6), Cur("1515"));
    EXPECT_EQ(s.working()[2].A(6), Cur("2345"));
    EXPECT_EQ(s.working()[3].A(6), Cur("1030")); // 30A kept its price
    // The same prices typed on the 定価 tab give the same block, byte for byte.
    typed.type(1, 1, "1515");
    typed.type(1, 3, "2345");
    EXPECT_TRUE(bytesOf(s) == bytesOf(t));
    EXPECT_EQ(s.grid().Cells(1, 1), "1,515");
    // The derived LEVEL1 (90 %, to tens) follows.
    EXPECT_NE(s.working()[0].A(1), Currency::fromInt(1));
    EXPECT_EQ(imported.onDisk(0)[0].A(6), Currency::fromInt(1000)); // saved only by 登録
}

TEST(TorvikImport, OneUndoStepPutsTheBlockBackByteForByte)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    const std::string before = bytesOf(s);
    const fs::path list = f.dir.path / "list.txt";
    writeList(list, "15A\t1,111\n20A\t2,222\n25A\t3,333\n");
    scriptImport(f.ui, list);
    s.importPriceList();
    const std::string after = bytesOf(s);
    ASSERT_FALSE(after == before);
    s.undo();
    EXPECT_TRUE(bytesOf(s) == before);
    EXPECT_EQ(s.grid().Cells(1, 1), "1,000");
    EXPECT_FALSE(s.canUndo());
    s.redo();
    EXPECT_TRUE(bytesOf(s) == after);
}

TEST(TorvikImport, CancelOrAnUnreadableListChangesNothing)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    const std::string before = bytesOf(s);
    s.importPriceList(); // the file chooser cancelled
    const fs::path list = f.dir.path / "list.csv";
    writeList(list, "15A,5000\n");
    scriptImport(f.ui, list, 0, 1, false); // キャンセル in the dialog
    s.importPriceList();
    scriptImport(f.ui, list, 1, 0); // columns that match nothing: nothing to take
    s.importPriceList();
    f.ui.openFiles.push_back(f.dir.path); // a folder
    EXPECT_THROW(s.importPriceList(), IoError);
    EXPECT_TRUE(bytesOf(s) == before);
    EXPECT_FALSE(s.modified());
    EXPECT_FALSE(s.canUndo());
}

// ---------------------------------------------------------------- torvik-cli import

namespace {

Result torvikCli(const std::vector<std::string> &args) { return runProgram(VELMO_TORVIK_CLI, args); }

} // namespace

TEST(TorvikCliImport, WithoutWriteOnlyThePreview)
{
    TorvikFixture f;
    const std::string before = readWholeFile(f.data());
    const fs::path list = f.dir.path / "list.csv";
    writeList(list, "サイズ,定価\r\n１５Ａ,\"１，５１５\"\r\n20A,未定\r\n");
    const Result r = torvikCli({"import", f.data().string(), "--block", "2", list.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(readWholeFile(f.data()) == before);
    const Json j = r.json();
    EXPECT_EQ(j["written"].str(), "false");
    EXPECT_EQ(j["sizes"][0]["old"].str(), "3000");
    EXPECT_EQ(j["sizes"][0]["new"].str(), "1515");
    EXPECT_EQ(j["badPrices"][0]["price"].str(), "未定");
    EXPECT_EQ(j["counts"]["matched"].str(), "1");
    EXPECT_EQ(torvikCli({"import", f.data().string(), list.string()}).code, 2); // no --block
    EXPECT_NE(torvikCli({"--help"}).out.find("torvik-cli import FILE --block N LIST"), std::string::npos);
}

TEST(TorvikCliImport, WriteGivesThePricesTorviksImportGivesAndKeepsTheOtherBlocks)
{
    TorvikFixture f;
    const fs::path list = f.dir.path / "list.txt";
    writeList(list, "呼び径\t定価\n15A\t1,515\n25A\t2,345円\n");
    // The session's import on the same file, not saved.
    TorvikSession &s = f.open("1;2;;");
    scriptImport(f.ui, list);
    s.importPriceList();
    const std::string before = readWholeFile(f.data());
    const Result r = torvikCli({"import", f.data().string(), "--block=2", list.string(), "--size-column", "呼び径",
                                "--price-column", "定価", "--write"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.json()["written"].str(), "true");
    const PipeBlock b = f.onDisk(2);
    for (int k = 0; k < SizeRowsPerLocation; ++k)
        for (int i = 0; i <= 6; ++i)
            EXPECT_EQ(b[k].A(i), s.working()[k].A(i)) << "row " << k << " A" << i;
    EXPECT_EQ(b[0].A(6), Cur("1515"));
    const std::string after = readWholeFile(f.data());
    const size_t at = 2 * PipeBlockBytes;
    EXPECT_TRUE(after.substr(0, at) == before.substr(0, at));
    EXPECT_TRUE(after.substr(at + PipeBlockBytes) == before.substr(at + PipeBlockBytes));
}

// A workbook torvik-cli xlsx wrote is a price list torvik-cli import reads: block 3's list prices
// go into block 5 through the sheet's own headings.
TEST(TorvikCliImport, TheWorkbookOfOurOwnPriceListExportReadsBack)
{
    TorvikFixture f;
    const fs::path book = f.dir.path / "block3.xlsx";
    const Result exported = torvikCli({"xlsx", f.data().string(), book.string(), "--block", "3"});
    ASSERT_EQ(exported.code, 0) << exported.err;
    const Result r = torvikCli({"import", f.data().string(), "--block", "5", book.string(), "--size-column", "サイズ",
                                "--price-column", "定価", "--write"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.json()["counts"]["matched"].str(), "14");
    const PipeBlock from = f.onDisk(3), to = f.onDisk(5);
    for (int k = 0; k < SizeRowsPerLocation; ++k)
        EXPECT_EQ(to[k].A(6), from[k].A(6)) << "row " << k;
}

// An OpenDocument spreadsheet reads as a workbook does: float and currency cells by their values,
// a hidden row not at all.
TEST(TorvikCliImport, AnOpenDocumentSpreadsheet)
{
    if (!havePython3())
        GTEST_SKIP() << "python3 is missing";
    TorvikFixture f;
    const fs::path list = f.dir.path / "list.ods";
    const std::string row = "<table:table-row>", end = "</table:table-row>";
    ASSERT_TRUE(writeOds(list, "<table:table table:name=\"鋼管\">" + row + odsCell("呼び径") + odsCell("定価") + end + row +
                                   odsCell("15A") + odsNumber("1515") + end + row + odsCell("25A") +
                                   "<table:table-cell office:value-type=\"currency\" office:value=\"2345\"><text:p>¥2,345</text:p>"
                                   "</table:table-cell>" + end + "<table:table-row table:visibility=\"collapse\">" +
                                   odsCell("15A") + odsNumber("999") + end + "</table:table>"));
    const Result r = torvikCli({"import", f.data().string(), "--block", "2", list.string(), "--write"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = r.json();
    EXPECT_EQ(j["sheet"].str(), "鋼管");
    EXPECT_EQ(j["counts"]["matched"].str(), "2");
    EXPECT_EQ(j["counts"]["hiddenRows"].str(), "1");
    EXPECT_EQ(f.onDisk(2)[0].A(6), Cur("1515"));
    EXPECT_EQ(f.onDisk(2)[2].A(6), Cur("2345"));
}
