#pragma once
// The equipment price file as the store of the equipment registration program's block session.
// Choosing a block creates a missing file empty first.
#include "registration/core/block_file.h"
#include "pricefile/price_changes.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"
#include "pricefile/equipment_file.h"

namespace velmo {

struct EquipmentFileFormat {
    using Block = EquipmentBlock;
    static constexpr int Blocks = EquipmentBlockCount;
    static constexpr int RecordsPerBlock = EquipmentRowsPerBlock;
    static constexpr int RecordSize = EquipmentRecordSize;
    static constexpr size_t BlockBytes = EquipmentBlockBytes;
    static constexpr const char *BlockWord = sharedtext::MaterialBlockWord;
    static constexpr PriceFileKind Kind = PriceFileKind::Equipment;
    static constexpr const std::array<const char *, 4> &TextNames = EquipmentTextNames;

    static std::optional<std::string> readIfPresent(const std::filesystem::path &path)
    {
        return readEquipmentFileIfPresent(path);
    }
    static std::string readForEditing(const std::filesystem::path &path) { return readOrCreateEquipmentFile(path); }
    static std::string read(const std::filesystem::path &path) { return readEquipmentFileBytes(path); }
    static std::vector<std::string> namesOf(const std::string &bytes) { return equipmentNamesOf(bytes); }
    static Block blockOf(const std::string &bytes, int index) { return equipmentBlockOf(bytes, index); }
    static Block readBlock(const std::filesystem::path &path, int index) { return readEquipmentBlock(path, index); }
    static std::string write(const std::filesystem::path &path, int index, const Block &b, const BlocksAsRead &asRead)
    {
        return writeEquipmentBlock(path, index, b, asRead);
    }
    static std::string writeBlocks(const std::filesystem::path &path, const std::vector<std::pair<int, Block>> &blocks,
                                   const BlocksAsRead &asRead)
    {
        return writeEquipmentBlocks(path, blocks, asRead);
    }
    static void swap(const std::filesystem::path &path, int a, int b) { swapEquipmentBlocks(path, a, b); }
};

using EquipmentBlockFile = BlockFile<EquipmentFileFormat>;

} // namespace velmo
