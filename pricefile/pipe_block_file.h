#pragma once
// A pipe price file as the store of the pipe registration program's block session.
#include "block_session.h"
#include "pipe_block.h"

namespace velmo {

class PipeBlockFile : public BlockStore<PipeBlock> {
public:
    explicit PipeBlockFile(std::filesystem::path path) : path_(std::move(path)) {}
    std::vector<std::string> listNames() override;
    PipeBlock load(int index) override { return readPipeBlock(path_, index); }
    void save(int index, const PipeBlock &block) override { writePipeBlock(path_, index, block); }
    void swap(int a, int b) override { swapPipeBlocks(path_, a, b); }
    std::filesystem::path path() const override { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace velmo
