#pragma once
// What the batch programs (velmok-cli, selvan-cli) share: their usage error, the check that a
// file to read exists, the blocks a command works on, printing JSON, and the run of main() with
// its exit statuses.
#include "json_writer.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace velmo::cli {

// A command line that is not one of the program's: exit status 2, with the usage hint.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The reading commands never create a file: a missing one raises IoError naming it.
void requireExisting(const std::filesystem::path &file);

// The one block asked for, or all `count` of them.
std::vector<int> selectedOrAll(std::optional<int> one, int count);

// The JSON text and a line end on standard output.
void printJson(const JsonWriter &j);

// main() of a batch program: "--help" or "-h" alone prints `usage`; otherwise `run` gives the
// exit status, and a failure ends with one line "program: message" on standard error (a usage
// error followed by `usageHint`) and status 2.
int runBatch(int argc, char **argv, const char *program, const char *usage, const char *usageHint,
             const std::function<int()> &run);

} // namespace velmo::cli
