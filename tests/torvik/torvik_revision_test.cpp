// "価格改定…" in the pipe registration program: the block shown as one step with its derived
// prices recalculated, the whole file in one write after a confirmation, and what refuses it.
#include "tests/torvik/torvik_fixture.h"

#include "base/file_history.h"

#include "pricefile/pricing_rules.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

RevisionChoice choice(const char *percent, int64_t unit, RevisionRounding rule, int scope)
{
    return {PriceRevision{Cur(percent), unit, rule}, scope};
}

} // namespace

TEST(TorvikRevision, TheBlockShownIsRevisedAsOneStepWithItsDerivedPrices)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;3;");
    const PipeBlock before = s.working();
    const std::string file = readWholeFile(f.data());
    f.ui.revisions.push_back(choice("3", 10, RevisionRounding::Up, 0));
    s.revisePrices();
    // The preview the dialog showed: the 14 list prices of block 3, 4000 → 4120 first.
    ASSERT_EQ(f.ui.revisionPreviews.size(), 1u);
    const RevisionPreview &p = f.ui.revisionPreviews[0];
    EXPECT_EQ(p.changed, 14);
    EXPECT_EQ(p.prices[0].before, Cur("4000"));
    EXPECT_EQ(p.prices[0].after, Cur("4120"));
    EXPECT_EQ(p.prices[0].row, "15A");
    // Stored in the working block, recalculated, shown, modified; the file is untouched.
    EXPECT_EQ(s.working()[0].A(6), Cur("4120"));
    EXPECT_EQ(s.working()[0].A(1), derivedPrice(Cur("4120"), Cur("90"), Cur("0.5"), Cur("10"), Cur("0")));
    EXPECT_EQ(f.grid.Cells(1, 1), "4,120");
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(readWholeFile(f.data()) == file);
    // One step: undo brings the block back whole, redo the revision.
    s.undo();
    EXPECT_TRUE(s.working() == before);
    s.redo();
    EXPECT_EQ(s.working()[0].A(6), Cur("4120"));
    // Cancelled: nothing changes and no step is added.
    s.undo();
    s.revisePrices();
    EXPECT_TRUE(s.working() == before);
    EXPECT_TRUE(s.canRedo());
}

TEST(TorvikRevision, TheWholeFileIsWrittenOnceConfirmedAndRefusedOverUnregisteredEdits)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;2;");
    f.type(1, 1, "9999");
    f.ui.revisions.push_back(choice("-5", 1, RevisionRounding::Half, 1));
    const std::string file = readWholeFile(f.data());
    // The dialog says it before 実行 (and 実行 stays grey); the command refuses all the same.
    s.revisePrices();
    const std::string refusal =
        "表示中のブロック 管2 に登録していない変更があります。登録してからファイル全体を改定してください。";
    EXPECT_EQ(f.ui.revisionPreviews.back().refusal, refusal);
    EXPECT_EQ(f.ui.notices.back(), refusal + "|確認");
    EXPECT_TRUE(readWholeFile(f.data()) == file);
    EXPECT_EQ(s.working()[0].A(6), Cur("9999"));
    // The block shown alone may be revised with its edits.
    f.ui.revisions.push_back(choice("-5", 1, RevisionRounding::Half, 0));
    s.revisePrices();
    EXPECT_TRUE(f.ui.revisionPreviews.back().refusal.empty());
    s.undo();
    // Undone back to what the file holds, the block has nothing to register.
    s.undo();
    EXPECT_FALSE(s.modified());
    f.ui.revisions.push_back(choice("-5", 1, RevisionRounding::Half, 1));
    f.ui.answers.push_back(Answer::No);
    s.revisePrices();
    EXPECT_TRUE(f.ui.revisionPreviews.back().refusal.empty());
    s.redo();
    EXPECT_TRUE(s.modified());

    s.registerBlock();
    f.ui.notices.clear();
    // Declined at the question: nothing is written.
    f.ui.revisions.push_back(choice("-5", 1, RevisionRounding::Half, 1));
    f.ui.answers.push_back(Answer::No);
    const std::string registered = readWholeFile(f.data());
    s.revisePrices();
    EXPECT_TRUE(readWholeFile(f.data()) == registered);
    EXPECT_NE(f.ui.questions.back().find("20 ブロックの 280 件の単価が変わります。"), std::string::npos)
        << f.ui.questions.back();
    EXPECT_EQ(f.ui.defaultButtons.back(), Answer::No); // revising the whole file is never Enter's

    f.ui.revisions.push_back(choice("-5", 1, RevisionRounding::Half, 1));
    f.ui.answers.push_back(Answer::Yes);
    s.revisePrices();
    EXPECT_EQ(f.ui.notices.back(), "ファイル " + f.data().string() + " の 20 ブロックの定価を改定して保存しました。|確認");
    for (int p = 0; p < PipesPerFile; ++p) {
        const PipeBlock b = f.onDisk(p);
        const Currency list = p == 2 ? Cur("9999") : Currency::fromInt(1000 * (p + 1));
        EXPECT_EQ(b[0].A(6), revisedPrice(list, {Cur("-5"), 1, RevisionRounding::Half})) << p;
        EXPECT_EQ(b[0].A(1), derivedPrice(b[0].A(6), Cur("90"), Cur("0.5"), Cur("10"), Cur("0"))) << p;
    }
    // The block shown is the one on disk, unmodified, with a new history.
    EXPECT_TRUE(s.working() == f.onDisk(2));
    EXPECT_FALSE(s.modified());
    EXPECT_FALSE(s.canUndo());
}

