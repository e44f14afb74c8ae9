// The report of what changed between two price files: what counts as a change, moved blocks,
// and the files it refuses to compare.
#include "pricefile/price_changes.h"

#include "base/errors.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"
#include "pricefile/equipment_file.h"
#include "pricefile/service_file.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
namespace fs = std::filesystem;

namespace {

// A service file with two named pipes: 3 "SGP白" and 8 "VP管", each with sizes, prices and
// factors, and location names.
ServiceFile sampleService()
{
    ServiceFile f;
    for (const int pipe : {2, 7}) {
        PipeBlock &b = f.pipeBlock(pipe);
        b[0].name.assignText(pipe == 2 ? "SGP白" : "VP管");
        b[SettingsRecord].A(1) = Cur("80");
        b[LabourRecord].C(1) = Cur("20000");
        for (int loc = 0; loc < LocationsPerPipe; ++loc) {
            b[loc * RowsPerLocation + SizeRowsPerLocation].caption.assignText(ProposedLocationNames[loc]);
            for (int row = 0; row < SizeRowsPerLocation; ++row) {
                PriceRecord &r = b[loc * RowsPerLocation + row];
                r.size.assignText(std::to_string(15 + 5 * row) + "A");
                r.A(1) = Currency::fromInt(1000 + 100 * row + pipe);
                r.B(1) = Cur("1.1");
                r.B(5) = Cur("0.05");
            }
        }
    }
    return f;
}

std::vector<EquipmentRecord> sampleEquipment()
{
    std::vector<EquipmentRecord> records(EquipmentRecordsPerFile);
    for (const int block : {0, 4}) {
        EquipmentRecord *b = records.data() + block * EquipmentRowsPerBlock;
        b[0].name.assignText(block == 0 ? "仕切弁" : "逆止弁");
        for (int row = 0; row < EquipmentSizeRows; ++row) {
            b[row].caption.assignText(std::to_string(15 + 5 * row) + "A");
            b[row].values[materialSlot(Basis::List)] = Currency::fromInt(5000 + row + block);
            b[row].values[installationSlot(Basis::Level2)] = Currency::fromInt(700 + row);
        }
    }
    return records;
}

const PriceChange *findField(const std::vector<PriceChange> &changes, const std::string &field)
{
    for (const PriceChange &c : changes)
        if (c.field == field)
            return &c;
    return nullptr;
}

// The rows, one line each, for a failure's message.
std::string describe(const std::vector<PriceChange> &changes)
{
    std::string out;
    for (const PriceChange &c : changes)
        out += std::to_string(c.block) + " " + c.size + " " + c.location + " " + c.field + ": " +
               (c.oldValue ? c.oldValue->toString() : c.oldText) + " → " +
               (c.newValue ? c.newValue->toString() : c.newText) + "\n";
    return out;
}

} // namespace

TEST(PriceChanges, IdenticalFilesAndChangesOfSerialOrCarriedFieldsGiveAnEmptyReport)
{
    const ServiceFile a = sampleService();
    EXPECT_TRUE(comparePipeFiles(a, a).empty());

    // Serial, the reserved words, the row tag and the bytes after a text's length carry no
    // price: a file saved by the other program differs there only.
    ServiceFile b = sampleService();
    for (int r = 0; r < RecordsPerFile; ++r) {
        b.record(r).serial = Currency::fromInt(r + 1);
        b.record(r).reserved0 = 7;
        b.record(r).reserved144 = -3;
        b.record(r).rowTag = 99;
        b.record(r).name.bytes.back() = 'x';
    }
    EXPECT_TRUE(comparePipeFiles(a, b).empty());

    const std::vector<EquipmentRecord> e = sampleEquipment();
    std::vector<EquipmentRecord> f = e;
    for (EquipmentRecord &r : f) {
        r.serial = Cur("5");
        r.size.assignText("ZZ"); // carried, never shown
        r.values[equipmentSlot(216)] = Cur("1");
        r.values[eqslot::KeptA] = Cur("2");
    }
    EXPECT_TRUE(compareEquipmentFiles(e, e).empty());
    EXPECT_TRUE(compareEquipmentFiles(e, f).empty());
}

