#include "base/cp932.h"

#include "base/shared_texts.h"
#include "base/errors.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <initializer_list>
#include <iconv.h>

namespace velmo::cp932 {
namespace {

// One converter per direction, opened once; iconv_open is far slower than a conversion.
class Converter {
public:
    Converter(const char *to, const char *from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw IoError(sharedtext::converterText(from, to));
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts `in`; on an invalid or unconvertible sequence calls onBad(out, in, left) which
    // must consume at least one input byte.
    template <typename OnBad>
    std::string run(std::string_view in, OnBad onBad)
    {
        std::string out;
        out.reserve(in.size() * 2 + 4);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char *src = const_cast<char *>(in.data());
        size_t left = in.size();
        char buf[512];
        while (left > 0) {
            char *dst = buf;
            size_t room = sizeof buf;
            const size_t r = iconv(cd_, &src, &left, &dst, &room);
            out.append(buf, static_cast<size_t>(dst - buf));
            if (r == static_cast<size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                onBad(out, src, left);
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t cd_;
};

Converter &toCp932()
{
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

Converter &fromCp932()
{
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

size_t utf8Length(unsigned char b)
{
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0) return 2;
    if ((b & 0xF0) == 0xE0) return 3;
    if ((b & 0xF8) == 0xF0) return 4;
    return 1;
}

bool allAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

std::string encode(std::string_view utf8)
{
    if (allAscii(utf8))
        return std::string(utf8);
    return toCp932().run(utf8, [](std::string &out, char *&src, size_t &left) {
        const size_t n = std::min(left, utf8Length(static_cast<unsigned char>(*src)));
        src += n;
        left -= n;
        out += '?';
    });
}

std::string decode(std::string_view bytes, bool *clean)
{
    if (clean)
        *clean = true;
    if (allAscii(bytes))
        return std::string(bytes);
    return fromCp932().run(bytes, [&](std::string &out, char *&src, size_t &left) {
        // A lead byte with nothing after it is what a cut leaves: drop it quietly.
        if (!(left == 1 && isLeadByte(static_cast<unsigned char>(*src)))) {
            out += "\xEF\xBF\xBD";
            if (clean)
                *clean = false;
        }
        ++src;
        --left;
    });
}

namespace {

// Whether the converter takes a byte or a byte pair, asked the first time it is met and then
// remembered for every thread (0 not asked yet, 1 taken, 2 refused).
std::atomic<uint8_t> singleTaken[256];
std::atomic<uint8_t> pairTaken[256 * 256];

bool taken(std::atomic<uint8_t> &known, std::initializer_list<char> bytes)
{
    uint8_t v = known.load(std::memory_order_relaxed);
    if (v == 0) {
        bool clean = true;
        fromCp932().run(std::string(bytes), [&](std::string &, char *&src, size_t &left) {
            clean = false;
            ++src;
            --left;
        });
        v = clean ? 1 : 2;
        known.store(v, std::memory_order_relaxed);
    }
    return v == 1;
}

} // namespace

TextState inspect(std::string_view bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
        } else if (isLeadByte(b)) {
            if (i + 1 == n)
                return TextState::CutAfterLeadByte;
            const unsigned char t = p[i + 1];
            if (!taken(pairTaken[b * 256 + t], {static_cast<char>(b), static_cast<char>(t)}))
                return TextState::Invalid;
            i += 2;
        } else if (taken(singleTaken[b], {static_cast<char>(b)})) {
            ++i;
        } else {
            return TextState::Invalid;
        }
    }
    return TextState::Valid;
}

std::string cut(std::string_view bytes, size_t n)
{
    return std::string(bytes.substr(0, n));
}

std::string fit(std::string_view utf8, size_t n)
{
    const std::string bytes = encode(utf8);
    if (bytes.size() <= n)
        return std::string(utf8);
    size_t end = 0;
    while (end < n) {
        const size_t step = isLeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + step > n)
            break;
        end += step;
    }
    return decode(std::string_view(bytes).substr(0, end));
}

namespace {
size_t characters(std::string_view utf8)
{
    size_t n = 0;
    for (const char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}
} // namespace

std::string fitEdit(std::string_view before, std::string_view typed, size_t n)
{
    if (length(typed) <= n)
        return std::string(typed);
    if (length(before) <= n && characters(typed) == characters(before) + 1)
        return std::string(before);
    return fit(typed, n);
}

size_t length(std::string_view utf8)
{
    return encode(utf8).size();
}

} // namespace velmo::cp932
