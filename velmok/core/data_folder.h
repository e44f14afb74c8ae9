#pragma once
// The data folder of the composite unit price manager: the ten service files (how the folder
// is made and seeded is shared with the pipe registration program), the service names file
// velmo_p.conf, and the network edition's remembered folder ex_network_folder.dat.
#include "pricefile/price_record.h"
#include "pricefile/service_folder.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmo {

constexpr int NodesPerService = 21; // a service node and its 20 pipes
constexpr int TreeNodeCount = ServiceCount * NodesPerService; // 210

// Failures met on the way that do not stop a command; raised together at its end. A later
// failure of the same file replaces the earlier one, so each file is named once.
class Failures {
public:
    void add(const std::filesystem::path &file, const std::string &message);
    bool empty() const { return messages_.empty(); }
    // Raises IoError with every message, one per line; nothing when there is none.
    void raise() const;

private:
    std::vector<std::pair<std::filesystem::path, std::string>> messages_;
};

// The names the tree of pipes and the service menu show.
struct TreeNames {
    TreeNames(); // the default service names; every pipe "----"
    std::array<std::string, ServiceCount> services;
    std::array<std::string, TreeNodeCount> nodes; // node s·21 the service, s·21 + p + 1 its pipes
    std::array<std::array<std::string, PipesPerFile>, ServiceCount> pipeCaptions; // the pipe menus
};

// What the tree of pipes and the pipe menu show for a pipe's name: trimmed, "----" when empty.
std::string pipeNodeText(const std::string &name);

namespace datafolder {

// The network edition's data folder: the "[Folder_Name]" of ex_network_folder.dat in the
// settings folder when it names an existing folder, else `standAlone` (the ex_data folder).
std::filesystem::path networkFolder(const std::filesystem::path &settingsFolder, const std::filesystem::path &standAlone);
void rememberNetworkFolder(const std::filesystem::path &settingsFolder, const std::filesystem::path &folder);

// The service names of velmo_p.conf in `folder` (the defaults without it) and the pipe names
// of every service file there. A missing file leaves its service's names as in `current`; a
// file that cannot be read is added to `failures` and its pipes show as "----".
TreeNames readNames(const std::filesystem::path &folder, const TreeNames &current, Failures &failures);
void writeServiceNames(const std::filesystem::path &folder, const TreeNames &names);

// Copies every service file but `except` from one folder to another, each written whole; a
// service without a file is skipped. Returns the messages of the files that could not be copied.
std::vector<std::string> copyServiceFiles(const std::filesystem::path &from, const std::filesystem::path &to, int except);

// Whether two paths name the same folder.
bool sameFolder(const std::filesystem::path &a, const std::filesystem::path &b);

} // namespace datafolder
} // namespace velmo
