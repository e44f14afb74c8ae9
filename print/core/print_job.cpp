#include "print_job.h"

#include "errors.h"
#include "fileio.h"
#include "settings_file.h"

namespace velmo::print {

namespace fs = std::filesystem;

namespace {

SettingsFile readSettings(const fs::path &path, const char *what)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        throw IoError(std::string(what) + " " + path.string() + " はファイルではなくフォルダーです");
    auto file = SettingsFile::read(path);
    if (!file)
        throw IoError(std::string(what) + " " + path.string() + " がありません");
    return *std::move(file);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

PrintSet readPrintSet(const fs::path &folder)
{
    PrintSet set;
    set.folder = folder;
    PrintHeader &h = set.header;

    const SettingsFile conf = readSettings(folder / handoff::ConfFile, "印刷設定ファイル");
    h.applicationTitle = conf.value(handoff::ApplicationTitleKey).value_or("");
    h.dataTitle = conf.value(handoff::DataTitleKey).value_or("");
    h.refrigerant = conf.value(handoff::FileMaskKey).value_or("") == handoff::RefrigerantMask;

    const SettingsFile header = readSettings(folder / handoff::HeaderFile, "印刷見出しファイル");
    std::string *fields[10] = {&h.year, &h.eraYear, &h.month, &h.day, &h.weekday,
                               nullptr, nullptr,    &h.memo,  &h.labour, &h.netLabour};
    for (int i = 0; i < 10; ++i)
        if (fields[i])
            *fields[i] = header.value(handoff::HeaderKeys[i]).value_or("");

    const fs::path data = folder / handoff::DataFile;
    const auto bytes = readWholeFileIfPresent(data);
    if (!bytes)
        throw IoError("印刷データ " + data.string() + " がありません");
    const std::vector<std::string> lines = splitTextLines(*bytes);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string &line = lines[n];
        if (line.empty())
            continue;
        PrintRow row;
        size_t field = 0, start = 0;
        bool ok = line.back() == handoff::DataSeparator;
        while (ok && start < line.size()) {
            const size_t end = line.find(handoff::DataSeparator, start);
            if (field == row.size()) {
                ok = false;
                break;
            }
            row[field++] = line.substr(start, end - start);
            start = end + 1;
        }
        if (!ok || field != row.size())
            throw IoError("印刷データ " + data.string() + " の " + std::to_string(n + 1) + " 行目は「;」で終わる " +
                          std::to_string(handoff::DataFields) + " 項目の行ではありません");
        set.rows.push_back(std::move(row));
    }
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

fs::path defaultPrintFolder(const fs::path &workingFolder, const fs::path &programFolder)
{
    std::error_code ec;
    if (fs::is_regular_file(workingFolder / handoff::ConfFile, ec))
        return workingFolder;
    return programFolder;
}

std::string headingDate(const PrintHeader &h)
{
    if (h.month.empty() && h.day.empty())
        return "";
    std::string text = (h.eraYear.empty() ? h.year : h.eraYear) + "年" + h.month + "月" + h.day + "日";
    if (!h.weekday.empty())
        text += "（" + h.weekday + "）";
    return text;
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
