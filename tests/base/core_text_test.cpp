#include "base/cp932.h"
#include "base/currency.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "base/settings_file.h"
#include "base/support.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmo;
namespace fs = std::filesystem;

using velmo::test::TempDir;

TEST(CurrencyText, ParseAndPrint)
{
    EXPECT_EQ(Cur("12.5").raw(), 125000);
    EXPECT_EQ(Cur("-0.05").toString(), "-0.05");
    EXPECT_EQ(Cur("+1234").toString(), "1234");
    EXPECT_EQ(Cur("1234.00").toString(), "1234");
    EXPECT_EQ(Cur(".5").toString(), "0.5");
    EXPECT_EQ(Cur("0").toString(), "0");
    EXPECT_EQ(Cur("1.23456").toString(), "1.2345"); // four decimals kept
    EXPECT_EQ(Currency::fromRaw(INT64_MIN).toString(), "-922337203685477.5808");
    for (const char *bad : {"", "-", ".", "1.2.3", "1,000", "12a", " 1", "１２"}) {
        try {
            Currency::parse(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConversionError &e) {
            EXPECT_NE(std::string(e.what()).find(std::string("'") + bad + "'"), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(Currency::parse("99999999999999999999"), ConversionError);
    // The edges of the range, and just past them (found by fuzzing: the last digits overflowed).
    EXPECT_EQ(Cur("922337203685477.5807").raw(), INT64_MAX);
    EXPECT_EQ(Cur("-922337203685477.5808").raw(), INT64_MIN);
    EXPECT_THROW(Currency::parse("922337203685477.5808"), ConversionError);
    EXPECT_THROW(Currency::parse("922337203685477.5827"), ConversionError);
    EXPECT_THROW(Currency::parse("-922337203685477.5809"), ConversionError);
    EXPECT_THROW(Currency::parse("922337203685478"), ConversionError);
}

TEST(Cp932, EncodeCutDecode)
{
    const std::string pipe = "配管用炭素鋼鋼管（白）";
    const std::string bytes = cp932::encode(pipe);
    EXPECT_EQ(bytes.size(), 22u); // eleven double-byte characters
    EXPECT_EQ(cp932::decode(bytes), pipe);
    EXPECT_EQ(cp932::encode("ｍ"), "\x82\x8D");
    EXPECT_EQ(cp932::encode("ﾌﾗﾝｼﾞ").size(), 5u); // half-width katakana are single bytes

    // A cut in the middle of a character leaves its lead byte; decoding drops it quietly.
    bool clean = false;
    EXPECT_EQ(cp932::decode(cp932::cut(bytes, 5), &clean), "配管");
    EXPECT_TRUE(clean);
    // A stray byte inside the text is shown, not hidden, and reported.
    EXPECT_EQ(cp932::decode(std::string("A\x81" "B\xA0\xFD", 5), &clean).substr(0, 1), "A");
    EXPECT_FALSE(clean);
    // Characters the code page cannot hold become "?".
    EXPECT_EQ(cp932::encode("A😀B"), "A?B");

    // fit: what a field of n bytes holds, cut between characters, never inside one.
    EXPECT_EQ(cp932::fit(pipe, 22), pipe);
    EXPECT_EQ(cp932::fit(pipe, 5), "配管");
    EXPECT_EQ(cp932::fit("1234567", 6), "123456");
    EXPECT_EQ(cp932::fit("ﾌﾗﾝｼﾞ配管", 6), "ﾌﾗﾝｼﾞ");
    EXPECT_EQ(cp932::fit("A配", 2), "A");
    EXPECT_EQ(cp932::fit("A😀B配", 3), "A?B"); // cut: as the field holds it
    EXPECT_EQ(cp932::fit("A😀B", 3), "A😀B");   // fits: as typed
    EXPECT_EQ(cp932::length("配管A"), 5u);

    // fitEdit: one character typed beyond the field is refused wherever the caret was; a
    // paste is cut at its end.
    EXPECT_EQ(cp932::fitEdit("123456", "1234X56", 6), "123456");
    EXPECT_EQ(cp932::fitEdit("12345", "12345配", 6), "12345");
    EXPECT_EQ(cp932::fitEdit("1234", "1234配", 6), "1234配");
    EXPECT_EQ(cp932::fitEdit("", "1234567", 6), "123456");
    EXPECT_EQ(cp932::fitEdit("12", "1abcdefg2", 6), "1abcde");
}

TEST(Cp932, TheValidityTablesAgreeWithTheConverterOnEveryByteAndPair)
{
    auto converterSays = [](const std::string &bytes) {
        bool clean = true;
        cp932::decode(bytes, &clean);
        return clean;
    };
    auto valid = [](const std::string &bytes) { return cp932::inspect(bytes) != cp932::TextState::Invalid; };
    for (int a = 0; a < 256; ++a) {
        const std::string one(1, static_cast<char>(a));
        ASSERT_EQ(valid(one), converterSays(one)) << a;
        for (int b = 0; b < 256; ++b) {
            const std::string two{static_cast<char>(a), static_cast<char>(b)};
            ASSERT_EQ(valid(two), converterSays(two)) << a << " " << b;
            // A pair before a lone lead byte, and a lone lead byte after a single.
            ASSERT_EQ(valid(two + "\x82"), converterSays(two + "\x82")) << a << " " << b;
        }
    }
    EXPECT_EQ(cp932::inspect("\x8a\xc7\x8d"), cp932::TextState::CutAfterLeadByte);
    EXPECT_EQ(cp932::inspect("\x8a\xc7"), cp932::TextState::Valid);
}

TEST(SettingsFile, ReadSplitsAtFirstEqualsAndWritesCp932CrLf)
{
    TempDir dir;
    const fs::path p = dir.path / "velmo_p.conf";
    {
        std::ofstream f(p, std::ios::binary);
        f << cp932::encode("[GROUP_NAME1]=給水=上水\r\n junk line\r\n[group_name2]=x\n[GROUP_NAME3]=\r\n");
    }
    auto s = SettingsFile::read(p);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->value("[GROUP_NAME1]"), "給水=上水");
    EXPECT_FALSE(s->value("[GROUP_NAME2]")); // keys are compared exactly
    EXPECT_EQ(s->value("[GROUP_NAME3]"), "");
    s->set("[GROUP_NAME1]", "排水");
    s->write(p);
    EXPECT_EQ(readWholeFile(p), cp932::encode("[GROUP_NAME1]=排水\r\n[group_name2]=x\r\n[GROUP_NAME3]=\r\n"));
    EXPECT_FALSE(SettingsFile::read(dir.path / "missing.conf"));
}

TEST(SupportRoutines, AStoredPriceShowsExactlyItsDecimals)
{
    EXPECT_EQ(FormatStoredMoney(Cur("1234.6")), "1,234.6");
    EXPECT_EQ(FormatStoredMoney(Cur("1234")), "1,234");
    EXPECT_EQ(FormatStoredMoney(Cur("1800.4")), "1,800.4");
    EXPECT_EQ(FormatStoredMoney(Cur("0.0005")), "0.0005");
    EXPECT_EQ(FormatStoredMoney(Cur("-0.05")), "-0.05");
    EXPECT_EQ(FormatStoredMoney(Cur("-1234567.25")), "-1,234,567.25");
    EXPECT_EQ(FormatStoredMoney(Currency()), "0");
    EXPECT_EQ(FormatStoredMoney(Currency::fromRaw(INT64_MIN)), "-922,337,203,685,477.5808");
}

TEST(SupportRoutines, SplitFieldCleanNumberFormatMoney)
{
    EXPECT_EQ(SplitField("a;b;c;", 1), "a");
    EXPECT_EQ(SplitField("a;b;c;", 3), "c");
    EXPECT_EQ(SplitField("a;b;c;", 5), "c");
    EXPECT_EQ(SplitField("3;5", 2), "3"); // "5" has no ";" after it
    EXPECT_EQ(SplitField("abc", 1), "");
    EXPECT_EQ(CleanNumberText("1,234,567"), "1234567");
    EXPECT_EQ(CleanNumberText(""), "0");
    EXPECT_EQ(CleanNumberText(","), "0");
    EXPECT_EQ(FormatMoney(Cur("1234567")), "1,234,567");
    EXPECT_EQ(FormatMoney(Cur("-1234")), "-1,234");
    EXPECT_EQ(FormatMoney(Cur("999")), "999");
    EXPECT_EQ(FormatMoney(Cur("0")), "0");
    EXPECT_EQ(FormatMoney(Cur("1000.5")), "1,001");
    EXPECT_EQ(FormatMoney(Cur("-0.4")), "0");
}

TEST(SupportRoutines, LongPathNameIsAbsoluteAndSpelledAsOnDisk)
{
    TempDir dir;
    fs::create_directories(dir.path / "Data" / "Sub");
    const std::string real = fs::canonical(dir.path).string();
    EXPECT_EQ(LongPathName(real + "/data/SUB"), real + "/Data/Sub");
    EXPECT_EQ(LongPathName(real + "/Data/./Sub/"), real + "/Data/Sub");
    EXPECT_EQ(LongPathName(real + "/data/missing/x.fda"), real + "/Data/missing/x.fda");
    const fs::path cwd = fs::current_path();
    fs::current_path(real);
    EXPECT_EQ(LongPathName("Data"), real + "/Data");
    fs::current_path(cwd);
}

TEST(FileIo, AtomicWriteReplacesWholeAndKeepsOldFileOnFailure)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai1.fda";
    writeFileAtomically(p, "first");
    writeFileAtomically(p, "second");
    EXPECT_EQ(readWholeFile(p), "second");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
    try {
        writeFileAtomically(dir.path / "no-such-folder" / "x.fda", "data");
        ADD_FAILURE();
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("no-such-folder"), std::string::npos);
    }
    EXPECT_THROW(readWholeFile(dir.path / "missing"), IoError);
}

TEST(FileIo, AStampSeesOneChangedByteAnywhereEvenWithTheOldModificationTime)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai1.fda";
    std::string bytes(432000 + 13, '\0'); // whole words and a tail
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 % 251);
    writeFileAtomically(p, bytes);
    const FileStamp stamp = stampOf(p, bytes);
    EXPECT_FALSE(changedOnDisk(stamp, p));
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    for (const size_t at : {size_t{0}, size_t{7}, size_t{8}, size_t{215999}, size_t{431999}, size_t{432000},
                            bytes.size() - 1}) {
        std::string changed = bytes;
        changed[at] = static_cast<char>(changed[at] ^ 0x80);
        writeFileAtomically(p, changed);
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, 0), 0);
        EXPECT_TRUE(changedOnDisk(stamp, p)) << "byte " << at;
    }
    writeFileAtomically(p, bytes);
    EXPECT_FALSE(changedOnDisk(stamp, p)); // the same bytes again
    fs::remove(p);
    EXPECT_TRUE(changedOnDisk(stamp, p));
}

