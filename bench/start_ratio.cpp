// Start-up time of window programs against a bare Qt window, in one run on the current X
// display: each program is started N times, the programs taking turns, and the time from the
// start of the process to the mapping of its first top-level window is taken, and the processor
// time the process had used by then (all its threads); then the process is ended. Prints each
// program's medians of both and their ratios to the first program's medians: the processor
// time is the steadier figure on a machine that other work shares.
//
//   start_ratio [-n N] BARE PROGRAM [PROGRAM ...]
//
// A program may carry its argument after a comma: "build/bin/velmok,3;5;".
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string path;
    std::string argument; // empty: none
    std::vector<double> ms;
    std::vector<double> cpuMs;
};

struct Start {
    double ms = -1;    // wall time to the first mapped window; negative: none within 20 s
    double cpuMs = -1; // processor time of the process by then
};

// The processor time in milliseconds that the process's threads have used so far, from the
// scheduler's nanoseconds of each thread; negative when /proc does not tell.
double processorMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = ::opendir(tasks.c_str());
    if (!dir)
        return -1;
    double ns = 0;
    bool any = false;
    while (const dirent *d = ::readdir(dir)) {
        if (d->d_name[0] == '.')
            continue;
        std::ifstream in(tasks + "/" + d->d_name + "/schedstat");
        double onCpu = 0;
        if (in >> onCpu) {
            ns += onCpu;
            any = true;
        }
    }
    ::closedir(dir);
    return any ? ns / 1e6 : -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0.0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Starts the program and waits until a top-level window of the display is mapped; returns the
// milliseconds it took and the processor time used, or a negative time when no window was
// mapped within 20 seconds.
Start timeToMappedWindow(xcb_connection_t *c, const Program &p)
{
    // Events of earlier runs are dropped before the clock starts.
    while (xcb_generic_event_t *e = xcb_poll_for_event(c))
        std::free(e);
    std::vector<char *> argv{const_cast<char *>(p.path.c_str())};
    if (!p.argument.empty())
        argv.push_back(const_cast<char *>(p.argument.c_str()));
    argv.push_back(nullptr);

    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, p.path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "%s を起動できません: %s\n", p.path.c_str(), std::strerror(errno));
        std::exit(2);
    }
    Start result;
    const int fd = xcb_get_file_descriptor(c);
    while (result.ms < 0) {
        const auto waited = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (waited > 20000)
            break;
        xcb_generic_event_t *e = xcb_poll_for_event(c);
        if (!e) {
            pollfd pfd{fd, POLLIN, 0};
            ::poll(&pfd, 1, 50);
            continue;
        }
        if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto *m = reinterpret_cast<const xcb_map_notify_event_t *>(e);
            if (!m->override_redirect) {
                result.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                result.cpuMs = processorMs(pid);
            }
        }
        std::free(e);
    }
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 20;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "-n") == 0) {
        runs = std::max(1, std::atoi(argv[2]));
        first = 3;
    }
    if (argc - first < 2) {
        std::fprintf(stderr, "使い方: start_ratio [-n N] BARE PROGRAM [PROGRAM ...]\n");
        return 2;
    }
    std::vector<Program> programs;
    for (int i = first; i < argc; ++i) {
        const std::string a = argv[i];
        const size_t comma = a.find(',');
        programs.push_back({a.substr(0, comma), comma == std::string::npos ? "" : a.substr(comma + 1), {}, {}});
    }

    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "X ディスプレイに接続できません (DISPLAY)\n");
        return 2;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    // One start of each first, not counted: the file cache then holds the libraries and fonts.
    for (Program &p : programs)
        timeToMappedWindow(c, p);
    for (int r = 0; r < runs; ++r)
        for (Program &p : programs) {
            const Start s = timeToMappedWindow(c, p);
            if (s.ms < 0) {
                std::fprintf(stderr, "%s: 20 秒以内にウィンドウが表示されません\n", p.path.c_str());
                return 1;
            }
            p.ms.push_back(s.ms);
            p.cpuMs.push_back(s.cpuMs);
        }
    xcb_disconnect(c);

    const double base = median(programs.front().ms);
    const double cpuBase = median(programs.front().cpuMs);
    std::printf("%-40s %8s %8s %8s %7s %8s %7s\n", "program", "median", "min", "max", "ratio", "cpu", "ratio");
    for (const Program &p : programs) {
        const double m = median(p.ms);
        const double cpu = median(p.cpuMs);
        std::printf("%-40s %6.1fms %6.1fms %6.1fms %6.2fx %6.1fms %6.2fx\n",
                    (p.path + (p.argument.empty() ? "" : " " + p.argument)).c_str(), m,
                    *std::min_element(p.ms.begin(), p.ms.end()), *std::max_element(p.ms.begin(), p.ms.end()),
                    base > 0 ? m / base : 0.0, cpu, cpuBase > 0 ? cpu / cpuBase : 0.0);
    }
    std::printf("%d runs each, alternating\n", runs);
    return 0;
}
