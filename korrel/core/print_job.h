#pragma once
// What the print program prints: one or more hand-off folders, each with Print.conf,
// print_header.dat and print_Data.dat, read whole and cut into pages, one per location.
#include "handoff/handoff_format.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace velmo::print {

// The heading values of print_header.dat and the settings of Print.conf.
struct PrintHeader {
    std::string applicationTitle, dataTitle;
    bool refrigerant = false; // [File_Mask]=vmr
    std::string year, eraYear, month, day, weekday; // [ta] … [te]
    std::string memo;                               // [th]
    std::string labour;                             // [ti]: the price of the basis and its label
    std::string netLabour;                          // [tj]
    // A price list of torvik or selvan: the headings of its price columns and their groups.
    std::vector<std::string> columns, columnGroups;
    bool priceList() const { return !columns.empty(); }
};

// One line of print_Data.dat: the 23 fields as written.
using PrintRow = handoff::Row;

// The three files of one folder.
struct PrintSet {
    std::filesystem::path folder;
    PrintHeader header;
    std::vector<PrintRow> rows;
};

// One page: the rows of one location of one pipe.
struct PrintPage {
    const PrintHeader *header = nullptr;
    std::array<std::string, 3> pipeNames; // the pipe's name and its second and third lines
    std::string location;
    std::vector<const PrintRow *> rows;
    int number = 1, count = 1; // page number and pages of the whole job
};

// Reads the three files of `folder`. A missing or unreadable file, or a data line that does
// not hold 23 ";"-terminated fields, raises IoError naming the file (and the line).
PrintSet readPrintSet(const std::filesystem::path &folder);

// The pages of the sets in order: a new page wherever the pipe or the location changes, and
// never more rows on a page than a location has (14).
std::vector<PrintPage> paginate(const std::vector<PrintSet> &sets);

// The title of the job and its window: "Velmaro - 複合単価印刷" from the first set's
// Print.conf, "複合単価印刷" when it names none.
std::string jobTitle(const std::vector<PrintSet> &sets);

// Where the print program finds its files when none is named: the working folder when it
// holds Print.conf (velmok starts the program there), else the user's hand-off folder (the
// program's own folder when it runs portable).
std::filesystem::path defaultPrintFolder(const std::filesystem::path &workingFolder,
                                         const std::filesystem::path &handoffFolder);

// The date of the heading in the Japanese calendar: "令和7年05月01日（木）" (the year of the era
// without the hand-off's leading zero); the western year when the era is missing.
std::string headingDate(const PrintHeader &h);

// A plain number of the files with "," grouping of its whole part: 20000 → 20,000,
// -1234.5 → -1,234.5. Any other text is returned as it is.
std::string groupedNumber(const std::string &plain);

// The labour line of the heading: the price grouped and its basis label ("20,000 (Level1)").
std::string labourText(const std::string &value);

} // namespace velmo::print
