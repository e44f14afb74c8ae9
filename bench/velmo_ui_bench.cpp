// Timings of the main window on the ten sample services, offscreen:
//  - the session's start-up (service names, tree texts, the first service file, pipe 1
//    calculated), without widgets;
//  - the window from construction to the first pipe shown;
//  - one settings change: apply, recalculate and redisplay the three grids and the panel;
//  - one keypad edit in the rate grid: Enter stores the factor, recalculates the row, shows the
//    changed row of the three grids and paints what changed; the same edit shown the old way,
//    every cell of the window again; and a Shift+Enter fill of the 14 rows;
//  - the actions a person waits for, each to its painted result: another pipe of the same
//    service, a pipe of another service, another location tab, opening and closing the sheet
//    set-up dialog (基本設定) and the output level dialog, and torvik's block choice (its
//    selection dialog opened, a block taken, the block shown; selvan's is in selvan_ui_bench).
#include "velmok/ui/TFtankaregist.h"
#include "grid/ui/TStrColGrid.h"
#include "tests/velmok/fake_main_ui.h"
#include "desktop/VelmoApplication.h"
#include "velmok/session/main_session.h"
#include "velmok/ui/Tflevel_select.h"
#include "torvik/ui/TFSelect_Data.h"
#include "torvik/ui/Tftorvik.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>

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
        // torvik's default file: a copy of the first sample service.
        fs::create_directories(dir / "ex_data");
        fs::copy_file(dir / "kanzai" / "haikan1.fda", dir / "ex_data" / "kanzai1.fda");
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
    velmo::test::FakeMainUi ui; // every question answered "キャンセル"
    for (auto _ : state) {
        MainSession s(ui, folder().dir / "velmok", "");
        s.start();
        benchmark::DoNotOptimize(velmo::rateGridText(s.gridView(), 1, 1));
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
        benchmark::DoNotOptimize(w.session().position().pipe);
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

// Opens the editor on (col, row) of the rate grid with a text typed into it.
void typeInto(TStrColGrid *g, int col, int row, const QString &text)
{
    g->SelectCell(col, row);
    g->ShowEditor();
    g->InplaceEditor()->setText(text);
}

void pressEnter(TStrColGrid *g, Qt::KeyboardModifiers mods)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier | mods);
    QCoreApplication::sendEvent(g->InplaceEditor(), &press);
}

enum class Shown { ChangedRows, EveryCell };

// One keypad edit of the pipe factor of size row 1, or a Shift+Enter fill from row 1, each with
// a new value; the painting it causes is done before the clock stops.
void keypadEdit(benchmark::State &state, Qt::KeyboardModifiers mods, Shown shown)
{
    SilentUi ui;
    TFtankaregist w(folder().program(), "", &ui);
    w.show();
    QCoreApplication::processEvents();
    TStrColGrid *rate = w.StrColGrid1;
    rate->setFocus();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        typeInto(rate, 4, 1, QString("1.%1").arg(++n % 90 + 10));
        QCoreApplication::processEvents();
        state.ResumeTiming();
        pressEnter(rate, mods);
        if (shown == Shown::EveryCell)
            w.showState();
        QCoreApplication::processEvents();
    }
}

void KeypadEditChangedRows(benchmark::State &state) { keypadEdit(state, Qt::NoModifier, Shown::ChangedRows); }
BENCHMARK(KeypadEditChangedRows)->Unit(benchmark::kMillisecond);

void KeypadEditEveryCell(benchmark::State &state) { keypadEdit(state, Qt::NoModifier, Shown::EveryCell); }
BENCHMARK(KeypadEditEveryCell)->Unit(benchmark::kMillisecond);

void ShiftEnterFill14Rows(benchmark::State &state) { keypadEdit(state, Qt::ShiftModifier, Shown::ChangedRows); }
BENCHMARK(ShiftEnterFill14Rows)->Unit(benchmark::kMillisecond);

void ShiftEnterFill14RowsEveryCell(benchmark::State &state) { keypadEdit(state, Qt::ShiftModifier, Shown::EveryCell); }
BENCHMARK(ShiftEnterFill14RowsEveryCell)->Unit(benchmark::kMillisecond);

