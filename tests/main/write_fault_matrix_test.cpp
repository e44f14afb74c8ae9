// Every file velmok writes, under every planned write fault: the old file stays byte for byte,
// the error names the file and the cause in Japanese, and unsaved data stay marked modified.
#include "errors.h"
#include "fileio.h"
#include "program_folder.h"
#include "settings_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

using namespace velmo;
using velmo::test::ProgramFolder;
using velmo::test::typeLabour;
namespace fs = std::filesystem;

namespace {

struct Fault {
    WriteFault::Stage stage;
    int error;
    const char *cause;
};

const Fault Faults[] = {
    {WriteFault::Stage::Create, EROFS, "読み取り専用"},  {WriteFault::Stage::Create, EACCES, "アクセスが拒否"},
    {WriteFault::Stage::Write, ENOSPC, "空き容量"},      {WriteFault::Stage::Write, EIO, "読み書き"},
    {WriteFault::Stage::Fsync, EIO, "読み書き"},         {WriteFault::Stage::Rename, EACCES, "アクセスが拒否"},
};

// One file velmok writes and the command that writes it.
struct Writer {
    const char *what;
    std::function<fs::path(ProgramFolder &)> file;
    // Runs the command with the fault planned for its n-th write; returns the message shown
    // (an error raised, or the notice of the close sequence).
    std::function<std::string(ProgramFolder &, MainSession &, const WriteFault &)> run;
    bool keepsModified; // the command saves the price file: a failure keeps the edits marked
};

std::string raised(const std::function<void()> &command)
{
    try {
        command();
    } catch (const IoError &e) {
        return e.what();
    }
    return "";
}

struct FaultScope {
    explicit FaultScope(const WriteFault &f) { planWriteFault(f); }
    ~FaultScope() { clearWriteFault(); }
};

WriteFault nth(const WriteFault &f, int n) { return {f.stage, n, f.error}; }

const std::vector<Writer> &writers()
{
    static const std::vector<Writer> all = {
        {"保存 (service file)", [](ProgramFolder &pf) { return pf.data() / "kanzai1.fda"; },
         [](ProgramFolder &, MainSession &s, const WriteFault &f) {
             FaultScope scope(f);
             return raised([&] { s.save(); });
         },
         true},
        {"quick save", [](ProgramFolder &pf) { return pf.data() / "kanzai1.fda"; },
         [](ProgramFolder &, MainSession &s, const WriteFault &f) {
             FaultScope scope(f);
             return raised([&] { s.quickSave(); });
         },
         true},
        {"save before a service switch", [](ProgramFolder &pf) { return pf.data() / "kanzai1.fda"; },
         [](ProgramFolder &pf, MainSession &s, const WriteFault &f) {
             pf.ui.answers.push_back(Answer::Yes);
             FaultScope scope(f);
             return raised([&] { s.treeClick(21 * 3); });
         },
         true},
        {"save at close", [](ProgramFolder &pf) { return pf.data() / "kanzai1.fda"; },
         [](ProgramFolder &pf, MainSession &s, const WriteFault &f) {
             pf.ui.answers.push_back(Answer::Yes);
             FaultScope scope(f);
             return raised([&] { s.close(Rect{0, 0, 800, 600}); });
         },
         true},
        {"service names (rename)", [](ProgramFolder &pf) { return pf.data() / "velmo_p.conf"; },
         [](ProgramFolder &pf, MainSession &s, const WriteFault &f) {
             pf.ui.texts.push_back("上水");
             FaultScope scope(f);
             return raised([&] { s.renameService(0); });
         },
         false},
        {"service names (close)", [](ProgramFolder &pf) { return pf.data() / "velmo_p.conf"; },
         [](ProgramFolder &pf, MainSession &s, const WriteFault &f) {
             pf.ui.answers.push_back(Answer::No); // the edits are not saved
             FaultScope scope(f);
             s.close(Rect{0, 0, 800, 600});
             return pf.ui.notices.empty() ? std::string() : pf.ui.notices.front();
         },
         false},
        {"window position (close)", [](ProgramFolder &pf) { return pf.dir.path / "net_velmok.ini"; },
         [](ProgramFolder &pf, MainSession &s, const WriteFault &f) {
             pf.ui.answers.push_back(Answer::No);
             FaultScope scope(nth(f, 2)); // after the service names
             s.close(Rect{0, 0, 800, 600});
             return pf.ui.notices.empty() ? std::string() : pf.ui.notices.front();
         },
         false},
        {"network folder (データファイル設定)", [](ProgramFolder &pf) { return pf.dir.path / "ex_network_folder.dat"; },
         [](ProgramFolder &pf, MainSession &s, const WriteFault &f) {
             const fs::path other = pf.dir.path / "other";
             fs::create_directories(other);
             pf.ui.answers.push_back(Answer::No);
             pf.ui.folders.push_back(other.string());
             FaultScope scope(nth(f, 2)); // after the new folder's service file is created
             return raised([&] { s.loadFromFolder(true); });
         },
         false},
    };
    return all;
}

} // namespace

TEST(WriteFaultMatrix, EveryFileVelmokWritesSurvivesEveryFault)
{
    int cells = 0;
    for (const Writer &w : writers()) {
        for (const Fault &fault : Faults) {
            SCOPED_TRACE(std::string(w.what) + " / errno " + std::to_string(fault.error) + " at stage " +
                         std::to_string(static_cast<int>(fault.stage)));
            ProgramFolder pf("net_velmok");
            {
                // Every file of the matrix exists beforehand, so that "unchanged" means something.
                MainSession first = pf.start();
                first.close(Rect{1, 2, 900, 700});
                SettingsFile dat;
                dat.set("[Folder_Name]", pf.data().string());
                dat.write(pf.dir.path / "ex_network_folder.dat");
            }
            pf.ui.notices.clear();
            MainSession s = pf.start();
            typeLabour(s, 1, "30303");
            const fs::path file = w.file(pf);
            const std::string before = readWholeFile(file);

            const std::string message = w.run(pf, s, {fault.stage, 1, fault.error});
            EXPECT_NE(message.find(file.string()), std::string::npos) << message;
            EXPECT_NE(message.find(fault.cause), std::string::npos) << message;
            EXPECT_EQ(readWholeFile(file), before);
            if (w.keepsModified) {
                EXPECT_TRUE(s.modified());
            }
            ++cells;
        }
    }
    EXPECT_EQ(cells, static_cast<int>(writers().size() * std::size(Faults)));
}
