#pragma once
// The earlier versions of a price file. Just before a shared write replaces a file, what the
// file held is kept as a version in the history folder beside it,
// ".velmaro-history/<file name>/", so that a folder shared on the network shares its history
// too. Each version is one file "vNNNNNN.zst": a zstd skippable frame with what the index
// says of it (so that a version whose index line was never written is still known), then the
// content as one zstd frame. The index "index" lists the versions, one line each; it is
// written whole through a temporary file. A version is written and flushed before the index
// names it, and both before the new content is renamed over the file: a save killed at any
// step leaves the old file, or the new file with the complete old version.
//
// Every name in the history folder is made here; anything else found there is skipped and
// named, never a reason to fail a save. A history folder that is a symbolic link or not a
// folder of ours is refused. Keeping a version never stops a save: when it fails, the save
// goes on and the person is told once, with the cause.
#include "base/fileio.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// The name of the folder of histories beside the price files.
inline constexpr const char *HistoryFolderName = ".velmaro-history";
// The settings file (in a program's settings folder) that bounds the histories.
inline constexpr const char *HistorySettingsFileName = "history.ini";

// How much history is kept of each file: every version of the last `allDays` days, the newest
// of each day up to `dailyDays` days, the newest of each month before that; never more than
// `maxVersions` versions or `maxBytes` of stored versions (the oldest go first). The newest
// version is never removed. `enabled` false: no new versions are kept (the old stay).
struct HistorySettings {
    bool enabled = true;
    int allDays = 7;
    int dailyDays = 90;
    int maxVersions = 200;
    uintmax_t maxBytes = uintmax_t{20} << 20;
    bool operator==(const HistorySettings &) const = default;
};
// The settings of a settings file ("[HISTORY]=0" turns the history off; "[HISTORY_ALL_DAYS]",
// "[HISTORY_DAILY_DAYS]", "[HISTORY_MAX_VERSIONS]", "[HISTORY_MAX_MB]" bound it). A missing
// file or key, or a value that is not a number of the key's range, gives the default.
HistorySettings readHistorySettings(const std::filesystem::path &settingsFile);

using HistoryClock = std::function<std::chrono::system_clock::time_point()>;

// What the versions a process keeps say of themselves, and where its warnings go. Set once by
// each program at its start; the tests set the clock.
struct HistoryOrigin {
    std::string program; // "velmok", "torvik-cli" …
    std::string command; // "save", "restore", "calc" …
};
void setHistoryOrigin(const HistoryOrigin &origin);
HistoryOrigin historyOrigin();
void setHistorySettings(const HistorySettings &settings);
HistorySettings historySettings();
// The clock versions are stamped and pruned by; empty: the system clock.
void setHistoryClock(HistoryClock clock);
// Where "no version was kept" goes, called once per such save, after the write lock is let
// go, in the thread that saved. Empty: standard error.
void setHistoryWarning(std::function<void(const std::string &message)> warn);

// One version of a file.
struct HistoryVersion {
    int number = 0; // 1, 2, … in the order they were kept; a number is never used twice
    std::chrono::system_clock::time_point time;
    std::string program, command, user, host;
    uintmax_t size = 0;       // of the content
    uint64_t hash = 0;        // contentHash of the content
    uintmax_t storedBytes = 0; // of the version's file
    bool operator==(const HistoryVersion &) const = default;
};

struct HistoryListing {
    std::filesystem::path folder;
    std::vector<HistoryVersion> versions; // oldest first
    std::vector<std::string> skipped;      // what was skipped, one Japanese line each
};

// The history folder of a price file (links followed: the folder beside the real file).
std::filesystem::path historyFolderOf(const std::filesystem::path &file);

// The versions of `file`; an empty listing when it has no history. A history folder that is a
// link or not ours raises IoError saying so.
HistoryListing listHistory(const std::filesystem::path &file);

// The content of version `number`, read whole and checked against its size and hash; IoError
// naming the file and the version when there is no such version or it cannot be read whole.
// `maxBytes`: the largest content the caller takes (a price file's size).
std::string versionContent(const std::filesystem::path &file, int number, uintmax_t maxBytes);

// Keeps `content` (what `file` holds now) as its newest version, then prunes. Called under the
// file's write lock; raises IoError (naming the history folder and the cause) when the version
// could not be kept; what was there stays as it was. Content equal to the newest version is
// not kept twice.
void keepVersion(const std::filesystem::path &file, std::string_view content);

// The versions the rule above removes from `versions` (oldest first) at `now`: their numbers.
std::vector<int> versionsToPrune(const std::vector<HistoryVersion> &versions,
                                 std::chrono::system_clock::time_point now, const HistorySettings &settings);

// The shared write's part (base/fileio.cpp): tells the warning of a save that kept no version
// (setHistoryWarning), and reaches the step hook's step 6.
void tellVersionNotKept(const std::string &message);
void historyStep(int step);

// For tests: the next keepVersion fails with `error` at its `step` (0: none). Steps: 1 the
// version's file is made, 2 written (half of it), 3 flushed, 4 renamed, 5 the index written.
void planHistoryFault(int step, int error);
// For tests: called at each step of a save (1 … 5 as above, 6 after the version is kept, before
// the new content's rename; the rename itself is setBeforeReplaceHook's).
void setHistoryStepHook(std::function<void(int step)> hook);

} // namespace velmo
