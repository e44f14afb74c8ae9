#include "base/programs.h"

#include "base/shared_texts.h"
#include "base/errors.h"
#include "base/fileio.h"

#include <cerrno>
#include <fcntl.h>
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

int runProgramAndWait(const fs::path &program, const std::vector<std::string> &arguments, std::string *errorOutput)
{
    std::vector<std::string> all{program.string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // With `errorOutput` the program's standard error comes through a pipe: what it said about
    // a failure reaches the person in the message of the caller.
    int fds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (errorOutput) {
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            posix_spawn_file_actions_destroy(&actions);
            throw IoError(sharedtext::programNotRunText(program, systemErrorText(errno)));
        }
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    }
    pid_t pid = 0;
    const int err = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (errorOutput)
        ::close(fds[1]);
    if (err != 0) {
        if (errorOutput)
            ::close(fds[0]);
        throw IoError(sharedtext::programNotRunText(program, systemErrorText(err)));
    }
    if (errorOutput) {
        char buf[4096];
        for (;;) {
            const ssize_t n = ::read(fds[0], buf, sizeof buf);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            if (errorOutput->size() < 65536) // a runaway program does not fill the memory
                errorOutput->append(buf, static_cast<size_t>(n));
        }
        ::close(fds[0]);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            throw IoError(sharedtext::programNotAwaitedText(program, systemErrorText(errno)));
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
