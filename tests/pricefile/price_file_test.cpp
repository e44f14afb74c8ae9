#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "registration/core/pipe_block_file.h"
#include "pricefile/price_record.h"
#include "pricefile/service_file.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

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

int32_t i32At(const std::string &data, size_t at)
{
    int32_t v;
    std::memcpy(&v, data.data() + at, 4);
    return v;
}

std::string shortAt(const std::string &data, size_t at) { return data.substr(at + 1, static_cast<unsigned char>(data[at])); }

} // namespace

TEST(PriceFile, MissingFileIsCreatedEmptyWithNegativeSerials)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai3.fda";
    ServiceFile f;
    f.loadOrCreate(p);
    const std::string data = readWholeFile(p);
    ASSERT_EQ(data.size(), 432000u);
    EXPECT_EQ(i64At(data, 128), -1199 * 10000LL);
    EXPECT_EQ(i64At(data, 1199 * 360 + 128), 0);
    for (size_t r = 0; r < 1200; ++r) {
        for (size_t b = 0; b < 360; ++b) {
            if (b < 128 || b >= 136) {
                ASSERT_EQ(data[r * 360 + b], 0) << "record " << r << " byte " << b;
            }
        }
    }
    // Until an existing file is read, saves keep numbering from -1199.
    f.save(p);
    EXPECT_EQ(i64At(readWholeFile(p), 128), -1199 * 10000LL);
    f.load(p);
    f.save(p);
    const std::string again = readWholeFile(p);
    EXPECT_EQ(i64At(again, 128), 1 * 10000LL);
    EXPECT_EQ(i64At(again, 1199 * 360 + 128), 1200 * 10000LL);
}

TEST(PriceFile, EveryFieldLiesAtItsOffsetAndReadsBack)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai1.fda";
    ServiceFile f;
    f.loadOrCreate(p);
    PriceRecord &r = f.record(recordIndex(2, 1, 3)); // record 138
    r.reserved0 = 0x11223344;
    r.name.assignText("配管用炭素鋼鋼管（白）");
    r.caption.assignText("機械室");
    r.size.assignText("100A");
    r.reserved144 = -7;
    r.unit.assignText("ｍ");
    r.rowTag = 0x01020304;
    for (int i = 0; i < SlotCount; ++i)
        r.slots[i] = Currency::fromRaw(1000003LL * (i + 1) * (i % 2 ? -1 : 1));
    f.save(p);

    const std::string data = readWholeFile(p);
    const size_t at = 138 * 360;
    EXPECT_EQ(i32At(data, at + 0), 0x11223344);
    EXPECT_EQ(shortAt(data, at + 4), cp932::encode("配管用炭素鋼鋼管（白）"));
    EXPECT_EQ(shortAt(data, at + 85), cp932::encode("機械室"));
    EXPECT_EQ(i64At(data, at + 128), 139 * 10000LL - 1200 * 10000LL);
    EXPECT_EQ(shortAt(data, at + 136), "100A");
    EXPECT_EQ(i32At(data, at + 144), -7);
    EXPECT_EQ(shortAt(data, at + 148), cp932::encode("ｍ"));
    EXPECT_EQ(i32At(data, at + 156), 0x01020304);
    EXPECT_EQ(i64At(data, at + 160), 1000003LL);       // A0
    EXPECT_EQ(i64At(data, at + 216), -1000003LL * 8);  // B1
    EXPECT_EQ(i64At(data, at + 272), 1000003LL * 15);  // C0
    EXPECT_EQ(i64At(data, at + 352), 1000003LL * 25);  // D5

    ServiceFile g;
    g.load(p);
    PriceRecord expect = r;
    expect.serial = g.record(138).serial;
    EXPECT_EQ(g.record(138), expect);
    EXPECT_EQ(g.record(138).reserved0, 0x11223344); // carried through
    EXPECT_EQ(g.record(138).reserved144, -7);
}

TEST(PriceFile, StringsAreCutToTheirBytesAndOverlongLengthBytesReadAsCapacity)
{
    PriceRecord r;
    r.name.assignText(std::string(81, 'x'));
    EXPECT_EQ(r.name.len, 80);
    r.size.assignText("1234567");
    EXPECT_EQ(r.size.text(), "123456");
    r.unit.assignText("ｍｍｍ"); // six bytes cut to four
    EXPECT_EQ(r.unit.text(), "ｍｍ");
    r.caption.assignText(std::string(39, 'a') + "機"); // the cut splits the last character
    EXPECT_EQ(r.caption.len, 40);
    EXPECT_EQ(r.caption.text(), std::string(39, 'a'));

    unsigned char raw[360] = {};
    raw[136] = 200; // Size claims 200 bytes of 6
    std::memcpy(raw + 137, "ABCDEFGH", 8);
    const PriceRecord d = PriceRecord::decode(raw);
    EXPECT_EQ(d.size.text(), "ABCDEF");
}

