#pragma once
// Two writers of ours on one price file at once: the first runs as a program under strace, which
// holds its rename (the last step of its write, inside the write lock) for three seconds; the
// second starts while the first waits there, after the first read the file and before the first
// replaced it, which is where a change used to be lost.
#include "base/fileio.h"
#include "tests/common/cli_run.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace velmo::test {

// The command line that runs `program` with its renames held for `seconds`.
inline std::string heldInRename(const std::string &program, const std::vector<std::string> &args, int seconds = 3)
{
    // LeakSanitizer cannot run under ptrace: the sanitizer build checks leaks elsewhere.
    return "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" strace -f -o /dev/null"
           " -e trace=rename,renameat,renameat2 -e inject=rename,renameat,renameat2:delay_enter=" +
           std::to_string(seconds * 1000000) + " " + commandLine(program, args);
}

// Runs `program` held in its rename and, once it holds the write lock of `file`, `second`;
// returns the first program's result when both are done.
inline Result whileHeldInRename(const std::string &program, const std::vector<std::string> &args,
                                const std::filesystem::path &file, const std::function<void()> &second)
{
    Result first;
    std::thread held([&] { first = runShell(heldInRename(program, args)); });
    // Held: the lock cannot be had (its lock file alone shows only that the first is taking it).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool locked = false;
    while (!locked && std::chrono::steady_clock::now() < deadline) {
        locked = WriteLock::tryHold(file) == nullptr;
        if (!locked)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (locked)
        second();
    held.join();
    if (!locked)
        first.err = "the first writer never took the lock: " + first.err;
    return first;
}

} // namespace velmo::test
