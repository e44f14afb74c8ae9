#pragma once
// A shared drive for the tests: an sshd that the test starts on 127.0.0.1, with a host key and a
// login key made for the test, and its folder mounted through sshfs. NetworkShareTest starts one
// for each test and skips, with the reason, only where FUSE is missing (no /dev/fuse, or the
// mount is refused) or sshd, sshfs or ssh-keygen are not installed.
#include "base/file_history.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char **environ;
namespace fs = std::filesystem;

namespace velmo::test {

using namespace std::chrono_literals;

using Clock = std::chrono::steady_clock;

// Waits until `done` holds, at most `limit`; whether it held.
inline bool waitFor(const std::function<bool()> &done, std::chrono::milliseconds limit)
{
    const auto end = Clock::now() + limit;
    for (;;) {
        if (done())
            return true;
        if (Clock::now() >= end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
}

inline std::string fileText(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void putFile(const fs::path &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The programs a process started, directly or through its children (by parent id in /proc).
inline std::vector<pid_t> descendantsOf(pid_t root)
{
    std::vector<std::pair<pid_t, pid_t>> parents; // (pid, parent)
    std::error_code ec;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        // "pid (comm) state ppid …": the command may hold spaces and parentheses.
        const std::string stat = fileText(it->path() / "stat");
        const size_t close = stat.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(stat.substr(close + 1));
        char state = 0;
        pid_t parent = 0;
        if (rest >> state >> parent)
            parents.emplace_back(static_cast<pid_t>(std::stol(name)), parent);
    }
    std::vector<pid_t> found{root};
    for (size_t i = 0; i < found.size(); ++i)
        for (const auto &[pid, parent] : parents)
            if (parent == found[i])
                found.push_back(pid);
    found.erase(found.begin());
    return found;
}

// A program the test started, its output in a log file. Stopped when it goes out of scope:
// SIGTERM, then SIGKILL when it has not ended within two seconds.
class Process {
public:
    Process(const std::vector<std::string> &args, const fs::path &log)
    {
        std::vector<char *> argv;
        std::vector<std::string> copy = args;
        for (std::string &a : copy)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const int err = ::posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (err != 0)
            pid_ = -1;
    }
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;
    ~Process() { stop(); }

    pid_t pid() const { return pid_; }
    bool running()
    {
        if (pid_ < 0)
            return false;
        int status = 0;
        const pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == 0)
            return true;
        if (r == pid_)
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
        return false;
    }
    // The exit status once it ended within `limit`; otherwise it is stopped and the answer is
    // nothing.
    std::optional<int> wait(std::chrono::milliseconds limit)
    {
        if (!waitFor([&] { return !running(); }, limit)) {
            stop();
            return std::nullopt;
        }
        return status_;
    }
    void stop()
    {
        if (pid_ < 0)
            return;
        ::kill(pid_, SIGTERM);
        if (!waitFor([&] { return !running(); }, 2000ms)) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// Runs a program to its end (at most `limit`); its exit status, or nothing when it could not
// start or did not end in time.
inline std::optional<int> run(const std::vector<std::string> &args, const fs::path &log,
                       std::chrono::milliseconds limit = 10000ms)
{
    Process p(args, log);
    if (p.pid() < 0)
        return std::nullopt;
    return p.wait(limit);
}

inline std::optional<fs::path> onPath(const std::string &name)
{
    const char *path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && ::access((fs::path(dir) / name).c_str(), X_OK) == 0)
            return fs::path(dir) / name;
    return std::nullopt;
}

// A TCP port on 127.0.0.1 that nothing listens on now.
inline int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}

inline bool listening(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

// Whether something is mounted at `folder`, from the mount table: a mount whose server is
// gone still counts, though a look at the folder itself would only fail.
inline bool mountedAt(const fs::path &folder)
{
    std::istringstream mounts(fileText("/proc/self/mounts"));
    for (std::string line; std::getline(mounts, line);) {
        std::istringstream fields(line);
        std::string device, at;
        if (fields >> device >> at && at == folder.string())
            return true;
    }
    return false;
}

// An sshd on 127.0.0.1 serving `server()` and that folder mounted through sshfs at `share()`.
// Everything is taken down when it goes out of scope, whatever the test did: the mount, sshfs,
// sshd and the sessions it forked. A watchdog ends a test that hangs on the share by ending
// sshfs, which makes every waiting file operation fail.
class NetworkShare {
public:
    enum class Outcome { Mounted, Skip, Fail };

    NetworkShare() = default;
    NetworkShare(const NetworkShare &) = delete;
    NetworkShare &operator=(const NetworkShare &) = delete;
    ~NetworkShare()
    {
        {
            std::lock_guard lock(mutex_);
            ending_ = true;
        }
        wake_.notify_all();
        if (watchdog_.joinable())
            watchdog_.join();
        unmount();
        sshfs_.reset();
        stopSshd();
    }

    const fs::path &server() const { return server_; }
    const fs::path &share() const { return share_; }
    const fs::path &folder() const { return dir_.path; }
    // Why it is not mounted, for a skip or a failure.
    const std::string &reason() const { return reason_; }

    Outcome start()
    {
        const fs::path sshd = "/usr/sbin/sshd";
        if (::access("/dev/fuse", R_OK | W_OK) != 0)
            return skip("no FUSE here: /dev/fuse cannot be opened");
        if (::access(sshd.c_str(), X_OK) != 0)
            return skip("sshd is not installed (" + sshd.string() + ", Debian openssh-server)");
        const auto sshfs = onPath("sshfs");
        const auto keygen = onPath("ssh-keygen");
        fusermount_ = onPath("fusermount3");
        if (!fusermount_)
            fusermount_ = onPath("fusermount");
        if (!sshfs || !keygen || !fusermount_ || !onPath("ssh"))
            return skip("sshfs, ssh, ssh-keygen or fusermount is not installed (Debian sshfs, openssh-client, fuse3)");

        server_ = dir_.path / "server";
        share_ = dir_.path / "share";
        fs::create_directory(server_);
        fs::create_directory(share_);
        const fs::path log = dir_.path / "log.txt";
        for (const char *key : {"host_key", "user_key"})
            if (run({keygen->string(), "-q", "-t", "ed25519", "-N", "", "-f", (dir_.path / key).string()}, log) != 0)
                return fail("ssh-keygen made no key: " + fileText(log));
        fs::copy_file(dir_.path / "user_key.pub", dir_.path / "authorized_keys");
        // sshd started as root separates privileges into this empty folder.
        std::error_code ec;
        fs::create_directories("/run/sshd", ec);

        // A port that was free may be taken before sshd binds it: then another one.
        for (int attempt = 0; attempt < 3 && !sshdUp(sshd); ++attempt) {
        }
        if (port_ == 0)
            return fail("sshd does not listen on 127.0.0.1: " + fileText(dir_.path / "sshd.log"));

        const std::string options = "IdentityFile=" + (dir_.path / "user_key").string() +
                                    ",StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,BatchMode=yes"
                                    ",LogLevel=ERROR,ConnectTimeout=5,port=" +
                                    std::to_string(port_) +
                                    // Nothing cached on the client, so that a change on the
                                    // server is seen at the next look.
                                    ",cache=no";
        sshfsLog_ = dir_.path / "sshfs.log";
        sshfs_ = std::make_unique<Process>(std::vector<std::string>{sshfs->string(), "-f", "-F", "/dev/null", "-o",
                                                                    options, "127.0.0.1:" + server_.string(),
                                                                    share_.string()},
                                           sshfsLog_);
        if (!waitFor([&] { return mountedAt(share_) || !sshfs_->running(); }, 10000ms) || !mountedAt(share_)) {
            const std::string said = fileText(sshfsLog_);
            sshfs_.reset();
            // The mount refused by the kernel or by fusermount: no FUSE here.
            if (said.find("fuse") != std::string::npos || said.find("mount") != std::string::npos)
                return skip("the FUSE mount is refused here: " + said);
            return fail("sshfs did not mount the share: " + said + "\nsshd: " + fileText(dir_.path / "sshd.log"));
        }
        watchdog_ = std::thread([this] { watch(); });
        return Outcome::Mounted;
    }

    // Cuts the connection as a network failure would: the server's side of the session ends.
    void cutConnection()
    {
        if (sshd_)
            for (const pid_t pid : descendantsOf(sshd_->pid()))
                ::kill(pid, SIGKILL);
    }

private:
    Outcome skip(std::string why)
    {
        reason_ = std::move(why);
        return Outcome::Skip;
    }
    Outcome fail(std::string why)
    {
        reason_ = std::move(why);
        return Outcome::Fail;
    }

    // Starts sshd on a free port and waits (a few seconds at most) until it listens.
    bool sshdUp(const fs::path &sshd)
    {
        stopSshd();
        port_ = freePort();
        const fs::path config = dir_.path / "sshd_config";
        std::ofstream(config) << "ListenAddress 127.0.0.1\n"
                              << "Port " << port_ << "\n"
                              << "HostKey " << (dir_.path / "host_key").string() << "\n"
                              << "PidFile " << (dir_.path / "sshd.pid").string() << "\n"
                              << "AuthorizedKeysFile " << (dir_.path / "authorized_keys").string() << "\n"
                              << "PermitRootLogin prohibit-password\n"
                              << "PasswordAuthentication no\n"
                              << "KbdInteractiveAuthentication no\n"
                              << "StrictModes no\n"
                              << "UsePAM no\n"
                              << "Subsystem sftp internal-sftp\n";
        sshd_ = std::make_unique<Process>(std::vector<std::string>{sshd.string(), "-D", "-e", "-f", config.string()},
                                          dir_.path / "sshd.log");
        if (sshd_->pid() > 0 && waitFor([&] { return listening(port_) || !sshd_->running(); }, 5000ms) &&
            sshd_->running())
            return true;
        port_ = 0;
        return false;
    }

    void stopSshd()
    {
        if (!sshd_)
            return;
        // The sessions first: once the listener is gone they are no longer known as its own.
        for (const pid_t pid : descendantsOf(sshd_->pid()))
            ::kill(pid, SIGKILL);
        sshd_.reset();
    }

    // Whatever start() got to: a mount that came late or whose sshfs ended is taken down too.
    void unmount()
    {
        if (share_.empty() || !mountedAt(share_))
            return; // never mounted, or sshfs ended and took its mount with it
        const fs::path log = dir_.path / "log.txt";
        if (run({fusermount_->string(), "-u", share_.string()}, log, 5000ms) != 0)
            run({fusermount_->string(), "-u", "-z", share_.string()}, log, 5000ms); // busy: detached
    }

    void watch()
    {
        std::unique_lock lock(mutex_);
        if (!wake_.wait_for(lock, 20s, [&] { return ending_; }) && sshfs_ && sshfs_->pid() > 0) {
            std::fprintf(stderr, "the share did not answer for 20 s: sshfs is ended\n");
            ::kill(sshfs_->pid(), SIGKILL);
        }
    }

    TempDir dir_; // first made, last removed: after the mount is gone
    fs::path server_, share_, sshfsLog_;
    std::optional<fs::path> fusermount_;
    std::unique_ptr<Process> sshd_;
    std::unique_ptr<Process> sshfs_;
    int port_ = 0;
    std::string reason_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool ending_ = false;
    std::thread watchdog_;
};

class NetworkShareTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        net_ = std::make_unique<NetworkShare>();
        switch (net_->start()) {
        case NetworkShare::Outcome::Mounted:
            return;
        case NetworkShare::Outcome::Skip:
            std::fprintf(stderr, "skipped: %s\n", net_->reason().c_str());
            GTEST_SKIP() << net_->reason();
        case NetworkShare::Outcome::Fail:
            FAIL() << net_->reason();
        }
    }
    void TearDown() override { net_.reset(); }

    fs::path onServer(const std::string &name) const { return net_->server() / name; }
    fs::path onShare(const std::string &name) const { return net_->share() / name; }

    // Another program on the server's side: its exit status.
    std::optional<int> otherProgram(const std::vector<std::string> &args) const
    {
        return run(args, net_->folder() / "log.txt");
    }

    // The files in the served folder, hidden ones too (a save's temporaries), but for the
    // folder of the earlier versions.
    std::vector<std::string> serverFiles() const
    {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(net_->server()))
            if (e.path().filename() != HistoryFolderName)
                names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::unique_ptr<NetworkShare> net_;
};

} // namespace velmo::test
