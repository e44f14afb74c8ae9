// What the main session does when a file cannot be read or a figure cannot be formed: it never
// writes over a file it did not read whole, never adopts a folder or service before the read
// succeeded, and says which file is at fault.
#include "base/errors.h"
#include "base/fileio.h"
#include "tests/velmok/program_folder.h"
#include "base/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmo;
using velmo::test::ProgramFolder;
using velmo::test::typeLabour;
namespace fs = std::filesystem;

namespace {

// Cuts a file to `records` whole records.
void shorten(const fs::path &file, int records)
{
    fs::resize_file(file, static_cast<uintmax_t>(records) * RecordSize);
}

// The message of the IoError that `f` raises; empty when it raises none.
template <typename F>
std::string ioErrorOf(F &&f)
{
    try {
        f();
    } catch (const IoError &e) {
        return e.what();
    }
    return "";
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(MainSessionFaults, WhatIsNotAServiceFileIsRefusedAtStartAndStaysAsItWas)
{
    ProgramFolder pf;
    pf.start(); // seeds ex_data
    const fs::path file = pf.data() / "kanzai1.fda";
    const std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { ::mkfifo(file.c_str(), 0600); }, "名前付きパイプ"},
        {[&] { fs::create_directory(file); }, "フォルダー"},
        {[&] {
             std::ofstream(file) << "x";
             fs::resize_file(file, uintmax_t{1} << 30);
         },
         "大きすぎます"}};
    for (const auto &[make, says] : cases) {
        SCOPED_TRACE(says);
        fs::remove_all(file);
        make();
        const auto type = fs::symlink_status(file).type();
        MainSession s(pf.ui, pf.program, "");
        const std::string error = ioErrorOf([&] { s.start(); });
        EXPECT_TRUE(contains(error, file.string())) << error;
        EXPECT_TRUE(contains(error, says)) << error;
        EXPECT_FALSE(s.pipeLoaded());
        EXPECT_TRUE(contains(ioErrorOf([&] { s.save(); }), file.string()));
        s.close(Rect{0, 0, 800, 600});
        EXPECT_EQ(fs::symlink_status(file).type(), type);
    }
}

TEST(MainSessionFaults, ShortFileAtStartIsNamedAndNeverWrittenOver)
{
    ProgramFolder pf;
    pf.start(); // seeds ex_data
    const fs::path file = pf.data() / "kanzai1.fda";
    shorten(file, 1199);
    const std::string before = readWholeFile(file);

    MainSession s(pf.ui, pf.program, "");
    const std::string error = ioErrorOf([&] { s.start(); });
    EXPECT_TRUE(contains(error, file.string())) << error;
    EXPECT_TRUE(contains(error, "1199")) << error;
    EXPECT_FALSE(s.pipeLoaded());
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 1, 1), "");

    // Nothing can be edited or saved: there is no service file in memory.
    pf.ui.expectNotice("管材が選択されていません|確認");
    typeLabour(s, 1, "30000");
    EXPECT_FALSE(s.modified());
    EXPECT_TRUE(contains(ioErrorOf([&] { s.save(); }), file.string()));
    EXPECT_TRUE(contains(ioErrorOf([&] { s.quickSave(); }), file.string()));
    // A pipe of the same service: the read is tried again and fails again.
    EXPECT_TRUE(contains(ioErrorOf([&] { s.treeClick(2); }), "1199"));
    EXPECT_FALSE(s.pipeLoaded());
    s.close(Rect{0, 0, 800, 600});
    EXPECT_EQ(readWholeFile(file), before);

    // The other services still open; from there the damaged one is refused again.
    s.treeClick(21);
    EXPECT_TRUE(s.pipeLoaded());
    EXPECT_EQ(s.position().service, 1);
    EXPECT_EQ(s.statusPanels()[0], "S2P1");
    EXPECT_TRUE(contains(ioErrorOf([&] { s.treeClick(1); }), file.string()));
    EXPECT_EQ(s.position().service, 1);
    EXPECT_EQ(readWholeFile(file), before);
}

