#pragma once
// What the batch programs (velmok-cli, torvik-cli, selvan-cli) share: their usage error, the
// check that a file to read exists, the check command, the blocks a command works on, the
// revise options, printing JSON, and the run of main() with its exit statuses.
#include "base/errors.h"
#include "base/json_writer.h"
#include "pricefile/price_changes.h"
#include "pricework/price_revision.h"

#include <filesystem>
#include <cstdint>
#include <functional>
#include <string>
#include <optional>
#include <stdexcept>
#include <vector>

namespace velmo::cli {

class CommandLine;

// A command line that is not one of the program's: exit status 2, with the usage hint.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A writing command found the file changed by another program since it read it: exit status 3.
using velmo::ChangedOnDiskError;

// The bytes of a file a check command reads: only a regular file, refused before it is read
// when it is larger than `expectedBytes` (a shorter one is read so that its records can be
// checked); a missing file raises IoError naming it.
std::string readFileToCheck(const std::filesystem::path &file, uintmax_t expectedBytes);

// The check command: the malformed fields of a price file of `kind`, one line each on standard
// output; status 0 when there is none, 1 otherwise. Only a regular file of at most the file's
// size is read.
int checkCommand(const std::filesystem::path &file, PriceFileKind kind);

// The command a command line names (argv[1]) when `known` takes it; UsageError otherwise.
std::string commandOf(int argc, char **argv, const std::function<bool(const std::string &)> &known);

// The one block asked for, or all `count` of them.
std::vector<int> selectedOrAll(std::optional<int> one, int count);

// The number of a block or pipe as a command line gives it: one or two digits; nothing for any
// other text. The caller checks the range and says it in its own words.
std::optional<int> blockNumberText(const std::string &text);

// The options of the revise commands: --percent P, --unit U, --round up|down|half and --all.
struct RevisionArgs {
    std::optional<std::string> percent;
    std::string unit = "1";
    std::string round = "half";
    bool all = false;
};
// Declares them on a command's options.
void addRevisionOptions(CommandLine &line, RevisionArgs &args);
// After the command line: a revision needs --percent, and exactly one of --all and the
// command's own block option (`oneBlock`, e.g. "--block N").
void requireRevisionArgs(const RevisionArgs &args, bool blockGiven, const char *oneBlock);

// The revision the options give; a value that is not one of the allowed raises UsageError.
PriceRevision parseRevisionOrUsage(const RevisionArgs &args);

// Records that the command wrote `file`: when standard output fails afterwards, the error says
// that the file was written all the same, so that it does not read as a failed write.
void noteFileWritten(const std::filesystem::path &file);

// The JSON text and a line end on standard output.
void printJson(const JsonWriter &j);

// The fields a pipe price record and an equipment record share, in the order they lie in the
// record, as the dump commands write them.
template <class Record>
void writeRecordHead(JsonWriter &j, const Record &r)
{
    j.key("reserved0").number(int64_t{r.reserved0});
    j.key("name").string(r.name.text());
    j.key("caption").string(r.caption.text());
    j.key("serial").number(r.serial);
    j.key("size").string(r.size.text());
    j.key("reserved144").number(int64_t{r.reserved144});
    j.key("unit").string(r.unit.text());
    j.key("rowTag").number(int64_t{r.rowTag});
}

// main() of a batch program: "--help" or "-h" alone prints `usage` (status 2 too when standard
// output fails), no argument prints it on
// standard error with status 2; otherwise `run` gives the
// exit status, and a failure ends with one line "program: message" on standard error (a usage
// error followed by `usageHint`) and status 2, or 3 for ChangedOnDiskError. Standard output is
// flushed and closed before the status is given: output that did not reach its file (a full
// disk, a closed pipe) is a failure too, never a success.
int runBatch(int argc, char **argv, const char *program, const char *usage, const char *usageHint,
             const std::function<int()> &run);

} // namespace velmo::cli
