// SplitField never returns text past the last ";" and never a field that is not in the text.
#include "fuzz/fuzz_input.h"
#include "base/support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velmo::fuzz::Input in(data, size);
    const int n = in.byte() % 12;
    const std::string text(in.rest());
    const std::string field = velmo::SplitField(text, n);
    if (field.find(';') != std::string::npos)
        std::abort();
    if (!field.empty() && text.find(field + ";") == std::string::npos)
        std::abort();
    return 0;
}
