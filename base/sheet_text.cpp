#include "base/sheet_text.h"

#include "base/utf8_text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>

namespace velmo {

namespace {

// Full-width and other spreadsheet characters with the ASCII character they stand for.
struct Replacement {
    std::string_view from;
    char to;
};
constexpr Replacement Replacements[] = {
    {"\xEF\xBC\x8C", ','}, // ，
    {"\xEF\xBC\x8E", '.'}, // ．
    {"\xEF\xBC\x8D", '-'}, // －
    {"\xE2\x88\x92", '-'}, // − (minus sign)
    {"\xEF\xBC\x85", '%'}, // ％
    {"\xE3\x80\x80", ' '}, // full-width space
    {"\xC2\xA0", ' '},     // no-break space
};
constexpr std::string_view Yen[] = {"\xC2\xA5", "\xEF\xBF\xA5", "\\"}; // ¥ ￥ and the CP932 yen
constexpr std::string_view YenWord = "\xE5\x86\x86";                  // 円

// The cell with full-width digits and signs made ASCII.
std::string halfWidth(std::string_view s)
{
    std::string out;
    for (size_t i = 0; i < s.size();) {
        // Full-width digits U+FF10 … U+FF19: EF BC 90 … EF BC 99.
        if (i + 2 < s.size() && static_cast<unsigned char>(s[i]) == 0xEF && static_cast<unsigned char>(s[i + 1]) == 0xBC &&
            static_cast<unsigned char>(s[i + 2]) >= 0x90 && static_cast<unsigned char>(s[i + 2]) <= 0x99) {
            out += static_cast<char>('0' + (static_cast<unsigned char>(s[i + 2]) - 0x90));
            i += 3;
            continue;
        }
        bool replaced = false;
        for (const Replacement &r : Replacements)
            if (s.substr(i, r.from.size()) == r.from) {
                out += r.to;
                i += r.from.size();
                replaced = true;
                break;
            }
        if (!replaced)
            out += s[i++];
    }
    return out;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool allDigits(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Whole part with or without "," grouping in threes: "1234", "1,234", "12,345,678".
bool wholePart(std::string_view s, std::string &digits)
{
    if (s.find(',') == std::string_view::npos) {
        digits = std::string(s);
        return allDigits(s);
    }
    size_t first = s.find(',');
    if (first == 0 || first > 3 || !allDigits(s.substr(0, first)))
        return false;
    digits = std::string(s.substr(0, first));
    for (size_t at = first; at < s.size(); at += 4) {
        if (s[at] != ',' || at + 4 > s.size() || !allDigits(s.substr(at + 1, 3)))
            return false;
        digits += s.substr(at + 1, 3);
    }
    return true;
}

} // namespace

namespace {

// The separator of clipboard text: a tab when any tab occurs. Without one, a single column
// copied from a spreadsheet ("1,200" on each line) is told from CSV by every line being one
// figure with "," grouping; such text has no separator at all.
std::optional<char> separatorOf(std::string_view text)
{
    if (text.find('\t') != std::string_view::npos)
        return '\t';
    bool anyComma = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (line.find(',') != std::string_view::npos) {
            anyComma = true;
            if (!sheetNumberText(line, true))
                return ',';
        }
        start = end + 1;
    }
    return anyComma ? std::nullopt : std::optional<char>(',');
}

} // namespace

SheetRows parseSheetText(std::string_view text)
{
    return parseSheetText(text, separatorOf(text));
}

SheetRows parseSheetText(std::string_view text, std::optional<char> sep)
{
    SheetRows rows;
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false, cellStarted = false;
    auto endCell = [&] {
        row.push_back(std::move(cell));
        cell.clear();
        cellStarted = false;
    };
    auto endRow = [&] {
        endCell();
        rows.push_back(std::move(row));
        row.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
            continue;
        }
        if (c == '"' && !cellStarted) {
            quoted = cellStarted = true;
        } else if (c == sep) {
            endCell();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRow();
        } else {
            cell += c;
            cellStarted = true;
        }
    }
    if (cellStarted || !cell.empty() || !row.empty())
        endRow();
    return rows;
}

std::optional<std::string> sheetNumberText(std::string_view cell, bool percentAllowed)
{
    const std::string half = halfWidth(cell);
    std::string_view s = trimmed(half);
    for (std::string_view yen : Yen)
        if (s.substr(0, yen.size()) == yen) {
            s = trimmed(s.substr(yen.size()));
            break;
        }
    if (s.size() >= YenWord.size() && s.substr(s.size() - YenWord.size()) == YenWord)
        s = trimmed(s.substr(0, s.size() - YenWord.size()));
    else if (!s.empty() && s.back() == '%') {
        if (!percentAllowed)
            return std::nullopt;
        s = trimmed(s.substr(0, s.size() - 1));
    }
    std::string out;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        if (s.front() == '-')
            out = "-";
        s.remove_prefix(1);
    }
    const size_t point = s.find('.');
    std::string digits;
    if (!wholePart(s.substr(0, point), digits))
        return std::nullopt;
    out += digits;
    if (point != std::string_view::npos) {
        const std::string_view fraction = s.substr(point + 1);
        if (!allDigits(fraction))
            return std::nullopt;
        out += "." + std::string(fraction);
    }
    return out;
}

