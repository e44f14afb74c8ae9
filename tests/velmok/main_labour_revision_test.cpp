// "労務単価改定…" in velmok's window: the labour prices of the pipe shown as one step with its
// composites calculated again, and of every pipe of the service file after a question.
#include "tests/velmok/program_folder.h"

#include "velmok/core/calc.h"
#include "pricefile/pricing_rules.h"

#include <gtest/gtest.h>

#include <memory>

using namespace velmo;
using namespace velmo::test;

namespace {

// The pipe as a fresh calculation of its records gives it.
PipeBlock calculated(PipeBlock b)
{
    auto t = std::make_unique<WorkingTable>();
    t->load(b);
    t->recalculateAll(b);
    return b;
}

RevisionChoice choice(const char *percent, int64_t unit, RevisionRounding rule, int scope)
{
    return {PriceRevision{Cur(percent), unit, rule}, scope};
}

} // namespace

TEST(MainLabourRevision, ThePipeShownIsOneStepWithItsCompositesCalculatedAgain)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    const int pipe = s.position().pipe;
    const PipeBlock before = s.file().pipeBlock(pipe);
    pf.ui.revisions.push_back(choice("2.5", 100, RevisionRounding::Half, 0));
    s.editing().reviseLabour();
    // 20000 × 1.025 = 20500 for the six bases that have a labour price; 定価's is 0 and left out.
    ASSERT_EQ(pf.ui.revisionPreviews.size(), 1u);
    EXPECT_EQ(pf.ui.revisionPreviews[0].changed, 6);
    EXPECT_EQ(pf.ui.revisionPreviews[0].prices[0].row, "基礎工費 LEVEL1");
    const PipeBlock &now = s.file().pipeBlock(pipe);
    EXPECT_EQ(now[59].slots[labourSlot(Basis::Level1)], Cur("20500"));
    EXPECT_EQ(now[59].slots[labourSlot(Basis::Net)], Cur("20500"));
    EXPECT_TRUE(now == calculated(now));
    EXPECT_FALSE(now == before); // the composites follow the labour price
    // The 基礎工費 fields show what is stored (GPAYDAY1 is LEVEL1, GPAYDAY_N 原価).
    EXPECT_EQ(s.settingsControls().labour[1], Cur("20500"));
    EXPECT_EQ(s.settingsControls().labour[0], Cur("20500"));
    EXPECT_TRUE(s.modified());
    s.editing().undoStep();
    EXPECT_TRUE(s.file().pipeBlock(pipe) == before);
    s.editing().redoStep();
    EXPECT_EQ(s.file().pipeBlock(pipe)[59].slots[labourSlot(Basis::Level1)], Cur("20500"));
}

TEST(MainLabourRevision, EveryPipeOfTheFileOnlyAfterTheQuestion)
{
    ProgramFolder pf;
    changeServiceFile(pf.dir.path / "kanzai" / "haikan1.fda",
                      [](ServiceFile &f) { f.pipeBlock(2)[59].slots[labourSlot(Basis::Level1)] = Cur("15000"); });
    MainSession &s = pf.start();
    const int pipe = s.position().pipe;
    ASSERT_NE(pipe, 2);
    const ServiceFile before = s.file();
    pf.ui.revisions.push_back(choice("-10", 1, RevisionRounding::Down, 1));
    pf.ui.answers.push_back(Answer::No);
    s.editing().reviseLabour();
    EXPECT_NE(pf.ui.questions.back().find("2 管材の 7 件の単価が変わります。"), std::string::npos) << pf.ui.questions.back();
    for (int p = 0; p < PipesPerFile; ++p)
        EXPECT_TRUE(s.file().pipeBlock(p) == before.pipeBlock(p)) << p;

    pf.ui.revisions.push_back(choice("-10", 1, RevisionRounding::Down, 1));
    pf.ui.answers.push_back(Answer::Yes);
    s.editing().reviseLabour();
    EXPECT_EQ(s.file().pipeBlock(pipe)[59].slots[labourSlot(Basis::Level1)], Cur("18000"));
    EXPECT_EQ(s.settingsControls().labour[1], Cur("18000"));
    EXPECT_EQ(s.file().pipeBlock(2)[59].slots[labourSlot(Basis::Level1)], Cur("13500"));
    EXPECT_TRUE(s.file().pipeBlock(2) == calculated(s.file().pipeBlock(2)));
    EXPECT_TRUE(s.modified());
    // A revision of every pipe is not taken back one pipe at a time.
    EXPECT_FALSE(s.editing().canUndoStep());
}
