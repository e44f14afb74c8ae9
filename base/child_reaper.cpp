#include "base/child_reaper.h"

#include <algorithm>
#include <cerrno>
#include <sys/types.h>
#include <sys/wait.h>

namespace velmo {

void ChildReaper::watch(int pid)
{
    if (pid > 0 && std::find(pids_.begin(), pids_.end(), pid) == pids_.end())
        pids_.push_back(pid);
}

int ChildReaper::reapEnded()
{
    std::erase_if(pids_, [](int pid) {
        int status = 0;
        pid_t r;
        do {
            r = ::waitpid(pid, &status, WNOHANG);
        } while (r < 0 && errno == EINTR);
        return r != 0; // ended and collected, or not a child of this process
    });
    return watched();
}

} // namespace velmo
