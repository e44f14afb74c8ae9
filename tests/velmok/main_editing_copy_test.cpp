// Copy and paste of pipes and sheets, and the copy of location 0 to the other locations.
#include "tests/velmok/editable_grid.h"
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

const CopyKind AllKinds[] = {
    {CopyScope::Pipe, FieldGroup::Whole},   {CopyScope::Pipe, FieldGroup::Prices},
    {CopyScope::Pipe, FieldGroup::Factors}, {CopyScope::Pipe, FieldGroup::Labour},
    {CopyScope::Sheet, FieldGroup::Whole},  {CopyScope::Sheet, FieldGroup::Factors},
    {CopyScope::Sheet, FieldGroup::Labour},
};

// The paste commands enabled now.
std::vector<CopyKind> enabledPastes(const MainSession &s)
{
    std::vector<CopyKind> on;
    for (const CopyKind &k : AllKinds)
        if (s.editing().pasteEnabled(k))
            on.push_back(k);
    return on;
}

const PriceRecord &record(const MainSession &s, int pipe, int k) { return s.file().pipeBlock(pipe)[k]; }

} // namespace

TEST(CopyPaste, OnlyTheGroupCopiedLastCanBePastedAlsoInAnotherPipe)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EXPECT_TRUE(enabledPastes(s).empty());
    s.editing().copy({CopyScope::Pipe, FieldGroup::Factors});
    EXPECT_EQ(enabledPastes(s), (std::vector<CopyKind>{{CopyScope::Pipe, FieldGroup::Factors}}));
    s.editing().copy({CopyScope::Sheet, FieldGroup::Labour});
    EXPECT_EQ(enabledPastes(s), (std::vector<CopyKind>{{CopyScope::Sheet, FieldGroup::Labour}}));
    s.treeClick(3);
    EXPECT_EQ(enabledPastes(s), (std::vector<CopyKind>{{CopyScope::Sheet, FieldGroup::Labour}}));
    // A paste of another group does nothing.
    s.editing().paste({CopyScope::Pipe, FieldGroup::Whole});
    EXPECT_FALSE(s.modified());
    // Copies change no data.
    EXPECT_FALSE(s.editing().undoEnabled());
}

TEST(CopyPaste, AllFactorsOfOnePipePastedOnAnotherChangeOnlyItsFactors)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    s.editing().copy({CopyScope::Pipe, FieldGroup::Factors});
    s.treeClick(2); // pipe 2
    const PriceRecord before = record(s, 1, 0);
    s.editing().paste({CopyScope::Pipe, FieldGroup::Factors});
    const PriceRecord &after = record(s, 1, 0);
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(after.B(i), record(s, 0, 0).B(i)) << i;
    for (int i = 0; i <= 6; ++i)
        EXPECT_EQ(after.A(i), before.A(i));
    EXPECT_EQ(after.name.text(), "S1P2");
    EXPECT_EQ(s.table().row(1).rec.B(1), Cur("1.1"));
    EXPECT_TRUE(s.modified());
    ASSERT_TRUE(s.editing().undoEnabled());
    s.editing().undo();
    EXPECT_EQ(record(s, 1, 0).B(1), Currency());
}

TEST(CopyPaste, ASheetOfLocation2PastedOnLocation0BringsRows31To45)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    // Location 2 of pipe 1: a factor in size row 1 and a size for every location's row 1.
    s.locationTabChanged(2);
    EditableGrid g(s, Grid::Rate);
    g.type(4, 1, "0.9").enter();
    std::optional<SheetSetup> d = s.editing().openSheetSetup();
    d->sizes[0] = "99A";
    s.editing().closeSheetSetup(&*d);
    s.editing().copy({CopyScope::Sheet, FieldGroup::Whole});

    s.treeClick(2); // pipe 2, location 0
    const PriceRecord settingsBefore = record(s, 1, SettingsRecord);
    s.editing().paste({CopyScope::Sheet, FieldGroup::Whole});
    for (int r = 0; r < RowsPerLocation; ++r) {
        const PriceRecord &to = record(s, 1, r);
        const PriceRecord &from = record(s, 0, 30 + r);
        EXPECT_EQ(to.name, from.name) << r;
        EXPECT_EQ(to.size, from.size) << r;
        EXPECT_EQ(to.caption, from.caption) << r;
        if (r < SizeRowsPerLocation) {
            for (int i = 1; i <= 7; ++i)
                EXPECT_EQ(to.B(i), from.B(i)) << r;
        }
    }
    EXPECT_EQ(record(s, 1, 0).size.text(), "99A");
    EXPECT_EQ(record(s, 1, 0).B(1), Cur("0.9"));
    // The tail record comes along with its location name; the slots of the settings record,
    // which location 2's tail does not hold, stay the target pipe's.
    EXPECT_EQ(record(s, 1, SettingsRecord).caption.text(), "屋外架空");
    EXPECT_EQ(record(s, 1, SettingsRecord).slots, settingsBefore.slots);
    EXPECT_EQ(s.tabCaptions()[0], "屋外架空");
    // The pipe name came from row 31, which has none.
    EXPECT_EQ(s.names().nodes[2], "----");
    // Locations 1–3 of the target are untouched.
    EXPECT_EQ(record(s, 1, 15).B(1), Currency());
}

