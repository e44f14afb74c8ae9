// The equipment registration session: start-up, editions, the argument, choosing and moving
// blocks, registration and closing.
#include "base/errors.h"
#include "base/fileio.h"
#include "tests/selvan/selvan_folder.h"
#include "selvan/core/selvan_texts.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
using namespace velmo::test;

namespace {

// A file whose blocks are named "資材<n>" with their own unit, a size text and a list price.
void writeNamedFile(const fs::path &p)
{
    createEquipmentFile(p);
    for (int b = 0; b < 20; ++b) {
        EquipmentBlock block = readEquipmentBlock(p, b);
        block[0].name.assignText("資材" + std::to_string(b));
        block[0].unit.assignText(b % 2 ? "本" : "ケ");
        block[0].caption.assignText("S" + std::to_string(b));
        block[0].values[materialSlot(Basis::List)] = Currency::fromInt(100 + b);
        block[EquipmentSettingsRow].values[eqslot::LabourMode] = Currency::fromInt(b % 2);
        block[EquipmentSettingsRow].values[eqslot::UseRates] = Currency::fromInt(b % 2);
        writeEquipmentBlock(p, b, block);
    }
}

} // namespace

TEST(SelvanStart, WithoutArgumentTheDefaultFileIsCreatedInTheProgramsDataFolder)
{
    SelvanFolder f;
    auto s = f.start();
    EXPECT_EQ(s->titleStrip(), "配管付属品・器具単価登録プログラム");
    EXPECT_EQ(s->statusPanels(), (std::array<std::string, 4>{"1", "0", "", f.defaultFile().string()}));
    EXPECT_EQ(fs::file_size(f.defaultFile()), 153600u);
    EXPECT_FALSE(s->modified());
    EXPECT_TRUE(s->blockLoaded());
    EXPECT_EQ(s->tab(), 0);
    // A new file's settings: labour mode 0, flag off, addends 0; its code 0 matches no entry
    // and leaves the list at 最小有効桁1.
    EXPECT_EQ(s->controls(), (EquipmentControls{0, 1, 1, 0, false}));
    EXPECT_EQ(s->cell(3, 0), "歩掛(共通)");
    for (int row = 1; row <= 14; ++row) {
        EXPECT_EQ(s->cell(1, row), "");
        EXPECT_EQ(s->cell(2, row), "0");
        EXPECT_EQ(s->cell(3, row), "0");
    }
    EXPECT_EQ(s->unitText(), "");
    EXPECT_EQ(s->names().size(), 0u); // listed before the file existed
}

TEST(SelvanStart, TheArgumentGivesTagBlockDuctTitleAndFile)
{
    SelvanFolder f;
    const fs::path p = f.dir.path / "a.dxa";
    writeNamedFile(p);
    auto s = f.start("1;5;1;;" + p.string() + ";");
    EXPECT_EQ(s->titleStrip(), "ダクト器具単価登録プログラム");
    EXPECT_EQ(s->statusPanels(), (std::array<std::string, 4>{"1", "5", "1", p.string()}));
    EXPECT_EQ(s->materialName(), "資材5");
    EXPECT_EQ(s->unitText(), "本");
    EXPECT_EQ(s->cell(3, 0), "取付費");
    EXPECT_EQ(s->names().size(), 20u);
    EXPECT_FALSE(fs::exists(f.dir.path / "dx_data")); // the program's folder is not needed

    // Fewer fields repeat the last one: the duct flag and the path are "7".
    SelvanSession shortOne(f.ui, f.grid, f.program(), "2;7;");
    EXPECT_EQ(shortOne.statusPanels(), (std::array<std::string, 4>{"2", "7", "7", "7"}));
    EXPECT_EQ(shortOne.titleStrip(), "配管付属品・器具単価登録プログラム");
    // Only exactly "1" is the duct title; a block that is no number is block 0.
    EXPECT_EQ(SelvanSession(f.ui, f.grid, f.program(), "x;y;01;;/p;").titleStrip(), "配管付属品・器具単価登録プログラム");
    EXPECT_EQ(SelvanSession(f.ui, f.grid, f.program(), "x;y;01;;/p;").statusPanels()[1], "0");
}

