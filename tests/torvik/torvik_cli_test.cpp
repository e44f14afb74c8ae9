// torvik-cli dump, recalc, check and diff, run as a program, against what torvik's session saves.
#include "tests/common/cli_run.h"
#include "tests/common/version_commands.h"
#include "tests/torvik/torvik_fixture.h"

#include "base/shared_texts.h"
#include "cli/cli_texts.h"
#include "pricefile/pricing_rules.h"
#include "pricefile/registration_lists.h"

#include <gtest/gtest.h>

#include <random>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

Result torvikCli(const std::vector<std::string> &args) { return runProgram(VELMO_TORVIK_CLI, args); }

// A pipe price file of random prices: list prices with up to two decimals, percentages from 0
// to 150 % with up to two decimals, rounding settings from the lists, the check box on or off.
void randomPipeFile(const fs::path &path, unsigned seed)
{
    std::mt19937 rng(seed);
    auto upTo = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n + 1)); };
    ServiceFile f;
    f.clear();
    for (int p = 0; p < PipesPerFile; ++p) {
        PipeBlock &b = f.pipeBlock(p);
        b[0].name.assignText("管" + std::to_string(p));
        for (int k = 0; k < SizeRowsPerLocation; ++k) {
            b[k].size.assignText(std::to_string(15 + 5 * k) + "A");
            b[k].A(6) = Currency::fromRaw(static_cast<int64_t>(upTo(5'000'000)) * 100);
            for (int i = 0; i <= 5; ++i)
                b[k].A(i) = Currency::fromInt(upTo(9999)); // stale derived prices
        }
        PriceRecord &st = b[SettingsRecord];
        for (int i = 0; i <= 5; ++i)
            st.A(i) = Currency::fromRaw(static_cast<int64_t>(upTo(15000)) * 100);
        st.D(1) = significantCode(upTo(static_cast<int>(SignificantCodes.size()) - 1));
        st.D(2) = addend(upTo(static_cast<int>(AddendRaws.size()) - 1));
        st.D(3) = addend(upTo(static_cast<int>(AddendRaws.size()) - 1));
        st.D(4) = Currency::fromInt(upTo(4) == 0 ? 0 : 1);
        for (PriceRecord &r : b) // torvik writes the unit into every record of a block
            r.unit.assignText("本");
    }
    f.save(path);
}

bool derivedSlot(int record, int slot)
{
    if (record >= SizeRowsPerLocation)
        return false;
    for (const Basis b : {Basis::Level1, Basis::Level2, Basis::Level3, Basis::Level4, Basis::Level5, Basis::Net})
        if (slot == materialSlot(b))
            return true;
    return false;
}

} // namespace

TEST(TorvikCliRecalc, WritesOnlyTheDerivedPricesAndEqualsWhatTorviksRegistrationSaves)
{
    for (const unsigned seed : {1u, 2u, 3u}) {
        TorvikFixture f(false);
        randomPipeFile(f.data(), seed);
        const std::string original = readWholeFile(f.data());
        const fs::path copy = f.dir.path / "copy.fda";
        fs::copy_file(f.data(), copy);

        // torvik: each block opened from the command line, recalculated and registered.
        for (int p = 0; p < PipesPerFile; ++p) {
            TorvikSession &s = f.open("1;" + std::to_string(p) + ";");
            s.Recalculate();
            s.registerBlock();
            ASSERT_EQ(f.ui.notices.size(), 1u); // "…を登録しました。"
            f.ui.notices.clear();
        }
        const Result r = torvikCli({"recalc", copy.string(), "--write"});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_TRUE(readWholeFile(copy) == readWholeFile(f.data())) << "seed " << seed;

        const std::string written = readWholeFile(copy);
        int changed = 0;
        for (int i = 0; i < RecordsPerFile; ++i) {
            const PriceRecord a = pipeBlockOf(original, i / RecordsPerPipe)[i % RecordsPerPipe];
            const PriceRecord b = pipeBlockOf(written, i / RecordsPerPipe)[i % RecordsPerPipe];
            EXPECT_EQ(a.name.text(), b.name.text());
            EXPECT_EQ(a.size.text(), b.size.text());
            EXPECT_EQ(a.unit.text(), b.unit.text());
            for (int s = 0; s < SlotCount; ++s) {
                if (a.slots[s] == b.slots[s])
                    continue;
                ++changed;
                EXPECT_TRUE(derivedSlot(i % RecordsPerPipe, s)) << "record " << i << " slot " << s;
            }
        }
        EXPECT_GT(changed, 0);
    }
}

