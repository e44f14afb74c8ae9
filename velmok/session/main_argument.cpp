#include "velmok/session/main_argument.h"
#include "velmok/core/velmok_texts.h"

#include "velmok/core/data_folder.h"
#include "base/support.h"

#include <charconv>

namespace velmo {
namespace {

// A field as a number in 1 … max, else 1; a number out of range is added to `refused`.
int fieldNumber(const std::string &text, int max, const char *what, std::string &refused)
{
    long long n = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec == std::errc::result_out_of_range || (ec == std::errc() && p == text.data() + text.size() && (n < 1 || n > max))) {
        refused += std::string(refused.empty() ? "" : "\n") + velmoktext::argumentNumberRefusal(what, text, max);
        return 1;
    }
    if (ec != std::errc() || p != text.data() + text.size())
        return 1;
    return static_cast<int>(n);
}

} // namespace

MainArgument parseMainArgument(const std::string &argument)
{
    MainArgument a;
    a.service = fieldNumber(SplitField(argument, 1), ServiceCount, velmoktext::ArgumentServiceField, a.refused) - 1;
    a.pipe = fieldNumber(SplitField(argument, 2), PipesPerFile, velmoktext::ArgumentPipeField, a.refused) - 1;
    return a;
}

} // namespace velmo
