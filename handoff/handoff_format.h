#pragma once
// Reading and writing the print hand-off: Print.conf, print_header.dat and print_Data.dat in
// one folder, CP932 text with CR LF line ends. velmok writes them, korrel reads them; both go
// through these functions, so that the format is defined once (docs/print-handoff.md).
#include "handoff/handoff_files.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace velmo::handoff {

// The settings of Print.conf.
struct Conf {
    std::string applicationTitle = "Velmaro";
    std::string dataTitle = DataTitle;
    std::string styleFile;
    std::string iconFile;
    bool refrigerant = false; // [File_Mask]=vmr, otherwise vmk
    // A price list ([File_Mask]=vpl) has the headings of its price columns and their groups;
    // the composite unit price table has none.
    std::vector<std::string> columns, columnGroups;
    bool priceList() const { return !columns.empty(); }
};

// The heading values of print_header.dat, [ta] … [tj] ([tf] and [tg] are always empty).
struct Header {
    std::string year, eraYear, month, day, weekday; // [ta] … [te]
    std::string memo;                               // [th]
    std::string labour;                             // [ti]: the price of the basis and its label
    std::string netLabour;                          // [tj]
};

// One line of print_Data.dat: the 23 fields as written.
using Row = std::array<std::string, DataFields>;

// The three files of a folder.
struct Files {
    Conf conf;
    Header header;
    std::vector<Row> rows;
};

// The file texts as CP932 bytes.
std::string confBytes(const Conf &conf);
std::string headerBytes(const Header &header);

// Writes print_Data.dat (`dataBytes`, CP932 lines already), Print.conf and print_header.dat
// into `folder`, in this order, each whole. A file that cannot be written raises IoError; the
// files written before it stay.
void writeFiles(const std::filesystem::path &folder, const Conf &conf, const Header &header, const std::string &dataBytes);

// Reads the three files of `folder`. A missing or unreadable file, or a data line that does not
// hold 23 ";"-terminated fields, raises IoError naming the file (and the line).
Files readFiles(const std::filesystem::path &folder);

} // namespace velmo::handoff
