#include "pipe_block_file.h"

namespace velmo {

std::vector<std::string> PipeBlockFile::listNames()
{
    std::error_code ec;
    if (path_.empty() || !std::filesystem::exists(path_, ec))
        return {};
    return listPipeNames(path_);
}

namespace {
constexpr size_t BlockBytes = static_cast<size_t>(RecordsPerPipe) * RecordSize;
} // namespace

void PipeBlockFile::remember(int index, const std::string &fileBytes)
{
    knownIndex_ = index;
    knownBytes_ = fileBytes.substr(static_cast<size_t>(index) * BlockBytes, BlockBytes);
}

PipeBlock PipeBlockFile::load(int index)
{
    if (index < 0 || index >= PipesPerFile)
        return readPipeBlock(path_, index); // raises the range error naming the file
    const std::string data = readServiceFileBytes(path_);
    remember(index, data);
    return pipeBlockOf(data, index);
}

void PipeBlockFile::save(int index, const PipeBlock &block)
{
    writePipeBlock(path_, index, block);
    remember(index, readServiceFileBytes(path_));
}

void PipeBlockFile::swap(int a, int b)
{
    swapPipeBlocks(path_, a, b);
    knownIndex_ = -1; // both blocks are read again before they are edited
}

bool PipeBlockFile::changedOnDisk(int index)
{
    if (index != knownIndex_)
        return false;
    try {
        const std::string now = readServiceFileBytes(path_);
        return now.compare(static_cast<size_t>(index) * BlockBytes, BlockBytes, knownBytes_) != 0;
    } catch (const IoError &) {
        return false; // the save itself then says what is wrong with the file
    }
}

} // namespace velmo
