#include "equipment_block_file.h"

#include "errors.h"
#include "text_damage.h"

namespace velmo {

std::vector<std::string> EquipmentBlockFile::listNames()
{
    if (path_.empty())
        return {};
    const auto data = readEquipmentFileIfPresent(path_);
    return data ? equipmentNamesOf(*data) : std::vector<std::string>{};
}

EquipmentBlock EquipmentBlockFile::load(int index)
{
    if (index < 0 || index >= EquipmentBlockCount)
        return readEquipmentBlock(path_, index); // raises the range error naming the file
    const std::string data = readOrCreateEquipmentFile(path_);
    watch_.remember(index, data, EquipmentBlockBytes);
    damage_ = damageNotice(path_.string(),
                           damagedTexts(reinterpret_cast<const unsigned char *>(data.data()) + index * EquipmentBlockBytes,
                                        EquipmentRowsPerBlock, EquipmentRecordSize, index * EquipmentRowsPerBlock,
                                        EquipmentRowsPerBlock, "資材", EquipmentTextNames));
    return equipmentBlockOf(data, index);
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