TEST(PriceFile, ShortFileIsAnErrorThatLeavesMemoryAlone)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai2.fda";
    ServiceFile f;
    f.loadOrCreate(dir.path / "kanzai1.fda");
    f.record(5).name.assignText("残る名前");
    writeFileAtomically(p, std::string(360 * 10 + 100, '\0'));
    try {
        f.load(p);
        ADD_FAILURE();
    } catch (const IoError &e) {
        const std::string m = e.what();
        EXPECT_NE(m.find(p.string()), std::string::npos) << m;
        EXPECT_NE(m.find("10 レコード"), std::string::npos) << m;
    }
    EXPECT_EQ(f.record(5).name.text(), "残る名前");
    EXPECT_THROW(readPipeBlock(p, 0), IoError);
}

TEST(PriceFile, PipeBlockWriteLeavesEveryOtherByteAsItWas)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai4.fda";
    ServiceFile f;
    f.loadOrCreate(p);
    for (int r = 0; r < RecordsPerFile; ++r) {
        f.record(r).name.assignText("pipe" + std::to_string(r / 60));
        f.record(r).A(6) = Currency::fromInt(r);
    }
    f.save(p);
    const std::string before = readWholeFile(p);

    auto block = readPipeBlock(p, 7);
    EXPECT_EQ(block[0].name.text(), "pipe7");
    block[3].B(5) = Cur("0.125");
    block[0].name.assignText("新しい管");
    writePipeBlock(p, 7, block);

    const std::string after = readWholeFile(p);
    ASSERT_EQ(after.size(), before.size());
    const size_t lo = 7 * 60 * 360, hi = 8 * 60 * 360;
    EXPECT_EQ(after.substr(0, lo), before.substr(0, lo));
    EXPECT_EQ(after.substr(hi), before.substr(hi));
    EXPECT_EQ(i64At(after, lo + 3 * 360 + 248), 1250);
    EXPECT_EQ(i64At(after, lo + 128), 0); // the registration program writes Serial 0

    const auto names = listPipeNames(p);
    ASSERT_EQ(names.size(), 20u);
    EXPECT_EQ(names[7], "新しい管");
    EXPECT_EQ(names[19], "pipe19");
}

TEST(PipeBlockFile, SwapExchangesTwoBlocksWholeAndLeavesTheOtherEighteen)
{
    TempDir dir;
    const fs::path p = dir.path / "kanzai4.fda";
    ServiceFile f;
    f.loadOrCreate(p);
    for (int r = 0; r < RecordsPerFile; ++r) {
        f.record(r).name.assignText("pipe" + std::to_string(r / 60));
        f.record(r).unit.assignText(r / 60 == 2 ? "本" : "ｍ");
        f.record(r).reserved0 = r;
        f.record(r).B(5) = Currency::fromInt(r);
    }
    f.save(p);
    const std::string before = readWholeFile(p);

    PipeBlockFile store(p);
    store.swap(3, 2);
    const std::string after = readWholeFile(p);
    const size_t block = 60 * 360;
    for (size_t b = 0; b < 20; ++b) {
        if (b == 2 || b == 3)
            continue;
        EXPECT_EQ(after.compare(b * block, block, before, b * block, block), 0) << "block " << b;
    }
    const PipeBlock two = store.load(2), three = store.load(3);
    EXPECT_EQ(two[0].name.text(), "pipe3");
    EXPECT_EQ(three[0].name.text(), "pipe2");
    EXPECT_EQ(three[59].unit.text(), "本"); // each block keeps its own unit
    EXPECT_EQ(two[5].reserved0, 3 * 60 + 5);
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(i64At(after, 2 * block + i * 360 + 128), 0);
        EXPECT_EQ(i64At(after, 3 * block + i * 360 + 128), 0);
    }
    EXPECT_EQ(store.listNames()[3], "pipe2");

    // Refused block numbers and short files touch nothing.
    EXPECT_THROW(store.swap(19, 20), RangeError);
    EXPECT_THROW(store.load(-1), RangeError);
    EXPECT_EQ(readWholeFile(p), after);
    fs::resize_file(p, 1199 * 360);
    EXPECT_THROW(store.swap(0, 1), IoError);
    EXPECT_THROW(store.save(0, two, false), IoError);
    EXPECT_EQ(fs::file_size(p), 1199u * 360);
}

TEST(PipeBlockFile, AMissingFileListsNothingAndCannotBeReadOrWritten)
{
    TempDir dir;
    PipeBlockFile store(dir.path / "kanzai9.fda");
    EXPECT_TRUE(store.listNames().empty());
    try {
        store.load(0);
        ADD_FAILURE();
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("kanzai9.fda"), std::string::npos) << e.what();
    }
    EXPECT_THROW(store.save(0, PipeBlock{}, false), IoError);
    EXPECT_FALSE(fs::exists(dir.path / "kanzai9.fda"));
}
