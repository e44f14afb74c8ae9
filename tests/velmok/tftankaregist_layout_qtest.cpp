// The main window's layout and small commands driven offscreen: bar toggles, width commands,
// dragged column borders and the splitter are what the next start shows; the menus' order.
#include "velmok/ui/TFtankaregist.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/VelmoApplication.h"
#include "velmok/core/display_layout.h"
#include "tests/common/fake_ui.h"
#include "base/fileio.h"
#include "tests/common/temp_dir.h"

#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

using namespace velmo;
namespace fs = std::filesystem;

class TFtankaregistLayoutTest : public QObject {
    Q_OBJECT

    velmo::test::TempDir dir;
    velmo::test::FakeUi ui;
    fs::path program;

    static QStringList captions(const QList<QAction *> &actions)
    {
        QStringList out;
        for (QAction *a : actions)
            out << (a->isSeparator() ? QString("-") : a->text());
        return out;
    }

    // Presses the left button at `from` in `w`, moves it dx pixels to the right and releases it.
    static void drag(QWidget *w, QPoint from, int dx)
    {
        const QPoint to = from + QPoint(dx, 0);
        QTest::mousePress(w, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), w->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QTest::mouseRelease(w, Qt::LeftButton, {}, to);
        QCoreApplication::processEvents();
    }

    // Drags the right border of a column in the heading row by dx pixels.
    static void dragColumnBorder(TStrColGrid *g, int col, int dx)
    {
        const QRect cell = g->visualRect(g->model()->index(0, col));
        drag(g->viewport(), QPoint(cell.right(), cell.center().y()), dx);
    }

private Q_SLOTS:
    // Every notice a test function brought up must have been read by it.
    void cleanup() { ui.checkNotices(); }
    void initTestCase()
    {
        program = dir.path / "velmok";
        fs::create_directories(dir.path / "kanzai");
        for (int n = 1; n <= 10; ++n) {
            const std::string f = "haikan" + std::to_string(n) + ".fda";
            fs::copy_file(fs::path(VELMO_SAMPLE_DIR) / f, dir.path / "kanzai" / f);
        }
        ui.screenRect = {0, 0, 1600, 1200}; // no default layout for this size
    }

