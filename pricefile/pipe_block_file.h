#pragma once
// A pipe price file as the store of the pipe registration program's block session.
#include "block_session.h"
#include "pipe_block.h"

namespace velmo {

class PipeBlockFile : public BlockStore<PipeBlock> {
public:
    explicit PipeBlockFile(std::filesystem::path path) : path_(std::move(path)) {}
    std::vector<std::string> listNames() override;
    PipeBlock load(int index) override;
    void save(int index, const PipeBlock &block) override;
    void swap(int a, int b) override;
    std::filesystem::path path() const override { return path_; }
    bool changedOnDisk(int index) override;
    std::string damageOfLastRead() const override { return damage_; }

private:
    std::filesystem::path path_;
    BlockWatch watch_; // the block read or written last, as it was on disk
    std::string damage_; // of the block read last
};

} // namespace velmo
