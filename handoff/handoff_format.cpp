#include "handoff/handoff_format.h"
#include "base/shared_texts.h"
#include "handoff/handoff_texts.h"

#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "base/settings_file.h"

namespace velmo::handoff {

namespace fs = std::filesystem;

namespace {

std::string line(const std::string &key, const std::string &value) { return cp932::encode(key + "=" + value) + "\r\n"; }

SettingsFile readSettings(const fs::path &path, const char *what)
{
    auto file = SettingsFile::read(path);
    if (!file)
        throw IoError(sharedtext::missingHandoffFileText(what, path));
    return *std::move(file);
}

std::string fieldList(const std::vector<std::string> &values, size_t count)
{
    std::string s;
    for (size_t i = 0; i < count; ++i)
        s += (i < values.size() ? values[i] : std::string()) + DataSeparator;
    return s;
}

std::vector<std::string> fieldsOf(const std::string &text)
{
    std::vector<std::string> fields;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find(DataSeparator, start);
        if (end == std::string::npos)
            end = text.size();
        fields.push_back(text.substr(start, end - start));
    }
    return fields;
}

} // namespace

std::string confBytes(const Conf &conf)
{
    return line(VersionKey, Version) + line(ApplicationTitleKey, conf.applicationTitle) +
           line(DataTitleKey, conf.dataTitle) + line(StyleFileKey, conf.styleFile) + line(IconFileKey, conf.iconFile) +
           line(FileMaskKey, conf.priceList() ? PriceListMask : conf.refrigerant ? RefrigerantMask : NormalMask) +
           (conf.priceList() ? line(ColumnsKey, fieldList(conf.columns, conf.columns.size())) +
                                   line(ColumnGroupsKey, fieldList(conf.columnGroups, conf.columns.size()))
                             : std::string());
}

std::string headerBytes(const Header &h)
{
    const std::string *values[10] = {&h.year, &h.eraYear, &h.month, &h.day, &h.weekday,
                                     nullptr, nullptr,    &h.memo,  &h.labour, &h.netLabour};
    std::string bytes;
    for (int i = 0; i < 10; ++i)
        bytes += line(HeaderKeys[i], values[i] ? *values[i] : std::string());
    return bytes;
}

void writeFiles(const fs::path &folder, const Conf &conf, const Header &header, const std::string &dataBytes)
{
    // Everything is formed before the first write.
    const std::string confText = confBytes(conf);
    const std::string headerText = headerBytes(header);
    writeFileAtomically(folder / DataFile, dataBytes);
    writeFileAtomically(folder / ConfFile, confText);
    writeFileAtomically(folder / HeaderFile, headerText);
}

Files readFiles(const fs::path &folder)
{
    Files files;
    const SettingsFile conf = readSettings(folder / ConfFile, sharedtext::PrintSettingsFileWord);
    files.conf.applicationTitle = conf.value(ApplicationTitleKey).value_or("");
    files.conf.dataTitle = conf.value(DataTitleKey).value_or("");
    files.conf.styleFile = conf.value(StyleFileKey).value_or("");
    files.conf.iconFile = conf.value(IconFileKey).value_or("");
    files.conf.refrigerant = conf.value(FileMaskKey).value_or("") == RefrigerantMask;
    if (conf.value(FileMaskKey).value_or("") == PriceListMask) {
        files.conf.columns = fieldsOf(conf.value(ColumnsKey).value_or(""));
        files.conf.columnGroups = fieldsOf(conf.value(ColumnGroupsKey).value_or(""));
        files.conf.columnGroups.resize(files.conf.columns.size());
        if (files.conf.columns.empty() || files.conf.columns.size() > static_cast<size_t>(PriceListMaxColumns))
            throw IoError(sharedtext::priceListColumnsText(folder / ConfFile, PriceListMaxColumns));
    }

    const SettingsFile header = readSettings(folder / HeaderFile, sharedtext::PrintHeaderFileWord);
    Header &h = files.header;
    std::string *fields[10] = {&h.year, &h.eraYear, &h.month, &h.day, &h.weekday,
                               nullptr, nullptr,    &h.memo,  &h.labour, &h.netLabour};
    for (int i = 0; i < 10; ++i)
        if (fields[i])
            *fields[i] = header.value(HeaderKeys[i]).value_or("");

    const fs::path data = folder / DataFile;
    const auto bytes = readWholeFileIfPresent(data);
    if (!bytes)
        throw IoError(sharedtext::missingHandoffFileText(sharedtext::PrintDataFileWord, data));
    const std::vector<std::string> lines = splitTextLines(*bytes);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string &text = lines[n];
        if (text.empty())
            continue;
        Row row;
        size_t field = 0, start = 0;
        bool ok = text.back() == DataSeparator;
        while (ok && start < text.size()) {
            const size_t end = text.find(DataSeparator, start);
            if (field == row.size()) {
                ok = false;
                break;
            }
            row[field++] = text.substr(start, end - start);
            start = end + 1;
        }
        if (!ok || field != row.size())
            throw IoError(sharedtext::badHandoffLineText(data, n + 1, DataFields));
        files.rows.push_back(std::move(row));
    }
    return files;
}

} // namespace velmo::handoff
