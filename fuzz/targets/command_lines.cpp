// The command lines of the three programs from any text: velmok's "service;pipe;" and the
// registration programs' launch arguments always give a service, pipe or block in range.
#include "registration/core/block_session.h"
#include "fuzz/fuzz_input.h"
#include "velmok/session/main_argument.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velmo::fuzz::Input in(data, size);
    const std::string text(in.rest());
    const velmo::MainArgument m = velmo::parseMainArgument(text);
    if (m.service < 0 || m.service > 9 || m.pipe < 0 || m.pipe > 19)
        std::abort();
    for (const auto &a : {velmo::LaunchArgument::parse(text, 2, 3), velmo::LaunchArgument::parse(text, 2, 5, 3)})
        if (a.blockIndex < 0 || a.blockIndex >= velmo::BlocksPerFile || a.blockText != std::to_string(a.blockIndex))
            std::abort();
    return 0;
}
