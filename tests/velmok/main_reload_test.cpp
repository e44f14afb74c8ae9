// velmok and another program's change to the service file it shows: the third answer of the
// save question (read the file again), the window coming to the front again, the bar above the
// grids, and reads that fail on the way.
#include "base/errors.h"
#include "base/fileio.h"
#include "base/file_history.h"
#include "velmok/core/velmok_texts.h"
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using namespace velmo;
using namespace velmo::test;

namespace {

bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

// velmok on service 1, pipe 1, with an unsaved labour price; meanwhile another program writes
// a new labour price and list price into the same pipe. The change is in the bytes, which is
// what the programs compare (size and contents, not the modification time), so a change within
// the same second counts.
struct ChangedUnderEdits {
    ProgramFolder pf;
    MainSession &s;
    fs::path file;
    std::string theirs;

    explicit ChangedUnderEdits(bool edit = true) : s(pf.start()), file(pf.data() / "kanzai1.fda")
    {
        if (edit)
            typeLabour(s, 1, "31000");
        theirChange("25000");
    }
    void theirChange(const char *labour)
    {
        changeServiceFile(file, [labour](ServiceFile &f) {
            f.pipeBlock(0)[59].C(1) = Cur(labour);
            f.pipeBlock(0)[0].A(6) = Cur("1500");
        });
        theirs = readWholeFile(file);
    }
    std::string changedQuestion() const
    {
        return sharedtext::changedOnDiskQuestion(sharedtext::changedFileSubject(file)) + "|実行|キャンセル|読み込み直す";
    }
    std::string reloadQuestion() const
    {
        return "このプログラムで保存していない変更を破棄して、ファイル " + file.string() +
               " を読み込み直しますか？|実行|キャンセル";
    }
    std::string reloadedStatus() const
    {
        return "ファイル kanzai1.fda をほかのプログラムの変更に合わせて読み込み直しました。";
    }
    // What the other program wrote is what the session holds now.
    void expectTheirs()
    {
        EXPECT_EQ(s.settingsControls().labour[1], Cur("25000"));
        EXPECT_EQ(s.table().row(1).rec.A(6), Cur("1500"));
        EXPECT_FALSE(s.modified());
        EXPECT_FALSE(s.editing().undoEnabled());
        EXPECT_FALSE(s.editing().canUndoStep()); // the edits are not brought back
        EXPECT_EQ(readWholeFile(file), theirs); // read, never written
        EXPECT_EQ(s.outsideChange().statusText(), reloadedStatus());
    }
};

} // namespace

TEST(MainReload, TheThirdAnswerOfTheSaveQuestionReadsTheFileAgainOnlyAfterAYes)
{
    ChangedUnderEdits c;
    // 読み込み直す, then キャンセル at the discard question: the save is withdrawn, nothing changes.
    c.pf.ui.answers = {Answer::Back, Answer::No};
    EXPECT_THROW(c.s.save(), IoError);
    ASSERT_EQ(c.pf.ui.questions.size(), 2u);
    EXPECT_EQ(c.pf.ui.questions[0], c.changedQuestion());
    EXPECT_EQ(c.pf.ui.questions[1], c.reloadQuestion());
    EXPECT_TRUE(c.s.modified());
    EXPECT_EQ(c.s.settingsControls().labour[1], Cur("31000"));
    EXPECT_EQ(readWholeFile(c.file), c.theirs);
    EXPECT_EQ(c.s.outsideChange().statusRevision(), 0);

    // 読み込み直す, then 実行: the other program's prices are shown, and no "saved" notice comes
    // (the fake fails the test on any notice it was not told of).
    const int location = 2;
    c.s.locationTabChanged(location);
    c.pf.ui.answers = {Answer::Back, Answer::Yes};
    c.s.save();
    c.expectTheirs();
    EXPECT_EQ(c.s.position().service, 0);
    EXPECT_EQ(c.s.position().pipe, 0);
    EXPECT_EQ(c.s.position().location, location);
    EXPECT_EQ(c.s.outsideChange().statusRevision(), 1);
}

