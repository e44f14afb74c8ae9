// The pipe registration session on a seeded price file: the command line, what a start opens
// and says, what the window shows, and the unit box and the stored settings.
#include "tests/torvik/torvik_fixture.h"

#include "base/support.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

TEST(TorvikStart, CommandLineFieldsAndTheDefaultPath)
{
    TorvikFixture f;
    {
        TorvikSession &s = f.open();
        EXPECT_EQ(s.statusPanels(), (std::array<std::string, 4>{"1", "0", "", f.data().string()}));
        EXPECT_EQ(s.text(BlockText::Name), "管0");
        EXPECT_FALSE(s.modified());
        ASSERT_EQ(s.names().size(), 20u);
        EXPECT_EQ(s.names()[19], "管19");
    }
    {
        // The third field is missing: the field routine repeats "-1", which names no file.
        TorvikSession &s = f.open("3;-1;");
        EXPECT_EQ(s.statusPanels()[0], "3");
        EXPECT_EQ(s.blockIndex(), 0);
        EXPECT_EQ(s.dataPath(), f.data());
    }
    {
        TorvikSession &s = f.open("1;5;");
        EXPECT_EQ(s.blockIndex(), 5);
        EXPECT_EQ(s.text(BlockText::Name), "管5");
        EXPECT_EQ(s.dataPath(), f.data());
    }
    EXPECT_EQ(f.open("1;2x;").statusPanels()[1], "0");

    // An existing file of the command line is used; a folder of that name is not a file.
    const fs::path other = f.dir.path / "other.fda";
    fs::copy_file(f.data(), other);
    EXPECT_EQ(f.open("7;4;" + other.string() + ";").dataPath(), other);
    EXPECT_EQ(f.s->statusPanels()[1], "4");
    f.ui.expectNotice("ファイル " + f.dir.path.string() + " は読めません: ファイルではなくフォルダーです。既定のファイル " +
                      f.data().string() + " を開きます。|確認");
    EXPECT_EQ(f.open("7;4;" + f.dir.path.string() + ";").dataPath(), f.data());
}

TEST(TorvikStart, TheDefaultFileIsNeverOpenedInsteadOfTheNamedOneWithoutAWord)
{
    TorvikFixture f;
    // Only a path field the argument really has is a file the caller meant.
    f.open("1;5;");
    EXPECT_TRUE(f.ui.notices.empty());
    fs::create_directory(f.dir.path / "folder.fda");
    for (const auto &[path, says] : std::vector<std::pair<fs::path, std::string>>{
             {f.dir.path / "kanzai3.fda", "がありません"}, {f.dir.path / "folder.fda", "フォルダー"}}) {
        // With the fields of a calling program, and as a path alone ("torvik /path/x.fda").
        for (const std::string &argument : {"1;0;" + path.string() + ";", path.string()}) {
            f.ui.notices.clear();
            TorvikSession &s = f.open(argument);
            EXPECT_EQ(s.dataPath(), f.data());
            ASSERT_EQ(f.ui.notices.size(), 1u) << argument;
            const std::string &n = f.ui.notices[0];
            EXPECT_NE(n.find("ファイル " + path.string() + " "), std::string::npos) << n;
            EXPECT_NE(n.find(says), std::string::npos) << n;
            EXPECT_NE(n.find("既定のファイル " + f.data().string() + " を開きます。"), std::string::npos) << n;
        }
    }
    // A name in Shift-JIS bytes opens that very file.
    const fs::path sjis = f.dir.path / std::string("\x8a\xc7\x8d\xde.fda"); // 管材
    seedPipeFile(sjis);
    f.ui.notices.clear();
    TorvikSession &s = f.open("1;3;" + sjis.string() + ";");
    EXPECT_TRUE(f.ui.notices.empty());
    EXPECT_EQ(s.dataPath(), sjis);
    EXPECT_EQ(s.text(BlockText::Name), "管3");
}

