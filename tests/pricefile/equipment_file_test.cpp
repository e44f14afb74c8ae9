// The equipment price file: creation, block reads and in-place writes, the swap, and the
// failures of short files, missing folders and unwritable folders.
#include "base/cp932.h"
#include "registration/core/equipment_block_file.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <csignal>
#include <sys/resource.h>

using namespace velmo;
using velmo::test::TempDir;
namespace fs = std::filesystem;

namespace {

int64_t i64At(const std::string &data, size_t at)
{
    int64_t v;
    std::memcpy(&v, data.data() + at, 8); // the test machine is little-endian, as the files are
    return v;
}

void putI64At(std::string &data, size_t at, int64_t v) { std::memcpy(data.data() + at, &v, 8); }

size_t recordAt(int block, int row) { return (static_cast<size_t>(block) * 15 + row) * 512; }

// A file whose every byte is a pattern of its position, so that any byte written is seen; the
// length bytes of the strings are kept within their fields.
std::string patternFile()
{
    std::string data(EquipmentFileBytes, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>((i * 7 + i / 512) & 0x7f);
    for (size_t r = 0; r < 300; ++r)
        for (const size_t at : {4, 85, 136, 148})
            data[r * 512 + at] = 3;
    return data;
}

} // namespace

TEST(EquipmentFile, AMissingFileIsCreatedWithThreeHundredEmptyRecords)
{
    TempDir dir;
    EquipmentBlockFile store(dir.path / "kigu1.dxa");
    EXPECT_TRUE(store.listNames().empty()); // nothing there yet
    const EquipmentBlock b = store.load(0);
    const std::string data = readWholeFile(dir.path / "kigu1.dxa");
    EXPECT_EQ(data.size(), 153600u);
    EXPECT_EQ(data, std::string(153600, '\0'));
    for (const EquipmentRecord &r : b)
        EXPECT_EQ(r, EquipmentRecord{});
    const std::vector<std::string> names = store.listNames();
    ASSERT_EQ(names.size(), 20u);
    for (const std::string &n : names)
        EXPECT_EQ(n, "");
    EXPECT_TRUE(EquipmentBlockFile("").listNames().empty());
}

TEST(EquipmentFile, AMissingFolderOrAFileInItsPlaceIsAJapaneseErrorAndNothingIsCreated)
{
    TempDir dir;
    try {
        readEquipmentBlock(dir.path / "dx_data" / "kigu1.dxa", 0);
        FAIL() << "no error";
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("フォルダー " + (dir.path / "dx_data").string() + " がありません"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(fs::exists(dir.path / "dx_data"));
    std::ofstream(dir.path / "dx_data") << "x";
    try {
        readEquipmentBlock(dir.path / "dx_data" / "kigu1.dxa", 0);
        FAIL() << "no error";
    } catch (const IoError &e) {
        // A file in the folder's place is a failed look-up, not a missing file: nothing is created.
        EXPECT_NE(std::string(e.what()).find("パスの途中にフォルダーでないものがあります"), std::string::npos) << e.what();
    }
    // A folder where the file should be is read, not replaced.
    fs::create_directories(dir.path / "folder.dxa");
    EXPECT_THROW(readEquipmentBlock(dir.path / "folder.dxa", 0), IoError);
    EXPECT_TRUE(fs::is_directory(dir.path / "folder.dxa"));
}

TEST(EquipmentFile, AShortFileIsNamedWithItsRecordsAndNeverWrittenOrRepaired)
{
    TempDir dir;
    const fs::path p = dir.path / "kigu1.dxa";
    const std::string shortData(512 * 299 + 100, 'x');
    {
        std::ofstream(p, std::ios::binary) << shortData;
    }
    try {
        readEquipmentBlock(p, 0);
        FAIL() << "no error";
    } catch (const IoError &e) {
        EXPECT_EQ(std::string(e.what()),
                  "ファイル " + p.string() + " が短すぎます: 299 レコードしかありません (300 レコード必要)");
    }
    EXPECT_THROW(listEquipmentNames(p), IoError);
    EXPECT_THROW(writeEquipmentBlock(p, 0, EquipmentBlock{}), IoError);
    EXPECT_THROW(swapEquipmentBlocks(p, 0, 1), IoError);
    EXPECT_EQ(readWholeFile(p), shortData);
    EXPECT_THROW(readEquipmentBlock(p, 20), RangeError);
    EXPECT_THROW(readEquipmentBlock(p, -1), RangeError);
    // Writing needs a file: a save never creates one.
    EXPECT_THROW(writeEquipmentBlock(dir.path / "none.dxa", 0, EquipmentBlock{}), IoError);
    EXPECT_FALSE(fs::exists(dir.path / "none.dxa"));
}

TEST(EquipmentFile, SavingBlockSevenChangesOnlyItsBytesAndCarriesEveryFieldThrough)
{
    TempDir dir;
    const fs::path p = dir.path / "kigu1.dxa";
    std::string before = patternFile();
    writeFileAtomically(p, before + "tail bytes past the last record");
    // A file longer than 300 records may be of another kind: refused, and left as it is.
    EXPECT_THROW(readEquipmentBlock(p, 7), IoError);
    EXPECT_THROW(writeEquipmentBlock(p, 7, EquipmentBlock{}), IoError);
    EXPECT_EQ(readWholeFile(p), before + "tail bytes past the last record");
    writeFileAtomically(p, before);

    EquipmentBlock b = readEquipmentBlock(p, 7);
    const EquipmentBlock asRead = b;
    // Nothing edited: the block's fields come back as they were; only Serial, the unit of
    // records 1–14 and the bytes that carry no meaning (padding, after a string) may differ.
    writeEquipmentBlock(p, 7, b);
    std::string after = readWholeFile(p);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        if (i < 53760 || i >= 61440) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
    }
    EquipmentBlock back = readEquipmentBlock(p, 7);
    for (int row = 0; row < 15; ++row) {
        EXPECT_EQ(back[row].reserved0, asRead[row].reserved0);
        EXPECT_EQ(back[row].name, asRead[row].name);
        EXPECT_EQ(back[row].caption, asRead[row].caption);
        EXPECT_EQ(back[row].size, asRead[row].size);
        EXPECT_EQ(back[row].reserved144, asRead[row].reserved144);
        EXPECT_EQ(back[row].rowTag, asRead[row].rowTag);
        EXPECT_EQ(back[row].values, asRead[row].values);
        EXPECT_EQ(back[row].serial, Currency());
        EXPECT_EQ(back[row].unit, asRead[0].unit);
    }

    // Edited: the unit of record 0 goes into all 15 records, and the slots at 456 and 504 keep
    // the bytes on disk, whatever the block in memory holds there.
    b[0].unit.assignText("本");
    b[3].serial = Currency::fromInt(99);
    b[3].values[equipmentSlot(208)] = Cur("1234.5");
    for (EquipmentRecord &r : b) {
        r.values[eqslot::KeptA] = Cur("777");
        r.values[eqslot::KeptB] = Cur("888");
    }
    writeEquipmentBlock(p, 7, b);
    after = readWholeFile(p);
    for (int row = 0; row < 15; ++row) {
        const size_t at = recordAt(7, row);
        EXPECT_EQ(i64At(after, at + 128), 0);
        EXPECT_EQ(after.substr(at + 148, 3), "\x02" + cp932::encode("本"));
        EXPECT_EQ(i64At(after, at + 456), i64At(before, at + 456)) << row;
        EXPECT_EQ(i64At(after, at + 504), i64At(before, at + 504)) << row;
    }
    EXPECT_EQ(i64At(after, recordAt(7, 3) + 208), 12345000);
    EXPECT_EQ(after.size(), 153600u);
}

TEST(EquipmentFile, TextsAreCutToTheirFieldsInBytes)
{
    TempDir dir;
    const fs::path p = dir.path / "kigu1.dxa";
    EquipmentBlock b = readEquipmentBlock(p, 0);
    b[0].name.assignText(std::string(85, 'n'));
    b[1].caption.assignText(std::string(41, 'c'));
    b[2].caption.assignText("aああああああああああああああああああああ"); // 41 bytes in CP932
    b[0].unit.assignText("ケース");                                      // 6 bytes
    writeEquipmentBlock(p, 0, b);
    const std::string data = readWholeFile(p);
    EXPECT_EQ(static_cast<unsigned char>(data[4]), 80);
    EXPECT_EQ(data.substr(5, 80), std::string(80, 'n'));
    EXPECT_EQ(static_cast<unsigned char>(data[512 + 85]), 40);
    EXPECT_EQ(data.substr(512 + 86, 40), std::string(40, 'c'));
    const EquipmentBlock back = readEquipmentBlock(p, 0);
    EXPECT_EQ(back[2].caption.view().size(), 40u);
    // The cut falls inside the last あ; its lone lead byte is dropped when read.
    EXPECT_EQ(back[2].caption.text(), "aあああああああああああああああああああ");
    EXPECT_EQ(back[9].unit.text(), "ケー");
}

TEST(EquipmentFile, ASwapExchangesTwoBlocksWholeAndLeavesTheOtherEighteen)
{
    TempDir dir;
    const fs::path p = dir.path / "kigu1.dxa";
    std::string before = patternFile();
    for (int block : {2, 3})
        for (int row = 0; row < 15; ++row)
            putI64At(before, recordAt(block, row) + 128, 5);
    writeFileAtomically(p, before);
    swapEquipmentBlocks(p, 2, 3);
    const std::string after = readWholeFile(p);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, recordAt(2, 0)), before.substr(0, recordAt(2, 0)));
    EXPECT_EQ(after.substr(recordAt(4, 0)), before.substr(recordAt(4, 0)));
    for (int row = 0; row < 15; ++row) {
        for (const auto &[to, from] : {std::pair{2, 3}, std::pair{3, 2}}) {
            std::string expected = before.substr(recordAt(from, row), 512);
            putI64At(expected, 128, 0);
            EXPECT_EQ(after.substr(recordAt(to, row), 512), expected) << "block " << to << " row " << row;
        }
    }
}

TEST(EquipmentFile, AWriteThatFailsLikeAFullDiskLeavesTheFileAsItWas)
{
    TempDir dir;
    const fs::path p = dir.path / "kigu1.dxa";
    EquipmentBlock b = readEquipmentBlock(p, 4);
    b[0].name.assignText("仕切弁");
    // Files may grow to 100,000 bytes only: the new file cannot be written whole.
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    try {
        writeEquipmentBlock(p, 4, b);
        ADD_FAILURE() << "no error";
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("ファイル " + p.string() + " に書き込めません"), std::string::npos) << e.what();
    }
    EXPECT_THROW(swapEquipmentBlocks(p, 4, 5), IoError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(readWholeFile(p), std::string(153600, '\0'));
    EXPECT_EQ(fs::directory_iterator(dir.path)->path(), p); // no temporary file left
}
