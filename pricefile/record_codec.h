#pragma once
// The field codec of the price files: little-endian integers and short strings at fixed byte
// offsets. Records are always (de)serialised field by field, never by casting a struct.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace velmo {

namespace codec {

template <typename T>
T swapOnBigEndian(T v)
{
    if constexpr (std::endian::native == std::endian::big) {
        if constexpr (sizeof v == 4)
            return static_cast<T>(__builtin_bswap32(static_cast<uint32_t>(v)));
        else
            return static_cast<T>(__builtin_bswap64(static_cast<uint64_t>(v)));
    }
    return v;
}

// On a little-endian machine a field is one unaligned load or store; elsewhere its bytes are
// swapped.
template <typename T>
T getLE(const unsigned char *p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return swapOnBigEndian(v);
}

template <typename T>
void putLE(unsigned char *p, T v)
{
    v = swapOnBigEndian(v);
    std::memcpy(p, &v, sizeof v);
}

inline int32_t getI32(const unsigned char *p) { return getLE<int32_t>(p); }
inline int64_t getI64(const unsigned char *p) { return getLE<int64_t>(p); }
inline void putI32(unsigned char *p, int32_t v) { putLE(p, v); }
inline void putI64(unsigned char *p, int64_t v) { putLE(p, v); }

} // namespace codec

// A length byte followed by N bytes of CP932 text, held inline. A length byte above N reads as
// N, never past the field.
template <size_t N>
struct ShortString {
    static constexpr size_t Capacity = N;
    static constexpr size_t Bytes = N + 1; // on disk, with the length byte

    uint8_t len = 0;
    std::array<char, N> bytes{};

    std::string_view view() const { return {bytes.data(), len}; }
    // Stores CP932 bytes, cut to N bytes.
    void assignBytes(std::string_view b)
    {
        len = static_cast<uint8_t>(std::min(b.size(), N));
        bytes.fill(0);
        std::copy_n(b.data(), len, bytes.data());
    }
    // Stores UTF-8 text encoded to CP932 and cut to N bytes (a cut may split a double-byte
    // character and leave its lead byte).
    void assignText(std::string_view utf8);
    // The text as UTF-8 (a lone lead byte left by a cut is dropped).
    std::string text() const;
    bool empty() const { return len == 0; }
    bool operator==(const ShortString &o) const { return view() == o.view(); }

    void decode(const unsigned char *p)
    {
        len = static_cast<uint8_t>(std::min<size_t>(p[0], N));
        std::memcpy(bytes.data(), p + 1, N);
    }
    // Writes the length and the text; the bytes after the text are written as 0.
    void encode(unsigned char *p) const
    {
        p[0] = len;
        std::memcpy(p + 1, bytes.data(), len);
        std::memset(p + 1 + len, 0, N - len);
    }
};

} // namespace velmo
