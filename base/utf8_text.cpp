#include "base/utf8_text.h"

#include "base/cp932.h"

namespace velmo {

namespace {

// The length of the valid UTF-8 sequence that starts at s[i]; 0 when none does.
size_t sequenceAt(std::string_view s, size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    const size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || (n == 2 && c < 0xC2) || (n == 4 && c > 0xF4) || i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    const auto d = n > 1 ? static_cast<unsigned char>(s[i + 1]) : 0;
    if (n == 3 && ((c == 0xE0 && d < 0xA0) || (c == 0xED && d >= 0xA0))) // overlong, surrogate
        return 0;
    if (n == 4 && ((c == 0xF0 && d < 0x90) || (c == 0xF4 && d >= 0x90))) // overlong, above U+10FFFF
        return 0;
    return n;
}

} // namespace

bool validUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const size_t n = sequenceAt(s, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string textOfBytes(std::string_view bytes, bool *clean)
{
    if (validUtf8(bytes))
        return std::string(bytes);
    return cp932::decode(bytes, clean);
}

std::string validUtf8Only(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const size_t n = sequenceAt(s, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string encodeUtf8(char32_t c)
{
    if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

} // namespace velmo
