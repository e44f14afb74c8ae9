// The delimited text of the CSV file, the clipboard and the print data.
#include "base/cp932.h"
#include "base/errors.h"
#include "tests/velmok/export_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmo;
using velmo::test::crlfLines;
using velmo::test::ExportPipe;

namespace {

const std::string EmptyRow = ",ｍ,0,0,0,0,0,0,0,0,0,0,";
const std::string Heading = "呼び径,単位,採用単価,材料単価,所要材料,継  手,接合材等,支持金物,配管工,はつり補修,その他,合   計";

} // namespace

TEST(TextBuilder, FileTextOfANormalPipeHasFourLocationBlocksOfFifteenLines)
{
    const ExportPipe pipe;
    const std::string text = pipe.text(OutputMode::File);
    const auto lines = crlfLines(text);
    ASSERT_EQ(lines.size(), 60u);
    EXPECT_EQ(lines[0], "屋内一般");
    EXPECT_EQ(lines[1], "15A,ｍ,2800,1000,1.1,0.3,0.05,0.2,0.05,0.1,0.05,2805,");
    EXPECT_EQ(lines[2], "20A,ｍ,1600,0,0,0,0,0,0.08,0,0,1600,");
    for (int k = 3; k <= 14; ++k)
        EXPECT_EQ(lines[k], EmptyRow) << k;
    EXPECT_EQ(lines[15], "機械室");
    EXPECT_EQ(lines[16], "15A,ｍ,3960,1000,1.1,0.3,0.05,0.2,0.1,0.1,0.05,3960,");
    EXPECT_EQ(lines[17], "20A,ｍ,0,0,0,0,0,0,0,0,0,0,");
    EXPECT_EQ(lines[30], "屋外架空");
    EXPECT_EQ(lines[31], "15A,ｍ,0,1000,0,0,0,0,0,0,0,0,"); // the prices of location 0, no factors
    EXPECT_EQ(lines[45], "地中配管");
    // The very last row has no line end; the file gets exactly one CR LF after it.
    EXPECT_EQ(lines[59], EmptyRow);
    EXPECT_NE(text.substr(text.size() - 2), "\r\n");
    const std::string bytes = outputFileBytes(text);
    EXPECT_EQ(bytes.substr(bytes.size() - 3), ",\r\n");
    EXPECT_NE(bytes.substr(bytes.size() - 4, 2), "\r\n");

    // The clipboard receives the same text.
    EXPECT_EQ(pipe.text(OutputMode::Clipboard), text);
}

TEST(TextBuilder, HeadingLineAndComponentsFollowTheCheckBoxes)
{
    const ExportPipe pipe;
    const auto lines = crlfLines(pipe.text(OutputMode::Clipboard, 1, true, true));
    ASSERT_EQ(lines.size(), 64u);
    EXPECT_EQ(lines[0], "屋内一般");
    EXPECT_EQ(lines[1], Heading);
    EXPECT_EQ(lines[2], "15A,ｍ,2800,1000,1100,300,50,200,1000,100,55,2805,");
    EXPECT_EQ(lines[16], "機械室");
    EXPECT_EQ(lines[17], Heading);
    EXPECT_EQ(lines[18], "15A,ｍ,3960,1000,1100,300,50,200,2000,200,110,3960,");

    // Heading without results: the factors under the same heading line.
    const auto plain = crlfLines(pipe.text(OutputMode::File, 1, true, false));
    EXPECT_EQ(plain[1], Heading);
    EXPECT_EQ(plain[2], "15A,ｍ,2800,1000,1.1,0.3,0.05,0.2,0.05,0.1,0.05,2805,");
}

TEST(TextBuilder, CostPriceOutputsTheNetCompositeAsAdoptedAndTotal)
{
    const ExportPipe pipe;
    const auto factors = crlfLines(pipe.text(OutputMode::File, 6));
    EXPECT_EQ(factors[1], "15A,ｍ,2524,900,1.1,0.3,0.05,0.2,0.05,0.1,0.05,2524,");
    const auto results = crlfLines(pipe.text(OutputMode::File, 6, false, true));
    // 49.5 of その他 is cut to whole yen: the component decimals are 0.
    EXPECT_EQ(results[1], "15A,ｍ,2524,900,990,270,45,180,900,90,49,2524,");
    const auto print = crlfLines(pipe.text(OutputMode::Print, 6));
    EXPECT_EQ(print[0], "配管用炭素鋼鋼管;白;ねじ接合;屋内一般;15A;ｍ;2,524;900;1.1;0.3;0.05;0.2;0.05;0.1;0.05;"
                        "990;270;45;180;900;90;49;2,524;");
}

