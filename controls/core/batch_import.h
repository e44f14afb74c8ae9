#pragma once
// The "import" subcommand the batch programs share: its options, the preview of a price list for
// one block, and the preview as JSON. Each program stores the prices into its own block.
#include "controls/core/json_writer.h"
#include "controls/core/price_import.h"

#include <filesystem>
#include <functional>
#include <string>

namespace velmo::cli {

struct ImportOptions {
    std::filesystem::path file; // the price file
    int block = -1;
    std::filesystem::path list; // the supplier's price list
    std::string sizeColumn = "1", priceColumn = "2", sheet;
    bool write = false, force = false;
};

// "import FILE --block N LIST [--size-column C] [--price-column C] [--sheet NAME] [--write
// [--force]]" from argv[2] on (options as "--name value" or "--name=value"); `parseBlock` turns
// the text of --block into a block number or raises UsageError. A missing block, file or list
// raises UsageError.
ImportOptions parseImportArgs(int argc, char **argv, const std::function<int(const std::string &)> &parseBlock);

// The list read and matched to `target` by the options' sheet and columns.
ImportPreview previewOfList(const ImportOptions &o, const ImportTarget &target);

// Whether --write stores the preview: not when no row matched (nothing to store), which is
// then said on standard error.
bool importWrites(const ImportOptions &o, const ImportPreview &p);

// The members of the output object: the file, block, list, sheet and columns, whether the file
// was written, the sizes with their old and new list prices, what found no place, and the counts.
void writeImportJson(JsonWriter &j, const ImportOptions &o, const ImportPreview &p, bool written);

} // namespace velmo::cli