TEST(SelvanStart, TheInvokedNameChoosesTheGridMenu)
{
    EXPECT_EQ(gridMenuOf("/opt/q/dx_selvan"), GridMenu::Duct);
    EXPECT_EQ(gridMenuOf("/opt/q/dx_selvan.exe"), GridMenu::Duct);
    EXPECT_EQ(gridMenuOf("/opt/q/net_dx_selvan"), GridMenu::Duct);
    EXPECT_EQ(gridMenuOf("net_dx_selvan.exe"), GridMenu::Duct);
    for (const char *name : {"ex_selvan", "ex_selvan.exe", "net_ex_selvan", "net_ex_selvan.exe", "selvan",
                             "DX_SELVAN.EXE", "dx_selvan.exe.exe", "dx_selvan2", ""})
        EXPECT_EQ(gridMenuOf(std::string("/opt/q/") + name), GridMenu::Piping) << name;
    SelvanFolder f;
    EXPECT_EQ(f.start("", "dx_selvan")->gridMenu(), GridMenu::Duct);
}

TEST(SelvanStart, AFileThatCannotBeReadEndsTheStartAndIsNeverWritten)
{
    SelvanFolder f;
    const fs::path p = f.dir.path / "short.dxa";
    std::ofstream(p, std::ios::binary) << std::string(1000, 'x');
    SelvanSession s(f.ui, f.grid, f.program(), "1;0;0;;" + p.string() + ";");
    EXPECT_THROW(s.start(), IoError);
    EXPECT_FALSE(s.blockLoaded());
    s.sizeSet(13);
    EXPECT_THROW(s.registerClicked(), IoError);
    EXPECT_EQ(readWholeFile(p), std::string(1000, 'x'));

    // A folder the caller named must exist; the program's own data folder is made.
    SelvanSession missing(f.ui, f.grid, f.program(), "1;0;0;;" + (f.dir.path / "none" / "k.dxa").string() + ";");
    try {
        missing.start();
        FAIL() << "no error";
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("がありません"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(f.dir.path / "none"));
}

TEST(SelvanChoose, TheSaveQuestionThenTheChosenBlockOrTheSameAgain)
{
    SelvanFolder f;
    fs::create_directories(f.defaultFile().parent_path());
    writeNamedFile(f.defaultFile());
    auto s = f.start("1;3;0;;" + f.defaultFile().string() + ";");
    s->sizeSet(15);
    ASSERT_TRUE(s->modified());
    f.ui.answers.push_back(Answer::Yes);
    s->beginChoosing();
    EXPECT_EQ(f.ui.questions.back(), "資材3の変更を保存しますか？|実行|キャンセル|戻る");
    EXPECT_EQ(readEquipmentBlock(f.defaultFile(), 3)[0].caption.text(), "15A"); // saved silently
    EXPECT_TRUE(f.ui.notices.empty());
    ASSERT_EQ(s->names().size(), 20u);

    EXPECT_FALSE(s->entryChosen(std::nullopt)); // 選択実行 without a selection: a beep
    EXPECT_EQ(f.ui.beeps, 1);
    EXPECT_FALSE(s->entryChosen(std::nullopt, true)); // a double click: nothing
    EXPECT_EQ(f.ui.beeps, 1);
    s->tabChanged(4);
    EXPECT_TRUE(s->entryChosen(8));
    s->endChoosing();
    EXPECT_EQ(s->blockIndex(), 8);
    EXPECT_EQ(s->statusPanels()[1], "8");
    EXPECT_EQ(s->materialName(), "資材8");
    EXPECT_EQ(s->tab(), 0);
    EXPECT_FALSE(s->modified());

    // Declined edits are gone after a cancelled dialog: the block is read again.
    s->sizeSet(13);
    f.ui.answers.push_back(Answer::No);
    s->beginChoosing(); // "キャンセル" to the question
    s->endChoosing();   // the dialog cancelled
    EXPECT_EQ(s->blockIndex(), 8);
    EXPECT_EQ(s->cell(1, 1), "S8");
    EXPECT_FALSE(s->modified());
}

TEST(SelvanChoose, ABlockWithoutANameAsksForItAtOnce)
{
    SelvanFolder f;
    auto s = f.start();
    f.ui.texts.push_back("仕切弁 (フランジ形)");
    s->beginChoosing();
    ASSERT_TRUE(s->entryChosen(2));
    // The window shows the new block (its number, its empty name) before the box opens.
    std::string panelShown = "?", nameShown = "?";
    size_t promptsWhenShown = 99;
    s->showNow = [&] {
        panelShown = s->statusPanels()[1];
        nameShown = s->materialName();
        promptsWhenShown = f.ui.prompts.size();
    };
    const size_t promptsBefore = f.ui.prompts.size();
    s->endChoosing();
    EXPECT_EQ(panelShown, "2");
    EXPECT_EQ(nameShown, "");
    EXPECT_EQ(promptsWhenShown, promptsBefore);
    EXPECT_EQ(f.ui.prompts.back(), "QUORVANE-DX|資材名称編集|");
    EXPECT_EQ(s->materialName(), "仕切弁 (フランジ形)");
    EXPECT_TRUE(s->modified());
    s->registerClicked();
    EXPECT_EQ(f.ui.notices.back(), "仕切弁 (フランジ形)を登録しました。|確認");
    EXPECT_EQ(readEquipmentBlock(f.defaultFile(), 2)[0].name.text(), "仕切弁 (フランジ形)");
    EXPECT_FALSE(s->modified());
}

TEST(SelvanChoose, AnEmptyBlockWhoseNameBoxIsCancelledIsNotAskedAbout)
{
    SelvanFolder f;
    auto s = f.start();
    s->beginChoosing();
    ASSERT_TRUE(s->entryChosen(2));
    s->endChoosing(); // the name box cancelled
    EXPECT_EQ(f.ui.prompts.back(), "QUORVANE-DX|資材名称編集|");
    EXPECT_FALSE(s->modified());
    // Nobody changed it: choosing again and closing ask nothing (the fake fails on a question).
    EXPECT_TRUE(s->beginChoosing());
    ASSERT_TRUE(s->entryChosen(3));
    s->endChoosing();
    EXPECT_TRUE(s->closeWindow());
    EXPECT_TRUE(f.ui.questions.empty());
}

TEST(SelvanChoose, BackAtTheSaveQuestionKeepsTheBlockAndItsEdits)
{
    SelvanFolder f;
    fs::create_directories(f.defaultFile().parent_path());
    writeNamedFile(f.defaultFile());
    auto s = f.start("1;3;0;;" + f.defaultFile().string() + ";");
    s->sizeSet(15);
    const EquipmentBlock edited = s->working();
    f.ui.answers.push_back(Answer::Back);
    EXPECT_FALSE(s->beginChoosing());
    EXPECT_EQ(f.ui.questions.back(), "資材3の変更を保存しますか？|実行|キャンセル|戻る");
    EXPECT_EQ(s->blockIndex(), 3);
    EXPECT_EQ(s->working(), edited);
    EXPECT_TRUE(s->modified());
    EXPECT_EQ(readEquipmentBlock(f.defaultFile(), 3)[0].caption.text(), "S3"); // nothing written
}

TEST(SelvanChoose, SwappingBlocksTwoAndThreeLeavesTheOtherEighteenAndEditsTheMovedBlock)
{
    SelvanFolder f;
    fs::create_directories(f.defaultFile().parent_path());
    writeNamedFile(f.defaultFile());
    const std::string before = readWholeFile(f.defaultFile());
    auto s = f.start();
    s->beginChoosing();
    ASSERT_EQ(s->moveBlock(3, MoveDirection::Up), 2);
    const std::string after = readWholeFile(f.defaultFile());
    const size_t block = 15 * 512;
    EXPECT_EQ(after.substr(0, 2 * block), before.substr(0, 2 * block));
    EXPECT_EQ(after.substr(4 * block), before.substr(4 * block));
    EXPECT_EQ(after.substr(2 * block, block), before.substr(3 * block, block)); // Serial was 0 already
    EXPECT_EQ(after.substr(3 * block, block), before.substr(2 * block, block));
    // The moved block is edited at its new place, with its own settings.
    EXPECT_EQ(s->blockIndex(), 2);
    EXPECT_EQ(s->materialName(), "資材3");
    EXPECT_EQ(s->unitText(), "本");
    EXPECT_TRUE(s->controls().useRates);
    EXPECT_EQ(s->controls().labourMode, 1);
    EXPECT_EQ(s->names()[2], "資材3");
    EXPECT_FALSE(s->modified());
    // The first entry up is refused and changes nothing.
    EXPECT_EQ(s->moveBlock(0, MoveDirection::Up), std::nullopt);
    EXPECT_EQ(readWholeFile(f.defaultFile()), after);
    EXPECT_EQ(s->blockIndex(), 2);
}

TEST(SelvanClose, TheQuestionOnlyWithEditsAndCancelClosesWithoutSaving)
{
    SelvanFolder f;
    auto s = f.start();
    s->closeQuery();
    EXPECT_TRUE(f.ui.questions.empty());
    s->sizeSet(13);
    f.ui.answers.push_back(Answer::Back);
    EXPECT_FALSE(s->closeWindow()); // "戻る"
    EXPECT_TRUE(s->modified());
    f.ui.answers.push_back(Answer::No);
    EXPECT_TRUE(s->closeWindow()); // "キャンセル"
    EXPECT_EQ(f.ui.questions.size(), 2u);
    EXPECT_EQ(readEquipmentBlock(f.defaultFile(), 0)[0].caption.text(), "");
    f.ui.answers.push_back(Answer::Yes);
    s->closeQuery();
    EXPECT_EQ(readEquipmentBlock(f.defaultFile(), 0)[0].caption.text(), "13A");
    EXPECT_TRUE(f.ui.notices.empty());
}

TEST(SelvanRegister, TheUnitBoxGoesIntoAllFifteenRecords)
{
    SelvanFolder f;
    auto s = f.start();
    s->unitChosen("枚");
    EXPECT_TRUE(s->modified());
    s->registerClicked();
    for (const EquipmentRecord &r : readEquipmentBlock(f.defaultFile(), 0))
        EXPECT_EQ(r.unit.text(), "枚");
    // A typed text holds at most the four bytes of its field, shown at once.
    s->unitTyped("ケース");
    EXPECT_TRUE(s->modified());
    EXPECT_EQ(s->unitText(), "ケー");
    s->tabChanged(2);
    EXPECT_EQ(s->unitText(), "ケー");
    s->registerClicked();
    EXPECT_EQ(readEquipmentBlock(f.defaultFile(), 0)[14].unit.text(), "ケー");
    s->unitTyped("ケー"); // the same unit again changes nothing
    EXPECT_FALSE(s->modified());
    // The labour mode of the settings record, as a number.
    s->showLabourMode();
    EXPECT_EQ(f.ui.notices.back(), "0|OK");
}

TEST(SelvanSecondWriter, ASaveOverABlockAnotherSelvanChangedAsksAndNeverOverwritesWithoutYes)
{
    SelvanFolder f;
    const std::string argument = "1;4;0;;" + f.defaultFile().string() + ";";
    fs::create_directories(f.defaultFile().parent_path());
    f.ui.expectNotice("ファイル " + f.defaultFile().string() + " がなかったため、空のファイルを作成しました。|確認");
    auto first = f.start(argument);
    FakeUi otherUi;
    StrColGridModel otherGrid;
    setupEquipmentGrid(otherGrid);
    SelvanSession second(otherUi, otherGrid, f.program(), argument);
    second.start();

    typeCell(second, 2, 1, "5000");
    otherUi.expectNotice("名前のない資材 (ブロック 4)を登録しました。|確認"); // by its number
    second.registerClicked();
    const std::string theirs = readWholeFile(f.defaultFile());

    typeCell(*first, 2, 1, "7000");
    f.ui.answers = {Answer::No};
    EXPECT_THROW(first->registerClicked(), IoError); // "キャンセル"
    ASSERT_EQ(f.ui.questions.size(), 1u);
    EXPECT_NE(f.ui.questions[0].find("ほかのプログラムで変更"), std::string::npos) << f.ui.questions[0];
    EXPECT_EQ(readWholeFile(f.defaultFile()), theirs);
    EXPECT_TRUE(first->modified());

    f.ui.answers = {Answer::Yes};
    f.ui.expectNotice("名前のない資材 (ブロック 4)を登録しました。|確認");
    first->registerClicked();
    EXPECT_EQ(slotOf(readEquipmentBlock(f.defaultFile(), 4)[0], 208), Cur("7000"));
}

TEST(SelvanBadInput, ABlockOutsideTheFileOnTheCommandLineIsSaidAndBlockZeroOpens)
{
    SelvanFolder f;
    fs::create_directories(f.defaultFile().parent_path());
    auto s = f.start("1;-3;0;;" + f.defaultFile().string() + ";");
    EXPECT_EQ(s->blockIndex(), 0);
    ASSERT_EQ(f.ui.notices.size(), 2u);
    EXPECT_EQ(f.ui.notices[0], "コマンドラインの資材番号 -3 はありません (0〜19)。資材 0 を開きます。|確認");
    // The file named was not there: it was created, and that is said too.
    EXPECT_EQ(f.ui.notices[1], "ファイル " + f.defaultFile().string() + " がなかったため、空のファイルを作成しました。|確認");
}

TEST(SelvanBadInput, DamagedTextsAreNamedAndLongFilesAreRefusedUntouched)
{
    SelvanFolder f;
    f.start();
    std::string bytes = readWholeFile(f.defaultFile());
    bytes[3 * 15 * 512 + 4] = static_cast<char>(200); // block 3's name: a length beyond its field
    writeFileAtomically(f.defaultFile(), bytes);
    f.ui.notices.clear();
    auto s = f.start("1;3;0;;" + f.defaultFile().string() + ";");
    ASSERT_EQ(f.ui.notices.size(), 1u);
    EXPECT_NE(f.ui.notices[0].find("レコード 45 (資材 4) の名称"), std::string::npos) << f.ui.notices[0];
    EXPECT_EQ(readWholeFile(f.defaultFile()), bytes);

    // A file longer than 300 records is refused and left as it is.
    writeFileAtomically(f.defaultFile(), bytes + "more");
    SelvanSession other(f.ui, f.grid, f.program(), "1;3;0;;" + f.defaultFile().string() + ";");
    EXPECT_THROW(other.start(), IoError);
    EXPECT_EQ(readWholeFile(f.defaultFile()), bytes + "more");
}

TEST(SelvanStart, AShiftJisPathOpensThatVeryFile)
{
    SelvanFolder f;
    const fs::path sjis = f.dir.path / std::string("\x8b\x40\x8b\xef.dxa"); // 機器
    createEquipmentFile(sjis);
    EquipmentBlock b = readEquipmentBlock(sjis, 2);
    b[0].name.assignText("玉形弁");
    writeEquipmentBlock(sjis, 2, b);
    const auto s = f.start("1;2;0;;" + sjis.string() + ";");
    EXPECT_EQ(s->dataPath(), sjis);
    EXPECT_EQ(s->names()[2], "玉形弁");
    EXPECT_FALSE(fs::exists(f.defaultFile()));
    EXPECT_TRUE(f.ui.notices.empty()); // the file was there: nothing to say
}
