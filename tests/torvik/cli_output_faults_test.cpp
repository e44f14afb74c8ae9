// What the command lines print and write when names and outputs are hostile: JSON stays valid
// UTF-8 for a Shift-JIS or undecodable file name, a workbook whose library meets a failed write
// is an error and never a broken file with status 0, --help into a closed output fails, a
// written file is said to be written when standard output fails afterwards, and import writes
// nothing when no row matched.
#include "tests/common/cli_run.h"
#include "tests/torvik/torvik_fixture.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
using namespace velmo::test;

namespace {

const std::string TorvikCli = VELMO_TORVIK_CLI;
const std::string VelmokCli = (fs::path(VELMO_TORVIK_CLI).parent_path() / "velmok-cli").string();

bool contains(const std::string &s, const std::string &part) { return s.find(part) != std::string::npos; }

// Parses `json` with Python's strict parser from bytes that must be UTF-8, and prints the
// members `keys` one a line.
Result strictJson(const std::string &json, const std::vector<std::string> &keys)
{
    TempDir io;
    const fs::path in = io.path / "in.json";
    std::ofstream(in, std::ios::binary) << json;
    std::string script = "import json,sys\n"
                         "d = json.loads(open(sys.argv[1], 'rb').read().decode('utf-8', 'strict'))\n";
    for (const std::string &k : keys)
        script += "print(d.get('" + k + "', '-'))\n";
    return runProgram("python3", {"-c", script, in.string()});
}

} // namespace

TEST(CliOutput, JsonOfEveryCommandNamingAFileIsValidUtf8WhateverTheName)
{
    TorvikFixture f;
    const fs::path sjis = f.dir.path / "\x8a\xc7\x8d\xde.csv"; // 管材.csv in Shift-JIS
    const fs::path broken = f.dir.path / "\xff\xfe.fda";       // no code reads these bytes
    std::ofstream(sjis, std::ios::binary) << "15A,1234\n";
    fs::copy_file(f.data(), broken);

    const Result imported = runProgram(TorvikCli, {"import", f.data().string(), "--block", "0", sjis.string()});
    ASSERT_EQ(imported.code, 0) << imported.err;
    const Result i = strictJson(imported.out, {"list", "list_path_bytes", "file_path_bytes"});
    ASSERT_EQ(i.code, 0) << i.err;
    const std::string sjisHex = [&] {
        std::string h;
        for (const unsigned char c : sjis.native())
            h += "0123456789abcdef"[c >> 4], h += "0123456789abcdef"[c & 15];
        return h;
    }();
    EXPECT_EQ(i.out, (f.dir.path / "管材.csv").string() + "\n" + sjisHex + "\n-\n") << i.out;

    for (const std::string &cli : {TorvikCli, VelmokCli}) {
        const Result diff = runProgram(cli, {"diff", f.data().string(), broken.string()});
        ASSERT_EQ(diff.code, 0) << cli << diff.err;
        const Result d = strictJson(diff.out, {"new", "new_path_bytes", "old_path_bytes"});
        ASSERT_EQ(d.code, 0) << cli << d.err;
        std::string hex;
        for (const unsigned char c : broken.native())
            hex += "0123456789abcdef"[c >> 4], hex += "0123456789abcdef"[c & 15];
        EXPECT_EQ(d.out, (f.dir.path / "\xef\xbf\xbd\xef\xbf\xbd.fda").string() + "\n" + hex + "\n-\n")
            << cli << d.out;
    }
}

