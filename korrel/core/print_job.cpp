#include "korrel/core/print_job.h"
#include "korrel/core/korrel_texts.h"

#include "base/errors.h"
#include "base/fileio.h"

namespace velmo::print {

namespace fs = std::filesystem;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

PrintSet readPrintSet(const fs::path &folder)
{
    handoff::Files files = handoff::readFiles(folder);
    PrintSet set;
    set.folder = folder;
    PrintHeader &h = set.header;
    h.applicationTitle = files.conf.applicationTitle;
    h.dataTitle = files.conf.dataTitle;
    h.refrigerant = files.conf.refrigerant;
    h.year = files.header.year;
    h.eraYear = files.header.eraYear;
    h.month = files.header.month;
    h.day = files.header.day;
    h.weekday = files.header.weekday;
    h.memo = files.header.memo;
    h.labour = files.header.labour;
    h.netLabour = files.header.netLabour;
    h.columns = std::move(files.conf.columns);
    h.columnGroups = std::move(files.conf.columnGroups);
    set.rows = std::move(files.rows);
    return set;
}

std::vector<PrintPage> paginate(const std::vector<PrintSet> &sets)
{
    constexpr size_t RowsPerPage = 14;
    std::vector<PrintPage> pages;
    for (const PrintSet &set : sets) {
        bool open = false;
        for (const PrintRow &row : set.rows) {
            const std::array<std::string, 3> names{row[0], row[1], row[2]};
            if (!open || pages.back().pipeNames != names || pages.back().location != row[handoff::LocationField] ||
                pages.back().rows.size() == RowsPerPage) {
                PrintPage page;
                page.header = &set.header;
                page.pipeNames = names;
                page.location = row[handoff::LocationField];
                pages.push_back(std::move(page));
                open = true;
            }
            pages.back().rows.push_back(&row);
        }
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        pages[i].number = static_cast<int>(i + 1);
        pages[i].count = static_cast<int>(pages.size());
    }
    return pages;
}

std::string jobTitle(const std::vector<PrintSet> &sets)
{
    std::string t;
    if (!sets.empty()) {
        const PrintHeader &h = sets.front().header;
        t = h.applicationTitle;
        if (!h.dataTitle.empty())
            t += (t.empty() ? "" : " - ") + h.dataTitle;
    }
    return t.empty() ? handoff::DataTitle : t;
}

fs::path defaultPrintFolder(const fs::path &workingFolder, const fs::path &handoffFolder)
{
    std::error_code ec;
    if (fs::is_regular_file(workingFolder / handoff::ConfFile, ec))
        return workingFolder;
    return handoffFolder;
}

std::string headingDate(const PrintHeader &h)
{
    if (h.month.empty() && h.day.empty())
        return "";
    // The hand-off gives the year of the era in two digits ("令和08"); a printed date writes it
    // as a number is written ("令和8年").
    std::string year = h.eraYear.empty() ? h.year : h.eraYear;
    const size_t digits = year.find_first_of("0123456789");
    if (digits != std::string::npos && digits > 0)
        while (year.size() > digits + 1 && year[digits] == '0' && isDigit(year[digits + 1]))
            year.erase(digits, 1);
    return korreltext::headingDateText(year, h.month, h.day, h.weekday);
}

std::string groupedNumber(const std::string &plain)
{
    size_t i = 0;
    std::string sign;
    if (i < plain.size() && plain[i] == '-')
        sign = plain.substr(i++, 1);
    const size_t digitsStart = i;
    while (i < plain.size() && isDigit(plain[i]))
        ++i;
    const size_t digitsEnd = i;
    if (digitsEnd == digitsStart)
        return plain;
    if (i < plain.size()) {
        if (plain[i] != '.')
            return plain;
        for (size_t j = i + 1; j < plain.size(); ++j)
            if (!isDigit(plain[j]))
                return plain;
    }
    const std::string digits = plain.substr(digitsStart, digitsEnd - digitsStart);
    std::string grouped;
    for (size_t k = 0; k < digits.size(); ++k) {
        if (k > 0 && (digits.size() - k) % 3 == 0)
            grouped += ',';
        grouped += digits[k];
    }
    return sign + grouped + plain.substr(digitsEnd);
}

std::string labourText(const std::string &value)
{
    const size_t open = value.find('(');
    if (open == std::string::npos)
        return groupedNumber(value);
    return groupedNumber(value.substr(0, open)) + " " + value.substr(open);
}

} // namespace velmo::print
