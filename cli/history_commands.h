#pragma once
// The commands of a price file's earlier versions that velmok-cli, torvik-cli and selvan-cli
// share: history (the versions as JSON), show (one version's content), restore (a version
// written back as a new write, so that it can be undone too) and the versions "FILE@N" that
// diff compares.
#include "base/file_history.h"
#include "base/json_writer.h"
#include "base/usage_text.h"
#include "pricefile/price_changes.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

// The size a price file of `kind` has.
uintmax_t priceFileBytes(PriceFileKind kind);
// Refuses a price file of `kind` named `name` whose size is not that (IoError saying what it holds).
void checkPriceFileSize(PriceFileKind kind, const std::filesystem::path &name, uintmax_t size);

// The content of version `number` of `file`, checked as a price file read is: its size (the
// file's exactly) besides the version's own size and hash. IoError naming the version.
std::string priceFileVersion(const std::filesystem::path &file, int number, PriceFileKind kind);

// The changes from the price file `older` to `newer`, both held whole; `olderName` and
// `newerName` are what the errors name. IoError when either is not a price file of `kind`.
std::vector<PriceChange> compareContents(PriceFileKind kind, const std::string &older, const std::string &olderName,
                                         const std::string &newer, const std::string &newerName);

// The versions of `file` as JSON, each with the number of changes from the version before it
// (null for the first, or when either cannot be read).
void writeHistoryJson(cli::JsonWriter &j, const std::filesystem::path &file, PriceFileKind kind);

namespace cli {

// A "FILE@N" that names version N of FILE, when no file has that name itself.
struct VersionRef {
    std::filesystem::path file;
    int number = 0;
};
std::optional<VersionRef> versionRefOf(const std::string &word);

// The usage lines of history, show and restore, and their notes.
UsagePart historyUsage(const std::string &program);

// Whether `command` is one of them.
bool isHistoryCommand(const std::string &command);

// "PROGRAM history FILE", "PROGRAM show FILE --version N [--out OUT]",
// "PROGRAM restore FILE --version N [--write [--force]]". Exit status 0; a command line that
// is not one of them raises UsageError, a file or version that cannot be read IoError, a file
// another program changed since restore read it ChangedOnDiskError (nothing written).
int runHistoryCommand(int argc, char **argv, PriceFileKind kind);

} // namespace cli
} // namespace velmo
