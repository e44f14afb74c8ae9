// velmok-cli new, dump and check, and its usage errors.
#include "tests/velmok/cli_support.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

TEST(CliNew, CreatesAnEmptyFileAndNeverOverwrites)
{
    TempDir dir;
    const fs::path file = dir.path / "kanzai5.fda";
    Result r = cli({"new", file.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(fs::file_size(file), 432000u);
    const Json dump = cli({"dump", file.string()}).json();
    ASSERT_EQ(dump["records"].size(), 1200u);
    EXPECT_EQ(slotOf(dump, 0, "serial"), "-1199");
    EXPECT_EQ(slotOf(dump, 1199, "serial"), "0");
    EXPECT_EQ(slotOf(dump, 1199, "record"), "1199");
    EXPECT_EQ(dump["records"][17]["name"].str(), "");
    EXPECT_EQ(slotOf(dump, 17, "D5"), "0");
    EXPECT_EQ(cli({"check", file.string()}).code, 0);

    std::ofstream(file) << "keep";
    r = cli({"new", file.string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find(file.string()), std::string::npos) << r.err;
    EXPECT_EQ(readWholeFile(file), "keep");
    EXPECT_EQ(cli({"new", (dir.path / "no-folder" / "x.fda").string()}).code, 2);
}

TEST(CliDump, EveryFieldOfEveryRecord)
{
    TempDir dir;
    const fs::path file = dir.path / "kanzai6.fda";
    ServiceFile f;
    PriceRecord &r = f.record(61);
    r.reserved0 = 7;
    r.reserved144 = -3;
    r.rowTag = 42;
    r.name.assignText("a\"b\\c\t管");
    r.caption.assignText("機械室");
    r.size.assignText("9.5");
    r.unit.assignText("本");
    r.A(0) = Cur("-0.05");
    r.B(7) = Cur("12.5");
    r.D(5) = Cur("1234");
    f.save(file);

    const Result res = cli({"dump", file.string(), "--pipe", "2"});
    ASSERT_EQ(res.code, 0) << res.err;
    const Json j = res.json();
    ASSERT_EQ(j["records"].size(), 60u);
    const Json &rec = j["records"][1];
    EXPECT_EQ(rec["record"].str(), "61");
    EXPECT_EQ(rec["reserved0"].str(), "7");
    EXPECT_EQ(rec["reserved144"].str(), "-3");
    EXPECT_EQ(rec["rowTag"].str(), "42");
    EXPECT_EQ(rec["name"].str(), "a\"b\\c\t管");
    EXPECT_EQ(rec["caption"].str(), "機械室");
    EXPECT_EQ(rec["size"].str(), "9.5");
    EXPECT_EQ(rec["unit"].str(), "本");
    EXPECT_EQ(rec["serial"].str(), "62");
    EXPECT_EQ(rec["A0"].str(), "-0.05");
    EXPECT_EQ(rec["B7"].str(), "12.5");
    EXPECT_EQ(rec["D5"].str(), "1234");
    EXPECT_EQ(rec.size(), 9u + 25u);
}

TEST(CliDump, MissingOrShortFileIsAFileError)
{
    TempDir dir;
    const fs::path missing = dir.path / "kanzai7.fda";
    Result r = cli({"dump", missing.string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(missing.string()), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    EXPECT_FALSE(fs::exists(missing)); // reading never creates the file

    const fs::path shortFile = dir.path / "short.fda";
    std::ofstream(shortFile) << std::string(720, '\0');
    r = cli({"calc", shortFile.string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(shortFile.string()), std::string::npos) << r.err;
}

TEST(CliCheck, ReportsBadCodesLengthsTextAndSize)
{
    TempDir dir;
    const fs::path file = dir.path / "kanzai8.fda";
    ServiceFile f;
    // A field cut inside a double-byte character at full capacity is how long text is stored.
    f.record(30).unit.assignBytes("ab\x82\xA0");
    f.record(31).unit.assignBytes(std::string("abc\x82", 4));
    f.save(file);
    const Result clean = cli({"check", file.string()});
    EXPECT_EQ(clean.code, 0) << clean.out;
    EXPECT_EQ(clean.out, "");

    settingsOf(f, 2).B(1) = Cur("5");   // record 134: not a code
    settingsOf(f, 2).B(4) = Cur("1");   // not a pipe mode
    settingsOf(f, 3).D(2) = Cur("0.3"); // record 194: not an addend
    f.save(file);
    std::string data = readWholeFile(file);
    data[7 * 360 + 4] = static_cast<char>(200); // Name length byte above 80
    data[20 * 360 + 136] = 2;                   // Size: a lead byte followed by a space
    data[20 * 360 + 137] = static_cast<char>(0x81);
    data[20 * 360 + 138] = ' ';
    data[21 * 360 + 148] = 2; // Unit: a lone lead byte short of capacity
    data[21 * 360 + 149] = 'a';
    data[21 * 360 + 150] = static_cast<char>(0x82);
    writeFileAtomically(file, data);
    Result r = cli({"check", file.string()});
    EXPECT_EQ(r.code, 1);
    auto has = [&](const std::string &a, const std::string &b) {
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);)
            if (line.find(a) != std::string::npos && line.find(b) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(has("レコード 134 (管材 3 の 14 行目)", "B1 有効桁: 5 は 0, 1, 10, 100, 1000, 3, 4 のどれでもありません")) << r.out;
    EXPECT_TRUE(has("レコード 134 ", "B4 管材の種類: 1 ")) << r.out;
    EXPECT_TRUE(has("レコード 194 ", "D2 小数以下の処理: 0.3 は 0.9, 0, 0.5 のどれでもありません")) << r.out;
    EXPECT_TRUE(has("レコード 7 ", "Name: 長さ 200 が欄の 80 バイトを超えています")) << r.out;
    EXPECT_TRUE(has("レコード 20 ", "Size: シフトJIS の文字列ではありません")) << r.out;
    EXPECT_TRUE(has("レコード 21 ", "Unit: 2 バイト文字の 1 バイト目で終わっています")) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 6) << r.out;

    data.resize(432000 - 360);
    writeFileAtomically(file, data);
    r = cli({"check", file.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(has(file.string(), "大きさが 431640 バイトです")) << r.out;
}

TEST(CliUsage, BadArgumentsExitWithTwoAndOneLine)
{
    TempDir dir;
    const std::string file = (dir.path / "kanzai9.fda").string();
    ASSERT_EQ(cli({"new", file}).code, 0);
    // Without arguments: the Japanese usage on standard error.
    const Result none = cli({});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.err.rfind("使い方: velmok-cli new FILE", 0), 0u) << none.err;
    EXPECT_EQ(none.out, "");
    const std::vector<std::vector<std::string>> bad = {
        {"frobnicate", file},
        {"calc"},
        {"calc", file, "--pipe", "0"},
        {"calc", file, "--pipe", "21"},
        {"calc", file, "--pipe", "x"},
        {"calc", file, "--pipe"},
        {"calc", file, file},
        {"dump", file, "--write"},
        {"check", file, "--pipe", "1"},
    };
    for (const auto &args : bad) {
        const Result r = cli(args);
        std::string shown;
        for (const auto &a : args)
            shown += a + " ";
        EXPECT_EQ(r.code, 2) << shown;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << shown << r.err;
        EXPECT_EQ(r.out, "") << shown;
    }
}
