#include "pipe_block_file.h"

namespace velmo {

std::vector<std::string> PipeBlockFile::listNames()
{
    std::error_code ec;
    if (path_.empty() || !std::filesystem::exists(path_, ec))
        return {};
    return listPipeNames(path_);
}

} // namespace velmo