TEST(TorvikStart, AMissingOrShortFileIsNamedAndNeverWritten)
{
    TorvikFixture missing(false);
    try {
        missing.open("1;2;");
        ADD_FAILURE();
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find(missing.data().string()), std::string::npos) << e.what();
    }
    TorvikSession &m = *missing.s;
    EXPECT_TRUE(m.names().empty());
    EXPECT_EQ(m.statusPanels()[0], "1");
    missing.ui.texts = {"名前"};
    m.EditName();
    EXPECT_TRUE(m.modified());
    EXPECT_THROW(m.registerBlock(), IoError);
    EXPECT_FALSE(fs::exists(missing.data()));

    // A file that holds the block but not all 1200 records: the block is not taken.
    TorvikFixture shortFile;
    fs::resize_file(shortFile.data(), 1199 * RecordSize);
    const std::string before = readWholeFile(shortFile.data());
    try {
        shortFile.open();
        ADD_FAILURE();
    } catch (const IoError &e) {
        const std::string m2 = e.what();
        EXPECT_NE(m2.find(shortFile.data().string()), std::string::npos) << m2;
        EXPECT_NE(m2.find("1199 レコード"), std::string::npos) << m2;
    }
    EXPECT_FALSE(shortFile.s->blockLoaded());
    EXPECT_THROW(shortFile.s->registerBlock(), IoError);
    EXPECT_EQ(readWholeFile(shortFile.data()), before);
}

TEST(TorvikShow, LabelsFieldsHeadingsSizesRatesAndMoney)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;0;");
    const StrColGridModel &g = f.grid;
    EXPECT_EQ(s.text(BlockText::Name2), "継手0");
    EXPECT_EQ(s.text(BlockText::Name3), "ねじ0");
    EXPECT_EQ(s.text(BlockText::SourceMemo), "出典0");
    EXPECT_EQ(s.text(BlockText::PageMemo), "頁0");
    EXPECT_EQ(s.unitText(), "本");
    EXPECT_EQ(s.rateField(1), Cur("90"));
    EXPECT_EQ(s.rateField(6), Cur("40"));
    EXPECT_EQ(s.listIndex(RoundingList::SignificantCode), 1);
    EXPECT_EQ(s.listIndex(RoundingList::FractionAddend), 2);
    EXPECT_EQ(s.listIndex(RoundingList::SignificantAddend), 1);
    EXPECT_TRUE(s.useRates());

    const std::vector<std::string> row0 = {"No", "資材単価", "一般", "機械", "屋外", "地中"};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(g.Cells(c, 0), row0[c]);
    EXPECT_EQ(g.Cells(0, 1), "15A");
    EXPECT_EQ(g.Cells(1, 1), "1,000");
    EXPECT_EQ(g.Cells(1, 14), "1,130");
    EXPECT_EQ(g.Cells(2, 1), "0.01");
    EXPECT_EQ(g.Cells(5, 14), "0.053");
    // Looks of the heading row and the size column; prices and rates right-aligned.
    EXPECT_EQ(g.cellTextStyle(3, 0, g.FindCellParam(3, 0)).alignment, taCenter);
    EXPECT_EQ(g.FindCellParam(0, 7)->FontColor(), clr::White);
    EXPECT_EQ(g.cellTextStyle(1, 5, g.FindCellParam(1, 5)).alignment, taRightJustify);

    // Each tab shows its own price in column 1.
    s.tabChanged(6);
    EXPECT_EQ(g.Cells(1, 1), "1");
    s.tabChanged(3);
    EXPECT_EQ(g.Cells(1, 1), "4");
    EXPECT_FALSE(s.modified());

    // All four captions empty: the default headings; one caption: that one and three empty.
    f.open("1;1;");
    EXPECT_EQ(g.Cells(2, 0), "屋内一般");
    EXPECT_EQ(g.Cells(5, 0), "地中配管");
    f.open("1;2;");
    EXPECT_EQ(g.Cells(2, 0), "");
    EXPECT_EQ(g.Cells(4, 0), "屋外のみ");
    EXPECT_EQ(g.Cells(5, 0), "");
}

