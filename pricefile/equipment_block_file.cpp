#include "equipment_block_file.h"

#include "errors.h"
#include "text_damage.h"

namespace velmo {

std::vector<std::string> EquipmentBlockFile::listNames()
{
    std::error_code ec;
    if (path_.empty() || std::filesystem::status(path_, ec).type() == std::filesystem::file_type::not_found)
        return {};
    return listEquipmentNames(path_);
}

EquipmentBlock EquipmentBlockFile::load(int index)
{
    EquipmentBlock block = readEquipmentBlock(path_, index); // creates a missing file
    const std::string data = readEquipmentFileBytes(path_);
    watch_.remember(index, data, EquipmentBlockBytes);
    damage_ = damageNotice(path_.string(),
                           damagedTexts(reinterpret_cast<const unsigned char *>(data.data()) + index * EquipmentBlockBytes,
                                        EquipmentRowsPerBlock, EquipmentRecordSize, index * EquipmentRowsPerBlock,
                                        EquipmentRowsPerBlock, "資材", EquipmentTextNames));
    return block;
}

void EquipmentBlockFile::save(int index, const EquipmentBlock &block)
{
    writeEquipmentBlock(path_, index, block);
    watch_.remember(index, readEquipmentFileBytes(path_), EquipmentBlockBytes);
}

void EquipmentBlockFile::swap(int a, int b)
{
    swapEquipmentBlocks(path_, a, b);
    watch_.forget(); // both blocks are read again before they are edited
}

bool EquipmentBlockFile::changedOnDisk(int index)
{
    try {
        return watch_.changed(index, readEquipmentFileBytes(path_), EquipmentBlockBytes);
    } catch (const IoError &) {
        return false; // the save itself then says what is wrong with the file
    }
}

} // namespace velmo
