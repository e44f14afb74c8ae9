// "価格改定…" in the equipment registration program: the block shown as one step, recalculated
// with the controls shown; the whole file written once confirmed.
#include "tests/selvan/selvan_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

TEST(SelvanRevision, TheBlockShownAsOneStepAndTheWholeFileOnceConfirmed)
{
    SelvanFolder f;
    auto s = f.start();
    typeCell(*s, 2, 1, "1234");
    s->useRatesClicked(true);
    s->percentageEntered(1, Cur("85"));
    const EquipmentBlock before = s->working();
    f.ui.revisions.push_back(RevisionChoice{PriceRevision{Cur("-2"), 10, RevisionRounding::Down}, 0});
    s->revisePrices();
    // 1234 × 0.98 = 1209.32 → 1200; LEVEL1 follows at 85 %.
    EXPECT_EQ(s->working()[0].values[materialSlot(Basis::List)], Cur("1200"));
    EXPECT_EQ(f.ui.revisionPreviews.back().changed, 1);
    EXPECT_NE(s->working()[0].values[materialSlot(Basis::Level1)], before[0].values[materialSlot(Basis::Level1)]);
    EXPECT_TRUE(s->modified());
    s->undo();
    EXPECT_TRUE(s->working() == before);

    // The whole file: refused while the block has edits not registered, then written.
    f.ui.revisions.push_back(RevisionChoice{PriceRevision{Cur("10"), 1, RevisionRounding::Half}, 1});
    s->revisePrices();
    EXPECT_NE(f.ui.notices.back().find("登録していない変更があります"), std::string::npos);
    s->registerClicked();
    f.ui.notices.clear();
    f.ui.revisions.push_back(RevisionChoice{PriceRevision{Cur("10"), 1, RevisionRounding::Half}, 1});
    f.ui.answers.push_back(Answer::Yes);
    s->revisePrices();
    EXPECT_NE(f.ui.notices.back().find("1 ブロックの定価を改定して保存しました"), std::string::npos) << f.ui.notices.back();
    EXPECT_EQ(readEquipmentBlock(f.defaultFile(), 0)[0].values[materialSlot(Basis::List)], Cur("1357")); // 1357.4
    EXPECT_TRUE(s->working() == readEquipmentBlock(f.defaultFile(), 0));
    EXPECT_FALSE(s->modified());
}

TEST(SelvanVersions, AnEarlierVersionIsPutBackWholeAfterTheQuestionAndTheBlockReadAgain)
{
    SelvanFolder f;
    auto s = f.start();
    typeCell(*s, 2, 1, "1234");
    s->registerClicked();
    const std::string registered = readWholeFile(f.defaultFile());
    typeCell(*s, 2, 1, "2345");
    s->registerClicked();
    f.ui.notices.clear();
    f.ui.versionChoices.push_back([](const VersionListView &list, const VersionComparer &compare) -> std::optional<size_t> {
        EXPECT_EQ(list.rows.size(), 2u); // the file made empty at the start, then the first registration
        const VersionComparisonView v = compare(0);
        EXPECT_TRUE(v.canRestore);
        EXPECT_FALSE(v.rows.empty()) << v.text;
        return 0;
    });
    f.ui.answers.push_back(Answer::Yes);
    s->earlierVersions();
    EXPECT_TRUE(readWholeFile(f.defaultFile()) == registered);
    EXPECT_EQ(s->working()[0].values[materialSlot(Basis::List)], Cur("1234"));
    EXPECT_FALSE(s->modified());
}
