// Timings of the main window on the ten sample services, offscreen:
//  - the session's start-up (service names, tree texts, the first service file, pipe 1
//    calculated), without widgets;
//  - the window from construction to the first pipe shown;
//  - one settings change: apply, recalculate and redisplay the three grids and the panel.
#include "TFtankaregist.h"
#include "fake_ui.h"
#include "VelmoApplication.h"
#include "main_session.h"

#include <benchmark/benchmark.h>


#include <cstdlib>
#include <filesystem>

namespace {

using namespace velmo;
namespace fs = std::filesystem;

// A program folder with the sample templates, seeded once.
struct ProgramFolder {
    fs::path dir;
    ProgramFolder()
    {
        std::string t = (fs::temp_directory_path() / "velmo-bench-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        fs::copy(fs::path(VELMO_SAMPLE_DIR), dir / "kanzai");
        fs::copy_file(fs::path(VELMO_SAMPLE_DIR).parent_path() / "dialog.ico", dir / "dialog.ico");
    }
    ~ProgramFolder() { fs::remove_all(dir); }
    QString program() const { return QString::fromStdString((dir / "velmok").string()); }
};

using SilentUi = velmo::test::FakeUi; // every question answered "キャンセル"

ProgramFolder &folder()
{
    static ProgramFolder f;
    return f;
}

void SessionStart(benchmark::State &state)
{
    SilentUi ui;
    for (auto _ : state) {
        MainSession s(ui, folder().dir / "velmok", "");
        s.start();
        benchmark::DoNotOptimize(s.rateGridText(1, 1));
    }
}
BENCHMARK(SessionStart)->Unit(benchmark::kMillisecond);

void WindowStartToFirstPipe(benchmark::State &state)
{
    SilentUi ui;
    for (auto _ : state) {
        TFtankaregist w(folder().program(), "", &ui);
        w.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(w.session().currentPipe());
        state.PauseTiming();
        w.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(WindowStartToFirstPipe)->Unit(benchmark::kMillisecond);

void RedisplayAfterSettingsChange(benchmark::State &state)
{
    SilentUi ui;
    TFtankaregist w(folder().program(), "", &ui);
    w.show();
    QCoreApplication::processEvents();
    int n = 0;
    for (auto _ : state) {
        SettingsControls c = w.session().settingsControls();
        c.labour[1] = Currency::fromInt(20000 + (++n % 100));
        w.session().applySettings(c);
        w.showState();
        w.repaint();
    }
}
BENCHMARK(RedisplayAfterSettingsChange)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    VelmoApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
