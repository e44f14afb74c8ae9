// velmok-cli diff run as a program: JSON, CSV and workbook output, and its exit statuses.
#include "tests/velmok/cli_support.h"
#include "tests/common/version_commands.h"

#include "base/cp932.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

// Two service files: pipe 2 "SGP白" with one price, its copy with that price raised and the
// pipe moved to number 5, and a name changed.
struct DiffFiles {
    TempDir dir;
    fs::path older = dir.path / "old.fda", newer = dir.path / "new.fda";
    DiffFiles()
    {
        ServiceFile a;
        PipeBlock &b = a.pipeBlock(1);
        b[0].name.assignText("SGP白");
        b[0].size.assignText("15A");
        b[0].A(6) = Cur("1200");
        b[14].caption.assignText("屋内一般");
        a.save(older);
        ServiceFile n = a;
        n.pipeBlock(4) = n.pipeBlock(1);
        n.pipeBlock(1) = PipeBlock{};
        n.pipeBlock(4)[0].A(6) = Cur("1260");
        n.pipeBlock(4)[1].name.assignText("給水用");
        n.save(newer);
    }
};

} // namespace

TEST(CliDiff, JsonListsTheMoveOnceThenWhatChangedInThePipe)
{
    DiffFiles f;
    const Result same = cli({"diff", f.older.string(), f.older.string()});
    ASSERT_EQ(same.code, 0) << same.err;
    EXPECT_EQ(same.json()["changes"].size(), 0u);

    const Result r = cli({"diff", f.older.string(), f.newer.string()});
    ASSERT_EQ(r.code, 0) << r.err; // differences are not a failure
    const Json changes = r.json()["changes"];
    ASSERT_EQ(changes.size(), 3u) << r.out;
    EXPECT_EQ(changes[0]["kind"].str(), "moved");
    EXPECT_EQ(changes[0]["pipe"].str(), "5");
    EXPECT_EQ(changes[0]["old"].str(), "2");
    EXPECT_EQ(changes[0]["new"].str(), "5");
    EXPECT_EQ(changes[1]["kind"].str(), "text");
    EXPECT_EQ(changes[1]["field"].str(), "名称2行目");
    EXPECT_EQ(changes[1]["new"].str(), "給水用");
    EXPECT_EQ(changes[1]["difference"].str(), "null");
    EXPECT_EQ(changes[2]["field"].str(), "資材単価 定価");
    EXPECT_EQ(changes[2]["name"].str(), "SGP白");
    EXPECT_EQ(changes[2]["size"].str(), "15A");
    EXPECT_EQ(changes[2]["old"].str(), "1200");
    EXPECT_EQ(changes[2]["new"].str(), "1260");
    EXPECT_EQ(changes[2]["difference"].str(), "60");
    EXPECT_EQ(changes[2]["percent"].str(), "5");
}

TEST(CliDiff, CsvIsShiftJisWithCrLfAndAJapaneseHeading)
{
    DiffFiles f;
    const Result r = cli({"diff", f.older.string(), f.newer.string(), "--csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.out == cp932::encode("管材,名称,サイズ,場所,項目,変更前,変更後,差,増減率(%)\r\n"
                                       "5,SGP白,,,移動,2,5,,\r\n"
                                       "5,SGP白,,,名称2行目,,給水用,,\r\n"
                                       "5,SGP白,15A,,資材単価 定価,1200,1260,60,5\r\n"))
        << r.out;
    // Identical files: the heading alone.
    const Result same = cli({"diff", f.newer.string(), f.newer.string(), "--csv"});
    EXPECT_TRUE(same.out == cp932::encode("管材,名称,サイズ,場所,項目,変更前,変更後,差,増減率(%)\r\n")) << same.out;
}

TEST(CliDiff, WorkbookReadsBackWithFiguresAsNumbers)
{
    if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl (Debian python3-openpyxl) is needed to read the workbook back";
    DiffFiles f;
    const fs::path book = f.dir.path / "diff.xlsx";
    const Result r = cli({"diff", f.older.string(), f.newer.string(), "--xlsx", book.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const fs::path script = f.dir.path / "read.py";
    std::ofstream(script) << "import sys, openpyxl\n"
                             "wb = openpyxl.load_workbook(sys.argv[1])\n"
                             "for ws in wb.worksheets:\n"
                             "    print(ws.title)\n"
                             "    for row in ws.iter_rows(values_only=True):\n"
                             "        print('|'.join(repr(v) for v in row))\n";
    const Result read = runShell("/usr/bin/python3 " + shellWord(script.string()) + " " + shellWord(book.string()));
    ASSERT_EQ(read.code, 0) << read.err;
    EXPECT_EQ(read.out, "比較\n"
                        "'管材'|'名称'|'サイズ'|'場所'|'項目'|'変更前'|'変更後'|'差'|'増減率(%)'\n"
                        "5|'SGP白'|None|None|'移動'|2|5|None|None\n"
                        "5|'SGP白'|None|None|'名称2行目'|None|'給水用'|None|None\n"
                        "5|'SGP白'|'15A'|None|'資材単価 定価'|1200|1260|60|5\n");
}

TEST(CliDiff, BadCommandLinesAndUnreadableFilesEndWithStatusTwoAndWriteNothing)
{
    DiffFiles f;
    const fs::path book = f.dir.path / "out.xlsx";
    const fs::path shortFile = f.dir.path / "short.fda";
    std::ofstream(shortFile, std::ios::binary) << std::string(360 * 3, '\0');
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"diff", f.older.string()}, "OLD と NEW が必要です"},
        {{"diff", f.older.string(), f.newer.string(), f.newer.string()}, "3 つ目のファイル"},
        {{"diff", f.older.string(), f.newer.string(), "--csv", "--xlsx", book.string()}, "一緒に指定できません"},
        {{"diff", f.older.string(), f.newer.string(), "--xlsx"}, "--xlsx の後に出力ファイルがありません"},
        {{"diff", f.older.string(), f.newer.string(), "--pipe", "1"}, "diff にオプション '--pipe' はありません"},
        {{"diff", f.older.string(), shortFile.string(), "--xlsx", book.string()}, shortFile.string()},
        {{"diff", f.dir.path.string(), f.newer.string(), "--xlsx", book.string()}, f.dir.path.string()},
        {{"diff", (f.dir.path / "missing.fda").string(), f.newer.string()}, "missing.fda"},
    };
    for (const Case &c : cases) {
        const Result r = cli(c.args);
        EXPECT_EQ(r.code, 2) << c.args.back();
        EXPECT_EQ(r.out, "") << c.args.back();
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(book));
    EXPECT_FALSE(fs::exists(f.dir.path / "missing.fda"));

    const Result help = cli({"--help"});
    EXPECT_NE(help.out.find("velmok-cli diff OLD NEW [--csv | --xlsx OUT]\n"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("終了状態は 0 です"), std::string::npos) << help.out;
}

TEST(CliVersions, EachWriteKeepsAVersionToListShowCompareAndRestore)
{
    DiffFiles f;
    const std::string file = f.newer.string();
    checkVersionCommands(VELMO_CLI, f.newer, {"level", file, "--levels", "10,20,30,40,50", "--write"},
                         {"level", file, "--pipe", "5", "--levels", "11,20,30,40,50", "--write"});
}
