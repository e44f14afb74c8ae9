#include "equipment_block_file.h"

namespace velmo {

std::vector<std::string> EquipmentBlockFile::listNames()
{
    std::error_code ec;
    if (path_.empty() || std::filesystem::status(path_, ec).type() == std::filesystem::file_type::not_found)
        return {};
    return listEquipmentNames(path_);
}

} // namespace velmo
