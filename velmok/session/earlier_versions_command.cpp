#include "velmok/session/earlier_versions_command.h"

#include "cli/earlier_versions.h"
#include "velmok/core/velmok_texts.h"

namespace velmo {

void EarlierVersionsCommand::earlierVersions()
{
    const std::filesystem::path file = host_.filePath();
    const auto restored = restoreEarlierVersion(ui_, file, PriceFileKind::Pipe, [this, &file] {
        return modified_ ? velmoktext::saveBeforeRestoreText(file) : std::string();
    });
    if (restored)
        host_.reloadFile();
}

} // namespace velmo
