// The shared table writer: CSV bytes as a spreadsheet reads them, and a workbook read back.
#include "controls/core/table_file.h"

#include "controls/core/cp932.h"
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
