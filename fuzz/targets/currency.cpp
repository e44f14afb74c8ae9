// Currency text: parsing accepts a sign, digits and one point and raises ConversionError for
// anything else; a parsed value prints as text that parses back to the same value, and sums
// and differences either fit or raise RangeError.
#include "base/currency.h"
#include "base/errors.h"
#include "fuzz/fuzz_input.h"
#include "base/support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velmo::fuzz::Input in(data, size);
    const std::string text(in.rest());
    velmo::Currency v;
    try {
        v = velmo::Currency::parse(text);
    } catch (const velmo::ConversionError &) {
        return 0;
    }
    if (velmo::Currency::parse(v.toString()) != v)
        std::abort();
    (void)velmo::FormatMoney(v);
    (void)velmo::CleanNumberText(text);
    try {
        (void)(v + v);
        (void)(v - velmo::Currency::fromRaw(INT64_MIN + 1));
        (void)(-v);
    } catch (const velmo::RangeError &) {
    }
    return 0;
}