TEST(MainSessionFaults, SwitchToAShortFileKeepsTheCurrentServiceAndItsEdits)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    const fs::path second = pf.data() / "kanzai2.fda";
    shorten(second, 600);
    const std::string before = readWholeFile(second);
    typeLabour(s, 1, "31000");

    const std::string error = ioErrorOf([&] { s.treeClick(21 + 3); });
    EXPECT_TRUE(contains(error, second.string())) << error;
    EXPECT_TRUE(contains(error, "600")) << error;
    EXPECT_TRUE(pf.ui.questions.empty()); // nothing is asked before the new file was read
    EXPECT_EQ(s.position().service, 0);
    EXPECT_EQ(s.statusPanels()[6], "/kanzai1.fda");
    EXPECT_EQ(s.statusPanels()[0], "S1P1");
    EXPECT_TRUE(s.modified());

    // The menu route is refused the same way.
    s.menuServiceOpened(1);
    EXPECT_FALSE(ioErrorOf([&] { s.menuPipeChosen(0); }).empty());
    EXPECT_EQ(s.position().service, 0);

    pf.ui.expectNotice("保存しました。\n" + (pf.data() / "kanzai1.fda").string() + "|確認");
    s.save();
    EXPECT_EQ(readWholeFile(second), before);
    ServiceFile back;
    back.load(pf.data() / "kanzai1.fda");
    EXPECT_EQ(back.record(59).C(1).toString(), "31000");
}

TEST(MainSessionFaults, LoadFromAFolderWithADamagedFileAdoptsNothing)
{
    ProgramFolder pf("net_velmok");
    MainSession &s = pf.start("2;1;");
    typeLabour(s, 3, "4444");
    const fs::path other = pf.dir.path / "other";
    fs::create_directories(other);
    for (int n = 1; n <= 10; ++n)
        fs::copy_file(pf.data() / ("kanzai" + std::to_string(n) + ".fda"), other / ("kanzai" + std::to_string(n) + ".fda"));
    shorten(other / "kanzai2.fda", 10);
    const std::string before = readWholeFile(other / "kanzai2.fda");

    pf.ui.answers.push_back(Answer::No); // do not save first
    pf.ui.folders.push_back(other.string());
    const std::string error = ioErrorOf([&] { s.folders().loadFromFolder(true); });
    EXPECT_TRUE(contains(error, (other / "kanzai2.fda").string())) << error;
    EXPECT_EQ(s.dataFolder(), pf.data());
    EXPECT_FALSE(fs::exists(pf.dir.path / "ex_network_folder.dat"));
    EXPECT_TRUE(s.modified()); // still the edited data of the old folder, not saved

    pf.ui.expectNotice("保存しました。\n" + (pf.data() / "kanzai2.fda").string() + "|確認");
    s.save();
    EXPECT_EQ(readWholeFile(other / "kanzai2.fda"), before);
    ServiceFile back;
    back.load(pf.data() / "kanzai2.fda");
    EXPECT_EQ(back.record(59).C(3).toString(), "4444");
}

TEST(MainSessionFaults, LoadFromAFolderWhereOnlyAnotherServiceIsDamagedOpensItAndNamesThatFile)
{
    ProgramFolder pf("net_velmok");
    MainSession &s = pf.start();
    const fs::path other = pf.dir.path / "other";
    fs::create_directories(other);
    fs::copy_file(pf.data() / "kanzai1.fda", other / "kanzai1.fda");
    fs::copy_file(pf.data() / "kanzai5.fda", other / "kanzai5.fda");
    shorten(other / "kanzai5.fda", 3);
    ServiceFile mine;
    mine.load(other / "kanzai1.fda");
    mine.pipeBlock(0)[0].name.assignText("別フォルダーの管材");
    mine.save(other / "kanzai1.fda");
    pf.ui.folders.push_back(other.string());
    const std::string error = ioErrorOf([&] { s.folders().loadFromFolder(false); });
    EXPECT_TRUE(contains(error, (other / "kanzai5.fda").string())) << error;
    EXPECT_EQ(s.dataFolder(), other);
    EXPECT_TRUE(s.pipeLoaded());
    EXPECT_EQ(s.statusPanels()[0], "別フォルダーの管材");
    EXPECT_EQ(s.names().nodes[1], "別フォルダーの管材");
    EXPECT_EQ(s.names().nodes[21 * 4 + 1], "----"); // the damaged service's pipes stay unnamed
    EXPECT_EQ(fs::file_size(other / "kanzai5.fda"), 3u * RecordSize);
}

