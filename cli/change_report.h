#pragma once
// The report of what changed between two price files as the programs give it out: a table
// with a heading row (velmok's dialog, CSV, .xlsx), JSON, and the command line's diff command
// that velmok-cli, torvik-cli and selvan-cli share.
#include "base/json_writer.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"
#include "pricework/table_file.h"
#include "base/usage_text.h"
#include "pricefile/price_changes.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmo {

// The heading row: the block, the name, the size, the location (pipe files only), the field,
// old, new, difference and percent.
std::vector<std::string> changeHeadings(PriceFileKind kind);
// The cells of one change, in the order of the headings. Figures, block numbers and the
// numbers of a move are number cells; what does not apply is an empty text.
TableRow changeCells(const PriceChange &change, PriceFileKind kind);
// The heading row followed by one row per change.
std::vector<TableRow> changeTable(const std::vector<PriceChange> &changes, PriceFileKind kind);

// The table as CSV (CP932, CR LF).
std::string changeCsvBytes(const std::vector<PriceChange> &changes, PriceFileKind kind);
// The table as a workbook of one sheet; IoError naming `target` when it cannot be made.
std::string changeXlsxBytes(const std::vector<PriceChange> &changes, PriceFileKind kind,
                            const std::filesystem::path &target);
// The name of that sheet.
inline constexpr const char *ChangeSheetName = changetext::SheetName;

// The changes as a JSON array of objects, keys in English.
void writeChangesJson(cli::JsonWriter &j, const std::vector<PriceChange> &changes, PriceFileKind kind);

namespace cli {

// The lines a program's usage ends with for its diff command: the command line, what it gives
// and how it numbers the blocks (pipes 1 … 20, equipment blocks 0 … 19).
UsagePart diffUsage(const std::string &program, PriceFileKind kind);

// "PROGRAM diff OLD NEW [--csv | --xlsx OUT]": reads both files whole, then prints the changes
// from OLD to NEW as JSON, or as CSV with --csv, or writes them into the workbook OUT. The exit
// status is 0 whether or not anything changed; a command line that is not this one raises
// UsageError, a file that cannot be read IoError naming it (nothing is written then).
int runDiffCommand(int argc, char **argv, PriceFileKind kind);

} // namespace cli
} // namespace velmo
