// selvan and another program's change to its working block: the third answer of the save
// question, the window coming to the front again, the bar, and a file that is gone meanwhile,
// which is an error and never an empty new file.
#include "base/errors.h"
#include "base/fileio.h"
#include "tests/selvan/selvan_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

constexpr int PriceOffset = 208; // the slot the first price column of the grid types into

// selvan on block 0 of an equipment file named "器具", 7000 typed and not saved; meanwhile a
// second selvan writes 5000 into the same place.
struct SelvanUnderChange : SelvanFolder {
    fs::path file = dir.path / "kigu1.dxa";
    std::unique_ptr<SelvanSession> s;
    std::string theirs;

    explicit SelvanUnderChange(bool edit = true)
    {
        createEquipmentFile(file);
        EquipmentBlock b = readEquipmentBlock(file, 0);
        b[0].name.assignText("器具");
        writeEquipmentBlock(file, 0, b);
        s = start("1;0;0;;" + file.string() + ";");
        if (edit)
            typeCell(*s, 2, 1, "7000");
        theirChange(5000);
    }
    void theirChange(int price)
    {
        EquipmentBlock b = readEquipmentBlock(file, 0);
        b[0].values[equipmentSlot(PriceOffset)] = Currency::fromInt(price);
        writeEquipmentBlock(file, 0, b);
        theirs = readWholeFile(file);
    }
    Currency shown() const { return slotOf(s->working()[0], PriceOffset); }
    std::string subject() const { return "ファイル " + file.string() + " の「器具」"; }
};

} // namespace

TEST(SelvanReload, TheThirdAnswerOfTheSaveQuestionReadsTheBlockAgainOnlyAfterAYes)
{
    SelvanUnderChange f;
    ASSERT_EQ(f.shown(), Cur("7000"));
    f.ui.answers = {Answer::Back, Answer::No};
    EXPECT_THROW(f.s->registerClicked(), IoError);
    ASSERT_EQ(f.ui.questions.size(), 2u);
    EXPECT_EQ(f.ui.questions[0], sharedtext::changedOnDiskQuestion(f.subject()) + "|実行|キャンセル|読み込み直す");
    EXPECT_EQ(f.ui.questions[1],
              "このプログラムで保存していない変更を破棄して、" + f.subject() + "を読み込み直しますか？|実行|キャンセル");
    // Both questions lose something on 実行 (the other program's change, the edits here):
    // Enter answers キャンセル.
    EXPECT_EQ(f.ui.defaultButtons, (std::vector<Answer>{Answer::No, Answer::No}));
    EXPECT_TRUE(f.s->modified());
    EXPECT_EQ(f.shown(), Cur("7000"));

    f.ui.answers = {Answer::Back, Answer::Yes};
    f.s->registerClicked(); // no "registered" notice
    EXPECT_FALSE(f.s->modified());
    EXPECT_EQ(f.shown(), Cur("5000"));
    EXPECT_EQ(readWholeFile(f.file), f.theirs);

    // Closing after such a reload has nothing to ask.
    EXPECT_TRUE(f.s->closeWindow());
}

TEST(SelvanReload, ActivationReadsAnUneditedBlockAndOffersTheBarOverEdits)
{
    {
        SelvanUnderChange f(false);
        EXPECT_TRUE(f.s->windowActivated());
        EXPECT_EQ(f.shown(), Cur("5000"));
        EXPECT_EQ(f.s->outsideChange().statusText(), "ファイル kigu1.dxa の「器具」をほかのプログラムの変更に合わせて読み込み直しました。");
        EXPECT_EQ(readWholeFile(f.file), f.theirs);
    }
    SelvanUnderChange f;
    EXPECT_TRUE(f.s->windowActivated());
    EXPECT_EQ(f.s->outsideChange().barText(), f.subject() + "はほかのプログラムで変更されました。");
    EXPECT_EQ(f.shown(), Cur("7000"));
    f.s->barCloseClicked();
    EXPECT_FALSE(f.s->windowActivated());
    f.theirChange(6000);
    EXPECT_TRUE(f.s->windowActivated());
    f.ui.answers = {Answer::Yes};
    f.s->barReloadClicked();
    EXPECT_EQ(f.shown(), Cur("6000"));
    EXPECT_FALSE(f.s->outsideChange().barShown());
}

TEST(SelvanReload, AFileGoneMeanwhileIsAnErrorAndNeverAnEmptyNewFile)
{
    for (const bool edited : {false, true}) {
        SCOPED_TRACE(edited ? "edited" : "not edited");
        SelvanUnderChange f(edited);
        const Currency before = f.shown();
        fs::remove(f.file);
        try {
            f.s->windowActivated();
            ADD_FAILURE() << "no error";
        } catch (const IoError &e) {
            EXPECT_EQ(std::string(e.what()), "ファイル " + f.file.string() + " がありません");
        }
        EXPECT_NO_THROW(f.s->windowActivated()); // once for the same failure
        if (edited) {
            // The save says the file is gone (and asks nothing); 読み込み直す from the bar too.
            EXPECT_THROW(f.s->registerClicked(), IoError);
            f.ui.answers = {Answer::Yes};
            EXPECT_THROW(f.s->barReloadClicked(), IoError);
        }
        EXPECT_EQ(f.shown(), before);
        EXPECT_EQ(f.s->modified(), edited);
        EXPECT_FALSE(fs::exists(f.file));
    }
}