TEST(PriceChanges, AChangedPriceIsOneRowWithItsDifferenceAndPercent)
{
    const ServiceFile a = sampleService();
    ServiceFile b = sampleService();
    b.pipeBlock(2)[4].A(1) = Cur("1500"); // 3rd pipe, size row 5 (35A): 1402 → 1500
    b.pipeBlock(7)[RowsPerLocation + 1].B(5) = Cur("0.06"); // 8th pipe, 機械室, 20A

    const std::vector<PriceChange> changes = comparePipeFiles(a, b);
    ASSERT_EQ(changes.size(), 2u) << describe(changes);

    const PriceChange &price = changes[0];
    EXPECT_EQ(price.kind, ChangeKind::Figure);
    EXPECT_EQ(price.block, 3);
    EXPECT_EQ(price.name, "SGP白");
    EXPECT_EQ(price.size, "35A");
    EXPECT_EQ(price.location, ""); // material prices belong to every location
    EXPECT_EQ(price.field, "資材単価 LEVEL1");
    EXPECT_EQ(price.oldValue, Cur("1402"));
    EXPECT_EQ(price.newValue, Cur("1500"));
    EXPECT_EQ(price.difference(), Cur("98"));
    EXPECT_EQ(price.percent(), Cur("6.99")); // 98 / 1402 = 6.9900…%

    const PriceChange &factor = changes[1];
    EXPECT_EQ(factor.block, 8);
    EXPECT_EQ(factor.location, "機械室");
    EXPECT_EQ(factor.size, "20A");
    EXPECT_EQ(factor.field, "歩掛 配管工");
    EXPECT_EQ(factor.difference(), Cur("0.01"));
    EXPECT_EQ(factor.percent(), Cur("20"));
}

TEST(PriceChanges, PercentIsNoneFromZeroAndNegativeForADrop)
{
    PriceChange c;
    c.oldValue = Cur("0");
    c.newValue = Cur("10");
    EXPECT_EQ(c.difference(), Cur("10"));
    EXPECT_FALSE(c.percent());
    c.oldValue = Cur("400");
    c.newValue = Cur("300");
    EXPECT_EQ(c.percent(), Cur("-25"));
    // A difference larger than a Currency holds is left out rather than wrapped.
    c.oldValue = Currency::fromRaw(INT64_MIN + 1);
    c.newValue = Currency::fromRaw(INT64_MAX);
    EXPECT_FALSE(c.difference());
    c.kind = ChangeKind::Text;
    c.oldValue = Cur("1");
    c.newValue = Cur("2");
    EXPECT_FALSE(c.difference());
    EXPECT_FALSE(c.percent());
}

TEST(PriceChanges, ChangedNamesSizesAndLocationNamesAreTextRows)
{
    const ServiceFile a = sampleService();
    ServiceFile b = sampleService();
    b.pipeBlock(2)[0].name.assignText("SGP白(新)");
    b.pipeBlock(2)[3 * RowsPerLocation + SizeRowsPerLocation].caption.assignText("地中");
    b.pipeBlock(2)[0].size.assignText("15Su");

    const std::vector<PriceChange> changes = comparePipeFiles(a, b);
    ASSERT_EQ(changes.size(), 3u) << describe(changes);
    const PriceChange *name = findField(changes, changetext::Name);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->kind, ChangeKind::Text);
    EXPECT_EQ(name->oldText, "SGP白");
    EXPECT_EQ(name->newText, "SGP白(新)");
    EXPECT_EQ(name->name, "SGP白(新)");
    EXPECT_FALSE(name->difference());

    const PriceChange *location = findField(changes, changetext::LocationName);
    ASSERT_TRUE(location);
    EXPECT_EQ(location->oldText, "地中配管");
    EXPECT_EQ(location->location, "地中");

    const PriceChange *size = findField(changes, changetext::Size);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->oldText, "15A");
    EXPECT_EQ(size->size, "15Su");
    EXPECT_EQ(size->location, "屋内一般");
}

TEST(PriceChanges, AMovedPipeIsOneRowFollowedOnlyByWhatChangedInIt)
{
    const ServiceFile a = sampleService();
    ServiceFile b = sampleService();
    // Pipe 3 moves to 12, pipe 8 to 1 with one price changed on the way.
    b.pipeBlock(11) = a.pipeBlock(2);
    b.pipeBlock(2) = PipeBlock{};
    b.pipeBlock(0) = a.pipeBlock(7);
    b.pipeBlock(7) = PipeBlock{};
    b.pipeBlock(0)[0].A(6) = Cur("3000");

    const std::vector<PriceChange> changes = comparePipeFiles(a, b);
    ASSERT_EQ(changes.size(), 3u) << describe(changes);
    EXPECT_EQ(changes[0].kind, ChangeKind::Moved);
    EXPECT_EQ(changes[0].block, 1);
    EXPECT_EQ(changes[0].movedFrom, 8);
    EXPECT_EQ(changes[0].name, "VP管");
    EXPECT_EQ(changes[1].block, 1);
    EXPECT_EQ(changes[1].field, "資材単価 定価");
    EXPECT_EQ(changes[1].newValue, Cur("3000"));
    EXPECT_EQ(changes[2].kind, ChangeKind::Moved);
    EXPECT_EQ(changes[2].block, 12);
    EXPECT_EQ(changes[2].movedFrom, 3);
    EXPECT_EQ(changes[2].oldText, "3");
    EXPECT_EQ(changes[2].newText, "12");

    // Two pipes that exchanged their numbers: two moves and nothing else.
    ServiceFile swapped = sampleService();
    std::swap(swapped.pipeBlock(2), swapped.pipeBlock(7));
    const std::vector<PriceChange> swaps = comparePipeFiles(a, swapped);
    ASSERT_EQ(swaps.size(), 2u);
    EXPECT_EQ(swaps[0].kind, ChangeKind::Moved);
    EXPECT_EQ(swaps[1].kind, ChangeKind::Moved);
}

