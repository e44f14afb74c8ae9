// Whole-file writes under every planned fault: the old file stays byte for byte, nothing is
// left beside it, and the error names the file and the cause in Japanese.
#include "base/errors.h"
#include "base/fileio.h"
#include "tests/common/temp_dir.h"
#include "tests/common/write_faults.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;


TEST(WriteFaults, EveryStageAndCauseLeavesTheOldFileAndNamesItInJapanese)
{
    TempDir dir;
    const fs::path file = dir.path / "kanzai1.fda";
    const std::string old(432000, 'o');
    writeFileAtomically(file, old);
    for (const PlannedFault &c : PlannedFaults) {
        SCOPED_TRACE(static_cast<int>(c.stage) * 1000 + c.error);
        FaultScope fault(c);
        try {
            writeFileAtomically(file, std::string(432000, 'n'));
            ADD_FAILURE() << "the write succeeded";
        } catch (const IoError &e) {
            const std::string m = e.what();
            EXPECT_NE(m.find(file.string()), std::string::npos) << m;
            EXPECT_NE(m.find(c.cause), std::string::npos) << m;
        }
        EXPECT_EQ(readWholeFile(file), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
    }
}

TEST(WriteFaults, AFailedLookAtTheFileReplacedNeitherOpensItToOthersNorReplacesItsLink)
{
    TempDir dir;
    fs::create_directories(dir.path / "store");
    const fs::path file = dir.path / "store" / "kanzai1.fda";
    const fs::path link = dir.path / "kanzai1.fda";
    writeFileAtomically(file, "old");
    const fs::perms privateMode = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(file, privateMode);
    fs::create_symlink("store/kanzai1.fda", link);
    for (const int error : {EIO, ESTALE, EACCES}) {
        SCOPED_TRACE(error);
        FaultScope fault({WriteFault::Stage::Look, error, ""});
        const std::string message = ioErrorMessage([&] { writeFileAtomically(link, "new"); });
        EXPECT_NE(message.find(link.string()), std::string::npos) << message;
        EXPECT_EQ(message.find("保存しました"), std::string::npos) << message;
        EXPECT_EQ(readWholeFile(file), "old");
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, privateMode);
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path / "store"), fs::directory_iterator()), 1);
    }
}

TEST(WriteFaults, TheFaultMeetsOnlyTheNthWrite)
{
    TempDir dir;
    FaultScope fault({WriteFault::Stage::Write, ENOSPC, "空き容量"}, 2);
    writeFileAtomically(dir.path / "Print.conf", "one");
    EXPECT_THROW(writeFileAtomically(dir.path / "print_header.dat", "two"), IoError);
    writeFileAtomically(dir.path / "print_Data.dat", "three");
    EXPECT_EQ(readWholeFile(dir.path / "Print.conf"), "one");
    EXPECT_FALSE(fs::exists(dir.path / "print_header.dat"));
    EXPECT_EQ(readWholeFile(dir.path / "print_Data.dat"), "three");
}

TEST(WriteFaults, AFolderThatCannotBeWrittenIsNamedWithoutAPlannedFault)
{
    TempDir dir;
    const fs::path locked = dir.path / "locked";
    fs::create_directories(locked);
    writeFileAtomically(locked / "velmo_p.conf", "old");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() == 0) {
        fs::permissions(locked, fs::perms::owner_all);
        GTEST_SKIP() << "running as root: folder permissions do not stop root (the planned faults cover it)";
    }
    try {
        writeFileAtomically(locked / "velmo_p.conf", "new");
        ADD_FAILURE();
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("アクセスが拒否"), std::string::npos) << e.what();
    }
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(readWholeFile(locked / "velmo_p.conf"), "old");
}
