#pragma once
// A price file as the store of a registration program's block session: the pipe price file for
// torvik, the equipment price file for selvan. Both read and write whole files and differ only
// in their format, which `Format` gives:
//   Block, Blocks, RecordsPerBlock, RecordSize, BlockBytes, BlockWord, TextNames;
//   readIfPresent(path) → the file's bytes, nothing when there is no file;
//   readForEditing(path) → the bytes when a block is chosen (selvan creates a missing file);
//   read(path) → the bytes, which must be there;
//   namesOf(bytes), blockOf(bytes, index), readBlock(path, index) (raises the range error),
//   write(path, index, block, asRead) → the bytes written, writeBlocks(path, [(index, block)],
//   asRead) the same for several blocks in one write, swap(path, a, b).
#include "registration/core/block_session.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "pricefile/pipe_block.h" // BlocksAsRead
#include "pricefile/text_damage.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

template <typename Format>
class BlockFile : public BlockStore<typename Format::Block> {
public:
    using Block = typename Format::Block;

    explicit BlockFile(std::filesystem::path path) : path_(std::move(path)) {}

    // No names when the path is empty or no file is there; any other failure is an error.
    std::vector<std::string> listNames() override
    {
        if (path_.empty())
            return {};
        const auto bytes = Format::readIfPresent(path_);
        return bytes ? Format::namesOf(*bytes) : std::vector<std::string>{};
    }

    Block load(int index) override
    {
        if (index < 0 || index >= Format::Blocks)
            return Format::readBlock(path_, index); // raises the range error naming the file
        const std::string data = Format::readForEditing(path_);
        watch_.remember(index, data, Format::BlockBytes);
        try {
            readOnly_ = isReadOnlyFile(path_);
        } catch (const IoError &) {
            readOnly_ = false; // a save says what is wrong
        }
        const auto *block = reinterpret_cast<const unsigned char *>(data.data()) + index * Format::BlockBytes;
        damage_ = damageNotice(path_.string(),
                               damagedTexts(block, Format::RecordsPerBlock, Format::RecordSize,
                                            index * Format::RecordsPerBlock, Format::RecordsPerBlock, Format::BlockWord,
                                            Format::TextNames));
        return Format::blockOf(data, index);
    }

    void save(int index, const Block &block, bool overwriteChanged) override
    {
        BlocksAsRead asRead;
        if (const auto read = watch_.remembered(index); read && !overwriteChanged)
            asRead.emplace_back(index, *read);
        watch_.remember(index, Format::write(path_, index, block, asRead), Format::BlockBytes);
        readOnly_ = false; // it was just written
    }

    void swap(int a, int b) override
    {
        Format::swap(path_, a, b);
        watch_.forget(); // both blocks are read again before they are edited
    }

    std::filesystem::path path() const override { return path_; }

    bool changedOnDisk(int index) override
    {
        try {
            return watch_.changed(index, Format::read(path_), Format::BlockBytes);
        } catch (const IoError &) {
            return false; // the save itself then says what is wrong with the file
        }
    }

    std::optional<std::string> changedBlockOnDisk(int index) override
    {
        const std::string data = Format::read(path_); // raises naming the file, a missing one too
        if (!watch_.changed(index, data, Format::BlockBytes))
            return std::nullopt;
        return data.substr(static_cast<size_t>(index) * Format::BlockBytes, Format::BlockBytes);
    }

    std::string damageOfLastRead() const override { return damage_; }
    bool readOnly() const override { return readOnly_; }

private:
    std::filesystem::path path_;
    BlockWatch watch_;   // the block read or written last, as it was on disk
    std::string damage_; // of the block read last
    bool readOnly_ = false;
};

} // namespace velmo
