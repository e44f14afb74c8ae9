#pragma once
// The check of a pipe price file's bytes without changing them: its size, every short string
// (length byte within its field, valid Shift-JIS) and the codes of each pipe's settings record.
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// One line per problem, each starting with `name`; none for a sound file.
std::vector<std::string> checkServiceFile(const std::string &name, std::string_view data);

} // namespace velmo
