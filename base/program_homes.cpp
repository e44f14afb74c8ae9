#include "base/program_homes.h"
#include "base/shared_texts.h"

#include "base/errors.h"
#include "base/fileio.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace velmo {
namespace fs = std::filesystem;

namespace {

// An XDG folder: the variable when it is an absolute path, else HOME with the default tail.
fs::path xdgFolder(const EnvironmentLookup &env, const char *variable, const char *homeTail)
{
    if (const auto v = env(variable); v && !v->empty() && fs::path(*v).is_absolute())
        return fs::path(*v) / UserFolderName;
    const auto home = env("HOME");
    if (!home || home->empty() || !fs::path(*home).is_absolute())
        throw IoError(sharedtext::noUserFolderText(variable));
    return fs::path(*home) / homeTail / UserFolderName;
}

void makeFolder(const fs::path &folder, bool privateToUser)
{
    std::error_code ec;
    const fs::file_status st = fs::status(folder, ec);
    if (fs::is_directory(st))
        return;
    if (fs::exists(st))
        throw IoError(sharedtext::folderNotMadeText(folder, sharedtext::SameNameFileText));
    fs::create_directories(folder, ec);
    if (ec)
        throw IoError(sharedtext::folderNotMadeText(folder, systemErrorText(ec.value())));
    if (privateToUser)
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
}

} // namespace

EnvironmentLookup processEnvironment()
{
    return [](const char *name) -> std::optional<std::string> {
        if (const char *v = std::getenv(name))
            return std::string(v);
        return std::nullopt;
    };
}

ProgramHomes homesOf(const fs::path &programFolder, const EnvironmentLookup &env)
{
    ProgramHomes h;
    h.program = programFolder;
    h.installed = pathExists(programFolder / InstalledMarkerFile);
    if (!h.installed) {
        h.data = h.settings = h.handoff = programFolder;
        return h;
    }
    h.data = xdgFolder(env, "XDG_DATA_HOME", ".local/share");
    h.settings = xdgFolder(env, "XDG_CONFIG_HOME", ".config");
    const auto runtime = env("XDG_RUNTIME_DIR");
    h.handoff = runtime && !runtime->empty() && fs::path(*runtime).is_absolute()
                    ? fs::path(*runtime) / UserFolderName
                    : xdgFolder(env, "XDG_CACHE_HOME", ".cache");
    return h;
}

void makeUserFolders(const ProgramHomes &homes)
{
    if (!homes.installed)
        return;
    makeFolder(homes.data, false);
    makeFolder(homes.settings, false);
    makeFolder(homes.handoff, true);
}

bool isFileArgument(const std::string &argument)
{
    if (argument.empty() || argument.find(';') != std::string::npos)
        return false;
    struct stat st {};
    // A look-up that fails for another reason than a missing file still means the person named
    // a file: opening it then says why it cannot be read.
    if (::stat(argument.c_str(), &st) != 0)
        return errno != ENOENT && errno != ENOTDIR;
    return !S_ISDIR(st.st_mode);
}

} // namespace velmo
