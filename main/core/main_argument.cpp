#include "main_argument.h"

#include "data_folder.h"
#include "support.h"

#include <charconv>

namespace velmo {
namespace {

// A field as a number in 1 … max, else 1.
int fieldNumber(const std::string &text, int max)
{
    int n = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || p != text.data() + text.size() || n < 1 || n > max)
        return 1;
    return n;
}

} // namespace

MainArgument parseMainArgument(const std::string &argument)
{
    return {fieldNumber(SplitField(argument, 1), ServiceCount) - 1, fieldNumber(SplitField(argument, 2), PipesPerFile) - 1};
}

} // namespace velmo