std::string sheetText(const SheetRows &rows)
{
    std::string out;
    for (const auto &row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += '\t';
            const std::string &cell = row[c];
            if (cell.find_first_of("\t\r\n\"") == std::string::npos) {
                out += cell;
                continue;
            }
            out += '"';
            for (char ch : cell)
                out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            out += '"';
        }
        out += '\n';
    }
    return out;
}

namespace {

void appendHtmlEscaped(std::string &out, std::string_view s)
{
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\n': out += "<br>"; break;
        case '\r': break;
        default: out += c;
        }
    }
}

} // namespace

std::string sheetHtml(const SheetRows &rows)
{
    // x:num and mso-number-format are how a spreadsheet marks its own cells in the HTML it
    // copies: a number stays a number with all its decimals, and a text such as "1-1/2" is
    // never taken for a date.
    std::string out = "<html><head><meta charset=\"utf-8\"></head><body><table>\n";
    for (const auto &row : rows) {
        out += "<tr>";
        for (const std::string &cell : row) {
            if (const auto number = sheetNumberText(cell)) {
                out += "<td x:num=\"" + *number + "\">";
                appendHtmlEscaped(out, cell);
                out += "</td>";
            } else {
                out += "<td style=\"mso-number-format:\\@\">";
                appendHtmlEscaped(out, cell);
                out += "</td>";
            }
        }
        out += "</tr>\n";
    }
    out += "</table></body></html>\n";
    return out;
}

namespace {

// Decodes the entity at html[i] ('&') onto out; returns the index after it. An unknown or
// unterminated entity is kept as it stands.
size_t decodeEntity(std::string_view html, size_t i, std::string &out)
{
    const size_t semi = html.find(';', i);
    if (semi == std::string_view::npos || semi - i > 10) {
        out += '&';
        return i + 1;
    }
    const std::string_view name = html.substr(i + 1, semi - i - 1);
    static constexpr std::pair<std::string_view, uint32_t> Named[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}, {"yen", 0xA5},
    };
    for (const auto &[n, cp] : Named)
        if (name == n) {
            out += encodeUtf8(cp);
            return semi + 1;
        }
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        uint32_t cp = 0;
        bool ok = !digits.empty();
        for (char c : digits) {
            const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : hex && std::isxdigit(static_cast<unsigned char>(c)) ? std::tolower(c) - 'a' + 10
                                                                               : -1;
            if (d < 0 || cp > 0x10FFFF) {
                ok = false;
                break;
            }
            cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
        }
        if (ok) {
            out += encodeUtf8(cp);
            return semi + 1;
        }
    }
    out += '&';
    return i + 1;
}

// A cell's text with every run of white space (no-break spaces too) made one space, trimmed.
std::string collapsedSpace(std::string_view s)
{
    std::string out;
    bool space = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const bool nbsp = s.substr(i, 2) == "\xC2\xA0";
        if (nbsp || s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n') {
            space = true;
            i += nbsp ? 1 : 0;
            continue;
        }
        if (space && !out.empty())
            out += ' ';
        space = false;
        out += s[i];
    }
    return out;
}

