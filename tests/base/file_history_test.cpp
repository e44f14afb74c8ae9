// The earlier versions a shared write keeps: the old content byte for byte, pruning by age,
// count and size with a clock of the test's, a version that cannot be kept never stopping a
// save, a save killed at each step, and history folders that are not ours.
#include "base/errors.h"
#include "base/file_history.h"
#include "base/fileio.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;
using namespace std::chrono_literals;

namespace {

std::string contentNumber(int n, size_t size = 432000)
{
    std::string s(size, '\0');
    s.replace(1000, std::to_string(n).size() + 2, "<" + std::to_string(n) + ">");
    return s;
}

// The clock, the settings and the warnings of one test, put back when it ends.
struct HistoryScope {
    Clock::time_point now = Clock::from_time_t(1796860800); // 2026-12-10 00:00 UTC
    std::vector<std::string> warnings;
    HistoryScope()
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        setHistoryClock([this] { return now; });
        setHistoryWarning([this](const std::string &m) { warnings.push_back(m); });
        setHistoryOrigin({"test", "save"});
        setHistorySettings({});
    }
    ~HistoryScope()
    {
        setHistoryClock({});
        setHistoryWarning({});
        setHistorySettings({});
        setHistoryStepHook({});
        planHistoryFault(0, 0);
    }
};

std::vector<int> numbersOf(const HistoryListing &l)
{
    std::vector<int> out;
    for (const HistoryVersion &v : l.versions)
        out.push_back(v.number);
    return out;
}

void save(const fs::path &file, const std::string &bytes) { writeSharedFile(file, bytes, Overwrite::Allowed); }

} // namespace

TEST(FileHistory, EachSaveKeepsWhatItReplacedByteForByteWithWhoAndWhen)
{
    TempDir dir;
    HistoryScope scope;
    const fs::path file = dir.path / "kanzai1.fda";
    save(file, contentNumber(0));
    EXPECT_TRUE(listHistory(file).versions.empty()) << "a new file replaces nothing";
    for (int n = 1; n <= 3; ++n) {
        scope.now += 1min;
        save(file, contentNumber(n));
    }
    // The compose form (the block writers') keeps the same.
    writeSharedFile(file, [](uintmax_t) {}, [](const std::optional<FileContents> &now) {
        EXPECT_EQ(now->bytes, contentNumber(3));
        return contentNumber(4);
    });
    save(file, contentNumber(4)); // the same content again replaces nothing
    const HistoryListing l = listHistory(file);
    ASSERT_EQ(numbersOf(l), (std::vector<int>{1, 2, 3, 4}));
    for (const HistoryVersion &v : l.versions) {
        EXPECT_EQ(versionContent(file, v.number, 432000), contentNumber(v.number - 1));
        EXPECT_EQ(v.program, "test");
        EXPECT_EQ(v.command, "save");
        EXPECT_FALSE(v.user.empty());
        EXPECT_EQ(v.size, 432000u);
        EXPECT_LT(v.storedBytes, 2000u) << "a price file that is mostly zeros packs small";
    }
    EXPECT_EQ(l.versions[1].time, Clock::from_time_t(1796860800) + 2min);
    EXPECT_EQ(l.folder, dir.path / ".velmaro-history" / "kanzai1.fda");
    EXPECT_TRUE(l.skipped.empty());
    EXPECT_TRUE(scope.warnings.empty());
    // A content larger than the caller takes is refused, not read.
    EXPECT_THROW(versionContent(file, 1, 1000), IoError);
    EXPECT_THROW(versionContent(file, 9, 432000), IoError);
}

