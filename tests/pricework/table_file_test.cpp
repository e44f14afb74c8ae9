// The shared table writer: CSV bytes as a spreadsheet reads them, and a workbook read back.
#include "pricework/table_file.h"

#include "base/cp932.h"
#include "pricework/price_list.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>

using namespace velmo;
using velmo::test::TempDir;
namespace fs = std::filesystem;

namespace {

std::vector<TableRow> sample()
{
    return {{textCell("サイズ"), textCell("定価"), textCell("メモ")},
            {textCell("15A"), numberCell(Cur("1200")), textCell("曲げ, 継手")},
            {textCell("20A"), numberCell(Cur("-1234.5")), textCell("\"特注\"\n2行")}};
}

std::string run(const std::string &command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE *)> p(popen(command.c_str(), "r"), pclose);
    std::array<char, 4096> buf{};
    size_t n;
    while (p && (n = fread(buf.data(), 1, buf.size(), p.get())) > 0)
        out.append(buf.data(), n);
    return out;
}

} // namespace

TEST(TableFile, CsvIsShiftJisWithCrLfAndQuotesOnlyWhereACellNeedsIt)
{
    const std::string bytes = tableCsvBytes(sample());
    EXPECT_TRUE(bytes == cp932::encode("サイズ,定価,メモ\r\n15A,1200,\"曲げ, 継手\"\r\n"
                                       "20A,-1234.5,\"\"\"特注\"\"\n2行\"\r\n"));
    EXPECT_TRUE(tableCsvBytes({}).empty());
}

TEST(TableFile, WorkbookReadsBackWithNumbersAsNumbersAndSafeUniqueSheetNames)
{
    if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl (Debian python3-openpyxl) is needed to read the workbook back";
    TempDir dir;
    const fs::path book = dir.path / "list.xlsx";
    std::ofstream(book, std::ios::binary) << tableXlsxBytes({{"鋼管[SGP]", sample()}, {"鋼管[SGP]", {}}, {"", sample()}}, book);
    const fs::path script = dir.path / "read.py";
    std::ofstream(script) << "import sys, openpyxl\n"
                             "wb = openpyxl.load_workbook(sys.argv[1])\n"
                             "for ws in wb.worksheets:\n"
                             "    print(ws.title)\n"
                             "    for row in ws.iter_rows(values_only=True):\n"
                             "        print('|'.join(repr(v) for v in row))\n";
    const std::string out = run("/usr/bin/python3 " + script.string() + " " + book.string());
    EXPECT_EQ(out, "鋼管_SGP_\n"
                   "'サイズ'|'定価'|'メモ'\n"
                   "'15A'|1200|'曲げ, 継手'\n"
                   "'20A'|-1234.5|'\"特注\"\\n2行'\n"
                   "鋼管_SGP_(2)\n"
                   "表3\n"
                   "'サイズ'|'定価'|'メモ'\n"
                   "'15A'|1200|'曲げ, 継手'\n"
                   "'20A'|-1234.5|'\"特注\"\\n2行'\n");
}

// A price list's workbook as a person opens and prints it: the long name in a merged title line
// that sizes no column, columns as wide as their figures, decimals only on the value that has
// them, the groups merged over their columns, every column's heading in one row, the headings
// frozen and printed on every page, landscape one page wide.
TEST(TableFile, PriceListWorkbookIsSizedToItsFiguresWithTitlesMergedAboveTheTable)
{
    if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl (Debian python3-openpyxl) is needed to read the workbook back";
    PriceList list;
    list.title = "資材単価表";
    list.columns = {{"資材単価", "定　価", true}, {"資材単価", "LEVEL1", true}, {"", "歩掛(共通)", false},
                    {"取付費", "定　価", true}};
    PriceListBlock block;
    block.index = 3;
    block.names = {"水道用硬質塩化ビニルライニング鋼管（ＶＢ）給水", "ねじ接合（管端防食継手）"};
    block.unit = "本";
    block.rows = {{"15A", {Cur("18500"), Cur("15725"), Cur("0.35"), Cur("1234.5")}},
                  {"20A", {Cur("119500"), Cur("16575"), Cur("0.4"), Cur("2000")}}};
    list.blocks = {block};
    TempDir dir;
    const fs::path book = dir.path / "list.xlsx";
    std::ofstream(book, std::ios::binary) << tableXlsxBytes(priceListSheets(list), book);
    const fs::path script = dir.path / "read.py";
    std::ofstream(script) << "import sys, openpyxl\n"
                             "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                             "print(sorted(str(m) for m in ws.merged_cells.ranges))\n"
                             "print(ws.freeze_panes, ws.print_title_rows, ws.page_setup.orientation,\n"
                             "      ws.sheet_properties.pageSetUpPr.fitToPage, ws.page_setup.fitToWidth or 1,\n"
                             "      ws.page_setup.fitToHeight)\n"
                             "print(' '.join('%s=%g' % (c, ws.column_dimensions[c].width) for c in 'ABCDE'))\n"
                             "print(ws.row_dimensions[2].height)\n"
                             "for row in ws.iter_rows(min_row=5, max_col=5):\n"
                             "    print('|'.join('%s:%s' % (c.value, c.number_format) for c in row))\n";
    const std::string out = run("/usr/bin/python3 " + script.string() + " " + book.string());
    // The long name is wrapped onto two lines of its merged cell.
    EXPECT_EQ(out, "['A1:E1', 'A2:E2', 'B3:E3', 'B5:C5']\n"
                   "A7 $1:$6 landscape True 1 0\n"
                   "A=8.71094 B=9.71094 C=8.71094 D=12.7109 E=9.71094\n"
                   "30.0\n"
                   "None:General|資材単価:General|None:General|None:General|取付費:General\n"
                   "サイズ:General|定　価:General|LEVEL1:General|歩掛(共通):General|定　価:General\n"
                   "15A:General|18500:#,##0|15725:#,##0|0.35:#,##0.00|1234.5:#,##0.0\n"
                   "20A:General|119500:#,##0|16575:#,##0|0.4:#,##0.0|2000:#,##0\n")
        << out;
}
