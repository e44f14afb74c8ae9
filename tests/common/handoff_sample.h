#pragma once
// Hand-off folders for the print program's tests, written as velmok writes them, and the page
// count of a PDF.
#include "base/cp932.h"
#include "base/fileio.h"
#include "handoff/handoff_format.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmo::test {

// One line of print_Data.dat for the pipe 鋼管 白 ねじ接合: the worked example's figures.
inline std::string handoffLine(const std::string &location, const std::string &size, const std::string &k6 = "100")
{
    return "鋼管;白;ねじ接合;" + location + ";" + size +
           ";ｍ;2,800;1,000;1.1;0.3;0.05;0.2;0.05;0.1;0.05;1,100;300;50;200;1,000;" + k6 + ";55;2,805;";
}

// A folder with Print.conf, print_header.dat and 14 data lines for each location (a size in
// the first), written by the writer velmok uses; the K6 field is empty for refrigerant piping.
inline void writeHandoffSet(const std::filesystem::path &folder, const std::vector<std::string> &locations,
                            bool refrigerant = false)
{
    std::filesystem::create_directories(folder);
    handoff::Conf conf;
    conf.iconFile = "/x/Application.ico";
    conf.refrigerant = refrigerant;
    handoff::Header header;
    header.year = "2025";
    header.eraYear = "令和07";
    header.month = "01";
    header.day = "05";
    header.weekday = "日";
    header.memo = "東京都物価版P-12";
    header.labour = "20000(Level1)";
    header.netLabour = "18000";
    std::string data;
    for (const std::string &loc : locations)
        for (int k = 1; k <= 14; ++k)
            data += handoffLine(loc, k == 1 ? "15A" : "", refrigerant ? "" : "100") + "\r\n";
    handoff::writeFiles(folder, conf, header, cp932::encode(data));
}

// The pages of a PDF: the page objects of its page tree.
inline int pdfPageCount(const std::string &pdf)
{
    int pages = 0;
    for (size_t at = pdf.find("/Type"); at != std::string::npos; at = pdf.find("/Type", at + 1)) {
        size_t p = at + 5;
        while (p < pdf.size() && (pdf[p] == ' ' || pdf[p] == '\n' || pdf[p] == '\r'))
            ++p;
        if (pdf.compare(p, 5, "/Page") == 0 && (p + 5 >= pdf.size() || pdf[p + 5] != 's'))
            ++pages;
    }
    return pages;
}

} // namespace velmo::test
