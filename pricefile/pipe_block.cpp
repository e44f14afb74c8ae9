#include "pricefile/pipe_block.h"

#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"
#include "base/errors.h"
#include "base/fileio.h"

namespace velmo {
namespace {

constexpr size_t BlockBytes = PipeBlockBytes;

void checkPipe(const std::filesystem::path &path, int pipe)
{
    if (pipe < 0 || pipe >= PipesPerFile)
        throw RangeError(sharedtext::noSuchBlockText(path, sharedtext::PipeBlockWord, pipe));
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

std::string shortFileMessage(const std::filesystem::path &path, uintmax_t bytes, int recordSize, int needed)
{
    return sharedtext::shortFileText(path, bytes / recordSize, needed);
}

void checkRecordFileSize(const std::filesystem::path &path, uintmax_t bytes, int recordSize, int records)
{
    const uintmax_t expected = static_cast<uintmax_t>(recordSize) * static_cast<uintmax_t>(records);
    if (bytes < expected)
        throw IoError(shortFileMessage(path, bytes, recordSize, records));
    if (bytes > expected)
        throw IoError(tooLargeText(path, bytes, expected) + sharedtext::OtherKindOfFileText);
}

void checkServiceFileSize(const std::filesystem::path &path, uintmax_t bytes)
{
    checkRecordFileSize(path, bytes, RecordSize, RecordsPerFile);
}

std::optional<FileContents> readServiceFileIfPresent(const std::filesystem::path &path, StampHash hash)
{
    return readFileIfPresent(path, [&](uintmax_t size) { checkServiceFileSize(path, size); }, hash);
}

FileContents readServiceFile(const std::filesystem::path &path, StampHash hash)
{
    return readExistingFile(path, [&](uintmax_t size) { checkServiceFileSize(path, size); }, hash);
}

std::string readServiceFileBytes(const std::filesystem::path &path) { return readServiceFile(path).bytes; }

PipeBlock pipeBlockOf(std::string_view fileBytes, int pipe)
{
    return decodeBlock(reinterpret_cast<const unsigned char *>(fileBytes.data()) + static_cast<size_t>(pipe) * BlockBytes);
}

PipeBlock readPipeBlock(const std::filesystem::path &path, int pipe)
{
    checkPipe(path, pipe);
    return pipeBlockOf(readServiceFileBytes(path), pipe);
}

BlocksAsRead blocksAsRead(std::string_view fileBytes, const std::vector<int> &indexes, size_t blockBytes)
{
    BlocksAsRead read;
    for (const int i : indexes)
        read.emplace_back(i, std::string(fileBytes.substr(static_cast<size_t>(i) * blockBytes, blockBytes)));
    return read;
}

std::string writeBlocksShared(const std::filesystem::path &path, const SizeCheck &checkSize, size_t blockBytes,
                              const BlocksAsRead &asRead, const std::function<void(std::string &)> &encode)
{
    std::string written;
    writeSharedFile(path, checkSize, [&](const std::optional<FileContents> &now) {
        if (!now)
            throw IoError(sharedtext::missingFileText(path));
        // The block about to be replaced is compared with the block read, not the file's stamp:
        // another writer's change to another block is kept, one to this block is not lost.
        for (const auto &[index, bytes] : asRead)
            if (now->bytes.compare(static_cast<size_t>(index) * blockBytes, blockBytes, bytes) != 0)
                throw ChangedOnDiskError(sharedtext::changedOnDiskWriteText(path));
        written = now->bytes;
        encode(written);
        return written;
    });
    return written;
}

std::string writePipeBlocks(const std::filesystem::path &path, const std::vector<std::pair<int, PipeBlock>> &blocks,
                            const BlocksAsRead &asRead)
{
    for (const auto &[pipe, block] : blocks)
        checkPipe(path, pipe);
    return writeBlocksShared(path, [&](uintmax_t size) { checkServiceFileSize(path, size); }, BlockBytes, asRead,
                             [&](std::string &data) {
                                 for (const auto &[pipe, block] : blocks)
                                     encodeBlock(blockAt(data, pipe), block);
                             });
}

std::string writePipeBlock(const std::filesystem::path &path, int pipe, const PipeBlock &block, const BlocksAsRead &asRead)
{
    return writePipeBlocks(path, {{pipe, block}}, asRead);
}

void swapPipeBlocks(const std::filesystem::path &path, int a, int b)
{
    checkPipe(path, a);
    checkPipe(path, b);
    writeBlocksShared(path, [&](uintmax_t size) { checkServiceFileSize(path, size); }, BlockBytes, {},
                      [&](std::string &data) {
                          const PipeBlock first = decodeBlock(blockAt(data, a));
                          const PipeBlock second = decodeBlock(blockAt(data, b));
                          encodeBlock(blockAt(data, a), second);
                          encodeBlock(blockAt(data, b), first);
                      });
}

std::vector<std::string> listPipeNames(const std::filesystem::path &path)
{
    return pipeNamesOf(readServiceFileBytes(path));
}

std::vector<std::string> pipeNamesOf(std::string_view data)
{
    std::vector<std::string> names;
    for (int pipe = 0; pipe < PipesPerFile; ++pipe) {
        const size_t at = static_cast<size_t>(pipe) * BlockBytes;
        names.push_back(PriceRecord::decode(reinterpret_cast<const unsigned char *>(data.data()) + at).name.text());
    }
    return names;
}

} // namespace velmo
