#include "base/child_reaper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace velmo;

namespace {

// Starts /bin/sh -c `script` through a second process that ends at once, as a program started
// without waiting is; returns the program's process id.
pid_t startDetached(const char *script)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t middle = ::fork();
    if (middle == 0) {
        const pid_t program = ::fork();
        if (program == 0) {
            ::close(fds[0]);
            ::close(fds[1]);
            ::execl("/bin/sh", "sh", "-c", script, static_cast<char *>(nullptr));
            ::_exit(127);
        }
        (void)!::write(fds[1], &program, sizeof program);
        ::_exit(0);
    }
    ::close(fds[1]);
    pid_t program = -1;
    (void)!::read(fds[0], &program, sizeof program);
    ::close(fds[0]);
    ::waitpid(middle, nullptr, 0);
    return program;
}

char processState(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return 0; // gone
    const size_t close = line.rfind(')');
    return close + 2 < line.size() ? line[close + 2] : '?';
}

} // namespace

TEST(ChildReaper, AnEndedProgramOfAnOrphanCollectingProcessIsReapedAndNoOtherIsTouched)
{
    // This test process collects its orphans, as the first process of a container does.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const pid_t program = startDetached("exit 0");
    ASSERT_GT(program, 0);
    // Not reaped, it stays a zombie.
    for (int i = 0; i < 200 && processState(program) != 'Z'; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(processState(program), 'Z');

    ChildReaper reaper;
    reaper.watch(program);
    reaper.watch(program); // once only
    const pid_t running = startDetached("exec sleep 5");
    reaper.watch(running);
    reaper.watch(::getppid()); // not a child: forgotten, never waited for
    EXPECT_EQ(reaper.watched(), 3);
    EXPECT_EQ(reaper.reapEnded(), 1); // the one still running
    EXPECT_EQ(processState(program), 0);
    EXPECT_NE(processState(running), 0);
    EXPECT_NE(processState(running), 'Z');
    ::kill(running, SIGKILL);
    for (int i = 0; i < 200 && reaper.reapEnded() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(reaper.watched(), 0);
    EXPECT_EQ(processState(running), 0);
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
}
