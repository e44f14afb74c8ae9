#include "base/usage_text.h"

#include "base/shared_texts.h"

namespace velmo {

std::string usageText(const std::vector<UsagePart> &parts)
{
    std::string commands, notes;
    for (const UsagePart &p : parts) {
        commands += p.commands;
        notes += p.notes;
    }
    const std::string indent(8, ' ');
    if (commands.compare(0, indent.size(), indent) == 0)
        commands.replace(0, indent.size(), sharedtext::UsageOpening);
    return commands + notes;
}

} // namespace velmo
