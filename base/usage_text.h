#pragma once
// The usage a command line prints for --help and without arguments: the line of every command
// first, then the notes on them, so that every command reads together whatever part of the
// program (its own commands, import, diff) adds it.
#include <string>
#include <vector>

namespace velmo {

struct UsagePart {
    std::string commands; // lines "        program command …", a continuation indented deeper
    std::string notes;    // lines "  NAME: …"
};

// The parts' commands in order, the first line opened by "使い方: " in place of its indent,
// then the parts' notes in order.
inline std::string usageText(const std::vector<UsagePart> &parts)
{
    std::string commands, notes;
    for (const UsagePart &p : parts) {
        commands += p.commands;
        notes += p.notes;
    }
    const std::string indent(8, ' ');
    if (commands.compare(0, indent.size(), indent) == 0)
        commands.replace(0, indent.size(), "使い方: ");
    return commands + notes;
}

} // namespace velmo
