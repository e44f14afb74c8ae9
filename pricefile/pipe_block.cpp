#include "pipe_block.h"

#include "errors.h"
#include "fileio.h"

namespace velmo {
namespace {

constexpr size_t BlockBytes = static_cast<size_t>(RecordsPerPipe) * RecordSize;
constexpr size_t FileBytes = static_cast<size_t>(RecordsPerFile) * RecordSize;

void checkPipe(const std::filesystem::path &path, int pipe)
{
    if (pipe < 0 || pipe >= PipesPerFile)
        throw RangeError("ファイル " + path.string() + " の管材ブロック " + std::to_string(pipe) +
                         " はありません (0 から 19 まで)");
}

// The whole file, which must hold all 1200 records before a block of it is written.
std::string readWholeServiceFile(const std::filesystem::path &path)
{
    std::string data = readWholeFile(path);
    if (data.size() < FileBytes)
        throw IoError(shortFileMessage(path, data.size(), RecordSize, RecordsPerFile));
    return data;
}

unsigned char *blockAt(std::string &data, int pipe)
{
    return reinterpret_cast<unsigned char *>(data.data()) + static_cast<size_t>(pipe) * BlockBytes;
}

void encodeBlock(unsigned char *p, const PipeBlock &block)
{
    for (int i = 0; i < RecordsPerPipe; ++i) {
        PriceRecord r = block[i];
        r.serial = Currency(); // the registration program writes 0
        r.encode(p + static_cast<size_t>(i) * RecordSize);
    }
}

PipeBlock decodeBlock(const unsigned char *p)
{
    PipeBlock block;
    for (int i = 0; i < RecordsPerPipe; ++i)
        PriceRecord::decodeInto(block[i], p + static_cast<size_t>(i) * RecordSize);
    return block;
}

} // namespace

std::string shortFileMessage(const std::filesystem::path &path, size_t bytes, int recordSize, int needed)
{
    return "ファイル " + path.string() + " が短すぎます: " + std::to_string(bytes / recordSize) +
           " レコードしかありません (" + std::to_string(needed) + " レコード必要)";
}

PipeBlock readPipeBlock(const std::filesystem::path &path, int pipe)
{
    checkPipe(path, pipe);
    std::string data = readWholeFile(path);
    const int last = (pipe + 1) * RecordsPerPipe;
    if (data.size() < static_cast<size_t>(last) * RecordSize)
        throw IoError(shortFileMessage(path, data.size(), RecordSize, last));
    return decodeBlock(blockAt(data, pipe));
}

void writePipeBlock(const std::filesystem::path &path, int pipe, const PipeBlock &block)
{
    checkPipe(path, pipe);
    std::string data = readWholeServiceFile(path);
    encodeBlock(blockAt(data, pipe), block);
    writeFileAtomically(path, data);
}

void swapPipeBlocks(const std::filesystem::path &path, int a, int b)
{
    checkPipe(path, a);
    checkPipe(path, b);
    std::string data = readWholeServiceFile(path);
    const PipeBlock first = decodeBlock(blockAt(data, a));
    const PipeBlock second = decodeBlock(blockAt(data, b));
    encodeBlock(blockAt(data, a), second);
    encodeBlock(blockAt(data, b), first);
    writeFileAtomically(path, data);
}

std::vector<std::string> listPipeNames(const std::filesystem::path &path)
{
    const std::string data = readWholeFile(path);
    std::vector<std::string> names;
    for (int pipe = 0; pipe < PipesPerFile; ++pipe) {
        const size_t at = static_cast<size_t>(pipe) * BlockBytes;
        if (data.size() < at + RecordSize)
            throw IoError(shortFileMessage(path, data.size(), RecordSize, pipe * RecordsPerPipe + 1));
        names.push_back(PriceRecord::decode(reinterpret_cast<const unsigned char *>(data.data()) + at).name.text());
    }
    return names;
}

} // namespace velmo
