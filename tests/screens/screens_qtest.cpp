// Every window and dialog of velmok, torvik, selvan and korrel, opened on one screen (size and
// scale from the environment, see CMakeLists.txt): each lies inside the work area, no button
// or label text is wider than its control, the buttons of a dialog are in view, and each is
// saved as a screenshot.
#include "tests/velmok/program_folder.h" // before any Qt header
#include "cli/cli_texts.h"
#include "velmok/ui/TFtankaregist.h"

#include "desktop/MessageBoxes.h"
#include "desktop/QtUserInterface.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/VelmoApplication.h"
#include "desktop/WindowFit.h"
#include "velmok/session/window_placement.h"
#include "velmok/exports/file_comparison.h"
#include "velmok/ui/Tfcompare.h"
#include "velmok/ui/TfEstimate.h"
#include "velmok/estimate/estimate_session.h"
#include "base/fileio.h"
#include "velmok/ui/Tflevel_select.h"
#include "korrel/core/print_job.h"
#include "korrel/ui/TfPrintPreview.h"
#include "tests/common/handoff_sample.h"
#include "tests/screens/screens_programs.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <functional>

using namespace velmo;
namespace fs = std::filesystem;

namespace {

QString screenName()
{
    const QString n = qEnvironmentVariable("VELMO_SCREEN_NAME");
    return n.isEmpty() ? QStringLiteral("screen") : n;
}

QString rectText(const QRect &r)
{
    return QStringLiteral("%1×%2 at (%3, %4)").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}

bool insideScrollArea(const QWidget *w, const QWidget *window)
{
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea *>(p))
            return true;
    return false;
}

QString plain(QString text)
{
    // "&F" draws as "F"; "&&" as "&".
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// The widest line of a text as the widget's font draws it.
int textWidth(const QWidget *w, const QString &text)
{
    return w->fontMetrics().boundingRect(QRect(), Qt::TextExpandTabs, plain(text)).width();
}

// Where a button draws its text.
QRect buttonTextRoom(const QAbstractButton *b)
{
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    opt.icon = b->icon();
    opt.iconSize = b->iconSize();
    if (qobject_cast<const QCheckBox *>(b))
        return b->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, b);
    if (qobject_cast<const QRadioButton *>(b))
        return b->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, b);
    QRect r = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    if (!b->icon().isNull())
        r.setLeft(r.left() + b->iconSize().width() + 4);
    return r;
}

} // namespace

class ScreensTest : public QObject {
    Q_OBJECT

    QDir shots;
    QStringList sizes;