TEST(TorvikCliRecalc, PrintsTheDerivationAndLeavesTheFileAloneWithoutWrite)
{
    TorvikFixture f;
    const std::string before = readWholeFile(f.data());
    const Result r = torvikCli({"recalc", f.data().string(), "--block", "3"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(readWholeFile(f.data()) == before);
    const Json block = r.json()["blocks"][0];
    EXPECT_EQ(block["block"].str(), "3");
    EXPECT_EQ(block["name"].str(), "管3");
    EXPECT_EQ(block["percent"]["LEVEL1"].str(), "90");
    EXPECT_EQ(block["rows"].size(), 14u);
    // Row 1 of block 3: list price 4000; LEVEL1 at 90 % and 0.5 added, to a significant code of 10.
    EXPECT_EQ(block["rows"][0]["size"].str(), "15A");
    EXPECT_EQ(block["rows"][0]["prices"]["LIST"].str(), "4000");
    EXPECT_EQ(block["rows"][0]["prices"]["LEVEL1"].str(),
              derivedPrice(Cur("4000"), Cur("90"), Cur("0.5"), Cur("10"), Cur("0")).toString());
    EXPECT_EQ(torvikCli({"recalc", f.data().string()}).json()["blocks"].size(), 20u);
}

TEST(TorvikCli, DumpAndCheckAndTheirErrors)
{
    TorvikFixture f;
    const Result dump = torvikCli({"dump", f.data().string(), "--block", "2"});
    ASSERT_EQ(dump.code, 0) << dump.err;
    const Json records = dump.json()["records"];
    ASSERT_EQ(records.size(), 60u);
    EXPECT_EQ(records[0]["record"].str(), "120");
    EXPECT_EQ(records[0]["name"].str(), "管2");
    EXPECT_EQ(records[1]["A6"].str(), "3010");
    EXPECT_EQ(torvikCli({"check", f.data().string()}).code, 0);

    const std::string before = readWholeFile(f.data());
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"dump", f.data().string(), "--block", "20"}, {"recalc"},
          {"recalc", f.data().string(), "--pipe", "1"}, {"check", f.data().string(), "--block", "1"},
          {"frobnicate", f.data().string()}, {"dump", f.data().string(), "other.fda"}}) {
        const Result r = torvikCli(args);
        EXPECT_EQ(r.code, 2) << args[0];
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("torvik-cli:"), std::string::npos) << r.err;
    }
    // A short file and a folder are errors naming them; nothing is written or created.
    const fs::path shortFile = f.dir.path / "short.fda";
    writeFileAtomically(shortFile, before.substr(0, 1000));
    for (const fs::path &p : {shortFile, f.dir.path, f.dir.path / "missing.fda"}) {
        const Result r = torvikCli({"recalc", p.string(), "--write"});
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find(p.string()), std::string::npos) << r.err;
    }
    EXPECT_EQ(readWholeFile(shortFile).size(), 1000u);
    EXPECT_FALSE(fs::exists(f.dir.path / "missing.fda"));
    EXPECT_TRUE(readWholeFile(f.data()) == before);
}

// What the option reader (CLI11) would take its own way is refused as the command lines always
// refused it: one Japanese line naming the option or value, status 2, never CLI11's English
// help, nothing written.
TEST(TorvikCli, OptionsTheReaderWouldTakeOtherwiseAreRefusedInJapanese)
{
    TorvikFixture f;
    const std::string file = f.data().string();
    const std::string before = readWholeFile(f.data());
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"recalc", file, "--write=true"}, sharedtext::unknownOptionText("recalc", "--write=true")},
        {{"recalc", file, "--block", "--write"}, sharedtext::badBlockError("--write")},
        {{"dump", file, "--block"}, sharedtext::NoBlockNumberError},
        {{"dump", file, "--block="}, sharedtext::badBlockError("")},
        {{"dump", "--", file}, sharedtext::unknownOptionText("dump", "--")},
        {{"dump", file, "-5"}, sharedtext::unknownOptionText("dump", "-5")},
        {{"revise", file, "--all", "--percent"}, sharedtext::missingOptionValueText("--percent")},
        {{"import", file, "--block", "1", "list.csv", "--help"}, sharedtext::unknownOptionText("import", "--help")},
        {{"diff", file, file, "--xlsx="}, sharedtext::DiffNoXlsxFileText},
    };
    for (const auto &[args, message] : cases) {
        const Result r = torvikCli(args);
        EXPECT_EQ(r.code, 2) << message;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "torvik-cli: " + message + " " + sharedtext::usageHintText("torvik-cli") + "\n");
    }
    EXPECT_TRUE(readWholeFile(f.data()) == before);
}

