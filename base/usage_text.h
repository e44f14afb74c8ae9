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
std::string usageText(const std::vector<UsagePart> &parts);

} // namespace velmo