    // Looks at one shown window: inside the work area, every text within its control, every
    // button outside a scroll area in view; then saves its picture.
    void look(QWidget *w, const QString &name)
    {
        QApplication::processEvents();
        const QRect area = w->screen()->availableGeometry();
        const QRect frame = w->frameGeometry();
        sizes << QStringLiteral("%1: %2 (work area %3×%4)")
                     .arg(name, rectText(frame)).arg(area.width()).arg(area.height());
        QVERIFY2(area.contains(frame), qPrintable(name + " " + rectText(frame) + " lies outside the work area " +
                                                   rectText(area)));
        QStringList cut;
        for (QAbstractButton *b : w->findChildren<QAbstractButton *>()) {
            if (!b->isVisibleTo(w) || b->text().isEmpty() || qobject_cast<QToolButton *>(b))
                continue;
            const int room = buttonTextRoom(b).width();
            if (textWidth(b, b->text()) > room + 1)
                cut << QStringLiteral("button \"%1\" %2 > %3").arg(b->text()).arg(textWidth(b, b->text())).arg(room);
            const QRect inWindow(b->mapTo(w, QPoint(0, 0)), b->size());
            if (!insideScrollArea(b, w) && !w->rect().contains(inWindow))
                cut << QStringLiteral("button \"%1\" out of view at %2").arg(b->text(), rectText(inWindow));
        }
        for (QLabel *l : w->findChildren<QLabel *>()) {
            if (!l->isVisibleTo(w) || l->text().isEmpty() || l->wordWrap() || Qt::mightBeRichText(l->text()))
                continue;
            const int room = l->contentsRect().width() - 2 * l->margin();
            if (auto *e = dynamic_cast<ElidedLabel *>(l)) {
                if (l->fontMetrics().horizontalAdvance(e->shownText()) > room)
                    cut << QStringLiteral("status text \"%1\" drawn wider than its panel").arg(e->shownText());
                if (e->shownText() != l->text() && l->toolTip() != l->text())
                    cut << QStringLiteral("status text \"%1\" cut without its tool tip").arg(l->text());
            } else if (textWidth(l, l->text()) > room + 1) {
                cut << QStringLiteral("label \"%1\" %2 > %3").arg(l->text()).arg(textWidth(l, l->text())).arg(room);
            }
        }
        // A table's columns hold their heading and the texts of the rows in view.
        for (QTableWidget *t : w->findChildren<QTableWidget *>()) {
            if (!t->isVisibleTo(w))
                continue;
            for (int c = 0; c < t->columnCount(); ++c) {
                const int room = t->columnWidth(c);
                QStringList texts{t->horizontalHeaderItem(c) ? t->horizontalHeaderItem(c)->text() : QString()};
                for (int r = 0; r < std::min(t->rowCount(), 200); ++r)
                    if (t->item(r, c))
                        texts << t->item(r, c)->text();
                for (const QString &text : texts)
                    if (t->fontMetrics().horizontalAdvance(text) > room)
                        cut << QStringLiteral("table cell \"%1\" %2 > %3")
                                   .arg(text).arg(t->fontMetrics().horizontalAdvance(text)).arg(room);
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(name + ": " + cut.join(QStringLiteral("; "))));
        QVERIFY(w->grab().save(shots.filePath(name + QStringLiteral(".png"))));
    }

    // Runs `open`, which shows a modal dialog and returns once it is closed; looks at the
    // dialog meanwhile and closes it, and any box it opens in turn.
    void lookAtModal(const QString &name, const std::function<void()> &open)
    {
        QList<QPointer<QWidget>> handled;
        const int outerLevel = QThread::currentThread()->loopLevel();
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            // Only from inside the dialog's own event loop: a dialog closed while it is still
            // being shown would leave its loop running.
            QWidget *d = QApplication::activeModalWidget();
            if (!d || !d->isVisible() || handled.contains(d) || QThread::currentThread()->loopLevel() <= outerLevel)
                return;
            handled << d;
            look(d, handled.size() == 1 ? name : name + QStringLiteral("-%1").arg(handled.size()));
            // Closed from the box's own event loop, the way a person closes it.
            QTimer::singleShot(0, d, [d] {
                if (auto *box = qobject_cast<QMessageBox *>(d); box && !box->buttons().isEmpty())
                    QTest::mouseClick(box->buttons().constLast(), Qt::LeftButton);
                else if (auto *dialog = qobject_cast<QDialog *>(d))
                    dialog->reject();
                else
                    d->close();
            });
        });
        poll.start();
        open();
        poll.stop();
        QVERIFY2(handled.size() == 1, qPrintable(name + QStringLiteral(": %1 dialogs opened").arg(handled.size())));
    }

    // The grids show every size row: no grid is cut by a scroll area it sits in, nor by the window.
    static bool gridsWhole(TFtankaregist &w)
    {
        for (TStrColGrid *g : w.findChildren<TStrColGrid *>()) {
            if (!g->isVisibleTo(&w))
                continue;
            for (QWidget *p = g->parentWidget(); p; p = p->parentWidget()) {
                auto *scroll = qobject_cast<QAbstractScrollArea *>(p->parentWidget());
                const bool port = scroll && scroll->viewport() == p;
                if ((port || p == &w) && !p->rect().contains(QRect(g->mapTo(p, QPoint(0, 0)), g->size())))
                    return false;
                if (p == &w)
                    break;
            }
        }
        return true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QString dir = qEnvironmentVariable("VELMO_SCREENSHOT_DIR");
        if (dir.isEmpty())
            dir = QDir::current().filePath(QStringLiteral("screens/") + screenName());
        QVERIFY(QDir().mkpath(dir));
        shots.setPath(dir);
        // The boxes' icon, from the program folder the build lays out.
        setDialogIconFolder(QFileInfo(QString::fromUtf8(VELMO_SAMPLE_DIR)).absolutePath());
        const QScreen *s = QGuiApplication::primaryScreen();
        qInfo("%s: screen %s, work area %s, scale %g", qPrintable(screenName()), qPrintable(rectText(s->geometry())),
              qPrintable(rectText(s->availableGeometry())), s->devicePixelRatio());
    }

    void cleanupTestCase()
    {
        for (const QString &line : sizes)
            qInfo("%s", qPrintable(line));
    }

    void velmokAndItsDialogs()
    {
        velmo::test::TempDir dir;
        velmo::test::FakeUi ui;
        const fs::path program = velmo::test::withSampleTemplates(dir.path);
        // The default layouts lie beside the program, as in the build's program folder.
        for (const char *layout : {"velmo_p_sxga.dat", "velmo_p_uvga.dat", "velmo_p_xga.dat"})
            fs::copy_file(fs::path(VELMO_SAMPLE_DIR).parent_path() / layout, dir.path / layout);
        // The session chooses its layout by the screen the scripted interface reports: this one.
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect g = screen->geometry(), a = screen->availableGeometry();
        ui.screenRect = {g.x(), g.y(), g.width(), g.height()};
        ui.workAreaRect = {a.x(), a.y(), a.width(), a.height()};
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        look(&w, QStringLiteral("velmok"));
        if (QTest::currentTestFailed())
            return;
        const QRect area = w.screen()->availableGeometry();
        if (area.width() >= WholeWindowWorkArea.width && area.height() >= WholeWindowWorkArea.height)
            QVERIFY2(gridsWhole(w), qPrintable("velmok: the grids do not show all 14 size rows on " + screenName()));

        lookAtModal(QStringLiteral("velmok-sheet-setup"), [&] { QMetaObject::invokeMethod(&w, "user_selClick"); });
        lookAtModal(QStringLiteral("velmok-level-calc"), [&] { QMetaObject::invokeMethod(&w, "K17Click"); });
        lookAtModal(QStringLiteral("velmok-output-level"), [&] { Tflevel_select::ask(&w, true); });
        lookAtModal(QStringLiteral("velmok-output-level-short"), [&] { Tflevel_select::ask(&w, false); });
        // The comparison of two sample services: long pipe names, every kind of row.
        const fs::path older = fs::path(VELMO_SAMPLE_DIR) / "haikan1.fda", newer = fs::path(VELMO_SAMPLE_DIR) / "haikan2.fda";
        FileComparison comparison(ui, older, newer, comparePipeFiles(older, newer));
        lookAtModal(QStringLiteral("velmok-compare"), [&] { Tfcompare::showModal(&w, comparison); });
        // The estimate of a list with long pipe names, every location, the cost columns and a
        // row not priced.
        const fs::path list = dir.path / "quantities.csv";
        std::string rows = "設備,管材,施工場所,口径,数量,備考\n";
        for (int pipe = 1; pipe <= 3; ++pipe)
            for (const char *location : {"屋内一般", "機械室", "屋外架空", "地中配管"})
                rows += "給水," + std::to_string(pipe) + "," + location + ",25A,1234.56,2階 東側\n";
        rows += "給水,1,屋上,25A,3,\n";
        writeFileAtomically(list, rows);
        estimate::EstimateSession estimating(w.session().outputs().source(), ui, dir.path);
        estimating.openList(list);
        estimating.setCost(true);
        lookAtModal(QStringLiteral("velmok-estimate"), [&] { TfEstimate::showModal(&w, estimating); });

        // Closed as it opened, the window keeps the size it wants, not the work area's cut of
        // it: the next start on a larger work area opens at the design size again.
        // The sheet set-up counts as a change even when left with Exit: close without saving.
        if (w.session().modified())
            ui.answers.push_back(Answer::No);
        QVERIFY(w.close());
        const Rect saved = readWindowPlacement(iniFileOf(program), Rect{0, 0, 4000, 4000});
        QCOMPARE(saved.width, DesignWindowSize.width);
        QCOMPARE(saved.height, DesignWindowSize.height);
        ui.checkNotices();
    }

    void messageAndInputBoxes()
    {
        const QString path = QStringLiteral("/home/estimator/見積/2026年度/東京都/物件名がとても長いフォルダー/ex_data/kanzai3.fda");
        lookAtModal(QStringLiteral("box-confirm"), [&] {
            ConfirmBox(path + QStringLiteral(" は、読み込んだ後にほかのプログラムで変更されています。\n上書きしますか？"),
                       QStringLiteral("実行"), QStringLiteral("キャンセル"));
        });
        lookAtModal(QStringLiteral("box-confirm-or-back"), [&] {
            confirmOrBackBox(QStringLiteral("データが変更されています。保存しますか？"), QStringLiteral("実行"),
                             QStringLiteral("キャンセル"), QStringLiteral("戻る"));
        });
        lookAtModal(QStringLiteral("box-notice"), [&] { NoticeBox(path + QStringLiteral(" を読めません。"), QStringLiteral("OK")); });
        QtUserInterface boxes(nullptr);
        lookAtModal(QStringLiteral("box-input"), [&] { boxes.askText("名称変更", "新しい名称を入力してください。", "給水", velmo::AnyLength); });
        // The earlier versions of a file on a long path, before a version is chosen.
        VersionListView versions;
        versions.title = sharedtext::earlierVersionsTitle(path.toStdString());
        versions.headings = {sharedtext::VersionColumn, sharedtext::VersionTimeColumn, sharedtext::VersionProgramColumn,
                             sharedtext::VersionUserColumn, sharedtext::VersionChangesColumn};
        for (int n = 12; n >= 1; --n)
            versions.rows.push_back({std::to_string(n), "2026/12/10 09:15:02", "velmok-cli revise-labour", "estimator",
                                     n == 1 ? "" : std::to_string(n * 7)});
        versions.prompt = sharedtext::ChooseVersionText;
        lookAtModal(QStringLiteral("box-earlier-versions"), [&] {
            boxes.chooseEarlierVersion(versions, [](size_t) { return VersionComparisonView{}; });
        });
    }

    void torvikAndItsSelection()
    {
        velmo::test::TempDir dir;
        velmo::test::FakeUi ui;
        const auto w = velmo::test::makeTorvik(dir.path, ui);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        look(w.get(), QStringLiteral("torvik"));
        lookAtModal(QStringLiteral("torvik-select"), [&] { velmo::test::chooseTorvikBlock(*w); });
        ui.checkNotices();
    }

    void selvanAndItsSelection()
    {
        velmo::test::TempDir dir;
        velmo::test::FakeUi ui;
        const auto w = velmo::test::makeSelvan(dir.path, ui);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        look(w.get(), QStringLiteral("selvan"));
        lookAtModal(QStringLiteral("selvan-select"), [&] { velmo::test::chooseSelvanBlock(*w); });
        ui.checkNotices();
    }

    void korrelShowsAWholePage()
    {
        velmo::test::TempDir dir;
        velmo::test::writeHandoffSet(dir.path, {"屋内一般", "機械室"});
        const std::vector<print::PrintSet> sets{print::readPrintSet(dir.path)};
        print::TfPrintPreview w(sets);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        look(&w, QStringLiteral("korrel"));
        // ページ全体: the page in view is whole inside the preview.
        QAction *whole = nullptr;
        for (QAction *a : w.findChild<QToolBar *>()->actions())
            if (a->text() == QStringLiteral("ページ全体"))
                whole = a;
        QVERIFY(whole);
        whole->trigger();
        QApplication::processEvents();
        auto *view = w.findChild<QGraphicsView *>();
        QVERIFY(view);
        const QRect port = view->viewport()->rect();
        int wholePages = 0;
        QStringList cut;
        for (QGraphicsItem *item : view->items(port)) {
            if (item->parentItem())
                continue;
            const QRect page = view->mapFromScene(item->sceneBoundingRect()).boundingRect();
            if (port.adjusted(-1, -1, 1, 1).contains(page))
                ++wholePages;
            else
                cut << rectText(page);
        }
        QVERIFY2(wholePages > 0, qPrintable("no whole page in the preview " + rectText(port) + ": " + cut.join(", ")));
    }
};

int main(int argc, char **argv)
{
    VelmoApplication app(argc, argv);
    app.setApplicationDisplayName(QStringLiteral("Velmaro"));
    ScreensTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "screens_qtest.moc"
