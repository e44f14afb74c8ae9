// velmok and torvik on one price file: what one saves is what the other reads next.
#include "torvik_fixture.h"

#include "program_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

// A torvik session on the program folder's service 1 file, its keys going to the session.
struct Torvik {
    FakeUi ui;
    StrColGridModel grid;
    KeysToSession keys;
    TorvikSession session;
    Torvik(const fs::path &programDir, const std::string &argument) : session(ui, grid, programDir, argument)
    {
        setUpPriceGrid(grid);
        keys.session = &session;
        grid.setObserver(&keys);
        session.start();
    }
    void type(int col, int row, const std::string &text) { typeInto(grid, col, row, text); }
};

} // namespace

TEST(BothPrograms, ATorvikSaveIsWhatVelmokReadsNext)
{
    ProgramFolder folder;
    folder.start(); // seeds ex_data from the templates
    const fs::path file = folder.data() / "kanzai1.fda";
    const std::string before = readWholeFile(file);

    Torvik t(folder.dir.path, "1;0;" + file.string() + ";");
    TorvikSession &s = t.session;
    EXPECT_EQ(s.text(BlockText::Name), "S1P1");
    EXPECT_EQ(s.names()[19], "S1P20");
    EXPECT_FALSE(s.useRates()); // the template stores 0
    s.checkBoxClicked(true);
    s.rateFieldEnter(1, 80);
    s.tabChanged(0);
    t.type(1, 1, "2000");
    t.type(4, 1, "0.06"); // 屋外架空's labour rate of the first size
    s.registerBlock();

    // Only pipe 1's 60 records changed.
    const std::string after = readWholeFile(file);
    const size_t blockBytes = static_cast<size_t>(RecordsPerPipe) * RecordSize;
    EXPECT_EQ(after.substr(blockBytes), before.substr(blockBytes));

    MainSession v = folder.start("1;1;");
    const WorkingTable &table = v.table();
    EXPECT_EQ(table.row(1).rec.A(6), Cur("2000"));
    EXPECT_EQ(table.row(1).rec.A(1), Cur("1600"));
    EXPECT_EQ(table.row(31).rec.B(5), Cur("0.06"));
    // LEVEL1 of size row 1 at 屋内一般, from material 1600 and labour 20000 × 0.05:
    // 1760 + 480 + 80 + 320 + 1000 + 100 + 55 = 3795, adopted to tens 3790.
    EXPECT_EQ(table.row(1).result(Basis::Level1).total, Cur("3795"));
    EXPECT_EQ(table.row(1).result(Basis::Level1).adopted, Cur("3790"));
    // The material prices reach the other locations; 屋外架空 has its new labour rate.
    EXPECT_EQ(table.row(31).rec.A(1), Cur("1600"));
    EXPECT_EQ(table.row(31).result(Basis::Level1).K[4], Cur("1200"));
    EXPECT_EQ(v.settingsControls().percent[1], Cur("80"));
    EXPECT_TRUE(v.settingsControls().useRates);
}

TEST(BothPrograms, AVelmokSaveIsWhatTorvikListsAndLoads)
{
    ProgramFolder folder;
    MainSession v = folder.start("1;2;");
    SettingsControls c = v.settingsControls();
    c.useRates = true;
    c.percent[2] = Cur("50");
    c.fracAddendIndex = 1;
    c.priceCodeIndex = 2;
    c.sigAddendIndex = 1;
    c.labour[1] = Cur("30000");
    v.applySettings(c);
    v.save();

    const fs::path file = folder.data() / "kanzai1.fda";
    Torvik t(folder.dir.path, "9;1;" + file.string() + ";");
    TorvikSession &s = t.session;
    EXPECT_EQ(s.statusPanels()[0], "9");
    ASSERT_EQ(s.names().size(), 20u);
    EXPECT_EQ(s.names()[1], "S1P2");
    EXPECT_TRUE(s.useRates());
    EXPECT_EQ(s.rateField(2), Cur("50"));
    EXPECT_EQ(s.listIndex(RoundingList::SignificantCode), 2);
    EXPECT_EQ(s.listIndex(RoundingList::FractionAddend), 1);

    // A torvik save of pipe 2 keeps velmok's labour prices, and velmok sees the new price.
    s.tabChanged(0);
    t.type(1, 1, "3456");
    EXPECT_EQ(t.grid.Cells(1, 1), "3,456");
    s.tabChanged(2);
    EXPECT_EQ(t.grid.Cells(1, 1), "1,700"); // Trunc(1728) to hundreds, cut
    s.registerBlock();
    MainSession again = folder.start("1;2;");
    EXPECT_EQ(again.table().row(LabourRow).rec.C(1), Cur("30000"));
    EXPECT_EQ(again.table().row(1).rec.A(2), Cur("1700"));
    EXPECT_EQ(again.table().row(1).rec.A(6), Cur("3456"));
}
