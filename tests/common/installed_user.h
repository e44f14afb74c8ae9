#pragma once
// An installed program folder (the marker of the install step) and a user of it whose home is a
// temporary folder: HOME and XDG_RUNTIME_DIR point into it and the other XDG variables are unset,
// so that the defaults are used. The environment is put back when the test ends.
#include "base/fileio.h"
#include "base/program_homes.h"
#include "tests/common/temp_dir.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace velmo::test {

inline void markInstalled(const std::filesystem::path &programFolder)
{
    writeFileAtomically(programFolder / InstalledMarkerFile, "");
}

struct InstalledUser {
    TempDir home;
    std::map<std::string, std::optional<std::string>> saved;

    InstalledUser()
    {
        set("HOME", home.path.string());
        set("XDG_RUNTIME_DIR", (home.path / "run").string());
        for (const char *v : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            set(v, std::nullopt);
    }
    ~InstalledUser()
    {
        for (const auto &[name, value] : saved)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }
    InstalledUser(const InstalledUser &) = delete;
    InstalledUser &operator=(const InstalledUser &) = delete;

    std::filesystem::path data() const { return home.path / ".local/share/velmaro"; }
    std::filesystem::path settings() const { return home.path / ".config/velmaro"; }
    std::filesystem::path handoff() const { return home.path / "run/velmaro"; }

private:
    void set(const std::string &name, const std::optional<std::string> &value)
    {
        if (!saved.count(name)) {
            const char *old = std::getenv(name.c_str());
            saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }
};

// Every entry under a folder with its size and modification time, to show that nothing was
// written there.
inline std::map<std::string, std::string> folderListing(const std::filesystem::path &folder)
{
    std::map<std::string, std::string> entries;
    for (const auto &e : std::filesystem::recursive_directory_iterator(folder)) {
        struct stat st {};
        ::lstat(e.path().c_str(), &st);
        entries[e.path().string()] = std::to_string(st.st_size) + "@" + std::to_string(st.st_mtim.tv_sec) + "." +
                                     std::to_string(st.st_mtim.tv_nsec);
    }
    return entries;
}

} // namespace velmo::test