TEST(MainReload, QuickSaveAndCloseTakeTheThirdAnswerAsTheEndOfTheEdits)
{
    {
        ChangedUnderEdits c;
        c.pf.ui.answers = {Answer::Back, Answer::Yes};
        c.s.quickSave(); // Ctrl+S: silent, nothing written
        c.expectTheirs();
    }
    {
        // Closing: 実行 at the save question, 読み込み直す and 実行: the edits are gone at the
        // person's word and the window closes without writing the price file.
        ChangedUnderEdits c;
        c.pf.ui.answers = {Answer::Yes, Answer::Back, Answer::Yes};
        EXPECT_TRUE(c.s.close(Rect{0, 0, 800, 600}));
        EXPECT_EQ(readWholeFile(c.file), c.theirs);
        EXPECT_FALSE(c.s.modified());
    }
    {
        // キャンセル at the discard question keeps the window open with its edits.
        ChangedUnderEdits c;
        c.pf.ui.answers = {Answer::Yes, Answer::Back, Answer::No};
        EXPECT_THROW(c.s.close(Rect{0, 0, 800, 600}), IoError);
        EXPECT_TRUE(c.s.modified());
        EXPECT_EQ(readWholeFile(c.file), c.theirs);
    }
    {
        // Without edits, 読み込み直す has nothing to discard and asks nothing more.
        ChangedUnderEdits c(false);
        c.pf.ui.answers = {Answer::Back};
        c.s.save();
        EXPECT_EQ(c.pf.ui.questions.size(), 1u);
        c.expectTheirs();
    }
}

TEST(MainReload, ActivatedWithoutEditsTheWindowReadsTheChangedFileAndSaysSo)
{
    ProgramFolder pf;
    MainSession &s = pf.start("1;5;");
    const fs::path file = pf.data() / "kanzai1.fda";
    EXPECT_FALSE(s.windowActivated()); // nothing changed: nothing read, nothing to show
    s.locationTabChanged(1);
    changeServiceFile(file, [](ServiceFile &f) {
        f.pipeBlock(4)[59].C(1) = Cur("27000");
        f.pipeBlock(9)[0].name.assignText("新しい管");
    });
    const std::string theirs = readWholeFile(file);

    EXPECT_TRUE(s.windowActivated());
    EXPECT_TRUE(pf.ui.questions.empty());
    EXPECT_EQ(s.settingsControls().labour[1], Cur("27000"));
    EXPECT_EQ(s.names().pipeCaptions[0][9], pipeNodeText("新しい管")); // the tree and the menu follow the file
    EXPECT_EQ(s.position().pipe, 4);
    EXPECT_EQ(s.position().location, 1);
    EXPECT_FALSE(s.modified());
    EXPECT_FALSE(s.outsideChange().barShown());
    EXPECT_EQ(s.outsideChange().statusText(), "ファイル kanzai1.fda をほかのプログラムの変更に合わせて読み込み直しました。");
    EXPECT_EQ(readWholeFile(file), theirs);
    // Read once: the next activation finds nothing new.
    EXPECT_FALSE(s.windowActivated());
    EXPECT_EQ(s.outsideChange().statusRevision(), 1);
    // A file only touched, or written again with the same bytes, has not changed.
    fs::last_write_time(file, fs::last_write_time(file) + std::chrono::hours(1));
    EXPECT_FALSE(s.windowActivated());
}