TEST(CliOutput, AWorkbookWhoseWriteFailedIsAnErrorNamingItNeverABrokenFile)
{
    ASSERT_TRUE(strace());
    TorvikFixture f;
    const fs::path out = f.dir.path / "表.xlsx";
    const std::string check = "import zipfile,sys\nfrom xml.dom import minidom\nz = zipfile.ZipFile(sys.argv[1])\n"
                              "assert z.testzip() is None\n"
                              "for n in z.namelist():\n"
                              "    if n.endswith(('.xml', '.rels')): minidom.parseString(z.read(n))\n";
    int failures = 0;
    for (const auto &args : {std::vector<std::string>{TorvikCli, "xlsx", f.data().string(), out.string(), "--block", "0"},
                             std::vector<std::string>{VelmokCli, "xlsx", f.data().string(), "--pipe", "1", out.string()}}) {
        // The n-th write of the program fails with EIO: most of them are the library's own
        // temporary files.
        for (int n = 1; n <= 30; ++n) {
            fs::remove(out);
            // LeakSanitizer cannot run under ptrace: the sanitizer build leaves leaks to the
            // other tests here.
            const Result r = runShell("ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" "
                                      "strace -f -o /dev/null -e trace=write -e inject=write:error=EIO:when=" +
                                      std::to_string(n) + " " + commandLine(args[0], {args.begin() + 1, args.end()}));
            // A sanitizer build probes memory with writes to a pipe of its own; a failure
            // injected there stops the sanitizer's runtime, not the program, and says nothing
            // about the workbook.
            if (contains(r.err, "SanitizerTool: CHECK failed"))
                continue;
            if (r.code == 0) {
                const Result valid = runProgram("python3", {"-c", check, out.string()});
                EXPECT_EQ(valid.code, 0) << args[0] << " write " << n << " failed, status 0, broken book: " << valid.err;
            } else {
                ++failures;
                EXPECT_EQ(r.code, 2) << r.err;
                EXPECT_TRUE(contains(r.err, out.string())) << r.err;
                EXPECT_FALSE(fs::exists(out)) << "a workbook left after an error";
            }
        }
    }
    EXPECT_GT(failures, 0) << "no injected failure reached the workbook";
}

TEST(CliOutput, HelpIntoAClosedOutputFailsAndAWrittenFileIsSaidToBeWritten)
{
    EXPECT_EQ(runShell(commandLine(TorvikCli, {"--help"}) + " >&-").code, 2);
    EXPECT_EQ(runShell(commandLine(TorvikCli, {"--help"}) + " >/dev/full").code, 2);
    EXPECT_EQ(runShell(commandLine(TorvikCli, {"--help"}) + " >/dev/null").code, 0);

    TorvikFixture f;
    const std::string before = readWholeFile(f.data());
    const Result r = runShell(commandLine(TorvikCli, {"revise", f.data().string(), "--block", "0", "--percent", "10",
                                                     "--write"}) +
                              " >/dev/full");
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(contains(r.err, "ファイル " + f.data().string() + " は書き込みました。標準出力に書き込めません")) << r.err;
    EXPECT_NE(readWholeFile(f.data()), before);
}

TEST(CliOutput, ImportWithNothingMatchedWritesNothingAndSaysSo)
{
    TorvikFixture f;
    const fs::path list = f.dir.path / "list.csv";
    std::ofstream(list) << "999A,1234\n";
    const std::string before = readWholeFile(f.data());
    const Result r = runProgram(TorvikCli, {"import", f.data().string(), "--block", "0", list.string(), "--write"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "書き込みませんでした")) << r.err;
    EXPECT_EQ(r.json()["written"].str(), "false");
    EXPECT_EQ(readWholeFile(f.data()), before);

    // An empty list and a list whose quote never ends are named.
    for (const std::string &text : {std::string(), std::string("\"15A,1234\n")}) {
        std::ofstream(list, std::ios::trunc) << text;
        const Result e = runProgram(TorvikCli, {"import", f.data().string(), "--block", "0", list.string()});
        EXPECT_EQ(e.code, 2);
        EXPECT_TRUE(contains(e.err, list.string())) << e.err;
    }
}

TEST(CliOutput, APdfThePrintProgramCannotWriteSaysWhyInItsWords)
{
    const fs::path korrel = fs::path(TorvikCli).parent_path() / "korrel";
    if (!fs::exists(korrel))
        GTEST_SKIP() << "built without the windows: no print program";
    TorvikFixture f;
    const fs::path pdf = f.dir.path / "ない" / "表.pdf";
    const Result r = runProgram(TorvikCli, {"pdf", f.data().string(), pdf.string(), "--block", "0"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(contains(r.err, "PDF " + pdf.string() + " は作られていません")) << r.err;
    EXPECT_TRUE(contains(r.err, pdf.string() + " に書き込めません")) << "the print program's cause is missing: " << r.err;
}
