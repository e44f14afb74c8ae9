// velmok-cli csv, xlsx and pdf on the sample price files.
#include "tests/velmok/cli_support.h"
#include "base/cp932.h"
#include "tests/common/handoff_sample.h"
#include "velmok/exports/text_builder.h"

#include <gtest/gtest.h>

#include <memory>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

const fs::path Sample = fs::path(VELMO_SAMPLE_DIR) / "haikan1.fda";
const fs::path Refrigerant = fs::path(VELMO_SAMPLE_DIR) / "haikan10.fda";

std::unique_ptr<WorkingTable> samplePipe(const fs::path &file, int pipe)
{
    ServiceFile f;
    f.load(file);
    auto t = std::make_unique<WorkingTable>();
    t->load(f.pipeBlock(pipe));
    t->recalculateAll(f.pipeBlock(pipe));
    return t;
}

std::vector<std::string> split(const std::string &s, char sep)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t p; (p = s.find(sep, start)) != std::string::npos; start = p + 1)
        parts.push_back(s.substr(start, p - start));
    parts.push_back(s.substr(start));
    return parts;
}

} // namespace

TEST(CliCsv, PrintsTheFileTextOfTheSelectedPipeAsCp932)
{
    for (const auto &[level, heading, results] : {std::tuple{1, false, false}, {6, true, true}, {3, false, true}}) {
        std::vector<std::string> args{"csv", Sample.string(), "--pipe", "2", "--level", std::to_string(level)};
        if (heading)
            args.push_back("--heading");
        if (results)
            args.push_back("--results");
        const Result r = cli(args);
        ASSERT_EQ(r.code, 0) << r.err;
        const auto table = samplePipe(Sample, 1);
        const std::string expected = outputFileBytes(buildOutputText(
            *table, locationTabCaptions(*table), OutputMode::File, OutputLevelChoice{basisAt(level), heading, results, true}));
        EXPECT_EQ(r.out, expected) << level;
        EXPECT_EQ(r.out.substr(r.out.size() - 3), ",\r\n");
    }
    const Result cold = cli({"csv", Refrigerant.string(), "--pipe=1"});
    ASSERT_EQ(cold.code, 0) << cold.err;
    EXPECT_EQ(cp932::decode(cold.out).rfind("一般\r\n", 0), 0u);
}

TEST(CliCsv, UsageAndFileErrorsEndWithStatusTwoAndNothingOnStdout)
{
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"csv", Sample.string()}, {"csv", Sample.string(), "--pipe", "1", "--level", "7"},
          {"csv", Sample.string(), "--pipe", "1", "--level"}, {"csv", Sample.string(), "--pipe", "21"},
          {"csv", Sample.string(), "--pipe", "1", "--write"}, {"xlsx", Sample.string(), "--pipe", "1"},
          {"pdf", Sample.string()}, {"csv", Sample.string(), "--pipe", "1", "extra"}}) {
        const Result r = cli(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("velmok-cli:"), std::string::npos) << r.err;
    }
    TempDir dir;
    const fs::path missing = dir.path / "kanzai3.fda";
    const Result r = cli({"csv", missing.string(), "--pipe", "1"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find(missing.string()), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(missing)); // a reading command never creates the file
}

// The workbook read back by openpyxl holds the figures of the CSV, factors and components.
TEST(CliExports, TheUsageHasOneLineForEachFormatOfTheCommandLineAndOnlyThoseAreCommands)
{
    const Result help = cli({"--help"});
    ASSERT_EQ(help.code, 0) << help.err;
    EXPECT_NE(help.out.find("        velmok-cli check FILE\n"
                            "        velmok-cli csv FILE --pipe P [--level L] [--heading] [--results]\n"
                            "        velmok-cli xlsx FILE --pipe P [--level L] OUT.xlsx\n"
                            "        velmok-cli pdf FILE [--level L] OUT.pdf\n"),
              std::string::npos)
        << help.out;
    // The clipboard is the window's alone; the workbook takes no check-box options.
    const Result clipboard = cli({"clipboard", Sample.string(), "--pipe", "1"});
    EXPECT_EQ(clipboard.code, 2);
    EXPECT_NE(clipboard.err.find("コマンド 'clipboard' はありません"), std::string::npos) << clipboard.err;
    TempDir dir;
    const fs::path book = dir.path / "x.xlsx";
    const Result heading = cli({"xlsx", Sample.string(), "--pipe", "1", "--heading", book.string()});
    EXPECT_EQ(heading.code, 2);
    EXPECT_NE(heading.err.find("xlsx にオプション '--heading' はありません"), std::string::npos) << heading.err;
    EXPECT_FALSE(fs::exists(book));
}

