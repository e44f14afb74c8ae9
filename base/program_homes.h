#pragma once
// Where the files of the programs live. A program runs portable or installed:
// - portable: everything beside the program (the build folder, or a private copy on a shared
//   drive): the data folders, the settings files and the print hand-off files;
// - installed: the program folder holds the marker file the install step writes. That folder is
//   shared by every user and read-only; each user's price files, settings and print hand-off
//   files live in the user's own folders (XDG base directories), and the program folder only
//   provides the templates, layouts, manual and icons.
// Installed is decided by the marker alone, never by permissions: root can write anywhere.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace velmo {

// The marker the install step writes into the installed program folder.
inline constexpr const char *InstalledMarkerFile = "velmaro.installed";
// The name of the per-user folders of an installed program.
inline constexpr const char *UserFolderName = "velmaro";

struct ProgramHomes {
    bool installed = false;
    std::filesystem::path program;  // programs, templates (kanzai/), layouts, manual, icons
    std::filesystem::path data;     // holds ex_data/ and dx_data/
    std::filesystem::path settings; // the INI files, velmo_p.disp, ex_network_folder.dat
    std::filesystem::path handoff;  // the print hand-off files velmok writes and korrel reads
};

// The value of an environment variable, nothing when unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char *name)>;
EnvironmentLookup processEnvironment();

// The homes of the program in `programFolder`. Installed:
//   data     $XDG_DATA_HOME/velmaro    (default ~/.local/share/velmaro)
//   settings $XDG_CONFIG_HOME/velmaro  (default ~/.config/velmaro)
//   handoff  $XDG_RUNTIME_DIR/velmaro, else $XDG_CACHE_HOME/velmaro (default ~/.cache/velmaro)
// An XDG variable that is empty or not an absolute path is ignored, as the XDG rules say.
// Raises IoError when the marker cannot be looked up, or when an installed program finds
// neither the XDG variable nor HOME.
ProgramHomes homesOf(const std::filesystem::path &programFolder, const EnvironmentLookup &env = processEnvironment());

// Creates the per-user folders of an installed program that do not exist yet (the hand-off
// folder readable by its user alone); does nothing for a portable program. Raises IoError
// naming the folder that cannot be made.
void makeUserFolders(const ProgramHomes &homes);

// Whether a program's command-line argument is a single path without ";" that names an existing
// file, as a file manager passes it, rather than the programs' ";"-separated fields.
bool isFileArgument(const std::string &argument);

} // namespace velmo
