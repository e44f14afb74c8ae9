#include "base/ini_file.h"

#include "base/cp932.h"
#include "base/fileio.h"
#include "base/support.h"

#include <charconv>
#include <strings.h>

namespace velmo {
namespace {

bool sameName(const std::string &a, const std::string &b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

} // namespace

IniFile IniFile::read(const std::filesystem::path &path)
{
    const auto bytes = readWholeFileIfPresent(path);
    return bytes ? parse(*bytes) : IniFile();
}

IniFile IniFile::parse(std::string_view cp932Bytes)
{
    IniFile ini;
    Section *current = nullptr;
    for (const std::string &raw : splitTextLines(cp932Bytes)) {
        const std::string line = trimmedText(raw);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string name = line.substr(1, line.size() - 2);
            current = ini.find(name);
            if (!current) {
                ini.sections_.push_back({name, {}});
                current = &ini.sections_.back();
            }
            continue;
        }
        const size_t eq = line.find('=');
        if (current && eq != std::string::npos)
            current->entries.emplace_back(trimmedText(line.substr(0, eq)), trimmedText(line.substr(eq + 1)));
    }
    return ini;
}

IniFile::Section *IniFile::find(const std::string &section)
{
    for (auto &s : sections_)
        if (sameName(s.name, section))
            return &s;
    return nullptr;
}

const IniFile::Section *IniFile::find(const std::string &section) const
{
    return const_cast<IniFile *>(this)->find(section);
}

std::optional<std::string> IniFile::value(const std::string &section, const std::string &key) const
{
    if (const Section *s = find(section))
        for (const auto &[k, v] : s->entries)
            if (sameName(k, key))
                return v;
    return std::nullopt;
}

int IniFile::intValue(const std::string &section, const std::string &key, int fallback) const
{
    const auto v = value(section, key);
    if (!v)
        return fallback;
    int n = 0;
    const auto [p, ec] = std::from_chars(v->data(), v->data() + v->size(), n);
    return ec == std::errc() && p == v->data() + v->size() ? n : fallback;
}

void IniFile::set(const std::string &section, const std::string &key, const std::string &value)
{
    Section *s = find(section);
    if (!s) {
        sections_.push_back({section, {}});
        s = &sections_.back();
    }
    for (auto &[k, v] : s->entries)
        if (sameName(k, key)) {
            k = key;
            v = value;
            return;
        }
    s->entries.emplace_back(key, value);
}

void IniFile::write(const std::filesystem::path &path) const
{
    std::string text;
    for (const auto &s : sections_) {
        text += "[" + s.name + "]\r\n";
        for (const auto &[k, v] : s.entries)
            text += k + "=" + v + "\r\n";
    }
    writeFileAtomically(path, cp932::encode(text));
}

} // namespace velmo