TEST(FileHistory, FiftySavesADayAreKeptAndPruningKeepsDaysThenMonthsWithinTheBounds)
{
    TempDir dir;
    HistoryScope scope;
    const fs::path file = dir.path / "kanzai1.fda";
    save(file, contentNumber(0));
    for (int n = 1; n <= 50; ++n) {
        scope.now += 10min;
        save(file, contentNumber(n));
    }
    EXPECT_EQ(listHistory(file).versions.size(), 50u);

    // The rule itself, at a time of the test's: versions at noon of each of 400 days back,
    // plus two more on one day of the daily range and two in one month of the monthly range.
    const Clock::time_point now = Clock::from_time_t(1796860800) + 12h;
    std::vector<HistoryVersion> vs;
    int number = 0;
    auto add = [&](Clock::time_point t) {
        HistoryVersion v;
        v.number = ++number;
        v.time = t;
        v.storedBytes = 1000;
        vs.push_back(v);
    };
    for (int day = 400; day >= 0; --day) {
        add(now - 24h * day);
        if (day == 30 || day == 200)
            add(now - 24h * day + 1h);
    }
    HistorySettings unbounded;
    unbounded.maxVersions = 100000;
    unbounded.maxBytes = uintmax_t{1} << 40;
    const std::vector<int> pruned = versionsToPrune(vs, now, unbounded);
    std::vector<HistoryVersion> kept;
    for (const HistoryVersion &v : vs)
        if (std::find(pruned.begin(), pruned.end(), v.number) == pruned.end())
            kept.push_back(v);
    int recent = 0, daily = 0;
    std::set<std::pair<int, int>> months;
    for (const HistoryVersion &v : kept) {
        const auto age = now - v.time;
        if (age < 24h * 7)
            ++recent;
        else if (age < 24h * 90)
            ++daily;
        else {
            const std::time_t t = Clock::to_time_t(v.time);
            std::tm tm {};
            ::gmtime_r(&t, &tm);
            EXPECT_TRUE(months.insert({tm.tm_year, tm.tm_mon}).second) << "two versions of one month kept";
        }
    }
    EXPECT_EQ(recent, 7);
    EXPECT_EQ(daily, 83) << "one a day, the later of day 30's two";
    EXPECT_GE(months.size(), 10u);
    EXPECT_EQ(kept.back().number, vs.back().number);
    EXPECT_TRUE(std::find(pruned.begin(), pruned.end(), vs[vs.size() - 1 - 30 - 1].number) != pruned.end())
        << "day 30's earlier version goes";

    // Count and size: the oldest go first, never the newest.
    HistorySettings few;
    few.maxVersions = 5;
    EXPECT_EQ(vs.size() - versionsToPrune(vs, now, few).size(), 5u);
    HistorySettings small;
    small.maxBytes = 2500;
    const std::vector<int> bySize = versionsToPrune(vs, now, small);
    EXPECT_EQ(vs.size() - bySize.size(), 2u);
    HistorySettings tiny;
    tiny.maxBytes = 10;
    tiny.maxVersions = 1;
    const std::vector<int> all = versionsToPrune(vs, now, tiny);
    EXPECT_EQ(all.size(), vs.size() - 1);
    EXPECT_TRUE(std::find(all.begin(), all.end(), vs.back().number) == all.end());

    // And the store prunes by it: 50 versions of today, eight days later, keep the newest of
    // the day; bounded to 20 versions before that, the 20 newest.
    HistorySettings twenty;
    twenty.maxVersions = 20;
    setHistorySettings(twenty);
    scope.now += 1min;
    save(file, contentNumber(51));
    EXPECT_EQ(numbersOf(listHistory(file)).size(), 20u);
    EXPECT_EQ(numbersOf(listHistory(file)).front(), 32);
    setHistorySettings({});
    scope.now += 24h * 8;
    save(file, contentNumber(52));
    EXPECT_EQ(numbersOf(listHistory(file)), (std::vector<int>{51, 52}));
    EXPECT_EQ(std::distance(fs::directory_iterator(listHistory(file).folder), fs::directory_iterator()), 3)
        << "the pruned versions' files are gone";
}

TEST(FileHistory, AVersionThatCannotBeKeptLeavesTheSaveDoneAndSaysSoOnce)
{
    TempDir dir;
    HistoryScope scope;
    const fs::path file = dir.path / "kanzai1.fda";
    save(file, contentNumber(0));
    save(file, contentNumber(1));
    // A full disk at each step of keeping the version.
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE(step);
        scope.warnings.clear();
        planHistoryFault(step, ENOSPC);
        save(file, contentNumber(10 + step));
        EXPECT_EQ(readWholeFile(file), contentNumber(10 + step));
        ASSERT_EQ(scope.warnings.size(), 1u);
        EXPECT_NE(scope.warnings[0].find(file.string()), std::string::npos) << scope.warnings[0];
        EXPECT_NE(scope.warnings[0].find("空き容量"), std::string::npos) << scope.warnings[0];
        const HistoryListing l = listHistory(file);
        EXPECT_TRUE(l.skipped.empty()) << l.skipped[0];
        for (const HistoryVersion &v : l.versions)
            EXPECT_NO_THROW(versionContent(file, v.number, 432000));
    }
    // The version a save killed before its index line is still listed, from its own header;
    // the failed ones left nothing.
    EXPECT_EQ(listHistory(file).versions.back().size, 432000u);
    // A failed save tells nothing of versions: its own error says it all.
    scope.warnings.clear();
    planHistoryFault(2, ENOSPC);
    EXPECT_THROW(writeSharedFile(file, [](uintmax_t) {}, [](const std::optional<FileContents> &) -> std::string {
                     throw ChangedOnDiskError("changed");
                 }),
                 ChangedOnDiskError);
    EXPECT_TRUE(scope.warnings.empty());
    planHistoryFault(0, 0);
    // Turned off: nothing new is kept.
    HistorySettings off;
    off.enabled = false;
    setHistorySettings(off);
    const size_t before = listHistory(file).versions.size();
    save(file, contentNumber(99));
    EXPECT_EQ(listHistory(file).versions.size(), before);
}

