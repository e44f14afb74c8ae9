#pragma once
// The check of a price file's bytes without changing them, for the batch commands: its size,
// every short string (length byte within its field, valid Shift-JIS) and the codes of each
// block's settings record. One line in Japanese per problem.
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// A pipe price file (1200 records of 360 bytes); pipes are numbered 1 … 20 as velmok-cli takes
// them. Each line starts with `name`; none for a sound file.
std::vector<std::string> checkServiceFile(const std::string &name, std::string_view data);

// An equipment price file (300 records of 512 bytes); blocks are numbered 0 … 19 as selvan
// shows them.
std::vector<std::string> checkEquipmentFile(const std::string &name, std::string_view data);

} // namespace velmo
