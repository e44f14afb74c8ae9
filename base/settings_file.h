#pragma once
// Settings text files: CP932 text, one "[KEY]=value" line per setting, CR LF line ends.
// A line is split at its first "="; keys are compared exactly; other lines are ignored;
// a file is always rewritten whole.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmo {

class SettingsFile {
public:
    using Entry = std::pair<std::string, std::string>; // key (with brackets), value; UTF-8

    // Reads `path`. A missing file gives std::nullopt; an unreadable one raises IoError.
    static std::optional<SettingsFile> read(const std::filesystem::path &path);
    // The settings of a file's CP932 bytes.
    static SettingsFile parse(std::string_view cp932Bytes);

    // The value of the first line whose key is exactly `key`.
    std::optional<std::string> value(const std::string &key) const;
    // Replaces the first line with `key`, or appends one.
    void set(const std::string &key, const std::string &value);
    const std::vector<Entry> &entries() const { return entries_; }

    // Writes every entry as "key=value" CR LF in CP932, whole, through a temporary file.
    void write(const std::filesystem::path &path) const;

private:
    std::vector<Entry> entries_;
};

} // namespace velmo
