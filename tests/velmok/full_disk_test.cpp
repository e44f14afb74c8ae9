// A save onto a real disk that is full: a small tmpfs over the data folder. The old price file
// stays byte for byte, the error names it and says the disk is full, the edits stay marked.
// The file system is mounted in a child process of its own (as root, or in a user namespace
// where the machine allows one); where neither is possible the test is skipped.
#include "base/errors.h"
#include "base/fileio.h"
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmo;
using velmo::test::ProgramFolder;
using velmo::test::typeLabour;
namespace fs = std::filesystem;

namespace {

constexpr int Skip = 77;

// In the child: a tmpfs of `bytes` over `folder`, in a mount namespace of the child's own.
bool mountSmallDisk(const fs::path &folder, size_t bytes)
{
    if (::unshare(CLONE_NEWNS) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    const std::string options = "size=" + std::to_string(bytes);
    return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

// The child's checks; its exit status: 0 all held, 1 one failed, Skip no disk could be made.
int saveOnAFullDisk(ProgramFolder &pf)
{
    const std::string old = readWholeFile(pf.data() / "kanzai1.fda");
    if (!mountSmallDisk(pf.data(), 700 * 1024))
        return Skip;
    writeFileAtomically(pf.data() / "kanzai1.fda", old); // 432,000 bytes of the 700 KiB
    writeFileAtomically(pf.data() / "haikan1.fda", "");  // the mark that stops the seeding
    MainSession &s = pf.start();
    typeLabour(s, 1, "41000");
    std::string message;
    try {
        s.save(); // a second copy does not fit beside the first
    } catch (const IoError &e) {
        message = e.what();
    }
    const bool held = message.find((pf.data() / "kanzai1.fda").string()) != std::string::npos &&
                      message.find("空き容量") != std::string::npos &&
                      readWholeFile(pf.data() / "kanzai1.fda") == old && s.modified() &&
                      std::distance(fs::directory_iterator(pf.data()), fs::directory_iterator()) == 2;
    if (!held)
        std::fprintf(stderr, "message: %s\n", message.c_str());
    return held ? 0 : 1;
}

} // namespace

TEST(FullDisk, ASaveThatDoesNotFitLeavesTheOldFileAndSaysTheDiskIsFull)
{
    ProgramFolder pf;
    pf.start();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 1;
        try {
            status = saveOnAFullDisk(pf);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "%s\n", e.what());
        }
        std::fflush(nullptr);
        ::_exit(status);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == Skip)
        GTEST_SKIP() << "no small file system can be mounted here (needs root or user namespaces); the planned faults cover the full disk";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
