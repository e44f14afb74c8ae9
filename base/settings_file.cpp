#include "base/settings_file.h"

#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"

namespace velmo {

std::optional<SettingsFile> SettingsFile::read(const std::filesystem::path &path)
{
    const auto bytes = readWholeFileIfPresent(path);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes);
}

SettingsFile SettingsFile::parse(std::string_view cp932Bytes)
{
    SettingsFile file;
    for (const std::string &line : splitTextLines(cp932Bytes)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        file.entries_.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return file;
}

std::optional<std::string> SettingsFile::value(const std::string &key) const
{
    for (const auto &[k, v] : entries_)
        if (k == key)
            return v;
    return std::nullopt;
}

void SettingsFile::set(const std::string &key, const std::string &value)
{
    for (auto &[k, v] : entries_)
        if (k == key) {
            v = value;
            return;
        }
    entries_.emplace_back(key, value);
}

void SettingsFile::write(const std::filesystem::path &path) const
{
    std::string text;
    for (const auto &[k, v] : entries_)
        text += k + "=" + v + "\r\n";
    writeFileAtomically(path, cp932::encode(text));
}

} // namespace velmo