TEST(MainReload, ActivatedWithEditsTheBarOffersTheReloadAndItsTwoButtonsDoWhatTheySay)
{
    ChangedUnderEdits c;
    MainSession &s = c.s;
    EXPECT_TRUE(s.windowActivated());
    EXPECT_TRUE(s.outsideChange().barShown());
    EXPECT_EQ(s.outsideChange().barText(), "ファイル " + c.file.string() + " はほかのプログラムで変更されました。");
    EXPECT_EQ(s.settingsControls().labour[1], Cur("31000")); // the edits stay
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(c.pf.ui.questions.empty());
    EXPECT_FALSE(s.windowActivated()); // the same change: the bar stays as it is

    // 閉じる: the bar goes and does not come back for the same change ...
    s.barCloseClicked();
    EXPECT_FALSE(s.outsideChange().barShown());
    EXPECT_FALSE(s.windowActivated());
    EXPECT_FALSE(s.outsideChange().barShown());
    // ... but the save question still guards it.
    c.pf.ui.answers = {Answer::No};
    EXPECT_THROW(s.quickSave(), IoError);
    EXPECT_EQ(c.pf.ui.questions.back(), c.changedQuestion());
    EXPECT_EQ(readWholeFile(c.file), c.theirs);

    // A later change brings the bar back.
    c.theirChange("26000");
    EXPECT_TRUE(s.windowActivated());
    EXPECT_TRUE(s.outsideChange().barShown());

    // 読み込み直す, キャンセル at the question: the edits and the bar stay.
    c.pf.ui.answers = {Answer::No};
    s.barReloadClicked();
    EXPECT_EQ(c.pf.ui.questions.back(), c.reloadQuestion());
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(s.outsideChange().barShown());
    EXPECT_EQ(s.settingsControls().labour[1], Cur("31000"));

    // 読み込み直す, 実行: the file as the other program left it; the bar goes.
    c.pf.ui.answers = {Answer::Yes};
    s.barReloadClicked();
    EXPECT_FALSE(s.outsideChange().barShown());
    EXPECT_EQ(s.settingsControls().labour[1], Cur("26000"));
    EXPECT_FALSE(s.modified());
    EXPECT_FALSE(s.editing().undoEnabled());
    EXPECT_EQ(readWholeFile(c.file), c.theirs);
}

TEST(MainReload, ASaveOrAnotherServiceTakesTheBarAway)
{
    {
        ChangedUnderEdits c;
        ASSERT_TRUE(c.s.windowActivated());
        c.pf.ui.answers = {Answer::Yes}; // overwrite the other program's change
        c.s.quickSave();
        EXPECT_FALSE(c.s.outsideChange().barShown());
        EXPECT_EQ(readPipeBlock(c.file, 0)[59].C(1), Cur("31000"));
    }
    {
        ChangedUnderEdits c;
        ASSERT_TRUE(c.s.windowActivated());
        c.pf.ui.answers = {Answer::No}; // the save question of the service left: not saved
        c.s.menuServiceOpened(1);
        c.s.menuPipeChosen(0);
        EXPECT_EQ(c.s.position().service, 1);
        EXPECT_FALSE(c.s.outsideChange().barShown());
    }
}

TEST(MainReload, AReadThatFailsIsReportedOnceAndLeavesDataAndFileAlone)
{
    // Each way the file can stop being a service file: too short, a folder, gone.
    const std::vector<std::pair<std::string, std::function<void(const fs::path &)>>> breaks = {
        {"short", [](const fs::path &f) { std::ofstream(f, std::ios::binary | std::ios::trunc) << "short"; }},
        {"folder", [](const fs::path &f) { fs::remove(f); fs::create_directory(f); }},
        {"gone", [](const fs::path &f) { fs::remove(f); }},
    };
    for (const auto &[name, breakFile] : breaks) {
        SCOPED_TRACE(name);
        for (const bool edited : {false, true}) {
            ChangedUnderEdits c(edited);
            const Currency shown = c.s.settingsControls().labour[1];
            breakFile(c.file);
            try {
                c.s.windowActivated();
                ADD_FAILURE() << "no error";
            } catch (const IoError &e) {
                EXPECT_TRUE(contains(e.what(), c.file.string())) << e.what();
            }
            EXPECT_EQ(c.s.settingsControls().labour[1], shown);
            EXPECT_EQ(c.s.modified(), edited);
            EXPECT_TRUE(c.s.serviceLoaded());
            EXPECT_FALSE(c.s.outsideChange().barShown());
            // The window comes to the front again when the error box closes: the same failure
            // is not reported in a loop.
            EXPECT_NO_THROW(c.s.windowActivated());
            if (edited) {
                // 読み込み直す from the save question: the error, and the edits stay.
                c.pf.ui.answers = {Answer::Back, Answer::Yes};
                EXPECT_THROW(c.s.quickSave(), IoError);
                EXPECT_TRUE(c.s.modified());
                EXPECT_EQ(c.s.settingsControls().labour[1], shown);
            }
            // Nothing was written or created in its place.
            if (name == "short") {
                EXPECT_EQ(readWholeFile(c.file), "short");
            } else if (name == "folder") {
                EXPECT_TRUE(fs::is_directory(c.file));
            } else {
                EXPECT_FALSE(fs::exists(c.file));
            }
        }
    }
}

