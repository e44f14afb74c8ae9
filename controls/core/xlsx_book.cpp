#include "controls/core/xlsx_book.h"

#include "controls/core/errors.h"
#include "controls/core/fileio.h"
#include "controls/core/scratch_folder.h"
#include "controls/core/zip_workbook.h"

#include <algorithm>
#include <cerrno>

namespace velmo {

namespace fs = std::filesystem;

namespace {

constexpr size_t MaxSheetName = 31;

// The number of characters of UTF-8 text.
size_t characters(const std::string &s)
{
    size_t n = 0;
    for (const char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

// The first `n` characters of UTF-8 text.
std::string firstCharacters(const std::string &s, size_t n)
{
    size_t i = 0, count = 0;
    while (i < s.size()) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (count == n)
                break;
            ++count;
        }
        ++i;
    }
    return s.substr(0, i);
}

// The cause of a failed workbook in Japanese; the library's own texts are English.
std::string libraryErrorText(lxw_error e)
{
    switch (e) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED: return "メモリーが足りません";
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE: return "一時フォルダーに書き込めません (" + systemErrorText(errno) + ")";
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD: return "ブックを圧縮できません (" + systemErrorText(errno) + ")";
    default: return "Excel 出力でエラー " + std::to_string(static_cast<int>(e)) + " が発生しました";
    }
}

} // namespace

void xlsxCheck(lxw_error e)
{
    if (e != LXW_NO_ERROR)
        throw IoError(libraryErrorText(e));
}

XlsxBook::XlsxBook(const fs::path &file, const fs::path &scratch) : scratch_(scratch.string())
{
    lxw_workbook_options options{};
    options.tmpdir = scratch_.data();
    book_ = workbook_new_opt(file.c_str(), &options);
    if (!book_)
        throw IoError("一時フォルダーにブックを作れません");
}

XlsxBook::~XlsxBook()
{
    if (book_)
        workbook_close(book_); // only after a failure: close() has released it otherwise
}

lxw_worksheet *XlsxBook::addSheet(const std::string &name)
{
    lxw_worksheet *ws = workbook_add_worksheet(book_, name.c_str());
    if (!ws)
        throw IoError("シート「" + name + "」を作れません");
    return ws;
}

lxw_format *XlsxBook::format(const std::string &numberFormat, bool bold, bool border, bool centre)
{
    const std::string key = numberFormat + (bold ? "|b" : "|") + (border ? "|r" : "|") + (centre ? "|c" : "|");
    auto it = formats_.find(key);
    if (it != formats_.end())
        return it->second;
    lxw_format *f = workbook_add_format(book_);
    if (!f)
        throw IoError(libraryErrorText(LXW_ERROR_MEMORY_MALLOC_FAILED));
    if (!numberFormat.empty())
        format_set_num_format(f, numberFormat.c_str());
    if (bold)
        format_set_bold(f);
    if (border)
        format_set_border(f, LXW_BORDER_THIN);
    if (centre) {
        format_set_align(f, LXW_ALIGN_CENTER);
        format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    }
    formats_.emplace(key, f);
    return f;
}

void XlsxBook::close()
{
    const lxw_error e = workbook_close(book_);
    book_ = nullptr;
    xlsxCheck(e);
}

std::string xlsxNumberFormat(bool grouping, int decimals)
{
    std::string f = grouping ? "#,##0" : "0";
    if (decimals > 0)
        f += "." + std::string(static_cast<size_t>(decimals), '0');
    return f;
}

int decimalsOf(Currency c)
{
    int64_t frac = c.raw() % Currency::Scale;
    if (frac < 0)
        frac = -frac;
    if (frac == 0)
        return 0;
    int d = 4;
    while (frac % 10 == 0) {
        frac /= 10;
        --d;
    }
    return d;
}

std::string safeSheetName(const std::string &text, const std::string &fallback, const std::vector<std::string> &taken)
{
    std::string name;
    for (const char c : text)
        name += std::string("[]:*?/\\").find(c) != std::string::npos ? '_' : c;
    while (!name.empty() && name.front() == '\'')
        name.erase(0, 1);
    while (!name.empty() && name.back() == '\'')
        name.pop_back();
    if (name.empty())
        name = fallback;
    name = firstCharacters(name, MaxSheetName);
    const std::string base = name;
    for (int n = 2; std::find(taken.begin(), taken.end(), name) != taken.end(); ++n) {
        const std::string suffix = "(" + std::to_string(n) + ")";
        name = firstCharacters(base, MaxSheetName - characters(suffix)) + suffix;
    }
    return name;
}

std::string xlsxBookBytes(const fs::path &target, const std::function<void(XlsxBook &)> &fill)
{
    try {
        const ScratchFolder scratch("Excelファイル");
        const fs::path file = scratch.path() / "book.xlsx";
        {
            XlsxBook book(file, scratch.path());
            fill(book);
            book.close();
        }
        std::string bytes = readWholeFile(file);
        checkWrittenWorkbook(target, bytes);
        return bytes;
    } catch (const IoError &e) {
        throw IoError("Excelファイル " + target.string() + " を作れません: " + std::string(errorCause(e)));
    }
}

} // namespace velmo
