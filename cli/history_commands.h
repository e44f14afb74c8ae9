#pragma once
// The commands of a price file's earlier versions that velmok-cli, torvik-cli and selvan-cli
// share: history (the versions as JSON), show (one version's content), restore (a version
// written back as a new write, so that it can be undone too) and the versions "FILE@N" that
// diff compares.
#include "base/file_history.h"
#include "base/json_writer.h"
#include "base/usage_text.h"
#include "pricefile/price_changes.h"
#include "pricefile/price_versions.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

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
