// torvik and another program's change to its working block: the third answer of the save
// question, the window coming to the front again, the bar, failed reads, and velmok showing
// what torvik saved when its window comes to the front.
#include "tests/torvik/torvik_fixture.h"

#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
using namespace velmo::test;

namespace {

// torvik on block 0 of the seeded file, a list price typed and not saved; meanwhile another
// program writes a new list price into the same block.
struct TorvikUnderChange : TorvikFixture {
    TorvikSession &s;
    std::string theirs;
    explicit TorvikUnderChange(bool edit = true) : s(open("1;0;"))
    {
        if (edit)
            type(1, 1, "4321");
        theirChange("2222");
    }
    void theirChange(const char *listPrice)
    {
        PipeBlock b = onDisk(0);
        b[0].A(6) = Cur(listPrice);
        writePipeBlock(data(), 0, b);
        theirs = readWholeFile(data());
    }
    std::string subject() const { return "ファイル " + data().string() + " の「管0」"; }
};

} // namespace

TEST(TorvikReload, TheThirdAnswerOfTheSaveQuestionReadsTheBlockAgainOnlyAfterAYes)
{
    TorvikUnderChange f;
    f.ui.answers = {Answer::Back, Answer::No};
    EXPECT_THROW(f.s.registerBlock(), IoError);
    ASSERT_EQ(f.ui.questions.size(), 2u);
    EXPECT_EQ(f.ui.questions[0], sharedtext::changedOnDiskQuestion(f.subject()) + "|実行|キャンセル|読み込み直す");
    EXPECT_EQ(f.ui.questions[1],
              "このプログラムで保存していない変更を破棄して、" + f.subject() + "を読み込み直しますか？|実行|キャンセル");
    // Both questions lose something on 実行 (the other program's change, the edits here):
    // Enter answers キャンセル.
    EXPECT_EQ(f.ui.defaultButtons, (std::vector<Answer>{Answer::No, Answer::No}));
    EXPECT_TRUE(f.s.modified());
    EXPECT_EQ(f.grid.Cells(1, 1), "4,321");
    EXPECT_EQ(readWholeFile(f.data()), f.theirs);

    // 実行: the block as the other program left it, and no "registered" notice.
    f.ui.answers = {Answer::Back, Answer::Yes};
    f.s.registerBlock();
    EXPECT_FALSE(f.s.modified());
    EXPECT_EQ(f.grid.Cells(1, 1), "2,222");
    EXPECT_FALSE(f.s.canUndo()); // the edits are not brought back
    EXPECT_EQ(readWholeFile(f.data()), f.theirs);
    EXPECT_EQ(f.s.outsideChange().statusText(), "ファイル kanzai1.fda の「管0」をほかのプログラムの変更に合わせて読み込み直しました。");
}

TEST(TorvikReload, ClosingAndChoosingABlockGoOnAfterTheReload)
{
    {
        TorvikUnderChange f;
        f.ui.answers = {Answer::Yes, Answer::Back, Answer::Yes}; // save?, 読み込み直す, discard
        EXPECT_TRUE(f.s.closeQuery());
        EXPECT_EQ(readWholeFile(f.data()), f.theirs);
    }
    {
        TorvikUnderChange f;
        f.ui.answers = {Answer::Yes, Answer::Back, Answer::Yes};
        f.s.beginChooseBlock();
        f.s.endChooseBlock(3);
        EXPECT_EQ(f.s.blockIndex(), 3);
        EXPECT_FALSE(f.s.modified());
        EXPECT_EQ(readWholeFile(f.data()), f.theirs);
    }
}