TEST(TorvikVersions, AnEarlierVersionIsPutBackWholeAfterTheQuestionAndTheBlockReadAgain)
{
    TorvikFixture f;
    TorvikSession &s = f.open("1;2;");
    const std::string seeded = readWholeFile(f.data());
    f.type(1, 1, "9999");
    s.registerBlock();
    f.type(1, 1, "8888");
    s.registerBlock();
    const std::string registered = readWholeFile(f.data());
    f.ui.notices.clear();

    // The list, newest first, and the oldest compared with the file: its list price and the
    // prices derived from it.
    auto chooseOldest = [](const VersionListView &list, const VersionComparer &compare) -> std::optional<size_t> {
        EXPECT_EQ(list.rows.size(), 2u);
        EXPECT_EQ(list.rows[0][0], "2");
        EXPECT_NE(list.rows[0][4], "0"); // the prices changed from version 1 to version 2
        EXPECT_EQ(list.rows[1][4], "");  // the first has none before it
        const VersionComparisonView v = compare(1);
        EXPECT_TRUE(v.canRestore);
        bool listPrice = false; // 15A of block 2: 3000 in the version, 8888 in the file
        for (const auto &row : v.rows)
            listPrice = listPrice || (row[5] == "3000" && row[6] == "8888");
        EXPECT_TRUE(listPrice) << v.text;
        return 1;
    };
    // Refused while the block shown has edits not registered.
    f.type(1, 1, "7777");
    f.ui.versionChoices.push_back(chooseOldest);
    s.earlierVersions();
    EXPECT_EQ(f.ui.notices.back(),
              "表示中のブロック 管2 に登録していない変更があります。登録してから以前の版に戻してください。|確認");
    EXPECT_TRUE(readWholeFile(f.data()) == registered);
    s.undo();
    EXPECT_FALSE(s.modified());
    // Declined at the question: nothing written; confirmed: the version is the file, the block
    // shown is read again, and what the file held is a version too.
    f.ui.versionChoices.push_back(chooseOldest);
    f.ui.answers.push_back(Answer::No);
    s.earlierVersions();
    EXPECT_TRUE(readWholeFile(f.data()) == registered);
    EXPECT_EQ(f.ui.defaultButtons.back(), Answer::No);
    f.ui.versionChoices.push_back(chooseOldest);
    f.ui.answers.push_back(Answer::Yes);
    s.earlierVersions();
    EXPECT_TRUE(readWholeFile(f.data()) == seeded);
    EXPECT_EQ(s.working()[0].A(6), Currency::fromInt(3000)); // the block shown was read again
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(listHistory(f.data()).versions.size(), 3u);
    EXPECT_TRUE(versionContent(f.data(), 3, seeded.size()) == registered);
    // Closed without 元に戻す: nothing.
    s.earlierVersions();
    EXPECT_TRUE(readWholeFile(f.data()) == seeded);
}