TEST(FileIo, AtomicWriteThroughASymbolicLinkReplacesTheTargetAndKeepsTheLink)
{
    TempDir dir;
    fs::create_directories(dir.path / "store");
    const fs::path target = dir.path / "store" / "kanzai1.fda";
    writeFileAtomically(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = dir.path / "kanzai1.fda";
    fs::create_symlink("store/kanzai1.fda", link); // relative, as users make them
    const fs::path chain = dir.path / "current.fda";
    fs::create_symlink(link, chain);

    writeFileAtomically(chain, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(chain));
    EXPECT_EQ(readWholeFile(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Nothing is left in either folder but the files and links.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path / "store"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 3);

    // A link whose target does not exist yet: the target is created, the link stays.
    const fs::path dangling = dir.path / "later.fda";
    fs::create_symlink("store/later.fda", dangling);
    writeFileAtomically(dangling, "made");
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(readWholeFile(dir.path / "store" / "later.fda"), "made");
}

TEST(FileIo, AtomicWriteKeepsTheGroupOfTheFileItReplaces)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai1.fda";
    writeFileAtomically(p, "old");
    // Any supplementary group of ours will do; without one the group cannot differ.
    gid_t groups[64];
    const int n = ::getgroups(64, groups);
    gid_t other = ::getegid();
    for (int i = 0; i < n; ++i)
        if (groups[i] != ::getegid())
            other = groups[i];
    if (::geteuid() == 0)
        other = 12345; // root may give any group
    if (other == ::getegid())
        GTEST_SKIP() << "no second group to give the file";
    ASSERT_EQ(::chown(p.c_str(), static_cast<uid_t>(-1), other), 0);
    writeFileAtomically(p, "new");
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_gid, other);
    EXPECT_EQ(readWholeFile(p), "new");
}

