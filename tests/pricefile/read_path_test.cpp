// Reading a price file: only a missing file is missing, nothing but a regular file of the
// right size is read, a failed look-up never leads to a file being created or replaced, and
// the litter of killed saves goes.
#include "registration/core/equipment_block_file.h"
#include "pricefile/equipment_file.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "registration/core/pipe_block_file.h"
#include "pricefile/service_file.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

constexpr size_t ServiceBytes = 432000;

std::string messageOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const IoError &e) {
        return e.what();
    }
    return "(no error)";
}

// Things at a path that are not a price file, each with a word its refusal must contain.
struct NotAFile {
    fs::path path;
    std::string says;
};

std::vector<NotAFile> notFiles(const fs::path &dir)
{
    fs::create_directory(dir / "folder.fda");
    ::mkfifo((dir / "fifo.fda").c_str(), 0600);
    fs::create_symlink("loop2.fda", dir / "loop1.fda");
    fs::create_symlink("loop1.fda", dir / "loop2.fda");
    std::ofstream(dir / "plain") << "x";
    return {{dir / "folder.fda", "フォルダー"},
            {dir / "fifo.fda", "名前付きパイプ"},
            {dir / "loop1.fda", "循環"},
            {dir / "plain" / "kanzai1.fda", "フォルダーでないもの"}};
}

} // namespace

TEST(ReadPath, OnlyAMissingFileIsMissingAndNothingElseIsCreatedOrRead)
{
    TempDir dir;
    EXPECT_FALSE(readServiceFileIfPresent(dir.path / "none.fda"));
    EXPECT_FALSE(readEquipmentFileIfPresent(dir.path / "none.dxa"));
    EXPECT_NE(messageOf([&] { ServiceFile().load(dir.path / "none.fda"); }).find("がありません"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path / "none.fda"));

    for (const NotAFile &n : notFiles(dir.path)) {
        SCOPED_TRACE(n.path.string());
        // The window's open, which creates a missing file, refuses these; a FIFO does not hang.
        ServiceFile f;
        f.record(0).name.assignText("残る");
        const std::string m = messageOf([&] { f.loadOrCreate(n.path); });
        EXPECT_NE(m.find(n.path.string()), std::string::npos) << m;
        EXPECT_NE(m.find(n.says), std::string::npos) << m;
        EXPECT_EQ(f.record(0).name.text(), "残る");
        EXPECT_NE(messageOf([&] { readEquipmentBlock(n.path, 0); }).find(n.says), std::string::npos);
        EXPECT_NE(messageOf([&] { PipeBlockFile(n.path).load(0); }).find(n.says), std::string::npos);
        EXPECT_NE(messageOf([&] { PipeBlockFile(n.path).listNames(); }).find(n.says), std::string::npos);
    }
    // Each stayed what it was.
    EXPECT_TRUE(fs::is_directory(dir.path / "folder.fda"));
    EXPECT_TRUE(fs::is_fifo(dir.path / "fifo.fda"));
    EXPECT_TRUE(fs::is_symlink(dir.path / "loop1.fda"));
    EXPECT_EQ(readWholeFile(dir.path / "plain"), "x");
}

TEST(ReadPath, TheSizeIsJudgedBeforeAByteIsRead)
{
    TempDir dir;
    // A sparse gigabyte: reading it would take seconds and a gigabyte of memory.
    const fs::path big = dir.path / "big.fda";
    std::ofstream(big) << "x";
    fs::resize_file(big, uintmax_t{1} << 30);
    int checked = 0;
    const std::string m = messageOf([&] {
        readFileIfPresent(big, [&](uintmax_t size) {
            ++checked;
            EXPECT_EQ(size, uintmax_t{1} << 30);
            throw IoError("refused");
        });
    });
    EXPECT_EQ(m, "refused");
    EXPECT_EQ(checked, 1);
    for (const auto &load : std::vector<std::function<void()>>{[&] { ServiceFile().load(big); },
                                                                [&] { ServiceFile().loadOrCreate(big); },
                                                                [&] { readEquipmentFileBytes(big); },
                                                                [&] { readWholeFile(big); }}) {
        const std::string said = messageOf(load);
        EXPECT_NE(said.find("大きすぎます"), std::string::npos) << said;
        EXPECT_NE(said.find("1073741824"), std::string::npos) << said;
    }
    EXPECT_EQ(fs::file_size(big), uintmax_t{1} << 30);

    // Exactly the size of a price file, and the stamp of what was read.
    const fs::path p = dir.path / "kanzai1.fda";
    ServiceFile f;
    f.loadOrCreate(p);
    const auto c = readServiceFileIfPresent(p);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->bytes.size(), ServiceBytes);
    EXPECT_TRUE(c->stamp.exists);
    EXPECT_EQ(c->stamp.size, ServiceBytes);
    EXPECT_FALSE(changedOnDisk(c->stamp, p));
}