TEST(FileHistory, ASaveKilledAtAnyStepLeavesTheOldFileOrTheNewWithTheCompleteOldVersion)
{
    TempDir dir;
    HistoryScope scope;
    const fs::path file = dir.path / "kanzai1.fda";
    save(file, contentNumber(0));
    // Steps 1 … 5 keep the version, 6 is after it, 7 just before the rename of the new file.
    for (int killAt = 1; killAt <= 7; ++killAt) {
        SCOPED_TRACE(killAt);
        const std::string old = readWholeFile(file);
        const std::string next = contentNumber(100 + killAt);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setHistoryStepHook([killAt](int step) {
                if (step == killAt)
                    ::raise(SIGKILL);
            });
            setBeforeReplaceHook([killAt] {
                if (killAt == 7)
                    ::raise(SIGKILL);
            });
            save(file, next);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        const std::string now = readWholeFile(file);
        const HistoryListing l = listHistory(file);
        EXPECT_TRUE(l.skipped.empty()) << l.skipped[0];
        const bool kept = !l.versions.empty() && versionContent(file, l.versions.back().number, 432000) == old;
        if (now == next)
            EXPECT_TRUE(kept) << "the new file without the complete old version";
        else
            EXPECT_EQ(now, old);
        EXPECT_EQ(kept, killAt >= 5) << "a version is there once renamed";
        // The next save goes on as ever and cleans what the killed one left.
        save(file, contentNumber(200 + killAt));
        EXPECT_EQ(versionContent(file, listHistory(file).versions.back().number, 432000), now);
        for (const auto &e : fs::directory_iterator(l.folder))
            EXPECT_NE(e.path().filename().string().rfind(".tmp.", 0), 0u) << e.path();
    }
}

TEST(FileHistory, AHistoryFolderThatIsALinkOrNotOursIsRefusedAndForeignFilesAreSkipped)
{
    TempDir dir;
    HistoryScope scope;
    const fs::path file = dir.path / "kanzai1.fda";
    save(file, contentNumber(0));
    save(file, contentNumber(1));
    const fs::path folder = listHistory(file).folder;
    // Foreign and damaged files are named and left alone; the versions are still listed.
    std::ofstream(folder / "notes.txt") << "mine";
    std::ofstream(folder / "v000007.zst") << "not a version";
    HistoryListing l = listHistory(file);
    ASSERT_EQ(l.skipped.size(), 2u);
    EXPECT_EQ(numbersOf(l), (std::vector<int>{1}));
    save(file, contentNumber(2));
    l = listHistory(file);
    EXPECT_EQ(numbersOf(l), (std::vector<int>{1, 8})) << "no number is used twice";
    EXPECT_TRUE(fs::exists(folder / "notes.txt"));

    // A link in place of the folder: not followed, not written through, the save done.
    const fs::path elsewhere = dir.path / "elsewhere";
    fs::create_directories(elsewhere);
    fs::remove_all(folder);
    fs::create_directory_symlink(elsewhere, folder);
    const std::string message = [&] {
        try {
            listHistory(file);
        } catch (const IoError &e) {
            return std::string(e.what());
        }
        return std::string();
    }();
    EXPECT_NE(message.find(folder.string()), std::string::npos) << message;
    save(file, contentNumber(3));
    EXPECT_EQ(readWholeFile(file), contentNumber(3));
    ASSERT_EQ(scope.warnings.size(), 1u);
    EXPECT_NE(scope.warnings[0].find("シンボリックリンク"), std::string::npos) << scope.warnings[0];
    EXPECT_TRUE(fs::is_empty(elsewhere));

    // A folder whose index is not ours.
    fs::remove(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "index") << "something else\n";
    EXPECT_THROW(listHistory(file), IoError);
    scope.warnings.clear();
    save(file, contentNumber(4));
    EXPECT_EQ(scope.warnings.size(), 1u);
    EXPECT_EQ(readWholeFile(folder / "index"), "something else\n");
}

TEST(FileHistory, SettingsComeFromTheSettingsFileWithDefaultsForWhatIsMissingOrWrong)
{
    TempDir dir;
    const fs::path ini = dir.path / HistorySettingsFileName;
    EXPECT_EQ(readHistorySettings(ini), HistorySettings{});
    std::ofstream(ini) << "[HISTORY]=0\r\n[HISTORY_MAX_VERSIONS]=50\r\n[HISTORY_MAX_MB]=x\r\n[HISTORY_ALL_DAYS]=-1\r\n";
    const HistorySettings s = readHistorySettings(ini);
    EXPECT_FALSE(s.enabled);
    EXPECT_EQ(s.maxVersions, 50);
    EXPECT_EQ(s.maxBytes, uintmax_t{20} << 20);
    EXPECT_EQ(s.allDays, 7);
}