TEST(PriceChanges, AnEmptiedBlockReportsEveryFigureItLost)
{
    const ServiceFile a = sampleService();
    ServiceFile b = sampleService();
    b.pipeBlock(7) = PipeBlock{};
    const std::vector<PriceChange> changes = comparePipeFiles(a, b);
    ASSERT_FALSE(changes.empty());
    for (const PriceChange &c : changes) {
        EXPECT_NE(c.kind, ChangeKind::Moved);
        EXPECT_EQ(c.block, 8);
        EXPECT_EQ(c.name, "VP管"); // the old name where the new file has none
    }
    // Name, 1 percentage, 1 labour price, 4 location names, and per location 14 sizes with 2
    // factors, plus the 14 LEVEL1 prices of location 0.
    EXPECT_EQ(changes.size(), 1u + 1 + 1 + 4 + 4 * 14 * 3 + 14);
}

TEST(PriceChanges, EquipmentBlocksReportPricesSizesAndMoves)
{
    const std::vector<EquipmentRecord> a = sampleEquipment();
    std::vector<EquipmentRecord> b = a;
    b[2].values[installationSlot(Basis::Level2)] = Cur("720"); // block 0, row 3: 702 → 720
    b[3].caption.assignText("30Su");
    std::vector<PriceChange> changes = compareEquipmentFiles(a, b);
    ASSERT_EQ(changes.size(), 2u) << describe(changes);
    EXPECT_EQ(changes[0].block, 0);
    EXPECT_EQ(changes[0].name, "仕切弁");
    EXPECT_EQ(changes[0].size, "25A");
    EXPECT_EQ(changes[0].field, "取付費 LEVEL2");
    EXPECT_EQ(changes[0].difference(), Cur("18"));
    EXPECT_EQ(changes[1].kind, ChangeKind::Text);
    EXPECT_EQ(changes[1].field, "サイズ");
    EXPECT_EQ(changes[1].newText, "30Su");

    // Block 4 moves to 9 and keeps its name but not its settings.
    std::vector<EquipmentRecord> moved = a;
    for (int row = 0; row < EquipmentRowsPerBlock; ++row) {
        moved[9 * EquipmentRowsPerBlock + row] = a[4 * EquipmentRowsPerBlock + row];
        moved[4 * EquipmentRowsPerBlock + row] = EquipmentRecord{};
    }
    moved[9 * EquipmentRowsPerBlock + EquipmentSettingsRow].values[eqslot::UseRates] = Cur("1");
    changes = compareEquipmentFiles(a, moved);
    ASSERT_EQ(changes.size(), 2u) << describe(changes);
    EXPECT_EQ(changes[0].kind, ChangeKind::Moved);
    EXPECT_EQ(changes[0].movedFrom, 4);
    EXPECT_EQ(changes[0].block, 9);
    EXPECT_EQ(changes[1].field, "単価に掛け率を使用");
    EXPECT_EQ(changes[1].block, 9);
}

TEST(PriceChanges, AFileThatCannotBeReadWholeIsAnErrorNamingIt)
{
    velmo::test::TempDir dir;
    const fs::path good = dir.path / "good.fda", shortFile = dir.path / "short.fda";
    sampleService().save(good);
    std::ofstream(shortFile, std::ios::binary) << std::string(360 * 10, '\0');
    const fs::path folder = dir.path / "folder.fda";
    fs::create_directory(folder);

    for (const fs::path &bad : {shortFile, folder, dir.path / "missing.fda"}) {
        try {
            comparePipeFiles(good, bad);
            ADD_FAILURE() << bad << " was compared";
        } catch (const IoError &e) {
            EXPECT_NE(std::string(e.what()).find(bad.string()), std::string::npos) << e.what();
        }
        try {
            comparePipeFiles(bad, good);
            ADD_FAILURE() << bad << " was compared";
        } catch (const IoError &e) {
            EXPECT_NE(std::string(e.what()).find(bad.string()), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(comparePipeFiles(good, good).empty());

    const fs::path equipment = dir.path / "kigu1.dxa", equipmentShort = dir.path / "short.dxa";
    ASSERT_TRUE(createEquipmentFile(equipment));
    std::ofstream(equipmentShort, std::ios::binary) << std::string(512 * 299, '\0');
    EXPECT_TRUE(compareEquipmentFiles(equipment, equipment).empty());
    try {
        compareEquipmentFiles(equipment, equipmentShort);
        ADD_FAILURE() << "a short equipment file was compared";
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find(equipmentShort.string()), std::string::npos) << e.what();
    }
}
