// velmok and torvik on one price file: what one saves is what the other reads next.
#include "tests/torvik/torvik_fixture.h"

#include "tests/velmok/program_folder.h"

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
    t.ui.expectNotice("S1P1を登録しました。|確認");
    s.registerBlock();

    // Only pipe 1's 60 records changed.
    const std::string after = readWholeFile(file);
    const size_t blockBytes = static_cast<size_t>(RecordsPerPipe) * RecordSize;
    EXPECT_EQ(after.substr(blockBytes), before.substr(blockBytes));

    MainSession &v = folder.start("1;1;");
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
    MainSession &v = folder.start("1;2;");
    SettingsControls c = v.settingsControls();
    c.useRates = true;
    c.percent[2] = Cur("50");
    c.fracAddendIndex = 1;
    c.priceCodeIndex = 2;
    c.sigAddendIndex = 1;
    c.labour[1] = Cur("30000");
    v.applySettings(c);
    const fs::path file = folder.data() / "kanzai1.fda";
    folder.ui.expectNotice("保存しました。\n" + file.string() + "|確認");
    v.save();

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
    t.ui.expectNotice("S1P2を登録しました。|確認");
    s.registerBlock();
    MainSession &again = folder.start("1;2;");
    EXPECT_EQ(again.table().row(LabourRow).rec.C(1), Cur("30000"));
    EXPECT_EQ(again.table().row(1).rec.A(2), Cur("1700"));
    EXPECT_EQ(again.table().row(1).rec.A(6), Cur("3456"));
}

TEST(SecondWriter, ATorvikBlockSurvivesVelmoksSaveUnlessTheUserChoosesToOverwrite)
{
    ProgramFolder folder;
    MainSession &v = folder.start(); // velmok holds the whole file of service 1
    const fs::path file = folder.data() / "kanzai1.fda";
    typeLabour(v, 1, "30000");

    // torvik, started beside it, saves block 3 of the same file.
    Torvik t(folder.dir.path, "1;3;" + file.string() + ";");
    t.type(1, 1, "9999");
    t.ui.expectNotice("S1P4を登録しました。|確認");
    t.session.registerBlock();
    const std::string withTorvik = readWholeFile(file);

    // velmok's save asks; "キャンセル" keeps torvik's block and velmok's edits.
    folder.ui.answers = {Answer::No};
    EXPECT_THROW(v.save(), IoError);
    ASSERT_FALSE(folder.ui.questions.empty());
    EXPECT_NE(folder.ui.questions.back().find(file.string()), std::string::npos);
    EXPECT_EQ(readWholeFile(file), withTorvik);
    EXPECT_TRUE(v.modified());
    EXPECT_EQ(readPipeBlock(file, 3)[0].A(6), Cur("9999"));

    // "実行" overwrites, as the user chose.
    folder.ui.answers = {Answer::Yes};
    folder.ui.expectNotice("保存しました。\n" + file.string() + "|確認");
    v.save();
    EXPECT_EQ(readPipeBlock(file, 3)[0].A(6), readPipeBlock(folder.dir.path / "kanzai" / "haikan1.fda", 3)[0].A(6));
    EXPECT_EQ(readPipeBlock(file, 0)[59].C(1), Cur("30000"));
}

TEST(SecondWriter, ATorvikSaveAsksOnlyWhenAnotherProgramChangedItsOwnBlock)
{
    ProgramFolder folder;
    folder.start();
    const fs::path file = folder.data() / "kanzai1.fda";
    Torvik t(folder.dir.path, "1;2;" + file.string() + ";");
    t.type(1, 1, "1111");

    // velmok saves a change to another pipe: torvik's save keeps it and asks nothing.
    MainSession &v = folder.start("1;6;");
    typeLabour(v, 2, "22222");
    v.quickSave();
    t.ui.expectNotice("S1P3を登録しました。|確認");
    t.session.registerBlock();
    EXPECT_TRUE(t.ui.questions.empty());
    EXPECT_EQ(readPipeBlock(file, 5)[59].C(2), Cur("22222"));
    EXPECT_EQ(readPipeBlock(file, 2)[0].A(6), Cur("1111"));

    // velmok saves a change to torvik's own block: torvik asks, and "キャンセル" writes nothing.
    MainSession &v2 = folder.start("1;3;");
    typeLabour(v2, 3, "33333");
    v2.quickSave();
    const std::string withVelmok = readWholeFile(file);
    t.type(1, 1, "1212");
    t.ui.answers = {Answer::No};
    try {
        t.session.registerBlock();
        ADD_FAILURE() << "the save went through";
    } catch (const IoError &e) {
        EXPECT_EQ(std::string(e.what()),
                  "ファイル " + file.string() + " への保存を取りやめました。ほかのプログラムの変更はそのままです。");
    }
    ASSERT_EQ(t.ui.questions.size(), 1u);
    EXPECT_NE(t.ui.questions[0].find("ほかのプログラムで変更"), std::string::npos) << t.ui.questions[0];
    // The block by its name in the file, in velmok's words for a whole file, and the two buttons.
    EXPECT_EQ(t.ui.questions[0], "ファイル " + file.string() + " の「" + t.session.text(BlockText::Name) +
                                     "」は、読み込んだ後にほかのプログラムで変更されています。\n"
                                     "上書きすると、その変更は失われます。上書きしますか？|実行|キャンセル|読み込み直す");
    EXPECT_EQ(readWholeFile(file), withVelmok);
    EXPECT_TRUE(t.session.modified());
    t.ui.answers = {Answer::Yes};
    t.ui.expectNotice("S1P3を登録しました。|確認");
    t.session.registerBlock();
    EXPECT_EQ(readPipeBlock(file, 2)[0].A(6), Cur("1212"));
}
