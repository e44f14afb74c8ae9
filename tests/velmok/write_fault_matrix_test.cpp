// Every file velmok writes, under every planned write fault: the old file stays byte for byte,
// the error names the file and the cause in Japanese, and unsaved data stay marked modified.
#include "velmok/core/display_layout.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "tests/velmok/program_folder.h"
#include "base/settings_file.h"
#include "tests/common/write_faults.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

// One file velmok writes and the command that writes it.
struct Writer {
    const char *what;
    std::function<fs::path(ProgramFolder &)> file;
    // Runs the command with the fault planned for its n-th write; returns the message shown
    // (an error raised, or the notice of the close sequence).
    std::function<std::string(ProgramFolder &, MainSession &, const PlannedFault &)> run;
    bool keepsModified; // the command saves the price file: a failure keeps the edits marked
    bool printsNothing = false; // a failed print hand-off starts no print program
};

// The output level dialog answered "実　行" with LEVEL2.
void confirmOutput(ProgramFolder &pf)
{
    pf.ui.outputLevel = OutputLevelChoice{basisAt(2), true, false, true};
}

const std::vector<Writer> &writers()
{
    static const std::vector<Writer> all = {
        {"保存 (service file)", [](ProgramFolder &pf) { return pf.data() / "kanzai1.fda"; },
         [](ProgramFolder &, MainSession &s, const PlannedFault &f) {
             FaultScope scope(f);
             return ioErrorMessage([&] { s.save(); });
         },
         true},
        {"quick save", [](ProgramFolder &pf) { return pf.data() / "kanzai1.fda"; },
         [](ProgramFolder &, MainSession &s, const PlannedFault &f) {
             FaultScope scope(f);
             return ioErrorMessage([&] { s.quickSave(); });
         },
         true},
        {"save before a service switch", [](ProgramFolder &pf) { return pf.data() / "kanzai1.fda"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             pf.ui.answers.push_back(Answer::Yes);
             FaultScope scope(f);
             return ioErrorMessage([&] { s.treeClick(21 * 3); });
         },
         true},
        {"save at close", [](ProgramFolder &pf) { return pf.data() / "kanzai1.fda"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             pf.ui.answers.push_back(Answer::Yes);
             FaultScope scope(f);
             return ioErrorMessage([&] { s.close(Rect{0, 0, 800, 600}); });
         },
         true},
        {"service names (rename)", [](ProgramFolder &pf) { return pf.data() / "velmo_p.conf"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             pf.ui.texts.push_back("上水");
             FaultScope scope(f);
             return ioErrorMessage([&] { s.renameService(0); });
         },
         false},
        {"service names (close)", [](ProgramFolder &pf) { return pf.data() / "velmo_p.conf"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             pf.ui.answers.push_back(Answer::No); // the edits are not saved
             FaultScope scope(f);
             s.close(Rect{0, 0, 800, 600});
             return pf.ui.notices.empty() ? std::string() : pf.ui.notices.front();
         },
         false},
        {"window position (close)", [](ProgramFolder &pf) { return pf.dir.path / "net_velmok.ini"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             pf.ui.answers.push_back(Answer::No);
             FaultScope scope(f, 2); // after the service names
             s.close(Rect{0, 0, 800, 600});
             return pf.ui.notices.empty() ? std::string() : pf.ui.notices.front();
         },
         false},
        {"display layout (close)", [](ProgramFolder &pf) { return pf.dir.path / "velmo_p.disp"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             LayoutSession layout(pf.ui.desktop(), homesOf(pf.dir.path), DisplayLayout{});
             layout.load();
             pf.ui.layoutWriter = [&layout] { layout.save(); };
             pf.ui.answers.push_back(Answer::No);
             FaultScope scope(f, 2); // after the service names
             s.close(Rect{0, 0, 800, 600});
             pf.ui.layoutWriter = nullptr;
             return pf.ui.notices.empty() ? std::string() : pf.ui.notices.front();
         },
         false},
        {"CSV file", [](ProgramFolder &pf) { return pf.dir.path / "out.CSV"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             confirmOutput(pf);
             pf.ui.saveFiles.push_back((pf.dir.path / "out.CSV").string());
             FaultScope scope(f);
             return ioErrorMessage([&] { s.outputs().exportTable(*findExportFormat("csv")); });
         },
         false},
        {"Excel workbook", [](ProgramFolder &pf) { return pf.dir.path / "out.xlsx"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             confirmOutput(pf);
             pf.ui.saveFiles.push_back((pf.dir.path / "out.xlsx").string());
             FaultScope scope(f);
             return ioErrorMessage([&] { s.outputs().exportTable(*findExportFormat("xlsx")); });
         },
         false},
        {"print_Data.dat", [](ProgramFolder &pf) { return pf.dir.path / "print_Data.dat"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             confirmOutput(pf);
             FaultScope scope(f);
             return ioErrorMessage([&] { s.outputs().print(); });
         },
         false, true},
        {"Print.conf", [](ProgramFolder &pf) { return pf.dir.path / "Print.conf"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             confirmOutput(pf);
             FaultScope scope(f, 2);
             return ioErrorMessage([&] { s.outputs().print(); });
         },
         false, true},
        {"print_header.dat", [](ProgramFolder &pf) { return pf.dir.path / "print_header.dat"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             confirmOutput(pf);
             FaultScope scope(f, 3);
             return ioErrorMessage([&] { s.outputs().print(); });
         },
         false, true},
        {"network folder (データファイル設定)", [](ProgramFolder &pf) { return pf.dir.path / "ex_network_folder.dat"; },
         [](ProgramFolder &pf, MainSession &s, const PlannedFault &f) {
             const fs::path other = pf.dir.path / "other";
             fs::create_directories(other);
             pf.ui.answers.push_back(Answer::No); // the edits are not saved first
             pf.ui.answers.push_back(Answer::No); // the empty folder is not seeded: an empty file
             pf.ui.folders.push_back(other.string());
             FaultScope scope(f, 2); // after the new folder's service file is created
             return ioErrorMessage([&] { s.folders().loadFromFolder(true); });
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
        for (const PlannedFault &fault : PlannedFaults) {
            SCOPED_TRACE(std::string(w.what) + " / errno " + std::to_string(fault.error) + " at stage " +
                         std::to_string(static_cast<int>(fault.stage)));
            ProgramFolder pf("net_velmok");
            {
                // Every file of the matrix exists beforehand, so that "unchanged" means something.
                MainSession &first = pf.start();
                first.close(Rect{1, 2, 900, 700});
                SettingsFile dat;
                dat.set("[Folder_Name]", pf.data().string());
                dat.write(pf.dir.path / "ex_network_folder.dat");
                for (const char *name : {"velmo_p.disp", "out.CSV", "out.xlsx", "print_Data.dat", "Print.conf",
                                         "print_header.dat"})
                    writeFileAtomically(pf.dir.path / name, std::string("before ") + name + "\r\n");
            }
            pf.ui.notices.clear();
            MainSession &s = pf.start();
            typeLabour(s, 1, "30303");
            const fs::path file = w.file(pf);
            const std::string before = readWholeFile(file);

            const std::string message = w.run(pf, s, fault);
            EXPECT_NE(message.find(file.string()), std::string::npos) << message;
            EXPECT_NE(message.find(fault.cause), std::string::npos) << message;
            EXPECT_EQ(readWholeFile(file), before);
            if (w.keepsModified) {
                EXPECT_TRUE(s.modified());
            }
            if (w.printsNothing) {
                EXPECT_TRUE(pf.ui.started.empty()) << pf.ui.started.front();
            }
            ++cells;
        }
    }
    EXPECT_EQ(cells, static_cast<int>(writers().size() * std::size(PlannedFaults)));
}