TEST(TorvikReload, ActivationReadsAnUneditedBlockAndOffersTheBarOverEdits)
{
    {
        TorvikUnderChange f(false);
        EXPECT_TRUE(f.s.windowActivated());
        EXPECT_EQ(f.grid.Cells(1, 1), "2,222");
        EXPECT_FALSE(f.s.outsideChange().barShown());
        EXPECT_EQ(f.s.outsideChange().statusRevision(), 1);
        EXPECT_FALSE(f.s.windowActivated());
        EXPECT_EQ(readWholeFile(f.data()), f.theirs);
    }
    TorvikUnderChange f;
    TorvikSession &s = f.s;
    EXPECT_TRUE(s.windowActivated());
    EXPECT_EQ(s.outsideChange().barText(), f.subject() + "はほかのプログラムで変更されました。");
    EXPECT_EQ(f.grid.Cells(1, 1), "4,321");
    EXPECT_TRUE(f.ui.questions.empty());

    s.barCloseClicked();
    EXPECT_FALSE(s.windowActivated());
    EXPECT_FALSE(s.outsideChange().barShown());
    // Another program's change to another block is not this block's change.
    PipeBlock other = f.onDisk(5);
    other[0].A(6) = Cur("5555");
    writePipeBlock(f.data(), 5, other);
    EXPECT_FALSE(s.windowActivated());
    EXPECT_FALSE(s.outsideChange().barShown());
    f.theirChange("3333");
    EXPECT_TRUE(s.windowActivated());
    EXPECT_TRUE(s.outsideChange().barShown());

    f.ui.answers = {Answer::No};
    s.barReloadClicked();
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(s.outsideChange().barShown());
    f.ui.answers = {Answer::Yes};
    s.barReloadClicked();
    EXPECT_FALSE(s.modified());
    EXPECT_FALSE(s.outsideChange().barShown());
    EXPECT_EQ(f.grid.Cells(1, 1), "3,333");
    EXPECT_EQ(readWholeFile(f.data()), f.theirs);
}

TEST(TorvikReload, AReadThatFailsIsReportedOnceAndLeavesBlockAndFileAlone)
{
    for (const bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "folder" : "short");
        TorvikUnderChange f;
        ASSERT_TRUE(f.s.windowActivated()); // the bar
        if (folder) {
            fs::remove(f.data());
            fs::create_directory(f.data());
        } else {
            std::ofstream(f.data(), std::ios::binary | std::ios::trunc) << "short";
        }
        f.ui.answers = {Answer::Yes};
        EXPECT_THROW(f.s.barReloadClicked(), IoError);
        EXPECT_TRUE(f.s.modified());
        EXPECT_EQ(f.grid.Cells(1, 1), "4,321");
        try {
            f.s.windowActivated();
            ADD_FAILURE() << "no error";
        } catch (const IoError &e) {
            EXPECT_NE(std::string(e.what()).find(f.data().string()), std::string::npos) << e.what();
        }
        EXPECT_NO_THROW(f.s.windowActivated()); // once for the same failure
        EXPECT_EQ(f.grid.Cells(1, 1), "4,321");
        EXPECT_EQ(folder, fs::is_directory(f.data()));
        if (!folder) {
            EXPECT_EQ(readWholeFile(f.data()), "short");
        }
    }
}

TEST(BothPrograms, VelmokActivatedAgainShowsThePricesTorvikSaved)
{
    ProgramFolder folder;
    MainSession &v = folder.start("1;1;");
    const fs::path file = folder.data() / "kanzai1.fda";
    // How many cells of size row 1 in velmok's material price grid show `text`.
    auto shownInPriceRow = [&v](const std::string &text) {
        v.showGrids();
        int n = 0;
        for (int col = 0; col < v.grids().price.ColCount(); ++col)
            n += v.grids().price.Cells(col, 1) == text;
        return n;
    };
    ASSERT_EQ(shownInPriceRow("2,000"), 0);

    TorvikFixture t(false); // its own folder; the session is pointed at velmok's file
    TorvikSession &s = t.open("1;0;" + file.string() + ";");
    typeInto(t.grid, 1, 1, "2000"); // the list price of the first size
    t.ui.expectNotice("S1P1を登録しました。|確認");
    s.registerBlock();

    // The save may fall within the same second as velmok's read: the stamps compare the bytes.
    EXPECT_TRUE(v.windowActivated());
    EXPECT_EQ(v.table().row(1).rec.A(6), Cur("2000"));
    EXPECT_EQ(shownInPriceRow("2,000"), 1);
    EXPECT_FALSE(v.modified());
    EXPECT_TRUE(folder.ui.questions.empty());
    // Velmok shows what one started now shows, in all three grids.
    MainSession &fresh = folder.start("1;1;");
    fresh.showGrids();
    auto sameCells = [](const StrColGridModel &a, const StrColGridModel &b) {
        for (int row = 1; row < a.RowCount(); ++row)
            for (int col = 0; col < a.ColCount(); ++col)
                EXPECT_EQ(a.Cells(col, row), b.Cells(col, row)) << col << "," << row;
    };
    sameCells(v.grids().rate, fresh.grids().rate);
    sameCells(v.grids().price, fresh.grids().price);
    sameCells(v.grids().composite, fresh.grids().composite);
}
