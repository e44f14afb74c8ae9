// The write lock of our programs on a price file: a second writer waits, then merges its block
// into what the first wrote or refuses; a writer that waits too long gives up naming the file;
// a program that is not ours changing the file just before the rename is seen; a read-only
// file is never replaced.
#include "base/file_history.h"
#include "base/shared_texts.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "pricefile/pipe_block.h"
#include "pricefile/service_file.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sys/stat.h>
#include <thread>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

// The entries of a folder but for the folder of the earlier versions (its own tests look there).
long filesIn(const fs::path &folder)
{
    long n = 0;
    for (const auto &e : fs::directory_iterator(folder))
        n += e.path().filename() != HistoryFolderName;
    return n;
}

PipeBlock named(const std::string &name)
{
    PipeBlock b{};
    b[0].name.assignText(name);
    return b;
}

std::string nameOn(const fs::path &file, int pipe) { return readPipeBlock(file, pipe)[0].name.text(); }

// A file whose 20 blocks are named "元0" … "元19".
fs::path seeded(const TempDir &dir)
{
    const fs::path p = dir.path / "kanzai1.fda";
    ServiceFile f;
    for (int i = 0; i < PipesPerFile; ++i)
        f.pipeBlock(i)[0].name.assignText("元" + std::to_string(i));
    f.save(p);
    return p;
}

// Runs `first` in a thread that stops inside the lock, just before its rename, until `second`
// (in this thread) has started and waited a while for the lock.
template <typename First, typename Second>
void whileFirstHoldsTheLock(First first, Second second)
{
    std::atomic<bool> inside{false};
    std::exception_ptr failed;
    std::thread t([&] {
        setBeforeReplaceHook([&] {
            inside = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        });
        try {
            first();
        } catch (...) {
            failed = std::current_exception();
        }
        setBeforeReplaceHook({});
    });
    while (!inside)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    try {
        second();
    } catch (...) {
        t.join();
        throw;
    }
    t.join();
    if (failed)
        std::rethrow_exception(failed);
}

} // namespace

TEST(WriteLock, TheSecondBlockWriterWaitsAndMergesOrRefusesTheSameBlock)
{
    TempDir dir;
    const fs::path p = seeded(dir);
    const std::string read = readWholeFile(p); // what both writers read

    whileFirstHoldsTheLock([&] { writePipeBlock(p, 0, named("一"), blocksAsRead(read, {0}, PipeBlockBytes)); },
                           [&] { writePipeBlock(p, 2, named("二"), blocksAsRead(read, {2}, PipeBlockBytes)); });
    EXPECT_EQ(nameOn(p, 0), "一");
    EXPECT_EQ(nameOn(p, 2), "二");
    EXPECT_EQ(nameOn(p, 1), "元1");

    const std::string again = readWholeFile(p);
    whileFirstHoldsTheLock([&] { writePipeBlock(p, 3, named("三"), blocksAsRead(again, {3}, PipeBlockBytes)); },
                           [&] {
                               EXPECT_THROW(writePipeBlock(p, 3, named("参"), blocksAsRead(again, {3}, PipeBlockBytes)),
                                            ChangedOnDiskError);
                           });
    EXPECT_EQ(nameOn(p, 3), "三");

    // A whole-file writer that read before the first wrote refuses; without the check it
    // writes over it, as the person asked.
    ServiceFile whole;
    whole.load(p);
    whole.pipeBlock(9)[0].name.assignText("九");
    whileFirstHoldsTheLock([&] { writePipeBlock(p, 4, named("四")); },
                           [&] { EXPECT_THROW(whole.save(p, ServiceFile::SaveCheck::Unchanged), ChangedOnDiskError); });
    EXPECT_EQ(nameOn(p, 4), "四");
    EXPECT_EQ(nameOn(p, 9), "元9");
    whole.save(p, ServiceFile::SaveCheck::None);
    EXPECT_EQ(nameOn(p, 9), "九");
    EXPECT_FALSE(fs::exists(dir.path / ".kanzai1.fda.lock"));
    EXPECT_EQ(filesIn(dir.path), 1);
}

