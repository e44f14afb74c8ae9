#pragma once
// The files velmok hands to the print program: Print.conf (what is printed), print_header.dat
// (the page heading values) and print_Data.dat (the rows), all CP932 with CR LF, beside the
// program. The date is a parameter, so that every text here is a pure function of its inputs.
#include "velmok/core/calc.h"
#include "handoff/handoff_format.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmo {

struct CalendarDate {
    int year = 2000, month = 1, day = 1;
    bool operator==(const CalendarDate &) const = default;
};

// Today in the local time zone.
CalendarDate localToday();

// The Japanese era name and the two-digit year within it: 令和 from 2019-05-01, 平成 from
// 1989-01-08, 昭和 from 1926-12-25, 大正 from 1912-07-30, 明治 from 1868-09-08; the first
// year of an era is "01" ("令和01"). A date before 明治 gives its western year.
std::string japaneseEraYear(CalendarDate date);
// The short Japanese name of the day of the week: 日 月 火 水 木 金 土.
std::string japaneseWeekday(CalendarDate date);

// The basis label of the header's labour price line: "(Level1)" … "(Level5)", "(仕切)" for NET.
std::string printBasisLabel(Basis basis);

// The settings of Print.conf and the values of print_header.dat velmok hands over.
handoff::Conf printConf(const std::filesystem::path &programFolder, bool refrigerant);
handoff::Header printHeader(const WorkingTable &table, Basis basis, CalendarDate date);

// The six lines of Print.conf as CP932 bytes.
std::string printConfBytes(const std::filesystem::path &programFolder, bool refrigerant);
// The ten lines of print_header.dat as CP932 bytes, for the output basis (1 … 5, 6 NET).
std::string printHeaderBytes(const WorkingTable &table, Basis basis, CalendarDate date);

// Writes print_Data.dat (the print data text `printData` and one CR LF), Print.conf and
// print_header.dat into `folder`, in this order, each whole. A file that cannot be written
// raises IoError; the files written before it stay.
void writePrintHandoff(const std::filesystem::path &folder, const std::string &printData, const WorkingTable &table,
                       Basis basis, CalendarDate date);

} // namespace velmo
