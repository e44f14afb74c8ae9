#pragma once
// The folder of the ten pipe service files kanzai1.fda … kanzai10.fda: its name, how it is made
// and seeded from the templates kanzai/haikan<n>.fda of the program folder. velmok opens it as
// its data folder, and the pipe registration program edits its first file.
#include "base/program_homes.h"

#include <filesystem>
#include <optional>
#include <string>

namespace velmo {

constexpr int ServiceCount = 10;
// The data folder of the service files in the data home.
inline constexpr const char *ServiceDataFolderName = "ex_data";

// "kanzai<n>.fda" for service 0 … 9.
std::string serviceFileName(int service);

namespace datafolder {

// Creates ex_data in the data home (beside the program, or the user's data folder when
// installed) when it is missing and copies each missing service file from its template
// kanzai/haikan<n>.fda of the program folder (unless ex_data holds haikan1.fda). Every failure
// is an IoError in Japanese that names the folder or file and the cause.
std::filesystem::path prepare(const ProgramHomes &homes);

// The service (0 … 9) whose file has this exact name (kanzai1.fda … kanzai10.fda), if any.
std::optional<int> serviceOfFileName(const std::string &name);

// Whether a folder holds any of the ten service files.
bool holdsServiceFiles(const std::filesystem::path &folder);
// Copies each missing service file of `data` from its template kanzai/haikan<n>.fda of the
// program folder; a missing template is skipped.
void seedServiceFiles(const std::filesystem::path &programFolder, const std::filesystem::path &data);

} // namespace datafolder
} // namespace velmo