TEST(WriteLock, AWriterThatWaitsTooLongGivesUpNamingTheFile)
{
    TempDir dir;
    const fs::path p = seeded(dir);
    const std::string before = readWholeFile(p);
    setWriteLockWait(std::chrono::milliseconds(200));
    {
        const WriteLock other(p);
        EXPECT_TRUE(other.held());
        try {
            writePipeBlock(p, 0, named("一"));
            ADD_FAILURE() << "written while another writer held the lock";
        } catch (const IoError &e) {
            EXPECT_NE(std::string(e.what()).find(p.string()), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("保存中"), std::string::npos) << e.what();
        }
        EXPECT_EQ(WriteLock::tryHold(p), nullptr);
    }
    setWriteLockWait(DefaultLockWait);
    EXPECT_EQ(readWholeFile(p), before);
    writePipeBlock(p, 0, named("一"));
    EXPECT_EQ(nameOn(p, 0), "一");
}

TEST(WriteLock, AChangeByAnotherProgramJustBeforeTheRenameIsMergedOrRefused)
{
    TempDir dir;
    const fs::path p = seeded(dir);
    // A program that is not ours writes block 5 in place while our writer is inside the lock.
    char mark = 'X';
    auto theirs = [&] {
        std::fstream io(p, std::ios::in | std::ios::out | std::ios::binary);
        io.seekp(static_cast<std::streamoff>(5 * PipeBlockBytes) + 100);
        io.write(&mark, 1);
    };
    int calls = 0;
    setBeforeReplaceHook([&] {
        if (calls++ == 0)
            theirs();
    });
    const std::string read = readWholeFile(p);
    writePipeBlock(p, 0, named("一"), blocksAsRead(read, {0}, PipeBlockBytes));
    EXPECT_EQ(calls, 2) << "the block was not composed again on the changed file";
    const std::string now = readWholeFile(p);
    EXPECT_EQ(now[5 * PipeBlockBytes + 100], 'X') << "the other program's change was lost";
    EXPECT_EQ(nameOn(p, 0), "一");

    ServiceFile whole;
    whole.load(p);
    calls = 0;
    mark = 'Y';
    EXPECT_THROW(whole.save(p, ServiceFile::SaveCheck::Unchanged), ChangedOnDiskError);
    EXPECT_EQ(readWholeFile(p)[5 * PipeBlockBytes + 100], 'Y');
    setBeforeReplaceHook({});
    EXPECT_EQ(nameOn(p, 0), "一");
    EXPECT_EQ(filesIn(dir.path), 1) << "litter left";
}

TEST(WriteLock, AReadOnlyFileIsNeverReplacedWhoeverAsks)
{
    TempDir dir;
    const fs::path p = seeded(dir);
    const std::string before = readWholeFile(p);
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(isReadOnlyFile(p)); // for root too: no write bit for anyone
    EXPECT_FALSE(isReadOnlyFile(dir.path / "none.fda"));
    const std::string refusal = sharedtext::readOnlyFileText(p);
    for (const auto &write : std::vector<std::function<void()>>{
             [&] { writePipeBlock(p, 0, named("一")); },
             [&] { swapPipeBlocks(p, 0, 1); },
             [&] { ServiceFile().save(p); },
             [&] { writeFileAtomically(p, "x"); },
         }) {
        try {
            write();
            ADD_FAILURE() << "a read-only file was replaced";
        } catch (const IoError &e) {
            EXPECT_EQ(std::string(e.what()), refusal);
        }
    }
    EXPECT_EQ(readWholeFile(p), before);
    ServiceFile f;
    f.load(p);
    EXPECT_TRUE(f.readOnly());
    fs::permissions(p, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(isReadOnlyFile(p));
    f.load(p);
    EXPECT_FALSE(f.readOnly());
}
