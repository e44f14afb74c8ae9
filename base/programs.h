#pragma once
// Finding the outside programs the tools start, and the memory status of the system.
#include "base/user_interface.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

// Looks a program up as the programs name it ("Korrel.exe", "notepad.exe"): first in the
// program's own folder, then on PATH, each with and without ".exe" (the name is compared
// exactly, and also in lower case). Nothing when it is nowhere.
std::optional<std::filesystem::path> findProgram(const std::string &name, const std::filesystem::path &programFolder);

// Runs a program with its arguments and waits for it to end: its exit status, or -1 when it
// did not end normally. A program that cannot be started raises IoError naming it.
// With `errorOutput`, what the program writes to its standard error is collected there.
int runProgramAndWait(const std::filesystem::path &program, const std::vector<std::string> &arguments,
                      std::string *errorOutput = nullptr);

// The physical memory from sysinfo(2).
MemoryStatus systemMemoryStatus();

} // namespace velmo