TEST(ReadPath, ACreatedFileNeverTakesTheNameOfOneThatIsThere)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai2.fda";
    EXPECT_TRUE(ServiceFile::createEmpty(p));
    EXPECT_EQ(fs::file_size(p), ServiceBytes);
    std::ofstream(p, std::ios::trunc) << "mine";
    EXPECT_FALSE(ServiceFile::createEmpty(p));
    EXPECT_EQ(readWholeFile(p), "mine");
    const fs::path e = dir.path / "kigu1.dxa";
    std::ofstream(e) << "theirs";
    EXPECT_FALSE(createEquipmentFile(e));
    EXPECT_EQ(readWholeFile(e), "theirs");
    // No temporary file is left behind by either refusal.
    int entries = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(dir.path))
        ++entries;
    EXPECT_EQ(entries, 2);
}

TEST(ReadPath, WhetherAFileChangedIsAnErrorWhenItCannotBeTold)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai3.fda";
    ServiceFile f;
    f.loadOrCreate(p);
    EXPECT_FALSE(f.changedSince(p));
    fs::remove(p);
    EXPECT_TRUE(f.changedSince(p)); // gone is changed
    fs::create_directory(p);
    EXPECT_THROW(f.changedSince(p), IoError);
}

TEST(ReadPath, TemporaryFilesOfKilledSavesAreRemovedWhenTheFileIsOpened)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai1.fda";
    ServiceFile::createEmpty(p);
    auto litter = [&](const std::string &name) {
        const fs::path t = dir.path / name;
        std::ofstream(t) << "half a save";
        return t;
    };
    // While a writer of ours holds the lock, its temporary file may be the save going on:
    // nothing goes, however young or old.
    const fs::path fresh = litter(".kanzai1.fda.Zz9yX8");
    {
        const WriteLock running(p);
        ServiceFile f;
        f.loadOrCreate(p);
        EXPECT_TRUE(fs::exists(fresh));
    }
    // Without a writer every temporary file of the file is litter and goes at once, a fresh one
    // too; another file's and names of another pattern stay.
    const fs::path other = litter(".kanzai2.fda.a1B2c3");
    const fs::path longer = litter(".kanzai1.fda.a1B2c3d");
    ServiceFile f;
    f.loadOrCreate(p);
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(fs::exists(longer));
    EXPECT_FALSE(fs::exists(dir.path / ".kanzai1.fda.lock")) << "the lock file outlived its writer";

    // The next write removes them too; the registration programs' stores clean up the same way
    // when they start (through their sessions); a folder that is a file is left alone.
    const fs::path again = litter(".kanzai1.fda.QwErTy");
    writePipeBlock(p, 0, PipeBlock{});
    EXPECT_FALSE(fs::exists(again));
    const fs::path e = dir.path / "kigu1.dxa";
    const fs::path eqOld = litter(".kigu1.dxa.QwErTy");
    removeAbandonedSaves(e);
    EXPECT_FALSE(fs::exists(eqOld));
    removeAbandonedSaves(dir.path / "plainfile" / "x.fda");
}

TEST(ReadPath, PipesDecodedOnDemandSaveAndCopyAsIfAllWereRead)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai5.fda";
    ServiceFile written;
    for (int r = 0; r < RecordsPerFile; ++r) {
        written.record(r).name.assignText("管" + std::to_string(r));
        written.record(r).slots[3] = Currency::fromInt(r);
    }
    written.save(p);
    const std::string before = readWholeFile(p);

    ServiceFile f;
    f.load(p);
    const ServiceFile copy = f; // taken before any pipe was looked at
    EXPECT_FALSE(f.changedSince(p));
    f.pipeBlock(3)[7].name.assignText("変えた");
    EXPECT_EQ(copy.pipeBlock(3)[7].name.text(), "管187");
    EXPECT_EQ(copy.record(1199).slots[3], Currency::fromInt(1199));
    f.save(p);
    const std::string after = readWholeFile(p);
    ASSERT_EQ(after.size(), before.size());
    const size_t changed = (3 * 60 + 7) * 360;
    EXPECT_EQ(after.compare(0, changed, before, 0, changed), 0);
    EXPECT_EQ(after.compare(changed + 360, std::string::npos, before, changed + 360, std::string::npos), 0);
    EXPECT_FALSE(f.changedSince(p));

    // A change by another program is seen whether or not a pipe was looked at.
    ServiceFile untouched;
    untouched.load(p);
    ServiceFile other;
    other.load(p);
    other.record(0).name.assignText("ほか");
    other.save(p);
    EXPECT_TRUE(untouched.changedSince(p));
}
