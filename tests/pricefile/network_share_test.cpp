// The price files on a shared drive, where the network edition keeps them: a folder mounted
// through sshfs from an sshd that the test starts on 127.0.0.1, with a host key and a login key
// made for the test. The file layer meets a real network file system there, with its own
// caching, its own rename and its own errors, and another program changes the files on the
// server side as a colleague's computer would.
//
// Skipped, with the reason, only where FUSE is missing (no /dev/fuse, or the mount is refused)
// or sshd, sshfs or ssh-keygen are not installed.
#include "tests/pricefile/network_share.h"

#include "pricefile/equipment_file.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "registration/core/pipe_block_file.h"
#include "pricefile/service_file.h"
#include "pricefile/price_versions.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <string>
#include <vector>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr size_t ServiceBytes = static_cast<size_t>(RecordsPerFile) * RecordSize;
constexpr size_t BlockBytes = static_cast<size_t>(RecordsPerPipe) * RecordSize;

// A service file whose pipes are named `tag` and their number, with a price in each record.
std::string serviceFileBytes(const std::string &tag)
{
    ServiceFile f;
    for (int r = 0; r < RecordsPerFile; ++r) {
        f.record(r).name.assignText(tag + std::to_string(r / RecordsPerPipe));
        f.record(r).A(6) = Currency::fromInt(r + 1);
    }
    return f.serialize();
}

void expectNamesFile(const IoError &e, const fs::path &file)
{
    EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
}

} // namespace

