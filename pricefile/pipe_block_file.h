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

private:
    // What the block read or written last was on disk, to tell whether another program changed it.
    void remember(int index, const std::string &fileBytes);

    std::filesystem::path path_;
    int knownIndex_ = -1;
    std::string knownBytes_;
};

} // namespace velmo
