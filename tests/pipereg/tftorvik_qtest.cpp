// The pipe registration window driven with real key and mouse events, offscreen, on a seeded
// price file: keypad entry in the grid, Enter in a rate field, the selection dialog.
#include "torvik_fixture.h" // before any Qt header

#include "TFSelect_Data.h"
#include "TNValEdit.h"
#include "TStrColGrid.h"
#include "Tftorvik.h"
#include "VelmoApplication.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

using namespace velmo;
namespace fs = std::filesystem;

class TftorvikTest : public QObject {
    Q_OBJECT

    velmo::test::TempDir dir;
    velmo::test::FakeUi ui;
    QStringList errors;

    fs::path data() const { return dir.path / "ex_data" / "kanzai1.fda"; }

    static void clickCell(TStrColGrid *g, int col, int row)
    {
        const QRect r = g->visualRect(g->model()->index(row, col));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
    // Keys of the numeric keypad, each to whichever widget has the focus then.
    static void keypad(const QString &keys)
    {
        for (const QChar c : keys) {
            const Qt::Key key = c == '.' ? Qt::Key_Period : c == '\n' ? Qt::Key_Enter : Qt::Key(Qt::Key_0 + c.digitValue());
            QTest::keyClick(QApplication::focusWidget(), key, Qt::KeypadModifier);
        }
    }

private slots:
    void init()
    {
        fs::create_directories(dir.path / "ex_data");
        velmo::test::seedPipeFile(data());
        errors.clear();
        VelmoApplication::errorSink = [this](const QString &, const QString &m) { errors << m; };
    }
    void cleanup() { VelmoApplication::errorSink = nullptr; }

    void keypadPricesRateFieldsAndTabs()
    {
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        TorvikSession &s = w.session();
        QCOMPARE(w.size(), QSize(757, 481));
        QCOMPARE(w.data_name->text(), QString("管0"));
        QCOMPARE(w.StatusBar1[0]->text(), QString("1"));
        QCOMPARE(w.StatusBar1[3]->text(), QString::fromStdString(data().string()));
        QCOMPARE(w.StrColGrid1->Cells(2, 0), QString("一般"));
        QVERIFY(w.CheckGroupBox1->isChecked());
        QCOMPARE(w.NValEdit[0]->text(), QString("90"));

        // The list price typed on the keypad; Enter stores it and derives the LEVEL prices.
        clickCell(w.StrColGrid1, 1, 1);
        keypad("2000\n");
        QVERIFY(errors.isEmpty());
        QCOMPARE(s.working()[0].A(6), Cur("2000"));
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("2,000"));
        QCOMPARE(w.StrColGrid1->Row(), 2);
        QVERIFY(s.modified());
        QTest::mouseClick(w.TabControl1, Qt::LeftButton, {}, w.TabControl1->tabRect(1).center());
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("1,800")); // Trunc(1800.5), to tens

        // A rate field: keypad digits, Enter; the tab of the prices it governs comes up.
        TNValEdit *rate3 = w.NValEdit[2];
        rate3->setFocus();
        QTest::keyClick(rate3, Qt::Key_Delete);
        keypad("55\n");
        QCOMPARE(s.working()[SettingsRecord].A(3), Cur("55"));
        QCOMPARE(w.TabControl1->currentIndex(), 3);
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("1,100"));
        QVERIFY(w.NValEdit[3]->hasFocus());

        // Unchecked, the fields and lists are disabled and the labels are not.
        w.CheckGroupBox1->setChecked(false);
        emit w.CheckGroupBox1->clicked(false);
        QVERIFY(!w.NValEdit[0]->isEnabled());
        QVERIFY(!w.ComboBox1->isEnabled());
        QVERIFY(w.rateLabels[0]->isEnabled());
        QCOMPARE(s.working()[SettingsRecord].D(4), Currency());

        // 登　録 writes the block.
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QVERIFY(!s.modified());
        QCOMPARE(QString::fromStdString(ui.notices.back()), QString("管0を登録しました。|確認"));
        QCOMPARE(readPipeBlock(data(), 0)[0].A(6), Cur("2000"));
        w.hide();
    }

    void selectionDialogChoosesAndMoves()
    {
        Tftorvik w(QString::fromStdString(dir.path.string()), "5;1;" + data().string() + ";", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        TorvikSession &s = w.session();
        QCOMPARE(w.StatusBar1[1]->text(), QString("1"));

        // Move entry 3 up, then take entry 5 with 選択実行.
        bool dialogSeen = false;
        int listedAfterMove = -1;
        QTimer::singleShot(0, this, [&] {
            TFSelect_Data &d = w.selectDialog();
            dialogSeen = d.isVisible() && d.ListBox1->count() == 20 && d.ListBox1->currentRow() == 1;
            d.ListBox1->setCurrentRow(3);
            d.N2->trigger();
            listedAfterMove = d.ListBox1->currentRow();
            d.ListBox1->setCurrentRow(5);
            QTest::mouseClick(d.Button1, Qt::LeftButton);
        });
        QTest::mouseClick(w.user_sel, Qt::LeftButton);
        QVERIFY(dialogSeen);
        QCOMPARE(listedAfterMove, 2);
        QCOMPARE(readPipeBlock(data(), 2)[0].name.text(), std::string("管3"));
        QCOMPARE(readPipeBlock(data(), 3)[0].name.text(), std::string("管2"));
        QCOMPARE(s.blockIndex(), 5);
        QCOMPARE(w.data_name->text(), QString("管5"));
        QCOMPARE(w.StatusBar1[1]->text(), QString("5"));
        QVERIFY(!w.selectDialog().isVisible());

        // キャンセル reloads the block; Esc closes the window, asking first when modified.
        s.checkBoxClicked(false);
        ui.answers = {Answer::No};
        QTimer::singleShot(0, this, [&] { QTest::mouseClick(w.selectDialog().Button3, Qt::LeftButton); });
        QTest::mouseClick(w.user_sel, Qt::LeftButton);
        QVERIFY(w.CheckGroupBox1->isChecked());
        QVERIFY(!s.modified());
        s.checkBoxClicked(false);
        ui.questions.clear();
        ui.answers = {Answer::No};
        QApplication::setActiveWindow(&w); // the offscreen platform does not hand it back
        w.StrColGrid1->setFocus();
        QTest::keyClick(w.StrColGrid1, Qt::Key_Escape);
        QCOMPARE(ui.questions.size(), size_t(1));
        QVERIFY(!w.isVisible());
        QVERIFY(errors.isEmpty());
    }
};

QTEST_MAIN(TftorvikTest)
#include "tftorvik_qtest.moc"
