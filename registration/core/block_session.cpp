#include "registration/core/block_session.h"

#include "base/program_homes.h"

#include "base/shared_texts.h"
#include "registration/core/registration_texts.h"
#include "base/support.h"

#include <algorithm>
#include <charconv>

namespace velmo {

int normalisedBlockIndex(const std::string &text)
{
    int n = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || p != text.data() + text.size() || n < 0 || n >= BlocksPerFile)
        return 0;
    return n;
}

LaunchArgument LaunchArgument::parse(const std::string &argument, int indexField, int pathField, int ductField)
{
    LaunchArgument a;
    if (!argument.empty() && argument.find(';') == std::string::npos) {
        // A path given alone, as a file manager or a person types it: block 0 of that very
        // file. A path that names no file (missing, a folder) is still the file meant, so that
        // the program says so instead of opening its default file silently.
        a.dataPath = argument;
        a.pathGiven = true;
        return a;
    }
    a.launchTag = SplitField(argument, 1);
    const std::string index = SplitField(argument, indexField);
    a.blockIndex = normalisedBlockIndex(index);
    long long n = 0;
    const auto [p, ec] = std::from_chars(index.data(), index.data() + index.size(), n);
    const bool number = !index.empty() && p == index.data() + index.size() &&
                        (ec == std::errc() || ec == std::errc::result_out_of_range);
    if (number && (ec != std::errc() || (n != -1 && (n < 0 || n >= BlocksPerFile))))
        a.refused = sharedtext::refusedBlockNumberText(index);
    a.blockText = std::to_string(a.blockIndex);
    a.dataPath = SplitField(argument, pathField);
    a.pathGiven = std::count(argument.begin(), argument.end(), ';') >= pathField;
    if (ductField > 0)
        a.ductFlag = SplitField(argument, ductField);
    return a;
}

} // namespace velmo
