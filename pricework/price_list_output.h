#pragma once
// A price list of torvik or selvan out of the program: printed through the print program
// (one hand-off folder per block, so that each block is a page of its own with its memo in the
// heading), saved as PDF by the print program for the command lines, or written as a CSV file
// or an Excel workbook. The window commands of both programs are here, GUI-free; the programs
// only say which blocks the list holds.
#include "pricework/price_list.h"
#include "base/program_homes.h"
#include "base/user_interface.h"
#include "handoff/handoff_format.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmo::handoff {

// The hand-off files of one block of a price list: Print.conf with its columns, the memo in
// print_header.dat and one data line per named size (one empty line when it has none, so that
// the block still gets its page).
Conf priceListConf(const PriceList &list, const std::string &applicationTitle, const std::filesystem::path &folder);
std::string priceListDataBytes(const PriceList &list, const PriceListBlock &block);

// Writes one hand-off folder per block into `folder` ("01", "02" … in the order of the list),
// after removing what an earlier list left there, and returns them. A list with more price
// columns than a data line holds raises RangeError; a file that cannot be written IoError.
std::vector<std::filesystem::path> writePriceListHandoff(const std::filesystem::path &folder, const PriceList &list,
                                                         const std::string &applicationTitle);

// One line of print_Data.dat as CP932 bytes with its CR LF: every field followed by ";", a ";"
// inside a field written as the full-width "；".
std::string dataLineBytes(const Row &row);

// A PDF made by the print program found beside `programFolder` or on PATH from the hand-off
// folders that `write` puts into the private folder it is given, in the order returned. Every
// failure raises IoError naming `out`; nothing is left at `out` then.
void writeHandoffPdf(const std::function<std::vector<std::filesystem::path>(const std::filesystem::path &)> &write,
                     const std::filesystem::path &out, const std::filesystem::path &programFolder);

// The command lines' pdf: the list handed to the print program found beside `programFolder` or
// on PATH, through private folders, and the PDF `out` made by it. Every failure raises IoError
// naming `out`; nothing is left at `out` then.
void writePriceListPdf(const PriceList &list, const std::string &applicationTitle, const std::filesystem::path &out,
                       const std::filesystem::path &programFolder);

// The command lines' `csv` (the CSV bytes on standard output), `xlsx` and `pdf` (into `out`)
// of the list of `file`; `programFolder` is where the print program is looked for first. A list
// without a block raises IoError naming the file, and nothing is written.
void runPriceListCommand(const std::string &command, const PriceList &list, const std::filesystem::path &file,
                         const std::filesystem::path &out, const std::filesystem::path &programFolder);
// Whether a command line's command is one of them, and whether it writes into OUT.
bool isPriceListCommand(const std::string &command);
bool priceListCommandTakesOut(const std::string &command);
// The folder of the running program, for the print program beside it.
std::filesystem::path runningProgramFolder();

// ---- the window commands ----
// Which blocks the person wants: the one shown, every named block, or nothing (cancelled).
enum class PriceListScope { Current, AllNamed };
std::optional<PriceListScope> askPriceListScope(UserInterface &ui);

// "価格表の印刷…": the hand-off folders under the user's hand-off folder, then the print
// program with them; a notice when it is missing or does not start.
void printPriceList(UserInterface &ui, const PriceList &list, const std::string &applicationTitle,
                    const ProgramHomes &homes);
// "価格表をCSVファイルとして出力…" and "価格表をExcelファイルとして出力…": a file chosen, the
// list written whole, a notice naming it. A failed write raises IoError naming the file.
void exportPriceListCsv(UserInterface &ui, const PriceList &list);
void exportPriceListXlsx(UserInterface &ui, const PriceList &list);

// The bytes of the two files.
std::string priceListCsvBytes(const PriceList &list);
std::string priceListXlsxBytes(const PriceList &list, const std::filesystem::path &target);

} // namespace velmo::handoff