TEST(FileIo, ErrorsNameTheFileAndTheCauseInJapanese)
{
    TempDir dir;
    try {
        readWholeFile(dir.path / "missing.fda");
        ADD_FAILURE();
    } catch (const IoError &e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("missing.fda"), std::string::npos) << m;
        EXPECT_NE(m.find("ありません"), std::string::npos) << m;
    }
    try {
        writeFileAtomically(dir.path / "none" / "x.fda", "x");
        ADD_FAILURE();
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("ありません"), std::string::npos) << e.what();
    }
}

TEST(CurrencyArithmetic, SumsDifferencesAndNegationBeyondTheRangeRaise)
{
    const Currency big = Currency::fromRaw(INT64_MAX - 5);
    EXPECT_EQ((big + Currency::fromRaw(5)).raw(), INT64_MAX);
    EXPECT_THROW(big + Currency::fromRaw(6), RangeError);
    EXPECT_THROW(-big - Currency::fromRaw(7), RangeError);
    EXPECT_THROW(-Currency::fromRaw(INT64_MIN), RangeError);
    Currency sum = big;
    EXPECT_THROW(sum += big, RangeError);
    EXPECT_EQ(sum, big); // unchanged when it raises
    EXPECT_EQ((Cur("1.5") - Cur("2")).toString(), "-0.5");
}
