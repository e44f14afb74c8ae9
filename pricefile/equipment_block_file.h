#pragma once
// The equipment price file as the store of the equipment registration program's block session.
#include "block_session.h"
#include "equipment_file.h"

namespace velmo {

class EquipmentBlockFile : public BlockStore<EquipmentBlock> {
public:
    explicit EquipmentBlockFile(std::filesystem::path path) : path_(std::move(path)) {}
    // No names when the path is empty or no file is there yet.
    std::vector<std::string> listNames() override;
    // A missing file is created empty first.
    EquipmentBlock load(int index) override;
    void save(int index, const EquipmentBlock &block) override;
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