    void menusCarryTheCommandsInTheirPlaces()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        const QStringList bar = captions(w.menuBar()->actions());
        QCOMPARE(bar.last(), QString("Information(&I)"));
        QVERIFY(bar.indexOf("表  示(&D)") < bar.indexOf("Information(&I)"));
        const QStringList file = captions(w.fileMenu->actions());
        QCOMPARE(file.mid(file.size() - 3), QStringList({"リリースバージョン", "-", "終  了"}));
        QVERIFY(w.viewMenu->actions().contains(w.tree_list) && w.viewMenu->actions().contains(w.N12));
        QCOMPARE(w.N13->shortcut(), QKeySequence("Ctrl+Shift+F1"));
        for (QAction *a : {w.title_bar, w.top_bar, w.tree_list, w.status_bar})
            QVERIFY(a->isChecked());
    }

    void layoutChangedInOneRunIsWhatTheNextRunShows()
    {
        int widened = 0;
        {
            TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QTRY_COMPARE(w.TreeView1->width(), 210);

            w.tree_list->trigger();
            w.status_bar->trigger();
            QVERIFY(w.TreeView1->isHidden());
            QVERIFY(w.statusBar()->isHidden());
            QVERIFY(!w.tree_list->isChecked());
            QVERIFY(w.title_panel->isVisible());

            // A width for every column of the rate grid but the size column; the grid grows.
            const int before = w.StrColGrid1->width();
            ui.texts.push_back(std::string("80"));
            w.N12->trigger();
            QCOMPARE(w.StrColGrid1->ColWidths(0), 50);
            QCOMPARE(w.StrColGrid1->ColWidths(10), 80);
            QVERIFY(w.StrColGrid1->width() > before);

            // A column border of the composite grid dragged 30 pixels to the right.
            const int col3 = w.StrColGrid3->ColWidths(3);
            const int grid3 = w.StrColGrid3->width();
            dragColumnBorder(w.StrColGrid3, 3, 30);
            widened = w.StrColGrid3->ColWidths(3);
            QVERIFY2(widened > col3 + 20, qPrintable(QString::number(widened)));
            QCOMPARE(w.layout().layout().compositeWidths[3], widened);
            QCOMPARE(w.StrColGrid3->width(), grid3 + widened - col3);
            w.close();
        }
        const std::vector<std::string> lines = readTextLines(dir.path / "velmo_p.disp");
        QCOMPARE(lines.size(), size_t(34));
        QCOMPARE(lines[3], std::string("[TREE_USE]=FALSE"));

        {
            TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QVERIFY(w.TreeView1->isHidden());
            QVERIFY(w.statusBar()->isHidden());
            QVERIFY(!w.status_bar->isChecked());
            QCOMPARE(w.StrColGrid1->ColWidths(5), 80);
            QCOMPARE(w.StrColGrid3->ColWidths(3), widened);

            // The tree comes back at its width; the border dragged 40 pixels to the right stays.
            w.tree_list->trigger();
            QVERIFY(w.TreeView1->isVisible());
            QTRY_COMPARE(w.TreeView1->width(), 210);
            QSplitterHandle *handle = w.Splitter1->handle(1);
            drag(handle, handle->rect().center(), 40);
            QCOMPARE(w.TreeView1->width(), 250);
            QCOMPARE(w.layout().layout().treeWidth, 250);
            w.status_bar->trigger();
            w.close();
        }
        {
            TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QTRY_COMPARE(w.TreeView1->width(), 250);
            QVERIFY(w.statusBar()->isVisible());
            w.close();
        }
        fs::remove(dir.path / "velmo_p.disp");
    }

    void aShortRateGridScrollsItsRows()
    {
        writeFileAtomically(dir.path / "velmo_p.disp", "[StrColGrid1]=150\r\n[TITLE_USE]=FALSE\r\n");
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.title_panel->isHidden());
        QVERIFY(w.top_panel->isVisible());
        QCOMPARE(w.StrColGrid1->height(), 150);
        QVERIFY(w.StrColGrid1->verticalScrollBar()->isVisible());
        w.close();
        fs::remove(dir.path / "velmo_p.disp");
    }

    void barsShownAgainKeepTheirOrder()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.title_bar->trigger();
        w.top_bar->trigger();
        QVERIFY(w.title_panel->isHidden() && w.top_panel->isHidden());
        w.top_bar->trigger();
        w.title_bar->trigger();
        QTRY_VERIFY(w.title_panel->isVisible() && w.top_panel->isVisible());
        QTRY_VERIFY(w.title_panel->geometry().bottom() < w.top_panel->geometry().top());
        QVERIFY(w.top_panel->geometry().bottom() < w.Splitter1->geometry().top());
        w.close();
        fs::remove(dir.path / "velmo_p.disp");
    }

    void shippedDefaultsShowEveryRowOfTheRateGrid()
    {
        // The defaults are made for this window: its design heights, nothing that scrolls.
        for (const auto &[name, screen] : {std::pair{"velmo_p_sxga.dat", Rect{0, 0, 1280, 1024}},
                                           std::pair{"velmo_p_xga.dat", Rect{0, 0, 1024, 768}},
                                           std::pair{"velmo_p_uvga.dat", Rect{0, 0, 1280, 768}}}) {
            fs::copy_file(fs::path(VELMO_DATA_DIR) / "layouts" / name, dir.path / name);
            ui.screenRect = screen;
            TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
            QCOMPARE(w.layout().readFrom(), dir.path / name);
            QCOMPARE(w.StrColGrid1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            QCOMPARE(w.layout().layout().rateGridHeight, w.StrColGrid1->Model().contentHeight() + 2 * w.StrColGrid1->frameWidth() + 1);
            fs::remove(dir.path / name);
        }
        ui.screenRect = {0, 0, 1600, 1200};
    }

    void shortWorkAreaShowsEverySizeRowOfTheThreeGridsAtOnce()
    {
        // 1366 × 768 less a 40-pixel panel: the short default; its window inside a frame with a
        // title bar keeps about 690 pixels for the menu, the grids and the status bar.
        fs::copy_file(fs::path(VELMO_DATA_DIR) / "layouts" / "velmo_p_uvga.dat", dir.path / "velmo_p_uvga.dat");
        ui.screenRect = {0, 0, 1366, 768};
        ui.workAreaRect = {0, 0, 1366, 728};
        {
            TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
            QCOMPARE(w.layout().readFrom(), dir.path / "velmo_p_uvga.dat");
            w.resize(1280, 690);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QCoreApplication::processEvents();
            auto *page = qobject_cast<QScrollArea *>(w.Splitter1->widget(1));
            QVERIFY(page);
            QCOMPARE(page->verticalScrollBar()->maximum(), 0); // nothing below the fold
            for (TStrColGrid *g : {w.StrColGrid1, w.StrColGrid2, w.StrColGrid3}) {
                QCOMPARE(g->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
                QCOMPARE(g->height(), g->Model().contentHeight() + 2 * g->frameWidth() + 1);
                QCOMPARE(g->RowHeights(14), w.StrColGrid1->RowHeights(14)); // the rows line up
                // The last size row lies inside the visible part of the page.
                const QPoint bottom = g->mapTo(page->widget(), QPoint(0, g->height()));
                QVERIFY(bottom.y() <= page->viewport()->height());
            }
            // The settings panel ends above the two lower grids.
            QVERIFY(w.GPAYDAY[0]->mapTo(page->widget(), QPoint(0, w.GPAYDAY[0]->height())).y() <
                    w.StrColGrid2->mapTo(page->widget(), QPoint(0, 0)).y());
            w.close();
        }
        fs::remove(dir.path / "velmo_p.disp");
        fs::remove(dir.path / "velmo_p_uvga.dat");
        ui.screenRect = {0, 0, 1600, 1200};
        ui.workAreaRect = velmo::test::FakeUi().workAreaRect;
    }

    void treeColumnIsMeasuredOnceTheNamesAreIn()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        QHeaderView *header = w.TreeView1->header();
        QCOMPARE(header->sectionResizeMode(0), QHeaderView::ResizeToContents);
        QVERIFY(w.TreeView1->topLevelItem(0)->child(0)->text(0).size() > 4);
        // Every shown name fits its row: the column was measured with the names in.
        QTreeWidgetItem *service = w.TreeView1->topLevelItem(0);
        for (int p = 0; p < service->childCount(); ++p) {
            QTreeWidgetItem *pipe = service->child(p);
            QVERIFY(w.TreeView1->fontMetrics().horizontalAdvance(pipe->text(0)) <= w.TreeView1->visualItemRect(pipe).width());
        }
        // A redisplay that changes nothing leaves the column as it was measured.
        const int width = w.TreeView1->columnWidth(0);
        w.showState();
        QCoreApplication::processEvents();
        QCOMPARE(w.TreeView1->columnWidth(0), width);
        QCOMPARE(header->sectionResizeMode(0), QHeaderView::ResizeToContents);
        w.close();
        fs::remove(dir.path / "velmo_p.disp");
    }

    void helpAndToolsGoThroughTheUserInterface()
    {
        writeFileAtomically(dir.path / "quorvane.html", "<html></html>");
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(&w, Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ui.opened.back(), (dir.path / "quorvane.html").string());
        w.N23->trigger();
        QCOMPARE(ui.notices.back(), std::string("Velmaro\nRelease 20040815A|確認"));
        // After Shift+click has given the item Ctrl+M, the key starts the editor.
        w.session().information().startNotepad(true);
        w.N30->trigger();
        QCOMPARE(w.N30->shortcut(), QKeySequence("Ctrl+M"));
        w.close();
    }
};

int main(int argc, char **argv)
{
    VelmoApplication app(argc, argv);
    TFtankaregistLayoutTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tftankaregist_layout_qtest.moc"