TEST(TextBuilder, PrintDataHasNoLocationOrHeadingLinesAndTwentyThreeFields)
{
    const ExportPipe pipe;
    // The check boxes are hidden for the print data: their values do not count.
    const std::string text = pipe.text(OutputMode::Print, 1, true, false);
    const auto lines = crlfLines(text);
    ASSERT_EQ(lines.size(), 56u);
    EXPECT_EQ(lines[0], "配管用炭素鋼鋼管;白;ねじ接合;屋内一般;15A;ｍ;2,800;1,000;1.1;0.3;0.05;0.2;0.05;0.1;0.05;"
                        "1,100;300;50;200;1,000;100;55;2,805;");
    EXPECT_EQ(lines[14], "配管用炭素鋼鋼管;白;ねじ接合;機械室;15A;ｍ;3,960;1,000;1.1;0.3;0.05;0.2;0.1;0.1;0.05;"
                         "1,100;300;50;200;2,000;200;110;3,960;");
    for (const std::string &l : lines) {
        EXPECT_EQ(std::count(l.begin(), l.end(), ';'), 23) << l;
        EXPECT_EQ(l.back(), ';');
    }
    EXPECT_EQ(text, pipe.text(OutputMode::Print, 1, false, true));
}

TEST(TextBuilder, RefrigerantPipeHasOneLocationAndAnEmptyChippingComponent)
{
    const ExportPipe pipe(true);
    const auto factors = crlfLines(pipe.text(OutputMode::File));
    ASSERT_EQ(factors.size(), 15u);
    EXPECT_EQ(factors[0], "一般");
    // The factor B6 is written as stored.
    EXPECT_EQ(factors[1], "15A,ｍ,2790,1000,1.1,0.3,0.05,0.2,0.05,0.1,0.05,2790,");
    const auto results = crlfLines(pipe.text(OutputMode::Clipboard, 1, false, true));
    EXPECT_EQ(results[1], "15A,ｍ,2790,1000,1100,300,50,290,1000,,50,2790,");
    EXPECT_EQ(results[2], "20A,ｍ,1600,0,0,0,0,0,1600,,0,1600,");
    const auto print = crlfLines(pipe.text(OutputMode::Print));
    ASSERT_EQ(print.size(), 14u);
    EXPECT_EQ(print[0], "冷媒用銅管;;;一般;15A;ｍ;2,790;1,000;1.1;0.3;0.05;0.2;0.05;0.1;0.05;1,100;300;50;290;1,000;;50;2,790;");
}

TEST(TextBuilder, FileBytesAreCp932WithCrLf)
{
    const ExportPipe pipe;
    const std::string bytes = outputFileBytes(pipe.text(OutputMode::File));
    // 屋内一般 CR LF 15A , ｍ ,
    const std::string start = "\x89\xae\x93\xe0\x88\xea\x94\xca\r\n15A,\x82\x8d,";
    EXPECT_EQ(bytes.substr(0, start.size()), start);
    EXPECT_EQ(cp932::decode(bytes), pipe.text(OutputMode::File) + "\r\n");
}

TEST(TextBuilder, PrintDataFieldsNeverHoldTheSeparatorAndSizesMayBeEmpty)
{
    ExportPipe pipe;
    pipe.table->row(1).rec.name.assignText("鋼管;白");
    pipe.table->row(1).rec.size.assignText("");
    const auto print = crlfLines(pipe.text(OutputMode::Print));
    EXPECT_EQ(print[0].substr(0, print[0].find("屋内一般")), "鋼管；白;白;ねじ接合;");
    EXPECT_EQ(std::count(print[0].begin(), print[0].end(), ';'), 23);
    EXPECT_EQ(crlfLines(pipe.text(OutputMode::File))[1].rfind(",ｍ,2800,", 0), 0u);
}

TEST(TextBuilder, BasisOutsideTheDialogsRangeIsARangeError)
{
    const ExportPipe pipe;
    EXPECT_THROW(pipe.text(OutputMode::File, 7), RangeError);
    EXPECT_THROW(pipe.text(OutputMode::File, 0), RangeError);
}
