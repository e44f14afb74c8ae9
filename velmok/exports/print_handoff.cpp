#include "velmok/exports/print_handoff.h"
#include "velmok/core/velmok_texts.h"

#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "handoff/handoff_format.h"
#include "velmok/exports/text_builder.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace velmo {

namespace {

struct Era {
    CalendarDate start;
    const char *name;
};

// Newest first; the names are velmoktext::EraNames in the same order.
constexpr Era Eras[] = {
    {{2019, 5, 1}, velmoktext::EraNames[0]}, {{1989, 1, 8}, velmoktext::EraNames[1]},
    {{1926, 12, 25}, velmoktext::EraNames[2]}, {{1912, 7, 30}, velmoktext::EraNames[3]},
    {{1868, 9, 8}, velmoktext::EraNames[4]},
};

bool onOrAfter(CalendarDate d, CalendarDate start)
{
    if (d.year != start.year)
        return d.year > start.year;
    if (d.month != start.month)
        return d.month > start.month;
    return d.day >= start.day;
}

std::string twoDigits(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string fourDigits(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", n);
    return buf;
}

// Cuts CP932 bytes to at most n bytes without splitting a double-byte character.
std::string cutWhole(const std::string &bytes, size_t n)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t len = cp932::isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + len > n)
            break;
        i += len;
    }
    return bytes.substr(0, std::min(i, bytes.size()));
}

} // namespace

CalendarDate localToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

std::string japaneseEraYear(CalendarDate date)
{
    for (const Era &e : Eras)
        if (onOrAfter(date, e.start))
            return std::string(e.name) + twoDigits(date.year - e.start.year + 1);
    return twoDigits(date.year % 100);
}

std::string japaneseWeekday(CalendarDate date)
{
    using namespace std::chrono;
    const auto &Names = velmoktext::WeekdayNames;
    const year_month_day ymd{year{date.year}, month{static_cast<unsigned>(date.month)},
                             day{static_cast<unsigned>(date.day)}};
    if (!ymd.ok())
        throw RangeError(velmoktext::noSuchDateText(fourDigits(date.year) + "-" + twoDigits(date.month) + "-" +
                                                    twoDigits(date.day)));
    return Names[weekday{sys_days{ymd}}.c_encoding()];
}

std::string printBasisLabel(Basis basis)
{
    requireOutputBasis(basis);
    if (basis == Basis::Net)
        return velmoktext::NetPrintLabel;
    return "(Level" + std::to_string(basisNumber(basis)) + ")";
}

std::string printConfBytes(const std::filesystem::path &programFolder, bool refrigerant)
{
    return handoff::confBytes(printConf(programFolder, refrigerant));
}

handoff::Conf printConf(const std::filesystem::path &programFolder, bool refrigerant)
{
    std::string folder = programFolder.string();
    while (folder.size() > 1 && folder.back() == std::filesystem::path::preferred_separator)
        folder.pop_back();
    handoff::Conf conf;
    conf.iconFile = folder + std::filesystem::path::preferred_separator + "Application.ico";
    conf.refrigerant = refrigerant;
    return conf;
}

handoff::Header printHeader(const WorkingTable &table, Basis basis, CalendarDate date)
{
    handoff::Header h;
    const std::string label = printBasisLabel(basis);
    const PriceRecord &labour = table.row(LabourRow).rec;
    h.year = fourDigits(date.year);
    h.eraYear = japaneseEraYear(date);
    h.month = twoDigits(date.month);
    h.day = twoDigits(date.day);
    h.weekday = japaneseWeekday(date);
    // The two memo texts of the pipe, records 3 and 4; the line is at most 165 bytes, its
    // first part at most 85.
    const std::string key = std::string(handoff::HeaderKeys[7]) + "=";
    const std::string memo =
        cutWhole(cutWhole(cp932::encode(key + table.row(4).rec.name.text()), 85) + cp932::encode(table.row(5).rec.name.text()),
                 165);
    h.memo = cp932::decode(memo.substr(std::min(memo.size(), key.size())));
    h.labour = labour.slots[labourSlot(basis)].toString() + label;
    h.netLabour = labour.slots[labourSlot(Basis::Net)].toString();
    return h;
}

std::string printHeaderBytes(const WorkingTable &table, Basis basis, CalendarDate date)
{
    return handoff::headerBytes(printHeader(table, basis, date));
}

void writePrintHandoff(const std::filesystem::path &folder, const std::string &printData, const WorkingTable &table,
                       Basis basis, CalendarDate date)
{
    // Everything is formed before the first write, so a bad basis or date writes nothing.
    handoff::writeFiles(folder, printConf(folder, table.refrigerant()), printHeader(table, basis, date),
                        outputFileBytes(printData));
}

} // namespace velmo
