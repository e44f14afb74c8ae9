// The price-level dialog and the sheet set-up dialog without their windows, and what the
// session does with them.
#include "base/errors.h"
#include "velmok/session/level_calc_dialog.h"
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

// Sets the prices of size row k of location 0: cost A0 and list A6.
void setPrices(ServiceFile &f, int pipe, int k, const char *cost, const char *list)
{
    f.pipeBlock(pipe)[k - 1].A(0) = Cur(cost);
    f.pipeBlock(pipe)[k - 1].A(6) = Cur(list);
}

} // namespace

// ---- the price-level dialog ----

TEST(LevelCalcDialog, OpensWithItsDefaults)
{
    const LevelCalcDialog d;
    EXPECT_EQ(LevelCalcDialog::AddendCaptions[static_cast<size_t>(d.addendChoice())], std::string("四捨五入"));
    EXPECT_EQ(LevelCalcDialog::UnitCaptions[static_cast<size_t>(d.unitChoice())], std::string("1"));
    EXPECT_EQ(LevelCalcDialog::MethodCaptions[static_cast<size_t>(d.methodChoice())], std::string("提 出=定価×掛 率％"));
    const LevelCalcParams p = d.params();
    EXPECT_EQ(p.method, LevelCalcParams::Method::FromList);
    EXPECT_EQ(p.addend, Cur("0.5"));
    EXPECT_EQ(p.unit, 1);
    for (const Currency &l : p.levels)
        EXPECT_TRUE(l.isZero());

    LevelCalcDialog e;
    e.chooseAddend(1);
    e.chooseUnit(4);
    e.chooseMethod(1);
    e.setLevel(4, Cur("12.5"));
    EXPECT_EQ(e.params().addend, Cur("0.9"));
    EXPECT_EQ(e.params().unit, 10000);
    EXPECT_EQ(e.params().method, LevelCalcParams::Method::FromCost);
    EXPECT_EQ(e.params().levels[4], Cur("12.5"));
    EXPECT_THROW(e.chooseUnit(5), RangeError);
    // A rate outside 0–999.99 % is refused and the level keeps its value.
    EXPECT_THROW(e.setLevel(4, Cur("1000")), RangeError);
    EXPECT_THROW(e.setLevel(4, Cur("-5")), RangeError);
    EXPECT_EQ(e.level(4), Cur("12.5"));
}

TEST(LevelCalc, BothMethodsWithEveryLevelAtZero)
{
    ProgramFolder pf;
    pf.start();
    changeServiceFile(pf.data() / "kanzai1.fda", [](ServiceFile &f) { setPrices(f, 0, 2, "1234", "2000"); });
    MainSession &s = pf.start();
    LevelCalcDialog d;
    d.chooseUnit(2); // 100
    // 定価 × 0 %: the prices it turns into 0 are counted first; 戻る changes nothing.
    const Currency before = s.table().row(1).rec.A(1);
    ASSERT_FALSE(before.isZero());
    pf.ui.answers.push_back(Answer::No); // 戻る
    s.editing().levelCalc(d.params());
    ASSERT_EQ(pf.ui.questions.size(), 1u);
    EXPECT_EQ(pf.ui.questions.back().substr(0, pf.ui.questions.back().find(" 件")),
              "Level1、Level2、Level3、Level4、Level5 が 0 % のため、" +
                  std::to_string(s.table().zeroedByLevels(d.params()).prices));
    EXPECT_NE(pf.ui.questions.back().find("|実行|戻る"), std::string::npos);
    EXPECT_EQ(pf.ui.defaultButtons.back(), Answer::No); // Enter goes back
    EXPECT_EQ(s.table().row(1).rec.A(1), before);
    EXPECT_FALSE(s.modified());
    pf.ui.answers.push_back(Answer::Yes);
    s.editing().levelCalc(d.params());
    // Every LEVEL price of every size row is 0.
    for (int a = 1; a <= WorkingRows; ++a) {
        if (!isTailRow(a)) {
            for (int n = 1; n <= 5; ++n)
                EXPECT_TRUE(s.table().row(a).rec.A(n).isZero()) << a << " " << n;
        }
    }
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(s.editing().undoEnabled());
    EXPECT_EQ(s.file().pipeBlock(0)[1].A(3), Currency());

    // 原価 × (1 + 0 %): the cost price rounded half up to hundreds, on every location.
    d.chooseMethod(1);
    s.editing().levelCalc(d.params());
    for (int loc = 0; loc < 4; ++loc) {
        for (int n = 1; n <= 5; ++n) {
            EXPECT_EQ(s.table().row(workingRow(loc, 1)).rec.A(n), Cur("1000")) << loc;
            EXPECT_EQ(s.table().row(workingRow(loc, 2)).rec.A(n), Cur("1200")) << loc;
        }
    }
    // The tails keep their percentages and labour prices.
    EXPECT_EQ(s.table().row(LabourRow).rec.C(1), Cur("20000"));
    // One undo step back is the state before the second calculation.
    s.editing().undo();
    EXPECT_TRUE(s.table().row(1).rec.A(1).isZero());
}

