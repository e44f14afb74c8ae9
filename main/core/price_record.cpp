#include "price_record.h"

#include "cp932.h"
#include "errors.h"
#include "fileio.h"

#include <bit>
#include <cstring>

namespace velmo {
namespace {

// The files are little-endian. On a little-endian machine a field is one unaligned load or
// store; elsewhere its bytes are swapped.
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

int32_t getI32(const unsigned char *p) { return getLE<int32_t>(p); }
int64_t getI64(const unsigned char *p) { return getLE<int64_t>(p); }
void putI32(unsigned char *p, int32_t v) { putLE(p, v); }
void putI64(unsigned char *p, int64_t v) { putLE(p, v); }

template <size_t N>
void getShort(ShortString<N> &s, const unsigned char *p)
{
    s.len = static_cast<uint8_t>(std::min<size_t>(p[0], N));
    std::memcpy(s.bytes.data(), p + 1, N);
}

template <size_t N>
void putShort(unsigned char *p, const ShortString<N> &s)
{
    p[0] = s.len;
    std::memcpy(p + 1, s.bytes.data(), s.len);
    std::memset(p + 1 + s.len, 0, N - s.len);
}

std::string shortFileMessage(const std::filesystem::path &path, size_t bytes, int needed)
{
    return "ファイル " + path.string() + " が短すぎます: " + std::to_string(bytes / RecordSize) +
           " レコードしかありません (" + std::to_string(needed) + " レコード必要)";
}

} // namespace

template <size_t N>
void ShortString<N>::assignText(std::string_view utf8)
{
    assignBytes(cp932::encode(utf8));
}

template <size_t N>
std::string ShortString<N>::text() const
{
    return cp932::decode(view());
}

template struct ShortString<80>;
template struct ShortString<40>;
template struct ShortString<6>;
template struct ShortString<4>;

PriceRecord PriceRecord::decode(const unsigned char *p)
{
    PriceRecord r;
    decodeInto(r, p);
    return r;
}

void PriceRecord::decodeInto(PriceRecord &r, const unsigned char *p)
{
    r.reserved0 = getI32(p + offset::Reserved0);
    getShort(r.name, p + offset::Name);
    getShort(r.caption, p + offset::Caption);
    r.serial = Currency::fromRaw(getI64(p + offset::Serial));
    getShort(r.size, p + offset::Size);
    r.reserved144 = getI32(p + offset::Reserved144);
    getShort(r.unit, p + offset::Unit);
    r.rowTag = getI32(p + offset::RowTag);
    for (int i = 0; i < SlotCount; ++i)
        r.slots[i] = Currency::fromRaw(getI64(p + offset::Slots + 8 * i));
}

void PriceRecord::encode(unsigned char *p) const
{
    std::memset(p, 0, RecordSize);
    putI32(p + offset::Reserved0, reserved0);
    putShort(p + offset::Name, name);
    putShort(p + offset::Caption, caption);
    putI64(p + offset::Serial, serial.raw());
    putShort(p + offset::Size, size);
    putI32(p + offset::Reserved144, reserved144);
    putShort(p + offset::Unit, unit);
    putI32(p + offset::RowTag, rowTag);
    for (int i = 0; i < SlotCount; ++i)
        putI64(p + offset::Slots + 8 * i, slots[i].raw());
}

std::vector<PriceRecord> readRecords(const std::filesystem::path &path, int first, int count)
{
    const std::string data = readWholeFile(path);
    const size_t need = static_cast<size_t>(first + count) * RecordSize;
    if (data.size() < need)
        throw IoError(shortFileMessage(path, data.size(), first + count));
    std::vector<PriceRecord> out;
    out.reserve(count);
    const auto *p = reinterpret_cast<const unsigned char *>(data.data()) + static_cast<size_t>(first) * RecordSize;
    for (int i = 0; i < count; ++i)
        out.push_back(PriceRecord::decode(p + static_cast<size_t>(i) * RecordSize));
    return out;
}

std::vector<PriceRecord> readPipeBlock(const std::filesystem::path &path, int pipe)
{
    return readRecords(path, pipe * RecordsPerPipe, RecordsPerPipe);
}

void writePipeBlock(const std::filesystem::path &path, int pipe, const std::vector<PriceRecord> &block)
{
    if (block.size() != static_cast<size_t>(RecordsPerPipe))
        throw RangeError("管材ブロックは 60 レコードです");
    std::string data = readWholeFile(path);
    const int last = (pipe + 1) * RecordsPerPipe;
    if (data.size() < static_cast<size_t>(last) * RecordSize)
        throw IoError(shortFileMessage(path, data.size(), last));
    auto *p = reinterpret_cast<unsigned char *>(data.data()) + static_cast<size_t>(pipe) * RecordsPerPipe * RecordSize;
    for (int i = 0; i < RecordsPerPipe; ++i) {
        PriceRecord r = block[i];
        r.serial = Currency(); // the registration program writes 0
        r.encode(p + static_cast<size_t>(i) * RecordSize);
    }
    writeFileAtomically(path, data);
}

std::vector<std::string> listPipeNames(const std::filesystem::path &path)
{
    const std::string data = readWholeFile(path);
    std::vector<std::string> names;
    for (int pipe = 0; pipe < PipesPerFile; ++pipe) {
        const size_t at = static_cast<size_t>(pipe) * RecordsPerPipe * RecordSize;
        if (data.size() < at + RecordSize)
            throw IoError(shortFileMessage(path, data.size(), pipe * RecordsPerPipe + 1));
        names.push_back(PriceRecord::decode(reinterpret_cast<const unsigned char *>(data.data()) + at).name.text());
    }
    return names;
}

} // namespace velmo