TEST(TorvikControls, UnitBoxLoadSettingsAndSave)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;3;");
    s.unitItemChosen("kg");
    EXPECT_EQ(s.working()[0].unit.text(), "kg");
    EXPECT_FALSE(s.modified());
    // The choice survives showing the block again (a tab change) and a recalculation.
    s.tabChanged(2);
    EXPECT_EQ(s.unitText(), "kg");
    s.roundingListSelected(RoundingList::FractionAddend, 1);
    EXPECT_EQ(s.unitText(), "kg");
    EXPECT_EQ(s.working()[SettingsRecord].unit.text(), "kg");
    s.unitBoxClicked();
    EXPECT_TRUE(s.modified());
    s.unitTextEdited("メートル"); // 8 bytes: the block holds 4
    s.tabChanged(0);
    EXPECT_EQ(s.working()[SettingsRecord].unit.text(), "メー");
    s.registerBlock();
    EXPECT_EQ(f.ui.notices.back(), "管3を登録しました。|確認");
    const PipeBlock disk = f.onDisk(3);
    for (int r = 0; r < RecordsPerPipe; ++r)
        EXPECT_EQ(disk[r].unit.text(), "メー") << r;

    // A block with other settings: the lists and the check box follow; a code that is no
    // entry leaves its list as it was.
    ServiceFile file;
    file.load(f.data());
    PriceRecord &st = file.pipeBlock(4)[SettingsRecord];
    st.D(1) = Cur("7");
    st.D(2) = Cur("0.9");
    st.D(3) = Cur("0.5");
    st.D(4) = Currency();
    file.save(f.data());
    f.ui.answers = {Answer::No};
    s.beginChooseBlock();
    s.endChooseBlock(4);
    EXPECT_EQ(s.listIndex(RoundingList::SignificantCode), 1);
    EXPECT_EQ(s.listIndex(RoundingList::FractionAddend), 0);
    EXPECT_EQ(s.listIndex(RoundingList::SignificantAddend), 2);
    EXPECT_FALSE(s.useRates());
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(s.working()[0].A(1), Cur("2")); // nothing derived
}

TEST(TorvikBadInput, ABlockOutsideTheFileOnTheCommandLineIsSaidAndBlockZeroOpens)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;25;" + f.data().string() + ";");
    EXPECT_EQ(s.blockIndex(), 0);
    ASSERT_EQ(f.ui.notices.size(), 1u);
    EXPECT_EQ(f.ui.notices[0], "コマンドラインの資材番号 25 はありません (0〜19)。資材 0 を開きます。|確認");
}

TEST(TorvikBadInput, DamagedTextsAreNamedAndAFileReplacedByAFolderIsNeverWritten)
{
    TorvikFixture f;
    std::string bytes = readWholeFile(f.data());
    const size_t block2 = 2 * 60 * 360;
    bytes[block2 + 4] = static_cast<char>(120); // the name's length beyond its 80 bytes
    bytes[block2 + 360 + 85] = 2;                // a location name that is not Shift-JIS
    bytes[block2 + 360 + 86] = static_cast<char>(0x81);
    bytes[block2 + 360 + 87] = ' ';
    writeFileAtomically(f.data(), bytes);
    TorvikSession &s = f.open("1;2;" + f.data().string() + ";");
    ASSERT_EQ(f.ui.notices.size(), 1u);
    EXPECT_NE(f.ui.notices[0].find("レコード 120 (管材 3) の名称"), std::string::npos) << f.ui.notices[0];
    EXPECT_NE(f.ui.notices[0].find("レコード 121 (管材 3) の場所名"), std::string::npos) << f.ui.notices[0];
    EXPECT_EQ(readWholeFile(f.data()), bytes); // reading changed nothing

    // The file is replaced by a folder: the save names it, and writes nothing anywhere.
    f.type(1, 1, "777");
    fs::remove(f.data());
    fs::create_directories(f.data());
    std::string error;
    try {
        s.registerBlock();
    } catch (const IoError &e) {
        error = e.what();
    }
    EXPECT_NE(error.find(f.data().string()), std::string::npos) << error;
    EXPECT_NE(error.find("フォルダー"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(f.data()));
    EXPECT_TRUE(s.modified());
}
