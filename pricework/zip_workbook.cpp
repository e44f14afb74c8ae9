#include "pricework/zip_workbook.h"

#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "base/errors.h"

#include <zip.h>

#include <memory>

namespace velmo {

ZipWorkbook::ZipWorkbook(const std::filesystem::path &file, const std::string &bytes, const char *kind)
    : file_(file), kind_(kind ? kind : sharedtext::XlsxBookKind)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (src)
        zip_ = zip_open_from_source(src, ZIP_RDONLY, &error);
    if (!zip_) {
        if (src)
            zip_source_free(src);
        zip_error_fini(&error);
        fail(sharedtext::NotZipCause);
    }
    zip_error_fini(&error);
}

ZipWorkbook::~ZipWorkbook()
{
    if (zip_)
        zip_discard(zip_);
}

bool ZipWorkbook::has(const std::string &part) const { return zip_name_locate(zip_, part.c_str(), 0) >= 0; }

std::vector<std::string> ZipWorkbook::partNames() const
{
    std::vector<std::string> names;
    const zip_int64_t n = zip_get_num_entries(zip_, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        const char *name = zip_get_name(zip_, static_cast<zip_uint64_t>(i), 0);
        if (!name)
            fail(sharedtext::NotZipCause);
        names.emplace_back(name);
    }
    return names;
}

std::string ZipWorkbook::part(const std::string &name, uintmax_t maxBytes) const
{
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(zip_, name.c_str(), 0, &st) != 0)
        fail(sharedtext::missingPartCause(name));
    if (!(st.valid & ZIP_STAT_SIZE) || st.size > maxBytes)
        fail(sharedtext::partTooLargeCause(name));
    std::unique_ptr<zip_file_t, int (*)(zip_file_t *)> f(zip_fopen(zip_, name.c_str(), 0), zip_fclose);
    if (!f)
        fail(sharedtext::badPartCause(name));
    std::string out(static_cast<size_t>(st.size), '\0');
    size_t got = 0;
    while (got < out.size()) {
        const zip_int64_t n = zip_fread(f.get(), out.data() + got, out.size() - got);
        if (n <= 0)
            fail(sharedtext::badPartCause(name));
        got += static_cast<size_t>(n);
    }
    // A part longer than its directory entry says is damaged too; at its end libzip compares
    // the checksum.
    char extra;
    if (zip_fread(f.get(), &extra, 1) != 0)
        fail(sharedtext::badPartCause(name));
    return out;
}

void ZipWorkbook::xml(const std::string &name, pugi::xml_document &doc, uintmax_t maxBytes) const
{
    const std::string bytes = part(name, maxBytes);
    if (!doc.load_buffer(bytes.data(), bytes.size()))
        fail(sharedtext::badPartCause(name));
}

void ZipWorkbook::fail(const std::string &cause) const { throw IoError(sharedtext::damagedWorkbookText(file_, cause, kind_)); }

void checkWrittenWorkbook(const std::filesystem::path &file, const std::string &bytes)
{
    const ZipWorkbook book(file, bytes);
    for (const char *needed : {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml"})
        if (!book.has(needed))
            book.fail(sharedtext::missingPartCause(needed));
    const uintmax_t limit = bytes.size() * uintmax_t{1100} + (uintmax_t{1} << 20); // far beyond any real ratio
    for (const std::string &name : book.partNames()) {
        const bool xml = name.size() > 4 && (name.compare(name.size() - 4, 4, ".xml") == 0 ||
                                             (name.size() > 5 && name.compare(name.size() - 5, 5, ".rels") == 0));
        if (xml) {
            pugi::xml_document doc;
            book.xml(name, doc, limit);
        } else {
            book.part(name, limit);
        }
    }
}

} // namespace velmo
