#pragma once
// A program folder for session tests: templates haikan1 … haikan10 in kanzai/, started by a
// MainSession with a scripted user interface.
#include "tests/velmok/fake_main_ui.h"
#include "velmok/session/main_session.h"
#include "pricefile/service_file.h"
#include "tests/common/temp_dir.h"

#include <list>

namespace velmo::test {

namespace fs = std::filesystem;

// A program folder with templates haikan1 … haikan10: pipe p of service n is named
// "S<n>P<p+1>"; pipe 2 of service 10 is in refrigerant mode; service 1 pipe 1 carries the
// worked example in size row 1.
struct ProgramFolder {
    TempDir dir;
    FakeMainUi ui;
    fs::path program;

    explicit ProgramFolder(const std::string &name = "velmok")
    {
        program = dir.path / name;
        fs::create_directories(dir.path / "kanzai");
        for (int n = 1; n <= 10; ++n) {
            ServiceFile f;
            f.clear();
            for (int p = 0; p < 20; ++p) {
                PipeBlock &b = f.pipeBlock(p);
                b[0].name.assignText("S" + std::to_string(n) + "P" + std::to_string(p + 1));
                const char *locs[] = {"屋内一般", "機械室", "屋外架空", "地中配管"};
                for (int l = 0; l < 4; ++l)
                    b[l * 15 + 14].caption.assignText(locs[l]);
                b[0].size.assignText("15A");
            }
            if (n == 1) {
                PipeBlock &b = f.pipeBlock(0);
                b[1].name.assignText("給水");
                b[2].name.assignText("ねじ接合");
                for (int i = 0; i <= 6; ++i)
                    b[0].A(i) = Cur("1000");
                const char *factors[] = {"1.1", "0.3", "0.05", "0.2", "0.05", "0.1", "0.05"};
                for (int i = 1; i <= 7; ++i)
                    b[0].B(i) = Cur(factors[i - 1]);
                for (int i = 0; i <= 5; ++i)
                    b[59].C(i) = Cur("20000");
                b[14].B(1) = Cur("10");
                b[14].size.assignText("SET");
            }
            if (n == 10)
                f.pipeBlock(1)[14].B(4) = Cur("2");
            if (n == 3)
                f.pipeBlock(7)[0].name.assignText("");
            f.save(dir.path / "kanzai" / ("haikan" + std::to_string(n) + ".fda"));
        }
    }
    fs::path data() const { return dir.path / "ex_data"; }
    // A started session; the folder keeps it, since a session's parts refer to it by address.
    MainSession &start(const std::string &arg = "")
    {
        MainSession &s = sessions.emplace_back(ui, program, arg);
        try {
            s.start();
        } catch (...) {
            sessions.pop_back();
            throw;
        }
        return s;
    }
    std::list<MainSession> sessions;
};

// Changes a service file of the data folder on disk, read and written whole.
template <typename Change>
void changeServiceFile(const fs::path &file, Change change)
{
    ServiceFile f;
    f.load(file);
    change(f);
    f.save(file);
}

// Copies the build's sample templates haikan1.fda … haikan10.fda into kanzai/ of a program
// folder; returns the program's path there.
inline fs::path withSampleTemplates(const fs::path &folder)
{
    fs::create_directories(folder / "kanzai");
    for (int n = 1; n <= 10; ++n) {
        const std::string f = "haikan" + std::to_string(n) + ".fda";
        fs::copy_file(fs::path(VELMO_SAMPLE_DIR) / f, folder / "kanzai" / f);
    }
    return folder / "velmok";
}

// Applies one labour price through the 基本設定 controls.
inline void typeLabour(MainSession &s, int basis, const char *value)
{
    SettingsControls c = s.settingsControls();
    c.labour[basis] = Cur(value);
    s.applySettings(c);
}

} // namespace velmo::test