// ---- the actions a person waits for

// Paints everything that waits to be painted, as the event loop does before the next frame.
void settle(QWidget &w)
{
    QCoreApplication::processEvents();
    w.repaint();
}

// Each click on a pipe of the tree, alternating between two nodes, to the painted window.
void treeClicks(benchmark::State &state, int serviceA, int pipeA, int serviceB, int pipeB)
{
    SilentUi ui;
    TFtankaregist w(folder().program(), "", &ui);
    w.show();
    settle(w);
    QTreeWidgetItem *a = w.TreeView1->topLevelItem(serviceA)->child(pipeA);
    QTreeWidgetItem *b = w.TreeView1->topLevelItem(serviceB)->child(pipeB);
    int n = 0;
    for (auto _ : state) {
        QTreeWidgetItem *item = ++n % 2 ? b : a;
        w.TreeView1->setCurrentItem(item);
        Q_EMIT w.TreeView1->itemClicked(item, 0);
        settle(w);
    }
    benchmark::DoNotOptimize(w.session().position().pipe);
}

void SwitchPipe(benchmark::State &state) { treeClicks(state, 0, 0, 0, 1); }
BENCHMARK(SwitchPipe)->Unit(benchmark::kMillisecond);

void SwitchService(benchmark::State &state) { treeClicks(state, 0, 0, 1, 0); }
BENCHMARK(SwitchService)->Unit(benchmark::kMillisecond);

void SwitchLocationTab(benchmark::State &state)
{
    SilentUi ui;
    TFtankaregist w(folder().program(), "", &ui);
    w.show();
    settle(w);
    int n = 0;
    for (auto _ : state) {
        w.TabControl1->setCurrentIndex(++n % w.TabControl1->count());
        settle(w);
    }
}
BENCHMARK(SwitchLocationTab)->Unit(benchmark::kMillisecond);

// Closes the modal dialog that is open once it has been painted whole.
void closeModalWhenShown()
{
    QTimer::singleShot(0, [] {
        if (QWidget *d = QApplication::activeModalWidget()) {
            d->repaint();
            d->close();
        }
    });
}

void OpenCloseSheetSetup(benchmark::State &state)
{
    SilentUi ui;
    TFtankaregist w(folder().program(), "", &ui);
    w.show();
    settle(w);
    for (auto _ : state) {
        closeModalWhenShown();
        w.user_sel->click();
        settle(w);
    }
}
BENCHMARK(OpenCloseSheetSetup)->Unit(benchmark::kMillisecond);

void OpenCloseOutputLevel(benchmark::State &state)
{
    SilentUi ui;
    TFtankaregist w(folder().program(), "", &ui);
    w.show();
    settle(w);
    for (auto _ : state) {
        closeModalWhenShown();
        benchmark::DoNotOptimize(Tflevel_select::ask(&w, true));
        settle(w);
    }
}
BENCHMARK(OpenCloseOutputLevel)->Unit(benchmark::kMillisecond);

// The selection dialog of a registration program opened with its button, blocks 1 and 0 (both
// named, so that no name is asked for) taken in turn with 選択実行, the block shown.
template <class Window>
void chooseBlocks(benchmark::State &state, Window &w)
{
    w.show();
    settle(w);
    int n = 0;
    for (auto _ : state) {
        const int row = ++n % 2;
        QTimer::singleShot(0, [&w, row] {
            auto &d = w.selectDialog();
            d.repaint();
            d.ListBox1->setCurrentRow(row);
            d.ListBox1->item(row)->setSelected(true);
            d.Button1->click();
        });
        w.user_sel->click();
        settle(w);
    }
}

void TorvikChooseBlock(benchmark::State &state)
{
    SilentUi ui;
    Tftorvik w(QString::fromStdString(folder().dir.string()), "", &ui);
    chooseBlocks(state, w);
}
BENCHMARK(TorvikChooseBlock)->Unit(benchmark::kMillisecond);


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