TEST(MainReload, TheBarsReloadThatFailsKeepsTheEdits)
{
    ChangedUnderEdits c;
    ASSERT_TRUE(c.s.windowActivated());
    std::ofstream(c.file, std::ios::binary | std::ios::trunc) << "short";
    c.pf.ui.answers = {Answer::Yes};
    EXPECT_THROW(c.s.barReloadClicked(), IoError);
    EXPECT_TRUE(c.s.modified());
    EXPECT_EQ(c.s.settingsControls().labour[1], Cur("31000"));
    EXPECT_EQ(readWholeFile(c.file), "short");
}

TEST(MainReload, AnUnreadableFileIsAnErrorNotAChange)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads a file without read permission";
    ChangedUnderEdits c(false);
    fs::permissions(c.file, fs::perms::none);
    EXPECT_THROW(c.s.windowActivated(), IoError);
    fs::permissions(c.file, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(c.s.settingsControls().labour[1], Cur("20000"));
    EXPECT_EQ(readWholeFile(c.file), c.theirs);
}

TEST(MainReload, AnEarlierVersionPutBackIsReadAgainAndRefusedOverUnsavedEdits)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    const fs::path file = pf.data() / "kanzai1.fda";
    const std::string first = readWholeFile(file);
    typeLabour(s, 1, "31000");
    s.save();
    typeLabour(s, 1, "32000");
    s.save();
    const std::string saved = readWholeFile(file);
    pf.ui.notices.clear();
    auto chooseOldest = [](const VersionListView &list, const VersionComparer &compare) -> std::optional<size_t> {
        EXPECT_GE(list.rows.size(), 2u); // the second newest: what the file held before the two saves
        EXPECT_TRUE(compare(1).canRestore);
        return 1;
    };
    // Unsaved edits would be lost: refused.
    typeLabour(s, 1, "33000");
    pf.ui.versionChoices.push_back(chooseOldest);
    s.versions().earlierVersions();
    EXPECT_EQ(pf.ui.notices.back(), velmoktext::saveBeforeRestoreText(file) + "|確認");
    EXPECT_TRUE(readWholeFile(file) == saved);
    s.save();
    pf.ui.notices.clear();
    const std::string beforeRestore = readWholeFile(file);
    // Confirmed: the file is the version again and the window shows it, not modified.
    const std::vector<HistoryVersion> versions = listHistory(file).versions;
    size_t row = 0; // the list is newest first
    for (size_t k = 0; k < versions.size(); ++k)
        if (versionContent(file, versions[k].number, first.size()) == first)
            row = versions.size() - 1 - k;
    pf.ui.versionChoices.push_back([row](const VersionListView &, const VersionComparer &) -> std::optional<size_t> {
        return row;
    });
    pf.ui.answers.push_back(Answer::Yes);
    s.versions().earlierVersions();
    EXPECT_TRUE(readWholeFile(file) == first);
    EXPECT_EQ(s.settingsControls().labour[1], Cur("20000"));
    EXPECT_FALSE(s.modified());
    EXPECT_TRUE(versionContent(file, listHistory(file).versions.back().number, first.size()) == beforeRestore);
}
