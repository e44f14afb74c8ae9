// selvan's block choice, offscreen: the selection dialog opened with its button, a block taken
// with 選択実行 and shown. A program of its own: selvan's and torvik's headers cannot meet in one
// translation unit.
#include "selvan/ui/TFSelect_Data_K.h"
#include "selvan/ui/Tfselvan.h"
#include "desktop/VelmoApplication.h"
#include "tests/common/fake_ui.h"

#include <benchmark/benchmark.h>

#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

namespace {

using namespace velmo;
namespace fs = std::filesystem;

void SelvanChooseBlock(benchmark::State &state)
{
    std::string t = (fs::temp_directory_path() / "selvan-bench-XXXXXX").string();
    const fs::path dir = ::mkdtemp(t.data());
    {
        velmo::test::FakeUi ui; // every question answered "キャンセル"
        Tfselvan w(QString::fromStdString((dir / "selvan").string()), "", &ui);
        w.show();
        QCoreApplication::processEvents();
        int n = 0;
        for (auto _ : state) {
            const int row = ++n % 20;
            QTimer::singleShot(0, [&w, row] {
                TFSelect_Data_K &d = w.selectDialog();
                d.repaint();
                d.ListBox1->setCurrentRow(row);
                d.ListBox1->item(row)->setSelected(true);
                d.Button1->click();
            });
            w.user_sel->click();
            QCoreApplication::processEvents();
            w.repaint();
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(SelvanChooseBlock)->Unit(benchmark::kMillisecond);

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
