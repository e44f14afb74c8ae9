#pragma once
// The "import" subcommand the batch programs share: its options, the preview of a price list for
// one block, and the preview as JSON. Each program stores the prices into its own block.
#include "base/json_writer.h"
#include "pricework/price_import.h"

#include <filesystem>
#include <functional>
#include <string>

namespace velmo::cli {

struct ImportOptions {
    std::filesystem::path file; // the price file
    int block = -1;
    std::filesystem::path list; // the supplier's price list
    std::string sizeColumn, priceColumn, sheet; // empty: guessed from the headings
    bool write = false, force = false;
};

// "import FILE --block N LIST [--size-column C] [--price-column C] [--sheet NAME] [--write
// [--force]]" from argv[2] on (options as "--name value" or "--name=value"); `parseBlock` turns
// the text of --block into a block number or raises UsageError. A missing block, file or list
// raises UsageError.
ImportOptions parseImportCommand(int argc, char **argv, const std::function<int(const std::string &)> &parseBlock);

// What import read: the sheet and columns, and the preview.
struct ListImport {
    std::string sheet;                   // empty for a text file
    int sizeColumn = 0, priceColumn = 1; // 0-based
    std::optional<int> headingRow;       // 0-based
    ImportPreview preview;
};

// The list read and matched to `target` by the options' sheet and columns. Without --sheet the
// sheet is the first shown one, or the first other shown sheet that holds the headings asked
// for (--size-column or --price-column given as a heading) or, when none is asked for, a size
// or price heading; a sheet other than the first is named on standard error with the --sheet
// that chooses it. A column not given is guessed from the headings (guessColumns).
ListImport previewOfList(const ImportOptions &o, const ImportTarget &target);

// Whether --write stores the preview: not when no row matched (nothing to store), which is
// then said on standard error.
bool importWrites(const ImportOptions &o, const ImportPreview &p);

// The members of the output object: the file, block, list, the sheet and columns read (columns
// counted from 1), whether the file was written, the sizes with their old and new list prices
// and the row each came from, what found no place (the rows of a size that were not taken
// under "duplicates"), and the counts.
void writeImportJson(JsonWriter &j, const ImportOptions &o, const ListImport &l, bool written);

} // namespace velmo::cli
