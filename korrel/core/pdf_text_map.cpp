#include "korrel/core/pdf_text_map.h"

#include <cstdio>
#include <string_view>

namespace velmo::print {

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The value of the token "<XXXX>" at `at`, or -1 when there is none.
long hexToken(const std::string &s, size_t at)
{
    if (at + 6 > s.size() || s[at] != '<' || s[at + 5] != '>')
        return -1;
    for (size_t i = at + 1; i < at + 5; ++i)
        if (!isHex(s[i]))
            return -1;
    return std::stol(s.substr(at + 1, 4), nullptr, 16);
}

void putHex(std::string &s, size_t at, char32_t value)
{
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(value));
    s.replace(at + 1, 4, digits);
}

// Rewrites the code points of one map, the bytes [begin, end): in "<cid> <code>" of a bfchar
// block, in the arrays "<first> <last> [<code> …]" of a bfrange block and in a range of one
// ("<cid> <cid> <code>"). A range of several consecutive code points stays as it is.
void rewriteMap(std::string &pdf, size_t begin, size_t end, const std::map<char32_t, char32_t> &replace)
{
    auto swap = [&](size_t at) {
        const long v = hexToken(pdf, at);
        if (v < 0)
            return;
        const auto it = replace.find(static_cast<char32_t>(v));
        if (it != replace.end() && it->second <= 0xFFFF)
            putHex(pdf, at, it->second);
    };
    size_t lineStart = begin;
    bool inChars = false, inRanges = false;
    while (lineStart < end) {
        size_t lineEnd = pdf.find('\n', lineStart);
        if (lineEnd == std::string::npos || lineEnd > end)
            lineEnd = end;
        const std::string_view line(pdf.data() + lineStart, lineEnd - lineStart);
        if (line.find("beginbfchar") != std::string_view::npos)
            inChars = true;
        else if (line.find("endbfchar") != std::string_view::npos)
            inChars = false;
        else if (line.find("beginbfrange") != std::string_view::npos)
            inRanges = true;
        else if (line.find("endbfrange") != std::string_view::npos)
            inRanges = false;
        else if (inChars && hexToken(pdf, lineStart) >= 0) {
            swap(lineStart + 7);
        } else if (inRanges && hexToken(pdf, lineStart) >= 0) {
            const long first = hexToken(pdf, lineStart), last = hexToken(pdf, lineStart + 7);
            const size_t rest = lineStart + 14;
            if (rest < lineEnd && pdf[rest] == '[') {
                for (size_t at = rest + 1; at + 6 <= lineEnd; at += 7)
                    swap(at);
            } else if (first == last) {
                swap(rest);
            }
        }
        lineStart = lineEnd + 1;
    }
}

} // namespace

std::string withToUnicodeReplaced(std::string pdf, const std::map<char32_t, char32_t> &replace)
{
    if (replace.empty())
        return pdf;
    const std::string key = "/ToUnicode ";
    for (size_t at = pdf.find(key); at != std::string::npos; at = pdf.find(key, at + key.size())) {
        // "/ToUnicode N 0 R": the map is object N, "N 0 obj\n<< /Length L >>\nstream\n…".
        size_t p = at + key.size();
        const size_t numberEnd = pdf.find_first_not_of("0123456789", p);
        if (numberEnd == p || numberEnd == std::string::npos || pdf.compare(numberEnd, 4, " 0 R") != 0)
            continue;
        const std::string object = "\n" + pdf.substr(p, numberEnd - p) + " 0 obj";
        const size_t objectAt = pdf.find(object);
        if (objectAt == std::string::npos)
            continue;
        const size_t streamAt = pdf.find("stream\n", objectAt);
        const size_t dictEnd = pdf.find(">>", objectAt);
        if (streamAt == std::string::npos || dictEnd == std::string::npos || dictEnd > streamAt)
            continue;
        const std::string_view dict(pdf.data() + objectAt, dictEnd - objectAt);
        const size_t lengthAt = dict.find("/Length ");
        if (lengthAt == std::string_view::npos || dict.find("/Filter") != std::string_view::npos)
            continue; // compressed: left as written
        const size_t digits = lengthAt + 8;
        const size_t digitsEnd = dict.find_first_not_of("0123456789", digits);
        if (digitsEnd == digits || digitsEnd == std::string_view::npos || dict.substr(digitsEnd, 4) == " 0 R")
            continue; // a length kept in an object of its own: not written by Qt
        const size_t length = std::stoul(std::string(dict.substr(digits, digitsEnd - digits)));
        const size_t begin = streamAt + 7;
        if (begin + length > pdf.size())
            continue;
        rewriteMap(pdf, begin, begin + length, replace);
    }
    return pdf;
}

} // namespace velmo::print
