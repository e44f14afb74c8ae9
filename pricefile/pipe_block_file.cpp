#include "pipe_block_file.h"

#include "text_damage.h"

namespace velmo {

std::vector<std::string> PipeBlockFile::listNames()
{
    if (path_.empty())
        return {};
    const auto contents = readServiceFileIfPresent(path_);
    return contents ? pipeNamesOf(contents->bytes) : std::vector<std::string>{};
}

namespace {
constexpr size_t BlockBytes = static_cast<size_t>(RecordsPerPipe) * RecordSize;
} // namespace

PipeBlock PipeBlockFile::load(int index)
{
    if (index < 0 || index >= PipesPerFile)
        return readPipeBlock(path_, index); // raises the range error naming the file
    const std::string data = readServiceFileBytes(path_);
    watch_.remember(index, data, BlockBytes);
    damage_ = damageNotice(path_.string(),
                           damagedTexts(reinterpret_cast<const unsigned char *>(data.data()) + index * BlockBytes,
                                        RecordsPerPipe, RecordSize, index * RecordsPerPipe, RecordsPerPipe, "管材",
                                        PriceTextNames));
    return pipeBlockOf(data, index);
}

void PipeBlockFile::save(int index, const PipeBlock &block)
{
    writePipeBlock(path_, index, block);
    watch_.remember(index, readServiceFileBytes(path_), BlockBytes);
}

void PipeBlockFile::swap(int a, int b)
{
    swapPipeBlocks(path_, a, b);
    watch_.forget(); // both blocks are read again before they are edited
}

bool PipeBlockFile::changedOnDisk(int index)
{
    try {
        return watch_.changed(index, readServiceFileBytes(path_), BlockBytes);
    } catch (const IoError &) {
        return false; // the save itself then says what is wrong with the file
    }
}

} // namespace velmo
