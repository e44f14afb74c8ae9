#pragma once
// A small INI file: "[section]" lines and "key=value" lines. Section and key names are
// compared without regard to case; the file is written whole with CR LF.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

class IniFile {
public:
    // A missing file reads as empty; an unreadable one raises IoError.
    static IniFile read(const std::filesystem::path &path);
    // The sections and keys of a file's CP932 bytes.
    static IniFile parse(std::string_view cp932Bytes);
    std::optional<std::string> value(const std::string &section, const std::string &key) const;
    // An integer value; a missing key or one that is not a number gives `fallback`.
    int intValue(const std::string &section, const std::string &key, int fallback) const;
    void set(const std::string &section, const std::string &key, const std::string &value);
    void write(const std::filesystem::path &path) const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    Section *find(const std::string &section);
    const Section *find(const std::string &section) const;
    std::vector<Section> sections_;
};

} // namespace velmo
