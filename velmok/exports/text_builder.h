#pragma once
// The delimited text of the selected pipe's rows: the CSV file, the clipboard and the print
// data all come from this one builder. Each location gives its 14 size rows; every field,
// the last of a line included, is followed by the separator.
#include "velmok/core/calc.h"
#include "velmok/core/velmok_texts.h"
#include "velmok/exports/output_level.h"

#include <iterator>
#include <string>
#include <vector>

namespace velmo {

// Where the text goes: it decides the separator, the location lines and the number texts.
enum class OutputMode { File = 0, Clipboard = 1, Print = 2 };

// The twelve headings of the heading line, with their inner spaces.
using velmoktext::OutputHeadings;
static_assert(std::size(OutputHeadings) == 12);

// The captions of the location tabs of a pipe: the four location names, or the single tab
// "一般" of a pipe in refrigerant mode.
std::vector<std::string> locationTabCaptions(const WorkingTable &table);

// The figures of one size row for a basis of the output (1 … 5 LEVEL, 6 NET).
struct OutputRow {
    std::string size, unit;
    Currency adopted;  // Dn, or C0 for NET
    Currency material; // An, or A0 for NET
    std::array<Currency, 7> factors{};
    std::array<Currency, 7> components{};
    Currency total;    // the unrounded composite Cn, or C0
};
OutputRow outputRow(const WorkingTable &table, int workingRowNumber, Basis basis);

// The text of a calculated table as UTF-8, without the final line end that a file and the
// print data get. `tabs` are the location tab captions (locationTabCaptions).
std::string buildOutputText(const WorkingTable &table, const std::vector<std::string> &tabs, OutputMode mode,
                            const OutputLevelChoice &choice);

// The bytes of a CSV file or of print_Data.dat: the text and one CR LF, in CP932.
std::string outputFileBytes(const std::string &text);

} // namespace velmo