TEST(LevelCalc, RatesOfTheListPriceRoundedToTheUnitWithTheAddend)
{
    ProgramFolder pf;
    pf.start();
    changeServiceFile(pf.data() / "kanzai1.fda", [](ServiceFile &f) { setPrices(f, 0, 1, "800", "1380"); });
    MainSession &s = pf.start();
    LevelCalcDialog d;
    d.chooseUnit(1); // 10
    d.chooseAddend(1); // 切り上げ
    const char *levels[] = {"80", "75", "70", "65", "60"};
    for (int n = 0; n < 5; ++n)
        d.setLevel(n, Cur(levels[n]));
    s.editing().levelCalc(d.params());
    // 1380 × 0.8 = 1104 → 10 × Trunc(110.4 + 0.9) = 1110; 1035 → 1040; 966 → 970; 897 → 900; 828 → 830.
    const char *expected[] = {"1110", "1040", "970", "900", "830"};
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(s.table().row(1).rec.A(n), Cur(expected[n - 1])) << n;
    EXPECT_EQ(velmo::priceGridText(s.gridView(), 1, 1), "1,110");
}

// ---- the sheet set-up dialog ----

TEST(SheetSetup, LoadsTheRowsAndAStoredCodeOf0ShowsAs1)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    std::optional<SheetSetup> d = s.editing().openSheetSetup();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->pipe, 0);
    EXPECT_EQ(d->text(SheetSetup::Text::PipeName), "S1P1");
    EXPECT_EQ(d->text(SheetSetup::Text::Uses), "給水");
    EXPECT_EQ(d->text(SheetSetup::Text::Joint), "ねじ接合");
    EXPECT_EQ(d->sizes[0], "15A");
    EXPECT_EQ(d->locationNames[3], "地中配管");
    EXPECT_EQ(SheetSetup::CodeCaptions[static_cast<size_t>(d->code)], std::string("10"));
    // Addends 0 are 切り捨て; component decimals 0; normal mode.
    EXPECT_EQ(SheetSetup::AddendCaptions[static_cast<size_t>(d->fracAddend)], std::string("切り捨て"));
    EXPECT_EQ(d->scale, 0);
    EXPECT_EQ(d->mode, 0);
    s.editing().closeSheetSetup(nullptr);

    // Pipe 2 has a code of 0: it shows as "1" and is stored as 1.
    s.treeClick(2);
    WorkingTable t = s.table();
    t.settings().B(1) = Currency();
    t.settings().B(2) = Cur("0.7"); // matches no radio button: the design default stays
    SheetSetup e = SheetSetup::load(t, 1);
    EXPECT_EQ(SheetSetup::CodeCaptions[static_cast<size_t>(e.code)], std::string("1"));
    EXPECT_EQ(t.settings().B(1), Cur("1"));
    EXPECT_EQ(SheetSetup::AddendCaptions[static_cast<size_t>(e.fracAddend)], std::string("切り上げ"));
    e.registerInto(t);
    EXPECT_EQ(t.settings().B(1), Cur("1"));
    EXPECT_EQ(t.settings().B(2), Cur("0.9"));
    // A mode above 2 matches neither button: 配管モード, stored as 0.
    t.settings().B(4) = Cur("3");
    EXPECT_EQ(SheetSetup::load(t, 1).mode, 0);
    t.settings().B(4) = Cur("2");
    EXPECT_EQ(SheetSetup::load(t, 1).mode, 1);
    t.settings().B(3) = Cur("2.7");
    EXPECT_EQ(SheetSetup::load(t, 1).scale, 2);
}

TEST(SheetSetup, ExitChangesNoFieldButCountsAsAChangeWithAnUndo)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    const PipeBlock before = s.file().pipeBlock(0);
    std::optional<SheetSetup> d = s.editing().openSheetSetup();
    d->text(SheetSetup::Text::PipeName) = "ignored";
    s.editing().closeSheetSetup(nullptr);
    for (int k = 0; k < RecordsPerPipe; ++k)
        EXPECT_EQ(s.file().pipeBlock(0)[k], before[k]) << k;
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(s.editing().undoEnabled());
    EXPECT_EQ(s.names().nodes[1], "S1P1");
}