TEST(CliXlsx, WorkbookReadsBackWithTheFiguresOfTheCsv)
{
    if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl (Debian python3-openpyxl) is needed to read the workbook back";
    TempDir dir;
    const fs::path script = dir.path / "read.py";
    std::ofstream(script) << "import sys, openpyxl\n"
                             "wb = openpyxl.load_workbook(sys.argv[1])\n"
                             "for ws in wb.worksheets:\n"
                             "    print(ws.title)\n"
                             "    for row in ws.iter_rows(min_row=8, max_row=21, max_col=19, values_only=True):\n"
                             "        print('|'.join('' if v is None else str(v) for v in row))\n";
    for (const auto &[file, pipe, level] : {std::tuple{Sample, 1, 2}, {Sample, 3, 6}, {Refrigerant, 1, 1}}) {
        const fs::path book = dir.path / "pipe.xlsx";
        const std::string p = std::to_string(pipe), l = std::to_string(level);
        const Result made = cli({"xlsx", file.string(), "--pipe", p, "--level", l, book.string()});
        ASSERT_EQ(made.code, 0) << made.err;
        EXPECT_EQ(readWholeFile(book).substr(0, 2), "PK");
        const Result read = runProgram("/usr/bin/python3", {script.string(), book.string()});
        ASSERT_EQ(read.code, 0) << read.err;
        const auto sheet = split(read.out, '\n');
        const auto factors = split(cp932::decode(cli({"csv", file.string(), "--pipe", p, "--level", l}).out), '\n');
        const auto parts =
            split(cp932::decode(cli({"csv", file.string(), "--pipe", p, "--level", l, "--results"}).out), '\n');
        ASSERT_GE(sheet.size(), 15u);
        ASSERT_EQ(factors.size(), parts.size());
        for (size_t i = 0; i + 1 < factors.size(); ++i) {
            const std::string csvLine = factors[i].substr(0, factors[i].size() - 1); // without CR
            if (i % 15 == 0) {
                EXPECT_EQ(sheet[i], csvLine); // the sheet is named after the location
                continue;
            }
            const auto cells = split(sheet[i], '|');
            const auto f = split(csvLine, ','), k = split(parts[i].substr(0, parts[i].size() - 1), ',');
            ASSERT_EQ(cells.size(), 19u) << sheet[i];
            ASSERT_EQ(f.size(), 13u);
            // The same figure: the cell as a number, the CSV field as its plain text.
            auto same = [](const std::string &cell, const std::string &field) {
                if (field.empty() || cell.empty())
                    return cell == field;
                return Currency::fromDouble(std::stold(cell)) == Currency::parse(field);
            };
            EXPECT_EQ(cells[0], f[0]);
            EXPECT_EQ(cells[1], f[1]);
            for (int c = 2; c < 4; ++c)
                EXPECT_TRUE(same(cells[c], f[c])) << i << ":" << c << " " << cells[c] << " " << f[c];
            for (int n = 0; n < 7; ++n) {
                EXPECT_TRUE(same(cells[4 + n], f[4 + n])) << i << " B" << n + 1 << " " << cells[4 + n];
                EXPECT_TRUE(same(cells[11 + n], k[4 + n])) << i << " K" << n + 1 << " " << cells[11 + n];
            }
            EXPECT_TRUE(same(cells[18], f[11])) << i;
        }
    }
    // A file that cannot be written leaves nothing and says which file.
    const Result bad = cli({"xlsx", Sample.string(), "--pipe", "1", (dir.path / "no" / "x.xlsx").string()});
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.err.find("x.xlsx"), std::string::npos) << bad.err;
}

TEST(CliPdf, OnePagePerLocationOfEveryNamedPipe)
{
    if (!fs::exists(fs::path(VELMO_CLI).parent_path() / "korrel"))
        GTEST_SKIP() << "the print program korrel is built only with the windows (VELMO_GUI)";
    TempDir dir;
    for (const fs::path &file : {Sample, Refrigerant}) {
        ServiceFile f;
        f.load(file);
        int expected = 0;
        for (int p = 0; p < PipesPerFile; ++p)
            if (!f.pipeBlock(p)[0].name.empty())
                expected += f.pipeBlock(p)[14].B(4) == Cur("2") ? 1 : 4;
        ASSERT_GT(expected, 0);
        const fs::path out = dir.path / "all.pdf";
        const Result r = cli({"pdf", file.string(), "--level", "6", out.string()});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(pdfPageCount(readWholeFile(out)), expected) << file;
    }
    // A file without a named pipe gives no PDF.
    const fs::path empty = dir.path / "kanzai1.fda";
    ASSERT_EQ(cli({"new", empty.string()}).code, 0);
    const Result r = cli({"pdf", empty.string(), (dir.path / "none.pdf").string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_FALSE(fs::exists(dir.path / "none.pdf"));
}
