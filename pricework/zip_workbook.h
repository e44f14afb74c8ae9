#pragma once
// An .xlsx workbook opened from its bytes with libzip: its parts unpacked whole (their checksums
// checked) and parsed as XML. Reading a supplier's price list and checking a workbook the
// programs wrote both go through here; every failure names the file.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <pugixml.hpp>

struct zip;

namespace velmo {

class ZipWorkbook {
public:
    // Raises IoError naming `file` (read as `kind`) when the bytes are no ZIP archive. The bytes
    // must outlive it.
    ZipWorkbook(const std::filesystem::path &file, const std::string &bytes, const char *kind = nullptr);
    ~ZipWorkbook();
    ZipWorkbook(const ZipWorkbook &) = delete;
    ZipWorkbook &operator=(const ZipWorkbook &) = delete;

    bool has(const std::string &part) const;
    // The names of all parts, in the archive's order.
    std::vector<std::string> partNames() const;
    // The part unpacked whole; at most `maxBytes`.
    std::string part(const std::string &name, uintmax_t maxBytes) const;
    // The part as an XML document.
    void xml(const std::string &name, pugi::xml_document &doc, uintmax_t maxBytes) const;

    // What the archive is read as, for the messages of fail (an Excel book unless told).
    void setKind(const char *kind) { kind_ = kind; }
    [[noreturn]] void fail(const std::string &cause) const;

private:
    std::filesystem::path file_;
    const char *kind_;
    struct zip *zip_ = nullptr;
};

// Checks a workbook the programs wrote before it takes its name: every part unpacks whole with
// its checksum, every XML part (".xml", ".rels") parses, and the parts every workbook needs are
// there. Raises IoError naming `file` and the part.
void checkWrittenWorkbook(const std::filesystem::path &file, const std::string &bytes);

} // namespace velmo
