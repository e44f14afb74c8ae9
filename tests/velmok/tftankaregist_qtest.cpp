// The main window driven with real mouse and key events, offscreen, on the sample data.
#include "velmok/ui/TFtankaregist.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/VelmoApplication.h"
#include "base/errors.h"
#include "tests/common/fake_ui.h"
#include "tests/velmok/program_folder.h"
#include "base/fileio.h"
#include "pricefile/service_file.h"
#include "base/support.h"
#include "tests/common/temp_dir.h"

#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

using namespace velmo;
namespace fs = std::filesystem;

class TFtankaregistTest : public QObject {
    Q_OBJECT

    velmo::test::TempDir dir;
    velmo::test::FakeUi ui;
    fs::path program;

    void clickCell(TStrColGrid *g, int col, int row)
    {
        const QRect r = g->visualRect(g->model()->index(row, col));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }

private Q_SLOTS:
    // Every notice a test function brought up must have been read by it.
    void cleanup() { ui.checkNotices(); }
    void initTestCase()
    {
        program = velmo::test::withSampleTemplates(dir.path);
    }

    void startNavigateEditAndSave()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MainSession &s = w.session();

        // Started on service 1, pipe 1 of the samples.
        QCOMPARE(s.position().service, 0);
        QVERIFY(!w.statusPanels[0]->text().isEmpty());
        QVERIFY(w.kanname->text().startsWith(w.statusPanels[0]->text() + ":"));
        QCOMPARE(w.StrColGrid1->Cells(0, 1), QString::fromStdString(velmo::rateGridText(s.gridView(), 0, 1)));
        QCOMPARE(w.StrColGrid1->Cells(8, 0), QString("配 管 工"));
        QCOMPARE(w.TreeView1->topLevelItem(0)->text(0), QString("給水"));

        // A click on the second pipe of the first service loads it.
        QTreeWidgetItem *pipe2 = w.TreeView1->topLevelItem(0)->child(1);
        QTest::mouseClick(w.TreeView1->viewport(), Qt::LeftButton, {}, w.TreeView1->visualItemRect(pipe2).center());
        QCOMPARE(s.position().pipe, 1);
        QCOMPARE(w.statusPanels[0]->text(), pipe2->text(0));

        // Another location tab.
        QTest::mouseClick(w.TabControl1, Qt::LeftButton, {}, w.TabControl1->tabRect(1).center());
        QCOMPARE(s.position().location, 1);
        QCOMPARE(w.statusPanels[3]->text(), w.TabControl1->tabText(1));

        // A material-grid column chooses the basis the rate grid shows.
        clickCell(w.StrColGrid2, 7, 2);
        QCOMPARE(s.gridView().basis, Basis::List);
        QCOMPARE(w.StrColGrid1->Cells(3, 2), w.StrColGrid2->Cells(7, 2));
        QCOMPARE(w.StrColGrid3->Col(), 7);
        clickCell(w.StrColGrid2, 6, 1);
        QCOMPARE(w.StrColGrid1->Cells(1, 1), w.StrColGrid1->Cells(2, 1)); // NET: C0 in both

        // A labour price typed on the keypad and Enter: applied, modified, focus moves on.
        TNValEdit *lv1 = w.GPAYDAY[1];
        lv1->setFocus();
        QTest::keyClick(lv1, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(lv1->selectedText(), lv1->text());
        for (char c : std::string("31500"))
            QTest::keyClick(lv1, Qt::Key(Qt::Key_0 + (c - '0')), Qt::KeypadModifier);
        QCOMPARE(lv1->text(), QString("31,500"));
        QTest::keyClick(lv1, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(s.modified());
        QCOMPARE(s.table().row(LabourRow).rec.C(1).toString(), std::string("31500"));
        QVERIFY(w.GPAYDAY[2]->hasFocus());

        // Ctrl+S writes the file and says so.
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!s.modified());
        QVERIFY(!ui.notices.empty());
        QVERIFY(QString::fromStdString(ui.notices.back()).startsWith("保存しました。"));
        ServiceFile back;
        back.load(dir.path / "ex_data" / "kanzai1.fda");
        QCOMPARE(back.record(60 + 59).C(1).toString(), std::string("31500"));

        // Function keys open pipes of the first service; Ctrl+F2 shows LEVEL2.
        w.StrColGrid1->setFocus();
        QTest::keyClick(&w, Qt::Key_F3);
        QCOMPARE(s.position().pipe, 2);
        QCOMPARE(w.TreeView1->currentItem(), w.TreeView1->topLevelItem(0)->child(2));
        QTest::keyClick(&w, Qt::Key_F2, Qt::ControlModifier);
        QCOMPARE(s.gridView().basis, Basis::Level2);
        QCOMPARE(w.StrColGrid2->Col(), 2);

        // Shift held when the button comes up over a service node renames the service.
        ui.texts.push_back("上水道");
        QTreeWidgetItem *service3 = w.TreeView1->topLevelItem(2);
        QTest::mouseClick(w.TreeView1->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          w.TreeView1->visualItemRect(service3).center());
        QCOMPARE(service3->text(0), QString("上水道"));
        QCOMPARE(w.serviceMenus[2]->title(), QString("上水道"));
        QCOMPARE(ui.prompts.back(), std::string("Velmaro|名称を入力してください|通気"));
        QCOMPARE(s.position().service, 2);
        w.hide();
    }