TEST(CopyPaste, ASheetPastedOnTheSameLocationOfAnotherPipeBringsItsTailSlots)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    s.locationTabChanged(3); // location 3's tail holds the labour prices
    s.editing().copy({CopyScope::Sheet, FieldGroup::Whole});
    s.treeClick(2);
    s.locationTabChanged(3);
    s.editing().paste({CopyScope::Sheet, FieldGroup::Whole});
    EXPECT_EQ(record(s, 1, LabourRecord).C(1), Cur("20000"));
    EXPECT_EQ(s.table().row(LabourRow).rec.C(1), Cur("20000"));
}

TEST(CopyPaste, TheWholePipePastedRenamesTreeMenuAndTabs)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    s.editing().copy({CopyScope::Pipe, FieldGroup::Whole});
    s.treeClick(5); // pipe 5
    const int revision = s.controlsRevision();
    s.editing().paste({CopyScope::Pipe, FieldGroup::Whole});
    EXPECT_EQ(s.names().nodes[5], "S1P1");
    EXPECT_EQ(s.names().pipeCaptions[0][4], "S1P1");
    EXPECT_EQ(s.statusPanels()[0], "S1P1");
    EXPECT_EQ(s.statusPanels()[1], "給水");
    EXPECT_EQ(s.statusPanels()[4], "SET");
    EXPECT_EQ(s.tabCaptions(), (std::vector<std::string>{"屋内一般", "機械室", "屋外架空", "地中配管"}));
    EXPECT_NE(s.controlsRevision(), revision); // the settings were shown again
    for (int k = 0; k < RecordsPerPipe; ++k) {
        const PriceRecord &to = record(s, 4, k);
        const PriceRecord &from = record(s, 0, k);
        EXPECT_EQ(to.name, from.name) << k;
        EXPECT_EQ(to.slots, from.slots) << k;
    }
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 2, 1), "2,805");

    // A refrigerant pipe pasted over a pipe shown on location 3 leaves a single tab, shown.
    MainSession &r = pf.start("10;2;");
    r.editing().copy({CopyScope::Pipe, FieldGroup::Whole});
    r.treeClick(9 * 21 + 1);
    r.locationTabChanged(3);
    r.editing().paste({CopyScope::Pipe, FieldGroup::Whole});
    EXPECT_EQ(r.tabCaptions(), (std::vector<std::string>{"一般"}));
    EXPECT_EQ(r.position().location, 0);
}

TEST(CopyPaste, Location0ToTheOthersKeepsNamesAndTheLabourPrices)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, Grid::Rate);
    g.type(5, 2, "0.25").enter(); // location 0, size row 2
    EXPECT_EQ(s.copyLocationCaption(), "屋内一般のデータを機械室・屋外架空・地中配管へコピ－");
    s.locationTabChanged(2);
    s.editing().copyLocationToOthers();
    for (int t = 1; t < 4; ++t) {
        for (int r = 0; r < SizeRowsPerLocation; ++r)
            for (int i = 1; i <= 7; ++i)
                EXPECT_EQ(record(s, 0, t * 15 + r).B(i), record(s, 0, r).B(i)) << t << " " << r;
        EXPECT_EQ(record(s, 0, t * 15 + 14).caption.text(), ProposedLocationNames[static_cast<size_t>(t)]);
    }
    EXPECT_EQ(record(s, 0, 16).B(2), Cur("0.25"));
    // Record 59 keeps the labour prices instead of taking the settings record's slots.
    EXPECT_EQ(record(s, 0, LabourRecord).C(1), Cur("20000"));
    EXPECT_EQ(record(s, 0, LabourRecord).B(1), Currency());
    EXPECT_EQ(s.position().location, 0);
    EXPECT_FALSE(s.editing().undoEnabled()); // the pipe was opened again
    EXPECT_TRUE(s.modified());
    // Location 1 is calculated with the labour prices.
    s.locationTabChanged(1);
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 2, 1), "2,805");

    // Refrigerant mode has one location: nothing to copy to.
    MainSession &r = pf.start("10;2;");
    EXPECT_FALSE(r.editing().copyLocationEnabled());
    r.editing().copyLocationToOthers();
    EXPECT_FALSE(r.modified());
}