TEST(MainSessionFaults, StartReportsAnUnreadableServiceNameFileOfAnotherServiceAndStillOpens)
{
    ProgramFolder pf;
    pf.start();
    shorten(pf.data() / "kanzai4.fda", 0);
    MainSession s(pf.ui, pf.program, "");
    const std::string error = ioErrorOf([&] { s.start(); });
    EXPECT_TRUE(contains(error, "kanzai4.fda")) << error;
    EXPECT_TRUE(s.pipeLoaded());
    EXPECT_EQ(s.statusPanels()[0], "S1P1");
    EXPECT_EQ(s.names().nodes[22], "S2P1");
}

TEST(MainSessionFaults, DataFolderThatCannotBeCreatedIsAJapaneseErrorNamingIt)
{
    ProgramFolder pf;
    writeFileAtomically(pf.data(), "not a folder");
    const std::string error = ioErrorOf([&] { MainSession s(pf.ui, pf.program, ""); });
    EXPECT_TRUE(contains(error, pf.data().string())) << error;
    EXPECT_TRUE(contains(error, "フォルダー")) << error;
}

TEST(MainSessionFaults, CarriedFieldsSurviveLoadRecalculationAndSave)
{
    ProgramFolder pf;
    pf.start();
    const fs::path file = pf.data() / "kanzai1.fda";
    std::string bytes = readWholeFile(file);
    auto put32 = [&](size_t at, int32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xff);
    };
    for (int r : {0, 1, 14, 59, 60, 1199}) {
        put32(r * 360 + 0, 1000 + r);
        put32(r * 360 + 144, -2000 - r);
        put32(r * 360 + 156, 3000 + r);
    }
    writeFileAtomically(file, bytes);

    MainSession &s = pf.start();
    typeLabour(s, 1, "25000"); // recalculates every row of pipe 1
    s.treeClick(2);            // pipe 2 is calculated too
    pf.ui.expectNotice("保存しました。\n" + file.string() + "|確認");
    s.save();
    const std::string after = readWholeFile(file);
    auto get32 = [&](size_t at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | static_cast<unsigned char>(after[at + i]);
        return static_cast<int32_t>(v);
    };
    for (int r : {0, 1, 14, 59, 60, 1199}) {
        EXPECT_EQ(get32(r * 360 + 0), 1000 + r) << r;
        EXPECT_EQ(get32(r * 360 + 144), -2000 - r) << r;
        EXPECT_EQ(get32(r * 360 + 156), 3000 + r) << r;
    }
}

TEST(MainSessionFaults, SettingsReachTheControlsOnlyWhereAValueMatches)
{
    ProgramFolder pf;
    pf.start();
    const fs::path file = pf.data() / "kanzai1.fda";
    ServiceFile f;
    f.load(file);
    f.pipeBlock(0)[14].D(1) = Cur("100"); // 有効桁100
    f.pipeBlock(0)[14].D(2) = Cur("0.5");
    f.pipeBlock(0)[14].D(3) = Cur("0");
    f.pipeBlock(0)[14].D(4) = Cur("1");
    f.pipeBlock(1)[14].D(1) = Cur("0");   // read as 有効桁1
    f.pipeBlock(1)[14].D(2) = Cur("0.7"); // matches nothing: ComboBox2 stays
    f.pipeBlock(1)[14].D(3) = Cur("0.9");
    f.pipeBlock(1)[14].D(4) = Cur("2");   // neither 0 nor 1: the check box stays
    f.pipeBlock(2)[14].D(1) = Cur("55");  // matches nothing: ComboBox1 stays
    f.pipeBlock(2)[14].D(4) = Cur("0");
    f.save(file);

    MainSession &s = pf.start();
    EXPECT_EQ(s.settingsControls().priceCodeIndex, 2);
    EXPECT_EQ(s.settingsControls().fracAddendIndex, 2);
    EXPECT_EQ(s.settingsControls().sigAddendIndex, 1);
    EXPECT_TRUE(s.settingsControls().useRates);
    s.treeClick(2);
    EXPECT_EQ(s.settingsControls().priceCodeIndex, 0);
    EXPECT_EQ(s.settingsControls().fracAddendIndex, 2);
    EXPECT_EQ(s.settingsControls().sigAddendIndex, 0);
    EXPECT_TRUE(s.settingsControls().useRates);
    s.treeClick(3);
    EXPECT_EQ(s.settingsControls().priceCodeIndex, 0);
    EXPECT_FALSE(s.settingsControls().useRates);
}

