#include "pricefile/record_head.h"

#include "base/cp932.h"

namespace velmo {

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

void RecordHead::decodeHead(const unsigned char *p)
{
    reserved0 = codec::getI32(p + offset::Reserved0);
    name.decode(p + offset::Name);
    caption.decode(p + offset::Caption);
    serial = Currency::fromRaw(codec::getI64(p + offset::Serial));
    size.decode(p + offset::Size);
    reserved144 = codec::getI32(p + offset::Reserved144);
    unit.decode(p + offset::Unit);
    rowTag = codec::getI32(p + offset::RowTag);
}

void RecordHead::encodeHead(unsigned char *p) const
{
    std::memset(p, 0, Bytes);
    codec::putI32(p + offset::Reserved0, reserved0);
    name.encode(p + offset::Name);
    caption.encode(p + offset::Caption);
    codec::putI64(p + offset::Serial, serial.raw());
    size.encode(p + offset::Size);
    codec::putI32(p + offset::Reserved144, reserved144);
    unit.encode(p + offset::Unit);
    codec::putI32(p + offset::RowTag, rowTag);
}

} // namespace velmo
