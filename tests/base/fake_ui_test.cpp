// The scripted user interface of the session tests is strict: what a test did not script or
// read fails it, so that a new question or notice in a code path cannot pass unnoticed.
#include "tests/common/fake_ui.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::FakeUi;

TEST(FakeUi, AnUnscriptedQuestionFailsWithItsTextAndChangesNothing)
{
    FakeUi ui;
    Answer a = Answer::Yes;
    EXPECT_NONFATAL_FAILURE(a = ui.confirm("消しますか？", "実行", "キャンセル"), "消しますか？|実行|キャンセル");
    EXPECT_EQ(a, Answer::No);
    EXPECT_NONFATAL_FAILURE(a = ui.confirmOrBack("保存しますか？", "実行", "キャンセル", "戻る"), "保存しますか？");
    EXPECT_EQ(a, Answer::Back);
    EXPECT_EQ(ui.questions.size(), 2u);

    ui.answers = {Answer::Yes};
    EXPECT_EQ(ui.confirm("消しますか？", "実行", "キャンセル"), Answer::Yes);
}

TEST(FakeUi, ANoticeNobodyReadFailsWithItsText)
{
    EXPECT_NONFATAL_FAILURE(
        {
            FakeUi ui;
            ui.notice("保存しました。", "確認");
        },
        "保存しました。|確認");
    // Read afterwards, or cleared, it passes.
    {
        FakeUi ui;
        ui.notice("保存しました。", "確認");
        EXPECT_EQ(ui.notices.back(), "保存しました。|確認");
    }
    {
        FakeUi ui;
        ui.notice("保存しました。", "確認");
        ui.notices.clear();
    }
    // A read counts only the notices that were there: a later one must be read again.
    EXPECT_NONFATAL_FAILURE(
        {
            FakeUi ui;
            ui.notice("一", "確認");
            EXPECT_EQ(ui.notices.size(), 1u);
            ui.notice("二", "確認");
            ui.checkNotices();
        },
        "二|確認");
}

TEST(FakeUi, ADeclaredNoticeIsSeenWhenItComesAndMissedWhenItDoesNot)
{
    {
        FakeUi ui;
        ui.expectNotice("登録しました。|確認");
        ui.notice("登録しました。", "確認");
    }
    EXPECT_NONFATAL_FAILURE(
        {
            FakeUi ui;
            ui.expectNotice("登録しました。|確認");
        },
        "登録しました。|確認");
    // Another text than the one declared is not taken for it.
    EXPECT_NONFATAL_FAILURE(
        {
            FakeUi ui;
            ui.expectNotice("登録しました。|確認");
            ui.notice("書き込めません", "確認");
            ui.notice("登録しました。", "確認");
        },
        "書き込めません|確認");
}

TEST(FakeUi, UnscriptedBoxesAreCancelledAndRecorded)
{
    FakeUi ui;
    EXPECT_EQ(ui.askText("Velmaro", "名称", "通気", AnyLength), std::nullopt);
    EXPECT_EQ(ui.chooseFolder("フォルダー"), std::nullopt);
    EXPECT_EQ(ui.chooseSaveFile("*.CSV", "CSV", "給水.CSV"), std::nullopt);
    EXPECT_EQ(ui.prompts, (std::vector<std::string>{"Velmaro|名称|通気", "フォルダー", "*.CSV|CSV"}));
}

TEST(SaveDialogName, TheNamesThatSayWhatIsSavedJoinedAndSafeForAFileSystem)
{
    EXPECT_EQ(suggestedFileName({"給水", "水道用硬質塩化ビニルライニング鋼管"}, "csv"), "給水_水道用硬質塩化ビニルライニング鋼管.csv");
    // Spaces around a name go, empty names are left out, characters no file name takes become "_".
    EXPECT_EQ(suggestedFileName({"\xE3\x80\x80 排水 ", "", "  ", "VP/DV 50:A*?"}, "xlsx"), "排水_VP_DV 50_A__.xlsx");
    EXPECT_EQ(suggestedFileName({"a\\b\"c<d>e|f\tg"}, "pdf"), "a_b_c_d_e_f_g.pdf");
    EXPECT_EQ(suggestedFileName({"", " "}, "CSV"), "出力.CSV");
}