// True when a equals the lower-case b but for the case of its letters.
bool sameLetters(std::string_view a, std::string_view lowerB)
{
    if (a.size() != lowerB.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != lowerB[i])
            return false;
    return true;
}

// The value of attribute `name` in a tag's attribute text, quoted or not.
std::string attribute(std::string_view attrs, std::string_view name)
{
    std::string lower(attrs);
    for (char &c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (size_t at = lower.find(name); at != std::string::npos; at = lower.find(name, at + 1)) {
        if (at > 0 && !std::isspace(static_cast<unsigned char>(lower[at - 1])))
            continue;
        size_t i = at + name.size();
        while (i < lower.size() && lower[i] == ' ')
            ++i;
        if (i >= lower.size() || lower[i] != '=')
            continue;
        ++i;
        while (i < lower.size() && lower[i] == ' ')
            ++i;
        const char quote = i < lower.size() && (lower[i] == '"' || lower[i] == '\'') ? lower[i] : 0;
        const size_t start = quote ? i + 1 : i;
        const size_t end = quote ? lower.find(quote, start) : lower.find_first_of(" \t\r\n>", start);
        return std::string(attrs.substr(start, (end == std::string::npos ? lower.size() : end) - start));
    }
    return {};
}

} // namespace

SheetRows parseSheetHtml(std::string_view html)
{
    SheetRows rows;
    std::vector<std::string> row;
    std::string cell;
    bool inRow = false, inCell = false;
    int depth = 0, span = 1; // depth: of nested tables; only the outermost first one is read
    auto endCell = [&] {
        if (!inCell)
            return;
        row.push_back(collapsedSpace(cell));
        for (int k = 1; k < span; ++k)
            row.emplace_back();
        cell.clear();
        inCell = false;
    };
    auto endRow = [&] {
        endCell();
        if (inRow)
            rows.push_back(std::move(row));
        row.clear();
        inRow = false;
    };
    for (size_t i = 0; i < html.size();) {
        if (html[i] == '&') {
            std::string decoded;
            i = decodeEntity(html, i, decoded);
            if (inCell)
                cell += decoded;
            continue;
        }
        if (html[i] != '<') {
            if (inCell)
                cell += html[i];
            ++i;
            continue;
        }
        if (html.substr(i, 4) == "<!--") {
            const size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        const size_t close = html.find('>', i);
        if (close == std::string_view::npos)
            break;
        std::string_view tag = html.substr(i + 1, close - i - 1);
        i = close + 1;
        const bool closing = !tag.empty() && tag.front() == '/';
        if (closing)
            tag.remove_prefix(1);
        size_t nameEnd = 0;
        while (nameEnd < tag.size() && std::isalnum(static_cast<unsigned char>(tag[nameEnd])))
            ++nameEnd;
        std::string name(tag.substr(0, nameEnd));
        for (char &c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!closing && (name == "style" || name == "script")) {
            // Their content is never a cell's text, whatever tags it holds.
            size_t end = html.find("</", i);
            while (end != std::string_view::npos && !sameLetters(html.substr(end + 2, name.size()), name))
                end = html.find("</", end + 2);
            i = end == std::string_view::npos ? html.size() : end;
            continue;
        }
        if (name == "table") {
            if (!closing) {
                ++depth;
            } else if (--depth <= 0) {
                endRow();
                if (!rows.empty())
                    break;
                depth = 0;
            }
            continue;
        }
        if (depth != 1) {
            if (depth > 1 && inCell && name == "br")
                cell += ' ';
            continue;
        }
        if (name == "tr") {
            endRow();
            inRow = !closing;
        } else if (name == "td" || name == "th") {
            endCell();
            if (!closing) {
                inRow = true;
                inCell = true;
                const std::string colspan = attribute(tag.substr(nameEnd), "colspan");
                span = std::clamp(std::atoi(colspan.c_str()), 1, 1000);
            }
        } else if (inCell && (name == "br" || name == "p" || name == "div")) {
            cell += ' ';
        }
    }
    endRow();
    return rows;
}

ClipboardContent sheetClipboard(const SheetRows &rows)
{
    return {sheetText(rows), sheetHtml(rows)};
}

SheetRows clipboardRows(const ClipboardContent &content)
{
    return content.text.empty() ? parseSheetHtml(content.html) : parseSheetText(content.text);
}

} // namespace velmo
