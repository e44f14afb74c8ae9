#pragma once
// A pipe price file as the store of the pipe registration program's block session. torvik never
// creates the file: a missing one lists no names and cannot be read or written.
#include "registration/core/block_file.h"
#include "pricefile/price_changes.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"
#include "pricefile/pipe_block.h"

namespace velmo {

struct PipeFileFormat {
    using Block = PipeBlock;
    static constexpr int Blocks = PipesPerFile;
    static constexpr int RecordsPerBlock = RecordsPerPipe;
    static constexpr int RecordSize = velmo::RecordSize;
    static constexpr size_t BlockBytes = PipeBlockBytes;
    static constexpr const char *BlockWord = sharedtext::PipeBlockWord;
    static constexpr PriceFileKind Kind = PriceFileKind::Pipe;
    static constexpr const std::array<const char *, 4> &TextNames = PriceTextNames;

    static std::optional<std::string> readIfPresent(const std::filesystem::path &path)
    {
        auto contents = readServiceFileIfPresent(path);
        return contents ? std::optional<std::string>(std::move(contents->bytes)) : std::nullopt;
    }
    static std::string readForEditing(const std::filesystem::path &path) { return readServiceFileBytes(path); }
    static std::string read(const std::filesystem::path &path) { return readServiceFileBytes(path); }
    static std::vector<std::string> namesOf(const std::string &bytes) { return pipeNamesOf(bytes); }
    static Block blockOf(const std::string &bytes, int index) { return pipeBlockOf(bytes, index); }
    static Block readBlock(const std::filesystem::path &path, int index) { return readPipeBlock(path, index); }
    static std::string write(const std::filesystem::path &path, int index, const Block &b, const BlocksAsRead &asRead)
    {
        return writePipeBlock(path, index, b, asRead);
    }
    static std::string writeBlocks(const std::filesystem::path &path, const std::vector<std::pair<int, Block>> &blocks,
                                   const BlocksAsRead &asRead)
    {
        return writePipeBlocks(path, blocks, asRead);
    }
    static void swap(const std::filesystem::path &path, int a, int b) { swapPipeBlocks(path, a, b); }
};

using PipeBlockFile = BlockFile<PipeFileFormat>;

} // namespace velmo
