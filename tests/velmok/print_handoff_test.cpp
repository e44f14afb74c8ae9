// The files of the print hand-off, with fixed dates.
#include "base/cp932.h"
#include "base/errors.h"
#include "tests/velmok/export_fixture.h"
#include "base/fileio.h"
#include "velmok/exports/print_handoff.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::crlfLines;
using velmo::test::ExportPipe;
using velmo::test::TempDir;
namespace fs = std::filesystem;

TEST(JapaneseCalendar, EraYearsAroundTheirFirstDaysAndWeekdays)
{
    struct Case {
        CalendarDate date;
        const char *era, *weekday;
    };
    const Case cases[] = {
        {{2019, 5, 1}, "令和01", "水"},  {{2019, 4, 30}, "平成31", "火"}, {{1989, 1, 8}, "平成01", "日"},
        {{1989, 1, 7}, "昭和64", "土"},  {{1926, 12, 25}, "昭和01", "土"}, {{1926, 12, 24}, "大正15", "金"},
        {{2026, 12, 8}, "令和08", "火"}, {{2025, 1, 5}, "令和07", "日"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(japaneseEraYear(c.date), c.era) << c.date.year << "-" << c.date.month << "-" << c.date.day;
        EXPECT_EQ(japaneseWeekday(c.date), c.weekday) << c.date.year << "-" << c.date.month << "-" << c.date.day;
    }
    EXPECT_THROW(japaneseWeekday({2025, 2, 30}), RangeError);
}

TEST(PrintHandoff, PrintConfNamesTheIconAndTheMaskOfThePipe)
{
    EXPECT_EQ(cp932::decode(printConfBytes("/opt/velmo/", false)),
              "[Version]=2.00\r\n[Application_Title]=Velmaro\r\n[Data_Title]=複合単価印刷\r\n[STYLE_FILE]=\r\n"
              "[Icon_File]=/opt/velmo/Application.ico\r\n[File_Mask]=vmk\r\n");
    const auto lines = crlfLines(cp932::decode(printConfBytes("/opt/velmo", true)));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4], "[Icon_File]=/opt/velmo/Application.ico");
    EXPECT_EQ(lines[5], "[File_Mask]=vmr");
}

TEST(PrintHandoff, HeaderLinesForALevelAndForTheCostPrice)
{
    const ExportPipe pipe;
    EXPECT_EQ(cp932::decode(printHeaderBytes(*pipe.table, basisAt(3), {2019, 5, 1})),
              "[ta]=2019\r\n[tb]=令和01\r\n[tc]=05\r\n[td]=01\r\n[te]=水\r\n[tf]=\r\n[tg]=\r\n"
              "[th]=東京都物価版P-12\r\n[ti]=20000(Level3)\r\n[tj]=18000\r\n");
    const auto net = crlfLines(cp932::decode(printHeaderBytes(*pipe.table, basisAt(6), {2019, 4, 30})));
    ASSERT_EQ(net.size(), 11u);
    EXPECT_EQ(net[0], "[ta]=2019");
    EXPECT_EQ(net[1], "[tb]=平成31");
    EXPECT_EQ(net[4], "[te]=火");
    EXPECT_EQ(net[8], "[ti]=18000(仕切)");
    EXPECT_EQ(net[9], "[tj]=18000");
    EXPECT_THROW(printHeaderBytes(*pipe.table, basisAt(7), {2019, 4, 30}), RangeError);
}

TEST(PrintHandoff, MemoLineKeepsItsByteLimitsAndEmptyMemosGiveAnEmptyValue)
{
    ExportPipe pipe;
    // 40 double-byte characters fill each memo's 80 bytes: 5 + 80 + 80 = 165 bytes.
    std::string full;
    for (int i = 0; i < 40; ++i)
        full += "価";
    pipe.table->row(4).rec.name.assignText(full + "余り");
    pipe.table->row(5).rec.name.assignText(full);
    const auto bytes = crlfLines(printHeaderBytes(*pipe.table, basisAt(1), {2025, 1, 5}));
    EXPECT_EQ(bytes[7].size(), 165u);
    EXPECT_EQ(cp932::decode(bytes[7]), "[th]=" + full + full);

    pipe.table->row(4).rec.name.assignText("");
    pipe.table->row(5).rec.name.assignText("");
    EXPECT_EQ(crlfLines(printHeaderBytes(*pipe.table, basisAt(1), {2025, 1, 5}))[7], "[th]=");
}

TEST(PrintHandoff, WhatVelmokWritesIsWhatThePrintProgramReads)
{
    const ExportPipe pipe(false);
    TempDir dir;
    const std::string data = pipe.text(OutputMode::Print);
    writePrintHandoff(dir.path, data, *pipe.table, basisAt(2), {2026, 12, 8});
    const handoff::Files read = handoff::readFiles(dir.path);
    EXPECT_EQ(read.conf.applicationTitle, "Velmaro");
    EXPECT_EQ(read.conf.dataTitle, "複合単価印刷");
    EXPECT_FALSE(read.conf.refrigerant);
    const handoff::Header expected = printHeader(*pipe.table, basisAt(2), {2026, 12, 8});
    EXPECT_EQ(read.header.year, "2026");
    EXPECT_EQ(read.header.eraYear, "令和08");
    EXPECT_EQ(read.header.weekday, "火");
    EXPECT_EQ(read.header.memo, expected.memo);
    EXPECT_EQ(read.header.labour, expected.labour);
    EXPECT_NE(read.header.labour.find("(Level2)"), std::string::npos) << read.header.labour;
    EXPECT_EQ(read.header.netLabour, expected.netLabour);
    // Every line of the text velmok built comes back as one row of 23 fields.
    const std::vector<std::string> lines = crlfLines(outputFileBytes(data));
    size_t rows = 0;
    for (const std::string &line : lines)
        rows += line.empty() ? 0 : 1;
    ASSERT_EQ(read.rows.size(), rows);
    std::string first;
    for (const std::string &field : read.rows[0])
        first += field + ";";
    EXPECT_EQ(cp932::encode(first), lines[0]);
}

TEST(PrintHandoff, WritesTheThreeFilesAndKeepsThoseWrittenBeforeAFailure)
{
    const ExportPipe pipe(true);
    TempDir dir;
    const std::string data = pipe.text(OutputMode::Print);
    writePrintHandoff(dir.path, data, *pipe.table, basisAt(1), {2026, 12, 8});
    EXPECT_EQ(readWholeFile(dir.path / "print_Data.dat"), outputFileBytes(data));
    EXPECT_EQ(readWholeFile(dir.path / "Print.conf"), printConfBytes(dir.path, true));
    EXPECT_EQ(readWholeFile(dir.path / "print_header.dat"), printHeaderBytes(*pipe.table, basisAt(1), {2026, 12, 8}));

    // A header that cannot be written: the data and the settings written before it stay.
    TempDir other;
    fs::create_directory(other.path / "print_header.dat");
    EXPECT_THROW(writePrintHandoff(other.path, data, *pipe.table, basisAt(1), {2026, 12, 8}), IoError);
    EXPECT_EQ(readWholeFile(other.path / "print_Data.dat"), outputFileBytes(data));
    EXPECT_TRUE(fs::exists(other.path / "Print.conf"));
    EXPECT_TRUE(fs::is_directory(other.path / "print_header.dat"));
}
