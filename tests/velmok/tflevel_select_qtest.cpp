// The output level dialog and the export menus of the main window, driven offscreen.
#include "velmok/ui/TFtankaregist.h"
#include "velmok/ui/Tflevel_select.h"
#include "base/cp932.h"
#include "tests/common/fake_ui.h"
#include "base/fileio.h"
#include "tests/common/temp_dir.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

using namespace velmo;
namespace fs = std::filesystem;

class TflevelSelectTest : public QObject {
    Q_OBJECT

    // Runs `act` on the dialog once it is open, then returns what ask() gave back.
    OutputLevelChoice askWith(bool withOptions, const std::function<void(Tflevel_select &)> &act)
    {
        QTimer::singleShot(0, this, [act] {
            auto *d = qobject_cast<Tflevel_select *>(QApplication::activeModalWidget());
            QVERIFY(d);
            act(*d);
        });
        return Tflevel_select::ask(nullptr, withOptions);
    }

    // Answers the next output level dialog with "実　行" on `level` and both check boxes set
    // where it shows them; records whether it showed them.
    void answerNextDialog(int level, std::vector<bool> &shownOptions)
    {
        QTimer::singleShot(0, this, [level, &shownOptions] {
            auto *d = qobject_cast<Tflevel_select *>(QApplication::activeModalWidget());
            QVERIFY(d);
            shownOptions.push_back(!d->CheckBox7->isHidden());
            d->level[level - 1]->click();
            d->CheckBox7->setChecked(true);
            d->CheckBox8->setChecked(true);
            d->Button1->click();
        });
    }

private Q_SLOTS:
    void opensOnLevel1WithBothBoxesClear()
    {
        Tflevel_select d(true);
        QCOMPARE(d.windowTitle(), QString("Velmaro"));
        QVERIFY(d.level[0]->isChecked());
        QCOMPARE(d.level[5]->text(), QString("原　価"));
        QCOMPARE(d.Button1->text(), QString("実　行"));
        QCOMPARE(d.Button2->text(), QString("キャンセル"));
        QCOMPARE(d.CheckBox7->text(), QString("見出しを出力"));
        QCOMPARE(d.CheckBox8->text(), QString("計算結果を出力"));
        QCOMPARE(d.choice(), (OutputLevelChoice{basisAt(1), false, false, false}));
    }

    void executeConfirmsTheChoicesAndOtherClosesDoNot()
    {
        OutputLevelChoice c = askWith(true, [](Tflevel_select &d) {
            d.level[5]->click();
            d.CheckBox7->click();
            d.Button1->click();
        });
        QCOMPARE(c, (OutputLevelChoice{basisAt(6), true, false, true}));

        // Enter is 実　行.
        c = askWith(true, [](Tflevel_select &d) {
            d.level[2]->click();
            QTest::keyClick(&d, Qt::Key_Return);
        });
        QCOMPARE(c, (OutputLevelChoice{basisAt(3), false, false, true}));

        // キャンセル and Escape leave the result clear but report the basis.
        c = askWith(true, [](Tflevel_select &d) {
            d.level[1]->click();
            d.Button2->click();
        });
        QCOMPARE(c, (OutputLevelChoice{basisAt(2), false, false, false}));
        c = askWith(true, [](Tflevel_select &d) { QTest::keyClick(&d, Qt::Key_Escape); });
        QVERIFY(!c.confirmed);
    }

    void withoutOptionsTheBoxesAreHiddenAndCountAsClear()
    {
        const OutputLevelChoice c = askWith(false, [](Tflevel_select &d) {
            QVERIFY(!d.CheckBox7->isVisible());
            QVERIFY(!d.CheckBox8->isVisible());
            d.CheckBox7->setChecked(true);
            d.Button1->click();
        });
        QCOMPARE(c, (OutputLevelChoice{basisAt(1), false, false, true}));
    }