TEST(MainSessionFaults, CompositeBeyondTheCurrencyRangeIsARangeErrorNamingPipeAndRow)
{
    ProgramFolder pf;
    pf.start();
    const fs::path file = pf.data() / "kanzai1.fda";
    ServiceFile f;
    f.load(file);
    PriceRecord &row = f.pipeBlock(1)[2]; // pipe 2, size row 3
    for (int i = 0; i <= 6; ++i)
        row.A(i) = Currency::fromRaw(INT64_MAX / 3);
    row.B(1) = row.B(2) = row.B(3) = row.B(4) = Cur("1"); // each component fits, their sum does not
    f.save(file);

    MainSession &s = pf.start();
    try {
        s.treeClick(2);
        FAIL() << "no range error";
    } catch (const RangeError &e) {
        const std::string m = e.what();
        EXPECT_TRUE(contains(m, "S1P2")) << m;
        EXPECT_TRUE(contains(m, "3")) << m;
    }
    s.quickSave();
    // No wrapped number reached the file.
    ServiceFile back;
    back.load(file);
    for (int i = 0; i <= 5; ++i)
        EXPECT_GE(back.pipeBlock(1)[2].C(i).raw(), 0);
}

TEST(MainSessionFaults, ASymlinkedServiceFileStaysALinkWhenSaved)
{
    ProgramFolder pf;
    pf.start();
    const fs::path shared = pf.dir.path / "shared";
    fs::create_directories(shared);
    fs::rename(pf.data() / "kanzai1.fda", shared / "kanzai1.fda");
    fs::create_symlink(shared / "kanzai1.fda", pf.data() / "kanzai1.fda");

    MainSession &s = pf.start();
    typeLabour(s, 2, "27777");
    pf.ui.expectNotice("保存しました。\n" + (pf.data() / "kanzai1.fda").string() + "|確認");
    s.save();
    EXPECT_TRUE(fs::is_symlink(pf.data() / "kanzai1.fda"));
    ServiceFile back;
    back.load(shared / "kanzai1.fda");
    EXPECT_EQ(back.record(59).C(2).toString(), "27777");
}

TEST(MainSessionFaults, SaveToFolderNamesEveryServiceFileItCouldNotCopy)
{
    ProgramFolder pf("net_velmok");
    MainSession &s = pf.start();
    const fs::path target = pf.dir.path / "target";
    fs::create_directories(target);
    fs::create_directories(target / "kanzai3.fda"); // a folder where the copy should go
    ::chmod((pf.data() / "kanzai6.fda").c_str(), 0); // unreadable (unless we are root)
    const bool root = ::geteuid() == 0;
    pf.ui.folders.push_back(target.string());
    s.folders().saveToFolder();
    ASSERT_EQ(pf.ui.notices.size(), 1u);
    const std::string notice = pf.ui.notices[0];
    EXPECT_EQ(notice.rfind("保存しました。\n" + (target / "kanzai1.fda").string(), 0), 0u) << notice;
    EXPECT_TRUE(contains(notice, (target / "kanzai3.fda").string())) << notice;
    if (!root) {
        EXPECT_TRUE(contains(notice, (pf.data() / "kanzai6.fda").string())) << notice;
    }
    EXPECT_FALSE(contains(notice, "kanzai2.fda")) << notice;
    EXPECT_EQ(readWholeFile(target / "kanzai2.fda"), readWholeFile(pf.data() / "kanzai2.fda"));
    EXPECT_EQ(s.dataFolder(), target);
}

