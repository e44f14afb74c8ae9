#pragma once
// The earlier versions of the price files (base/file_history.h) as price files: a version read
// with the checks of a price file, two contents compared, the changes between each version and
// the one before it, and a version written back as a new save.
#include "base/file_history.h"
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

// The name a version is given in messages and reports: "FILE@N".
std::string versionLabel(const std::filesystem::path &file, int number);

// The content of version `number` of `file`, checked as a price file read is: its size (the
// file's exactly) besides the version's own size and hash. IoError naming the version.
std::string priceFileVersion(const std::filesystem::path &file, int number, PriceFileKind kind);

// The changes from the price file `older` to `newer`, both held whole; `olderName` and
// `newerName` are what the errors name. IoError when either is not a price file of `kind`.
std::vector<PriceChange> compareContents(PriceFileKind kind, const std::string &older, const std::string &olderName,
                                         const std::string &newer, const std::string &newerName);

// A version with the number of changes from the version before it (nothing for the first, or
// when either cannot be read; then `error` says why this one cannot).
struct PriceFileVersion {
    HistoryVersion version;
    std::optional<size_t> changes;
    std::optional<std::string> error;
};
struct PriceFileHistory {
    std::filesystem::path folder;
    std::vector<PriceFileVersion> versions; // oldest first
    std::vector<std::string> skipped;
};
PriceFileHistory priceFileHistory(const std::filesystem::path &file, PriceFileKind kind);

// Writes `content` (a version's) as the new content of `file` through the shared write, so
// that what the file held is kept as a version of its own. With `asRead`, a file that no
// longer holds those bytes is left as it is: ChangedOnDiskError.
void restoreContent(const std::filesystem::path &file, PriceFileKind kind, const std::string &content,
                    const std::optional<std::string> &asRead);

} // namespace velmo
