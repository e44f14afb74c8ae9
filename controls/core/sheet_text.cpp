#include "controls/core/sheet_text.h"

#include "controls/core/strcolgrid_model.h"

#include <cctype>

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

SheetRows gridCells(const StrColGridModel &grid, const CellRange &range)
{
    SheetRows rows;
    for (int r = range.top; r <= range.bottom; ++r) {
        std::vector<std::string> row;
        for (int c = range.left; c <= range.right; ++c) {
            const std::string &text = grid.Cells(c, r);
            const auto number = text.find(',') != std::string::npos ? sheetNumberText(text) : std::nullopt;
            row.push_back(number ? *number : text);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace velmo
