#include "controls/core/programs.h"

#include "controls/core/control_texts.h"
#include "controls/core/errors.h"
#include "controls/core/fileio.h"

#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <sys/sysinfo.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace velmo {
namespace fs = std::filesystem;

namespace {

std::string lower(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool executable(const fs::path &p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

} // namespace

int runProgramAndWait(const fs::path &program, const std::vector<std::string> &arguments)
{
    std::vector<std::string> all{program.string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int err = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (err != 0)
        throw IoError(controltext::programNotRunText(program, systemErrorText(err)));
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            throw IoError(controltext::programNotAwaitedText(program, systemErrorText(errno)));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::optional<fs::path> findProgram(const std::string &name, const fs::path &programFolder)
{
    std::vector<std::string> names{name};
    if (name.size() > 4 && lower(name.substr(name.size() - 4)) == ".exe")
        names.push_back(name.substr(0, name.size() - 4));
    else
        names.push_back(name + ".exe");
    for (size_t i = 0, n = names.size(); i < n; ++i)
        if (lower(names[i]) != names[i])
            names.push_back(lower(names[i]));

    std::vector<fs::path> folders{programFolder};
    if (const char *path = std::getenv("PATH")) {
        std::string all = path;
        size_t start = 0;
        while (start <= all.size()) {
            const size_t end = std::min(all.find(':', start), all.size());
            if (end > start)
                folders.emplace_back(all.substr(start, end - start));
            start = end + 1;
        }
    }
    for (const fs::path &folder : folders)
        for (const std::string &n : names)
            if (executable(folder / n))
                return folder / n;
    return std::nullopt;
}

MemoryStatus systemMemoryStatus()
{
    struct sysinfo info {};
    if (::sysinfo(&info) != 0)
        return {};
    const uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    return {static_cast<uint64_t>(info.freeram) * unit + static_cast<uint64_t>(info.bufferram) * unit,
            static_cast<uint64_t>(info.totalram) * unit};
}

} // namespace velmo