    void anExceptionEndsTheCommandAndTheWindowGoesOn()
    {
        QStringList shown;
        VelmoApplication::errorSink = [&](const QString &, const QString &m) { shown << m; };
        TFtankaregist w(QString::fromStdString(program.string()), "2;1;", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        fs::remove_all(dir.path / "ex_data"); // the save cannot be written
        ui.answers.push_back(Answer::Yes);    // overwrite the file that is gone: the write fails
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].contains("kanzai2.fda"));
        // Still working: a tree click loads another pipe.
        QTreeWidgetItem *pipe3 = w.TreeView1->topLevelItem(1)->child(2);
        QTest::mouseClick(w.TreeView1->viewport(), Qt::LeftButton, {}, w.TreeView1->visualItemRect(pipe3).center());
        QCOMPARE(w.session().position().pipe, 2);
        VelmoApplication::errorSink = nullptr;
        w.hide();
    }
    void aNumberTypedButNotAppliedSurvivesOtherCommands()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MainSession &s = w.session();
        TNValEdit *lv1 = w.GPAYDAY[1];
        lv1->setFocus();
        QTest::keyClick(lv1, Qt::Key_A, Qt::ControlModifier);
        for (char c : std::string("20000"))
            QTest::keyClick(lv1, Qt::Key(Qt::Key_0 + (c - '0')), Qt::KeypadModifier);
        // A grid click, a basis key, a tab change and a save in between keep the typed number.
        clickCell(w.StrColGrid2, 3, 2);
        QTest::keyClick(&w, Qt::Key_F2, Qt::ControlModifier);
        QTest::mouseClick(w.TabControl1, Qt::LeftButton, {}, w.TabControl1->tabRect(1).center());
        ui.expectNotice("保存しました。\n" + (dir.path / "ex_data" / "kanzai1.fda").string() + "|確認");
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(lv1->text(), QString("20,000"));
        QTest::mouseClick(lv1, Qt::LeftButton, {}, QPoint(lv1->width() - 5, lv1->height() / 2));
        QVERIFY(QTest::qWaitFor([&] { return lv1->hasFocus(); }));
        // The click selected the value: what is typed replaces it.
        for (char c : std::string("200000"))
            QTest::keyClick(lv1, Qt::Key(Qt::Key_0 + (c - '0')), Qt::KeypadModifier);
        QCOMPARE(lv1->text(), QString("200,000"));
        QTest::keyClick(lv1, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(s.table().row(LabourRow).rec.C(1).toString(), std::string("200000"));

        // Loading another pipe shows that pipe's values.
        QTreeWidgetItem *pipe2 = w.TreeView1->topLevelItem(0)->child(1);
        QTest::mouseClick(w.TreeView1->viewport(), Qt::LeftButton, {}, w.TreeView1->visualItemRect(pipe2).center());
        QCOMPARE(lv1->text(), QString::fromStdString(FormatMoney(s.table().row(LabourRow).rec.C(1))));
        ui.answers.push_back(Answer::No);
        w.close();
    }

    void enterInTheLabourFieldsGoesRoundTheRing()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const int order[] = {1, 2, 3, 4, 5, 0, 1};
        w.GPAYDAY[1]->setFocus();
        for (int i = 0; i + 1 < 7; ++i) {
            QVERIFY(w.GPAYDAY[order[i]]->hasFocus());
            QTest::keyClick(w.GPAYDAY[order[i]], Qt::Key_Return);
            QVERIFY2(w.GPAYDAY[order[i + 1]]->hasFocus(), qPrintable(QString("after %1").arg(order[i])));
        }
        ui.answers.push_back(Answer::No);
        w.close();
    }

    void endClosesTheWindowFromANumberField()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.avr[2]->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return w.avr[2]->hasFocus(); }));
        QTest::keyClick(w.avr[2], Qt::Key_End);
        QVERIFY(!w.isVisible());
    }

    void theWindowReopensWhereItWasClosed()
    {
        {
            TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.move(150, 90);
            w.resize(600, 450);
            QVERIFY(QTest::qWaitFor([&] { return w.pos() == QPoint(150, 90); }));
            w.close();
        }
        for (int run = 0; run < 2; ++run) {
            TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QCOMPARE(w.pos(), QPoint(150, 90));
            QCOMPARE(w.size(), QSize(600, 450));
            w.close();
        }
    }

    void aShortServiceFileAtStartIsNamedAndLeftAlone()
    {
        QStringList shown;
        VelmoApplication::errorSink = [&](const QString &, const QString &m) { shown << m; };
        {
            TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.close();
        }
        const fs::path file = dir.path / "ex_data" / "kanzai1.fda";
        fs::resize_file(file, 100 * 360);
        const std::string before = readWholeFile(file);
        {
            TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QCOMPARE(shown.size(), 1);
            QVERIFY(shown[0].contains(QString::fromStdString(file.string())));
            QVERIFY(shown[0].contains("100"));
            QCOMPARE(w.StrColGrid1->Cells(1, 1), QString());
            QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(shown.size(), 2); // the save is refused, naming the file
            QVERIFY(shown[1].contains(QString::fromStdString(file.string())));
            w.close();
        }
        QCOMPARE(readWholeFile(file), before);
        fs::remove(file);
        VelmoApplication::errorSink = nullptr;
    }

    void aDataFolderThatIsAFileStopsTheStartWithAJapaneseError()
    {
        velmo::test::TempDir other;
        const fs::path prog = other.path / "velmok";
        writeFileAtomically(other.path / "ex_data", "a file");
        try {
            TFtankaregist w(QString::fromStdString(prog.string()), "", &ui);
            QFAIL("no error");
        } catch (const IoError &e) {
            const QString m = QString::fromUtf8(e.what());
            QVERIFY2(m.contains(QString::fromStdString((other.path / "ex_data").string())), e.what());
            QVERIFY2(m.contains("フォルダー"), e.what());
        }
    }
};

int main(int argc, char **argv)
{
    VelmoApplication app(argc, argv);
    TFtankaregistTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tftankaregist_qtest.moc"