    void menusOfTheMainWindowReachTheSession()
    {
        test::TempDir dir;
        test::FakeUi ui;
        fs::create_directories(dir.path / "kanzai");
        for (int n = 1; n <= 10; ++n) {
            const std::string f = "haikan" + std::to_string(n) + ".fda";
            fs::copy_file(fs::path(VELMO_SAMPLE_DIR) / f, dir.path / "kanzai" / f);
        }
        TFtankaregist w(QString::fromStdString((dir.path / "velmok").string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        // 外部デ－タ入出力 follows 表  示(&D); 印  刷 follows 保  存 after a separator.
        QStringList titles;
        for (QAction *a : w.menuBar()->actions())
            titles << a->text();
        const int view = titles.indexOf("表  示(&D)");
        QVERIFY(view >= 0);
        QCOMPARE(titles.value(view + 1), QString("外部デ－タ入出力"));
        const QList<QAction *> file = w.menuBar()->actions().first()->menu()->actions();
        QCOMPARE(file[0], w.saveAction);
        QVERIFY(file[1]->isSeparator());
        QCOMPARE(file[2], w.N8);
        QCOMPARE(w.N8->text(), QString("印  刷"));
        QCOMPARE(w.N8->shortcut(), QKeySequence("Ctrl+P"));
        // 外部デ－タ入出力: the CSV file, the clipboard, a separator, the workbook, then the
        // comparison with another file and the estimate from a quantity list.
        QAction *csv = w.exportAction("csv"), *clipboard = w.exportAction("clipboard");
        QAction *excel = w.exportAction("xlsx");
        QVERIFY(csv && clipboard && excel);
        QCOMPARE(csv->text(), QString("表示中の管材データをCSVファイルとして出力"));
        QCOMPARE(clipboard->text(), QString("表示中の管材データをクリップボ－ドへＣＳＶ形式で取り出す"));
        QCOMPARE(excel->text(), QString("表示中の管材データをExcelファイルとして出力"));
        const QList<QAction *> exportMenu = w.menuBar()->actions().value(view + 1)->menu()->actions();
        QCOMPARE(exportMenu.size(), 7);
        QCOMPARE(exportMenu[0], csv);
        QCOMPARE(exportMenu[1], clipboard);
        QVERIFY(exportMenu[2]->isSeparator());
        QCOMPARE(exportMenu[3], excel);
        QVERIFY(exportMenu[4]->isSeparator());
        QCOMPARE(exportMenu[5]->text(), QString("別のファイルと比較…"));
        QCOMPARE(exportMenu[6], w.estimateAction);

        // Each item asks the output level dialog of the window.
        std::vector<bool> asked;
        answerNextDialog(5, asked);
        const fs::path out = dir.path / "out.CSV";
        ui.saveFiles.push_back(out.string());
        csv->trigger();
        QCOMPARE(asked, (std::vector<bool>{true}));
        QVERIFY(cp932::decode(readWholeFile(out)).starts_with(w.TabControl1->tabText(0).toStdString() + "\r\n呼び径,"));
        QCOMPARE(w.session().gridView().basis, Basis::Level5);
        QVERIFY(w.basisActions[4]->isChecked()); // the window shows the basis the dialog chose

        answerNextDialog(5, asked);
        clipboard->trigger();
        QCOMPARE(ui.clipboard.size(), size_t(1));

        // No print program can be found from this folder: the notice names it.
        const std::string path = qEnvironmentVariable("PATH").toStdString();
        qputenv("PATH", dir.path.c_str());
        answerNextDialog(1, asked);
        w.N8->trigger();
        QCOMPARE(asked, (std::vector<bool>{true, true, false}));
        qputenv("PATH", path.c_str());
        QVERIFY(fs::exists(dir.path / "print_Data.dat"));
        QVERIFY(QString::fromStdString(ui.notices.back()).contains("Korrel.exe"));
    }
};

QTEST_MAIN(TflevelSelectTest)
#include "tflevel_select_qtest.moc"