TEST(MainSessionFaults, ASaveOverAFileAnotherProgramChangedAsksAndNeverOverwritesWithoutYes)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    const fs::path file = pf.data() / "kanzai1.fda";
    typeLabour(s, 1, "31000");
    // Another program writes one pipe block meanwhile.
    PipeBlock other = readPipeBlock(file, 5);
    other[0].name.assignText("ほかのプログラム");
    writePipeBlock(file, 5, other);
    const std::string theirs = readWholeFile(file);

    pf.ui.answers = {Answer::No};
    EXPECT_THROW(s.save(), IoError); // "キャンセル"
    ASSERT_EQ(pf.ui.questions.size(), 1u);
    EXPECT_TRUE(contains(pf.ui.questions[0], file.string())) << pf.ui.questions[0];
    EXPECT_TRUE(contains(pf.ui.questions[0], "ほかのプログラムで変更")) << pf.ui.questions[0];
    EXPECT_EQ(pf.ui.questions[0], "ファイル " + file.string() +
                                      " は、読み込んだ後にほかのプログラムで変更されています。\n"
                                      "上書きすると、その変更は失われます。上書きしますか？|実行|キャンセル|読み込み直す");
    EXPECT_EQ(readWholeFile(file), theirs);
    EXPECT_TRUE(s.modified());

    // Closing asks the same and stays open without a yes.
    pf.ui.answers = {Answer::Yes, Answer::No};
    EXPECT_THROW(s.close(Rect{0, 0, 800, 600}), IoError);
    EXPECT_EQ(readWholeFile(file), theirs);
    EXPECT_TRUE(s.modified());

    // With a yes the edits win; the next save asks nothing.
    pf.ui.answers = {Answer::Yes};
    s.quickSave();
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(readPipeBlock(file, 0)[59].C(1).toString(), "31000");
    EXPECT_EQ(readPipeBlock(file, 5)[0].name.text(), "S1P6");
    const size_t asked = pf.ui.questions.size();
    typeLabour(s, 1, "32000");
    s.quickSave();
    EXPECT_EQ(pf.ui.questions.size(), asked);

    // A file only touched, or written again with the same bytes, has not changed.
    typeLabour(s, 1, "33000");
    writeFileAtomically(file, readWholeFile(file));
    s.quickSave();
    EXPECT_EQ(pf.ui.questions.size(), asked);
}

TEST(MainSessionFaults, BadFilesAreNamedAndNothingOnDiskChanges)
{
    ProgramFolder pf;
    pf.start();
    const fs::path file = pf.data() / "kanzai2.fda";

    // A file longer than 1200 records may be of another kind: refused, not cut by a save.
    std::string longer = readWholeFile(file) + "extra";
    writeFileAtomically(file, longer);
    MainSession s(pf.ui, pf.program, "");
    std::string error = ioErrorOf([&] { s.start(); }); // the tree cannot list its pipes
    EXPECT_TRUE(contains(error, file.string()) && contains(error, "432005")) << error;
    EXPECT_TRUE(s.pipeLoaded());
    error = ioErrorOf([&] { s.treeClick(21); });
    EXPECT_TRUE(contains(error, file.string()) && contains(error, "大きすぎます")) << error;
    EXPECT_EQ(s.position().service, 0);
    EXPECT_EQ(readWholeFile(file), longer);

    // A service file replaced by a folder.
    fs::remove(file);
    fs::create_directories(file);
    error = ioErrorOf([&] { s.treeClick(21); });
    EXPECT_TRUE(contains(error, file.string()) && contains(error, "フォルダー")) << error;
    fs::remove(file);

    // Damaged texts are read as far as they go and named; nothing is written until a save.
    fs::copy_file(pf.dir.path / "kanzai" / "haikan2.fda", file);
    std::string bytes = readWholeFile(file);
    bytes[60 * 360 + 4] = static_cast<char>(200);           // pipe 2's name: a length beyond the field
    bytes[60 * 360 + 136] = 2;                              // its size: not Shift-JIS
    bytes[60 * 360 + 137] = static_cast<char>(0x81);
    bytes[60 * 360 + 138] = ' ';
    writeFileAtomically(file, bytes);
    pf.ui.notices.clear();
    s.treeClick(21 + 2);
    EXPECT_EQ(s.position().service, 1);
    ASSERT_EQ(pf.ui.notices.size(), 1u);
    EXPECT_TRUE(contains(pf.ui.notices[0], file.string())) << pf.ui.notices[0];
    EXPECT_TRUE(contains(pf.ui.notices[0], "レコード 60 (管材 2) の名称")) << pf.ui.notices[0];
    EXPECT_TRUE(contains(pf.ui.notices[0], "レコード 60 (管材 2) の呼び径")) << pf.ui.notices[0];
    EXPECT_EQ(readWholeFile(file), bytes);
}