TEST(TorvikCliRevise, PreviewLeavesTheFileAndWriteRevisesListPricesAndRecalculates)
{
    TorvikFixture f;
    const std::string before = readWholeFile(f.data());
    // Block 3, row 1: list price 4000 × 1.03 = 4120; row 2: 4010 × 1.03 = 4130.3 → up to 10: 4140.
    const std::vector<std::string> args = {"revise", f.data().string(), "--block", "3", "--percent", "3",
                                           "--unit", "10", "--round", "up"};
    const Result preview = torvikCli(args);
    ASSERT_EQ(preview.code, 0) << preview.err;
    EXPECT_TRUE(readWholeFile(f.data()) == before);
    const Json j = preview.json();
    EXPECT_EQ(j["changed"].str(), "14");
    EXPECT_EQ(j["prices"][1]["row"].str(), "20A");
    EXPECT_EQ(j["prices"][1]["new"].str(), "4140");

    std::vector<std::string> write = args;
    write.push_back("--write");
    ASSERT_EQ(torvikCli(write).code, 0);
    const PipeBlock b = f.onDisk(3);
    EXPECT_EQ(b[0].A(6), Cur("4120"));
    EXPECT_EQ(b[1].A(6), Cur("4140"));
    EXPECT_EQ(b[0].A(1), derivedPrice(Cur("4120"), Cur("90"), Cur("0.5"), Cur("10"), Cur("0")));
    EXPECT_TRUE(f.onDisk(4) == pipeBlockOf(before, 4));
    // The stored derived prices are those of the new list prices: recalculating changes nothing.
    const std::string revised = readWholeFile(f.data());
    ASSERT_EQ(torvikCli({"recalc", f.data().string(), "--block", "3", "--write"}).code, 0);
    EXPECT_TRUE(readWholeFile(f.data()) == revised);
}

TEST(TorvikCliRevise, TheWholeFileInOneWrite)
{
    TorvikFixture f;
    const Result r = torvikCli({"revise", f.data().string(), "--all", "--percent", "-5", "--write"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.json()["blocks"].str(), "20");
    EXPECT_EQ(r.json()["written"].str(), "true");
    for (int p = 0; p < PipesPerFile; ++p)
        EXPECT_EQ(f.onDisk(p)[0].A(6), revisedPrice(Currency::fromInt(1000 * (p + 1)), {Cur("-5"), 1, RevisionRounding::Half}));
}

TEST(TorvikCliDiff, ABlockSavedByTorvikShowsOnlyItsChangeWithStatusZero)
{
    TempDir dir;
    const fs::path older = dir.path / "old.fda", newer = dir.path / "new.fda";
    randomPipeFile(older, 7);
    fs::copy_file(older, newer);
    // A block write gives every record of the block Serial 0: not a change of its own.
    PipeBlock b = readPipeBlock(newer, 6);
    b[3].A(6) = b[3].A(6) + Cur("100");
    writePipeBlock(newer, 6, b);

    const Result r = torvikCli({"diff", older.string(), newer.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const Json changes = r.json()["changes"];
    ASSERT_EQ(changes.size(), 1u) << r.out;
    EXPECT_EQ(changes[0]["pipe"].str(), "7"); // block 6, numbered as velmok numbers pipes
    EXPECT_EQ(changes[0]["field"].str(), "資材単価 定価");
    EXPECT_EQ(changes[0]["difference"].str(), "100");

    EXPECT_EQ(torvikCli({"diff", older.string(), older.string()}).json()["changes"].size(), 0u);
    const Result bad = torvikCli({"diff", older.string(), dir.path.string()});
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.err.find(dir.path.string()), std::string::npos) << bad.err;
    const Result help = torvikCli({"--help"});
    EXPECT_NE(help.out.find("torvik-cli diff OLD NEW [--csv | --xlsx OUT]\n"), std::string::npos) << help.out;
}

TEST(TorvikCliVersions, EachWriteKeepsAVersionToListShowCompareAndRestore)
{
    TorvikFixture f;
    const std::string file = f.data().string();
    checkVersionCommands(VELMO_TORVIK_CLI, f.data(), {"revise", file, "--all", "--percent", "10", "--write"},
                         {"revise", file, "--block", "2", "--percent", "-5", "--write"});
}