TEST(SheetSetup, RegisterWritesUnitSizesNamesAndSettingsIntoEveryRow)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    std::optional<SheetSetup> d = s.editing().openSheetSetup();
    d->text(SheetSetup::Text::PipeName) = "配管用炭素鋼鋼管（白）";
    d->text(SheetSetup::Text::PageMemo) = "P.12";
    d->unit = "本";
    d->applySizeSet(SheetSetup::SizeSet::From15);
    d->sizes[2] = "25Aあいう"; // cut to the field's 6 bytes
    d->clearLocationNames();
    d->setDefaultLocationNames();
    d->code = 4;        // 有効3桁
    d->sigAddend = 2;   // 四捨五入
    d->fracAddend = 1;  // 切り捨て
    d->scale = 1;
    s.editing().closeSheetSetup(&*d);

    const PipeBlock &b = s.file().pipeBlock(0);
    for (int k = 0; k < RecordsPerPipe; ++k) {
        EXPECT_EQ(b[k].unit.text(), "本") << k;
        const int loc = k / 15, row = k % 15;
        EXPECT_EQ(b[k].caption.text(), ProposedLocationNames[static_cast<size_t>(loc)]) << k;
        if (row == 14) {
            EXPECT_TRUE(b[k].size.empty()) << k;
        }
    }
    for (int loc = 0; loc < 4; ++loc) {
        EXPECT_EQ(b[loc * 15 + 0].size.text(), "15A");
        EXPECT_EQ(b[loc * 15 + 2].size.text(), "25Aあ");
        EXPECT_EQ(b[loc * 15 + 13].size.text(), "300A");
    }
    EXPECT_EQ(b[0].name.text(), "配管用炭素鋼鋼管（白）");
    EXPECT_EQ(b[4].name.text(), "P.12");
    EXPECT_EQ(b[SettingsRecord].B(1), Cur("3"));
    EXPECT_EQ(b[SettingsRecord].B(6), Cur("0.5"));
    EXPECT_EQ(b[SettingsRecord].B(2), Cur("0"));
    EXPECT_EQ(b[SettingsRecord].B(3), Cur("1"));
    EXPECT_EQ(b[SettingsRecord].B(4), Cur("0"));
    EXPECT_EQ(s.tabCaptions(), (std::vector<std::string>{"屋内一般", "機械室", "屋外架空", "地中配管"}));
    EXPECT_EQ(s.names().nodes[1], "配管用炭素鋼鋼管（白）");
    EXPECT_EQ(s.names().pipeCaptions[0][0], "配管用炭素鋼鋼管（白）");
    // Recalculated with the new settings: 有効3桁 half up of 2,805 is 2,810.
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 1, 1), "2,810");

    // Undo takes everything back, names and sizes included, also in the service's records.
    s.editing().undo();
    EXPECT_EQ(b[0].name.text(), "S1P1");
    EXPECT_EQ(b[0].size.text(), "15A");
    EXPECT_EQ(b[2].size.text(), "");
    EXPECT_EQ(b[5].unit.text(), "");
    EXPECT_EQ(s.names().nodes[1], "S1P1");
}

TEST(SheetSetup, RefrigerantModeLeavesOneTab)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    s.locationTabChanged(2);
    std::optional<SheetSetup> d = s.editing().openSheetSetup();
    d->mode = 1;
    s.editing().closeSheetSetup(&*d);
    EXPECT_TRUE(s.table().refrigerant());
    EXPECT_EQ(s.file().pipeBlock(0)[SettingsRecord].B(4), Cur("2"));
    EXPECT_EQ(s.tabCaptions(), (std::vector<std::string>{"一般"}));
    EXPECT_EQ(s.position().location, 0);
    EXPECT_FALSE(s.editing().copyLocationEnabled());
}

TEST(SheetSetup, TheButtonsAndInputBoxes)
{
    SheetSetup d;
    d.applySizeSet(SheetSetup::SizeSet::From13);
    EXPECT_EQ(d.sizes[3], "30A");
    d.applySizeSet(SheetSetup::SizeSet::From20);
    EXPECT_EQ(d.sizes[13], "350A");
    d.applySizeSet(SheetSetup::SizeSet::Refrigerant);
    EXPECT_EQ(d.sizes[0], "6.4");
    EXPECT_EQ(d.sizes[13], "53.98");
    d.applySizeSet(SheetSetup::SizeSet::RefrigerantFrom95);
    EXPECT_EQ(d.sizes[0], "");
    EXPECT_EQ(d.sizes[1], "9.5");
    EXPECT_EQ(d.sizes[13], "53.98");
    d.applySizeSet(SheetSetup::SizeSet::Clear);
    for (const std::string &size : d.sizes)
        EXPECT_EQ(size, "");

    FakeUi ui;
    d.locationNames[1] = "機械室";
    ui.texts.push_back("ピット内");
    d.editLocationName(1, ui);
    EXPECT_EQ(d.locationNames[1], "ピット内");
    EXPECT_EQ(ui.prompts.back(), "Velmaro|単価種別|機械室");
    d.editLocationName(1, ui); // cancelled
    EXPECT_EQ(d.locationNames[1], "ピット内");
    ui.texts.push_back("メーカー定価表");
    d.editMemo(SheetSetup::Text::MaterialMemo, ui);
    EXPECT_EQ(d.text(SheetSetup::Text::MaterialMemo), "メーカー定価表");
    ui.texts.push_back("P.3");
    d.editMemo(SheetSetup::Text::PageMemo, ui);
    EXPECT_EQ(ui.prompts.back(), "Velmaro|材料単価建物|");
    EXPECT_EQ(d.text(SheetSetup::Text::PageMemo), "P.3");
}