TEST_F(NetworkShareTest, LoadAndSaveReadBackAsWritten)
{
    const std::string original = serviceFileBytes("本管");
    putFile(onServer("kanzai1.fda"), original);
    fs::permissions(onServer("kanzai1.fda"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path file = onShare("kanzai1.fda");

    ServiceFile f;
    f.load(file);
    EXPECT_EQ(f.serialize(), original);
    EXPECT_EQ(f.record(61).name.text(), "本管1");
    EXPECT_FALSE(f.changedSince(file));

    f.record(61).name.assignText("変更した管");
    f.record(61).A(6) = Currency::fromInt(4321);
    f.save(file);
    EXPECT_EQ(fileText(onServer("kanzai1.fda")), f.serialize());
    EXPECT_FALSE(f.changedSince(file)) << "the file just saved counts as changed";
    // The new file took the old one's mode, and no temporary file stayed behind.
    EXPECT_EQ(fs::status(onServer("kanzai1.fda")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(serverFiles(), std::vector<std::string>{"kanzai1.fda"});

    ServiceFile again;
    again.load(file);
    EXPECT_EQ(again.serialize(), f.serialize());
    EXPECT_EQ(again.record(61).A(6), Currency::fromInt(4321));

    // A block save through the share leaves every other byte as it was.
    PipeBlockFile store(file);
    PipeBlock block = store.load(7);
    block[3].name.assignText("七番");
    store.save(7, block, false);
    const std::string now = fileText(onServer("kanzai1.fda"));
    ASSERT_EQ(now.size(), ServiceBytes);
    EXPECT_EQ(now.substr(0, 7 * BlockBytes), f.serialize().substr(0, 7 * BlockBytes));
    EXPECT_EQ(now.substr(8 * BlockBytes), f.serialize().substr(8 * BlockBytes));
    EXPECT_EQ(readPipeBlock(file, 7)[3].name.text(), "七番");
}

TEST_F(NetworkShareTest, MissingFilesAreCreatedOnlyWhereAskedAndNeverOverAnother)
{
    // Reading a missing file is an error naming it, and creates nothing.
    ServiceFile f;
    try {
        f.load(onShare("kanzai2.fda"));
        ADD_FAILURE() << "a missing file was read";
    } catch (const IoError &e) {
        expectNamesFile(e, onShare("kanzai2.fda"));
    }
    EXPECT_THROW(readEquipmentFileBytes(onShare("kigu1.dxa")), IoError);
    EXPECT_TRUE(serverFiles().empty());

    // Where a missing file is created, it is created whole on the server, through the share's
    // own way of refusing to take a name that is taken.
    f.loadOrCreate(onShare("kanzai3.fda"));
    EXPECT_EQ(fs::file_size(onServer("kanzai3.fda")), ServiceBytes);
    EXPECT_EQ(f.serialBase(), -1200);
    EXPECT_EQ(readOrCreateEquipmentFile(onShare("kigu1.dxa")).size(), EquipmentFileBytes);
    EXPECT_EQ(fs::file_size(onServer("kigu1.dxa")), EquipmentFileBytes);

    // A file that is there is never created over, whatever the share answers.
    const std::string theirs = serviceFileBytes("先客");
    putFile(onServer("kanzai4.fda"), theirs);
    EXPECT_FALSE(ServiceFile::createEmpty(onShare("kanzai4.fda")));
    EXPECT_FALSE(createEquipmentFile(onShare("kigu1.dxa")));
    ServiceFile g;
    g.loadOrCreate(onShare("kanzai4.fda"));
    EXPECT_EQ(g.serialize(), theirs);
    EXPECT_EQ(fileText(onServer("kanzai4.fda")), theirs);
    EXPECT_EQ(serverFiles(), (std::vector<std::string>{"kanzai3.fda", "kanzai4.fda", "kigu1.dxa"}));
}

TEST_F(NetworkShareTest, ChangeMadeOnTheServerIsSeenBeforeASaveAndKept)
{
    putFile(onServer("kanzai1.fda"), serviceFileBytes("本管"));
    const fs::path file = onShare("kanzai1.fda");
    ServiceFile f;
    f.load(file);
    PipeBlockFile store(file);
    ASSERT_EQ(store.load(3)[0].name.text(), "本管3");

    // Another program changes one byte of pipe 3's name in place on the server: same size,
    // most likely the same second.
    const size_t at = 3 * BlockBytes + 1;
    ASSERT_EQ(otherProgram({"/bin/sh", "-c",
                            "printf Z | dd of='" + onServer("kanzai1.fda").string() + "' bs=1 seek=" + std::to_string(at) +
                                " conv=notrunc status=none"}),
              0);
    const std::string changed = fileText(onServer("kanzai1.fda"));
    ASSERT_EQ(changed[at], 'Z');

    EXPECT_TRUE(f.changedSince(file)) << "the share hid the other program's change";
    EXPECT_TRUE(store.changedOnDisk(3));
    EXPECT_EQ(fileText(onServer("kanzai1.fda")), changed) << "looking changed the file";

    // A block save of another pipe keeps the change; a new read sees it.
    PipeBlock other = store.load(5);
    other[0].name.assignText("五番");
    store.save(5, other, false);
    const std::string now = fileText(onServer("kanzai1.fda"));
    EXPECT_EQ(now[at], 'Z');
    EXPECT_EQ(readPipeBlock(file, 5)[0].name.text(), "五番");
    ServiceFile g;
    g.load(file);
    EXPECT_EQ(g.serialize().substr(3 * BlockBytes, BlockBytes), changed.substr(3 * BlockBytes, BlockBytes));
    EXPECT_FALSE(g.changedSince(file));
}

TEST_F(NetworkShareTest, SaveAfterTheFileWasReplacedOnTheServerLosesNothing)
{
    const std::string ours = serviceFileBytes("本管");
    const std::string theirs = serviceFileBytes("他管");
    putFile(onServer("kanzai1.fda"), ours);
    const fs::path file = onShare("kanzai1.fda");
    ServiceFile f;
    f.load(file);
    PipeBlockFile store(file);
    PipeBlock block = store.load(2);

    // Another program saves as ours do: a new file renamed over the old one on the server, so
    // that what this side opened and read is a file that no longer has the name.
    putFile(net_->folder() / "theirs.tmp", theirs);
    ASSERT_EQ(otherProgram({"/bin/mv", (net_->folder() / "theirs.tmp").string(), onServer("kanzai1.fda").string()}), 0);

    EXPECT_TRUE(f.changedSince(file)) << "the replaced file was not seen";
    EXPECT_TRUE(store.changedOnDisk(2));
    EXPECT_EQ(fileText(onServer("kanzai1.fda")), theirs);

    // A block save reads the file as it is now: only its own block is ours. The other program
    // changed this very block too: without the person's yes nothing is written.
    block[0].name.assignText("二番");
    EXPECT_THROW(store.save(2, block, false), ChangedOnDiskError);
    EXPECT_EQ(fileText(onServer("kanzai1.fda")), theirs);
    store.save(2, block, true);
    const std::string merged = fileText(onServer("kanzai1.fda"));
    ASSERT_EQ(merged.size(), ServiceBytes);
    EXPECT_EQ(merged.substr(0, 2 * BlockBytes), theirs.substr(0, 2 * BlockBytes));
    EXPECT_EQ(merged.substr(3 * BlockBytes), theirs.substr(3 * BlockBytes));
    EXPECT_EQ(readPipeBlock(file, 2)[0].name.text(), "二番");

    // Saving the whole file over it (the person said yes) writes that file whole, not a mix.
    f.save(file);
    EXPECT_EQ(fileText(onServer("kanzai1.fda")), ours);
    EXPECT_FALSE(f.changedSince(file));
    EXPECT_EQ(serverFiles(), std::vector<std::string>{"kanzai1.fda"});
}

TEST_F(NetworkShareTest, LostConnectionIsAnErrorNamingTheFileAndTheServerKeepsIt)
{
    const std::string original = serviceFileBytes("本管");
    putFile(onServer("kanzai1.fda"), original);
    putFile(onServer("kigu1.dxa"), std::string(EquipmentFileBytes, '\0'));
    const fs::path file = onShare("kanzai1.fda");
    ServiceFile f;
    f.load(file);
    PipeBlockFile store(file);
    PipeBlock block = store.load(1);
    block[0].name.assignText("届かない");

    net_->cutConnection();
    // Until sshfs notices, an operation may still get through; after that each one fails.
    ASSERT_TRUE(waitFor(
        [&] {
            try {
                ServiceFile probe;
                probe.load(file);
                return false;
            } catch (const IoError &) {
                return true;
            }
        },
        5000ms));

    for (const auto &[what, op] : std::vector<std::pair<std::string, std::function<void()>>>{
             {"load", [&] { f.load(file); }},
             {"block load", [&] { store.load(1); }},
             {"block save", [&] { store.save(1, block, false); }},
             {"equipment block", [&] { writeEquipmentBlock(onShare("kigu1.dxa"), 0, EquipmentBlock{}); }},
         }) {
        try {
            op();
            ADD_FAILURE() << what << " succeeded without the share";
        } catch (const IoError &e) {
            EXPECT_NE(std::string(e.what()).find(net_->share().string()), std::string::npos) << what << ": " << e.what();
        }
    }
    // Whether it changed cannot be told, or it counts as changed (the mount is gone): a
    // window then asks before it writes.
    try {
        EXPECT_TRUE(f.changedSince(file));
    } catch (const IoError &e) {
        expectNamesFile(e, file);
    }
    EXPECT_EQ(fileText(onServer("kanzai1.fda")), original);
    EXPECT_EQ(fileText(onServer("kigu1.dxa")), std::string(EquipmentFileBytes, '\0'));
    EXPECT_EQ(serverFiles(), (std::vector<std::string>{"kanzai1.fda", "kigu1.dxa"}));
}

TEST_F(NetworkShareTest, TwoWritersOfOursOnTheShareKeepBothBlocksOrRefuseTheSameBlock)
{
    // sshfs keeps no locks of its own: the kernel keeps them for this machine, and the
    // comparison just before the rename is what guards against a colleague's computer.
    putFile(onServer("kanzai1.fda"), serviceFileBytes("本管"));
    const fs::path file = onShare("kanzai1.fda");
    const std::string read = readWholeFile(file);
    auto named = [](const std::string &n) {
        PipeBlock b{};
        b[0].name.assignText(n);
        return b;
    };
    auto heldWhile = [&](const std::function<void()> &first, const std::function<void()> &second) {
        std::atomic<bool> inside{false};
        std::thread t([&] {
            setBeforeReplaceHook([&] {
                inside = true;
                std::this_thread::sleep_for(300ms);
            });
            first();
            setBeforeReplaceHook({});
        });
        while (!inside)
            std::this_thread::sleep_for(1ms);
        second();
        t.join();
    };
    heldWhile([&] { writePipeBlock(file, 0, named("一"), blocksAsRead(read, {0}, BlockBytes)); },
              [&] { writePipeBlock(file, 2, named("二"), blocksAsRead(read, {2}, BlockBytes)); });
    EXPECT_EQ(readPipeBlock(file, 0)[0].name.text(), "一");
    EXPECT_EQ(readPipeBlock(file, 2)[0].name.text(), "二");
    const std::string again = readWholeFile(file);
    heldWhile([&] { writePipeBlock(file, 3, named("三"), blocksAsRead(again, {3}, BlockBytes)); },
              [&] {
                  EXPECT_THROW(writePipeBlock(file, 3, named("参"), blocksAsRead(again, {3}, BlockBytes)),
                               ChangedOnDiskError);
              });
    EXPECT_EQ(readPipeBlock(file, 3)[0].name.text(), "三");
    EXPECT_EQ(serverFiles(), std::vector<std::string>{"kanzai1.fda"});
}

TEST_F(NetworkShareTest, EachSaveKeepsAVersionOnTheShareThatListsAndRestores)
{
    const std::string original = serviceFileBytes("本管");
    putFile(onServer("kanzai1.fda"), original);
    const fs::path file = onShare("kanzai1.fda");
    ServiceFile f;
    f.load(file);
    f.record(61).A(6) = Currency::fromInt(4321);
    f.save(file);
    const std::string saved = fileText(onServer("kanzai1.fda"));

    // The version lies on the server, beside the file, where every colleague finds it.
    const PriceFileHistory history = priceFileHistory(file, PriceFileKind::Pipe);
    ASSERT_EQ(history.versions.size(), 1u);
    EXPECT_TRUE(history.skipped.empty());
    EXPECT_TRUE(fs::exists(onServer(".velmaro-history") / "kanzai1.fda" / "index"));
    EXPECT_TRUE(priceFileVersion(file, 1, PriceFileKind::Pipe) == original);

    restoreContent(file, PriceFileKind::Pipe, priceFileVersion(file, 1, PriceFileKind::Pipe), saved);
    EXPECT_TRUE(fileText(onServer("kanzai1.fda")) == original);
    const PriceFileHistory after = priceFileHistory(file, PriceFileKind::Pipe);
    ASSERT_EQ(after.versions.size(), 2u);
    EXPECT_EQ(after.versions[1].changes, std::optional<size_t>(1));
    EXPECT_TRUE(priceFileVersion(file, 2, PriceFileKind::Pipe) == saved) << "the restore can be undone";
    // A restore over a file changed on the server since it was read leaves it.
    putFile(onServer("kanzai1.fda"), saved);
    EXPECT_THROW(restoreContent(file, PriceFileKind::Pipe, original, original), ChangedOnDiskError);
    EXPECT_TRUE(fileText(onServer("kanzai1.fda")) == saved);
}
