// The main window's editing driven with real keypad keys and mouse clicks, offscreen, on the
// sample data: a factor typed into the rate grid, Shift+Enter, Escape, the save and what
// velmok-cli calculates from it; the two dialogs opened from their menu item and button.
#include "tests/velmok/cli_support.h"
#include "base/fileio.h"
#include "velmok/session/level_calc_dialog.h"
#include "pricefile/pipe_block.h"
#include "velmok/core/sheet_setup.h"
#include "base/support.h"

#include "velmok/ui/TFtankaregist.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"
#include "velmok/ui/Tfsheetset.h"
#include "velmok/ui/Tftankacalc.h"
#include "desktop/VelmoApplication.h"
#include "tests/common/system_clipboard_ui.h"
#include "tests/velmok/program_folder.h"
#include "tests/velmok/window_menus.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

using namespace velmo;
namespace fs = std::filesystem;

class TFtankaregistEditTest : public QObject {
    Q_OBJECT

    velmo::test::TempDir dir;
    velmo::test::SystemClipboardUi ui;
    fs::path program;

    static QPoint cellCenter(TStrColGrid *g, int col, int row)
    {
        return g->visualRect(g->model()->index(row, col)).center();
    }
    // Keys go where the keyboard sends them: the grid's editor once it is open.
    static void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
    }
    static void keypad(const std::string &number)
    {
        for (char c : number)
            key(c == '.' ? Qt::Key_Period : Qt::Key(Qt::Key_0 + (c - '0')), Qt::KeypadModifier);
    }
    // The notice of a save of service 1, which every saving test function declares.
    void expectSaveNotice()
    {
        ui.expectNotice("保存しました。\n" + (dir.path / "ex_data" / "kanzai1.fda").string() + "|確認");
    }
    static void doubleClick(TStrColGrid *g, int col, int row)
    {
        g->setFocus();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cellCenter(g, col, row));
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cellCenter(g, col, row));
    }
    // Runs `inDialog` on the modal dialog that `open` shows, once it is up and active; the
    // dialog must be closed by what `inDialog` does.
    template <typename Dialog>
    static void withDialog(const std::function<void()> &open, const std::function<void(Dialog &)> &inDialog)
    {
        bool seen = false, leftOpen = false;
        QTimer::singleShot(0, [&] {
            auto *d = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!d)
                return;
            seen = true;
            QApplication::setActiveWindow(d);
            if (QTest::qWaitForWindowActive(d))
                inDialog(*d);
            if (d->isVisible()) {
                leftOpen = true;
                d->reject();
            }
        });
        open();
        QVERIFY(seen);
        QVERIFY(!leftOpen);
    }

private Q_SLOTS:
    // Every notice a test function brought up must have been read by it.
    void cleanup() { ui.checkNotices(); }
    void initTestCase()
    {
        program = velmo::test::withSampleTemplates(dir.path);
    }

    void theMenuBarOrderAndTheEditMenus()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QStringList titles;
        for (QAction *a : w.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles.mid(0, 5), QStringList({"ファイル(&F)", "編　 集1", "編   集2", "管種選択(&P)", "表  示(&D)"}));
        QCOMPARE(w.undoAction->shortcut(), QKeySequence(Qt::Key_Escape));
        QVERIFY(!w.undoAction->isEnabled());
        QVERIFY(w.user_sel->isEnabled());
        for (const auto &[kind, a] : w.pasteActions)
            QVERIFY(!a->isEnabled());
        QCOMPARE(w.copyLocationAction->text(), QString("屋内一般のデータを機械室・屋外架空・地中配管へコピ－"));
        // A copy enables only its own paste.
        w.copyActions[2].second->trigger();
        for (size_t i = 0; i < w.pasteActions.size(); ++i)
            QCOMPARE(w.pasteActions[i].second->isEnabled(), i == 2);
        QVERIFY(velmo::test::menuNamed(w, "編   集2"));
        ui.answers.push_back(Answer::No);
        w.close();
    }

    void keypadEditShiftEnterEscapeAndSave()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MainSession &s = w.session();
        TStrColGrid *rate = w.StrColGrid1;
        const QString before = w.StrColGrid3->Cells(1, 1);

        // Double-click the pipe factor of the first size, type 1.2 on the keypad, Enter.
        doubleClick(rate, 4, 1);
        QVERIFY(rate->EditorMode());
        keypad("1.2");
        QCOMPARE(rate->InplaceEditor()->text(), QString("1.2"));
        key(Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!rate->EditorMode());
        QCOMPARE(s.table().row(1).rec.B(1), Cur("1.2"));
        QCOMPARE(rate->Cells(4, 1), QString("1.2"));
        const QString total = QString::fromStdString(FormatMoney(s.table().row(1).result(Basis::Level1).total));
        QCOMPARE(w.StrColGrid3->Cells(1, 1), total);
        QVERIFY(w.StrColGrid3->Cells(1, 1) != before);
        QCOMPARE(rate->Row(), 2); // Enter moved down
        QCOMPARE(w.StrColGrid2->Row(), 2);
        QVERIFY(w.undoAction->isEnabled());
        QVERIFY(s.modified());

        // Shift+Enter in the labour column of row 3 fills rows 3–14.
        doubleClick(rate, 8, 3);
        keypad("0.0");
        key(Qt::Key_NumLock); // a lock key neither stores nor beeps
        keypad("9");
        QCOMPARE(rate->InplaceEditor()->text(), QString("0.09"));
        key(Qt::Key_Enter, Qt::KeypadModifier | Qt::ShiftModifier);
        for (int r = 3; r <= 14; ++r) {
            QCOMPARE(rate->Cells(8, r), QString("0.09"));
            QCOMPARE(s.table().row(r).rec.B(5), Cur("0.09"));
        }
        QVERIFY(rate->Cells(8, 2) != "0.09");
        QCOMPARE(ui.beeps, 0);

        // Escape undoes the fill; the menu item goes grey.
        rate->setFocus();
        key(Qt::Key_Escape);
        QVERIFY(!w.undoAction->isEnabled());
        QVERIFY(rate->Cells(8, 14) != "0.09");
        QVERIFY(s.table().row(3).rec.B(5) != Cur("0.09"));
        QCOMPARE(s.table().row(1).rec.B(1), Cur("1.2"));

        // Ctrl+S writes; velmok-cli calculates from the file what the window shows.
        expectSaveNotice();
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!s.modified());
        const auto r = velmo::test::cli({"calc", (dir.path / "ex_data" / "kanzai1.fda").string(), "--pipe", "1"});
        QCOMPARE(r.code, 0);
        const velmo::test::Json j = r.json();
        const char *bases[] = {"LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4", "LEVEL5", "NET", "LIST"};
        for (int k = 1; k <= 14; ++k) {
            const velmo::test::Json &row = velmo::test::rowOf(j, 0, 0, k);
            QCOMPARE(QString::fromStdString(row["B"][0].str()), rate->Cells(4, k));
            for (int c = 1; c <= 7; ++c) {
                const std::string shown = FormatMoney(Currency::parse(row[bases[c - 1]]["total"].str()));
                QCOMPARE(w.StrColGrid3->Cells(c, k), QString::fromStdString(shown));
            }
        }
        w.close();
    }

    void rightAfterStartTheKeysTypeAFactorAndShiftClickExtendsTheSelection()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        MainSession &s = w.session();
        TStrColGrid *rate = w.StrColGrid1;

        // The keyboard starts in the rate grid, on the first cell that takes a factor: the
        // first keypad digits of the session are a factor, with no click before them.
        const size_t notices = ui.notices.size();
        QCOMPARE(QApplication::focusWidget(), rate);
        QCOMPARE(rate->Col(), 4);
        QCOMPARE(rate->Row(), 1);
        keypad("2");
        key(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(s.table().row(1).rec.B(1), Cur("2"));
        // Moves never meet an edit refusal, not even onto the columns that take no factor.
        for (const Qt::Key k : {Qt::Key_Home, Qt::Key_Down, Qt::Key_End, Qt::Key_Home, Qt::Key_Up})
            QTest::keyClick(rate, k);
        QCOMPARE(rate->Col(), 1);
        QVERIFY(!rate->EditorMode());
        QCOMPARE(ui.notices.size(), notices);

        // Shift+click extends the selection from the clicked cell, in both editable grids.
        for (TStrColGrid *g : {rate, w.StrColGrid2}) {
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cellCenter(g, 5, 2));
            QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCenter(g, 6, 4));
            QCOMPARE(g->Model().Selection(), (CellRange{5, 2, 6, 4}));
        }

        // The grouping comma is part of a typed list price: "1,500" is 1500.
        doubleClick(w.StrColGrid2, 7, 3);
        QVERIFY(w.StrColGrid2->EditorMode());
        QTest::keyClicks(w.StrColGrid2->InplaceEditor(), "1,500");
        QTest::keyClick(w.StrColGrid2->InplaceEditor(), Qt::Key_Return);
        QCOMPARE(s.table().row(3).rec.A(6), Cur("1500"));
        QCOMPARE(w.StrColGrid2->Cells(7, 3), QString("1,500"));

        // A percentage beyond its range is refused with the range, and the field shows the
        // stored percentage again.
        QStringList shown;
        VelmoApplication::errorSink = [&](const QString &, const QString &m) { shown << m; };
        TNValEdit *level1 = w.avr[1];
        const QString percent = level1->text();
        QTest::mouseClick(level1, Qt::LeftButton);
        QTest::keyClicks(level1, "1200");
        QTest::keyClick(level1, Qt::Key_Return);
        VelmoApplication::errorSink = nullptr;
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].contains("999.99"), qPrintable(shown[0]));
        QCOMPARE(level1->text(), percent);
        ui.answers.push_back(Answer::No);
        w.close();
    }

    void aNumberLeftInTheEditorByAClickOrAMenuCommandIsStored()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MainSession &s = w.session();
        TStrColGrid *rate = w.StrColGrid1;

        // Typed, then another cell clicked: stored and calculated, as the cell shows it.
        doubleClick(rate, 4, 1);
        keypad("2");
        QTest::mouseClick(rate->viewport(), Qt::LeftButton, {}, cellCenter(rate, 5, 3));
        QVERIFY(!rate->EditorMode());
        QCOMPARE(s.table().row(1).rec.B(1), Cur("2"));
        QCOMPARE(w.StrColGrid3->Cells(1, 1),
                 QString::fromStdString(FormatMoney(s.table().row(1).result(Basis::Level1).total)));

        // Typed, then 保  存 chosen from the menu (menus leave the editor open): saved with it.
        doubleClick(rate, 5, 4);
        keypad("0.5");
        QVERIFY(rate->EditorMode());
        w.saveAction->trigger();
        QVERIFY(!rate->EditorMode());
        QVERIFY(!s.modified());
        const PipeBlock saved = readPipeBlock(dir.path / "ex_data" / "kanzai1.fda", 0);
        QCOMPARE(saved[3].B(2), Cur("0.5"));
        QCOMPARE(saved[0].B(1), Cur("2"));

        // A refused cell says so once the click is over, and shows the stored value again.
        const size_t notices = ui.notices.size();
        doubleClick(rate, 1, 2);
        keypad("9");
        QTest::mouseClick(rate->viewport(), Qt::LeftButton, {}, cellCenter(rate, 6, 6));
        QCOMPARE(ui.notices.size(), notices);
        QTRY_COMPARE(ui.notices.size(), notices + 1);
        QCOMPARE(QString::fromStdString(ui.notices.back()), QString("この列のセルは編集できません。|確認"));
        QCOMPARE(rate->Cells(1, 2), QString::fromStdString(velmo::rateGridText(s.gridView(), 1, 2)));
        w.close();
    }

    void aTextThatIsNoNumberShowsTheErrorOnceAndTheStoredValueAgain()
    {
        QStringList shown;
        VelmoApplication::errorSink = [&](const QString &, const QString &m) { shown << m; };
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MainSession &s = w.session();
        TStrColGrid *rate = w.StrColGrid1;
        const Currency stored = s.table().row(2).rec.B(2);

        // A good edit first, then a bad one in the joint column of the same row.
        doubleClick(rate, 4, 2);
        keypad("1.5");
        key(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(s.table().row(2).rec.B(1), Cur("1.5"));
        doubleClick(rate, 5, 2);
        keypad("0..5");
        key(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].contains("0..5"));
        // The editor keeps the text to be mended; Escape gives it up and shows the stored value.
        QVERIFY(rate->EditorMode());
        QCOMPARE(rate->Cells(5, 2), QString("0..5"));
        QCOMPARE(s.table().row(2).rec.B(2), stored);
        key(Qt::Key_Escape);
        QVERIFY(!rate->EditorMode());
        QCOMPARE(rate->Cells(5, 2), QString::fromStdString(velmo::rateGridText(s.gridView(), 5, 2)));
        QCOMPARE(s.table().row(2).rec.B(1), Cur("1.5")); // the cancel undid nothing

        // Return and Escape meet the stored value: no second box; Escape undoes the good edit.
        key(Qt::Key_Return);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(rate->Cells(5, 2), QString::fromStdString(velmo::rateGridText(s.gridView(), 5, 2)));
        rate->setFocus();
        key(Qt::Key_Escape);
        QCOMPARE(shown.size(), 1);
        QVERIFY(s.table().row(2).rec.B(1) != Cur("1.5"));
        VelmoApplication::errorSink = nullptr;
        ui.answers.push_back(Answer::No);
        w.close();
    }

    void aLabourPriceTypedWithoutEnterIsSavedAndEscapeRestoresIt()
    {
        const fs::path file = dir.path / "ex_data" / "kanzai1.fda";
        const std::string original = readWholeFile(file);
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        MainSession &s = w.session();
        TNValEdit *lv1 = w.GPAYDAY[1];
        lv1->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return lv1->hasFocus(); }));
        const QString before = lv1->text();

        // Escape over a typed number gives the field its value back; the undo does not run.
        QTest::keyClick(lv1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(lv1, "5");
        QTest::keyClick(lv1, Qt::Key_Escape);
        QCOMPARE(lv1->text(), before);
        QVERIFY(!s.modified());

        // Typed on the main keyboard, then Ctrl+S without Enter: the file holds it.
        QTest::keyClick(lv1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(lv1, "31500");
        expectSaveNotice();
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!s.modified());
        ServiceFile back;
        back.load(file);
        const Currency saved = back.record(59).C(1);
        QCOMPARE(lv1->text(), QString("31,500"));
        w.close();
        writeFileAtomically(file, original);
        QCOMPARE(saved, Cur("31500"));
    }

    void aPriceTypedOnTheMainKeyboardIsSaved()
    {
        // The other tests share the data folder: the file is put back afterwards.
        const fs::path file = dir.path / "ex_data" / "kanzai1.fda";
        const std::string original = readWholeFile(file);
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        doubleClick(w.StrColGrid2, 7, 1);
        QTest::keyClicks(QApplication::focusWidget(), "2360");
        key(Qt::Key_Return);
        QCOMPARE(ui.beeps, 0);
        QCOMPARE(w.StrColGrid2->Cells(7, 1), QString("2,360"));
        expectSaveNotice();
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        ServiceFile back;
        back.load(file);
        const Currency saved = back.pipeBlock(0)[0].A(6);
        w.close();
        writeFileAtomically(file, original);
        QCOMPARE(saved, Cur("2360"));
    }

    // A column of prices a spreadsheet put on the system clipboard, pasted with Ctrl+V into all
    // four locations, the composite prices copied with Ctrl+C, the paste taken back with Ctrl+Z
    // and again with Ctrl+Y, then saved.
    void spreadsheetPricesThroughTheClipboardUndoRedoAndSave()
    {
        const fs::path file = dir.path / "ex_data" / "kanzai1.fda";
        const std::string original = readWholeFile(file);
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MainSession &s = w.session();
        const Currency before = s.table().row(1).rec.A(6);
        w.StrColGrid2->setFocus();
        QVERIFY(w.StrColGrid2->SelectCell(7, 1));
        QApplication::clipboard()->setText("1,500\r\n１，６００\r\n");
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(QString::fromStdString(ui.notices.back()), QString("2 件を貼り付けました。|確認"));
        QCOMPARE(w.StrColGrid2->Cells(7, 2), QString("1,600"));
        QCOMPARE(s.table().row(workingRow(3, 2)).rec.A(6), Cur("1600")); // the fourth location too

        w.StrColGrid3->setFocus();
        QVERIFY(w.StrColGrid3->SelectRange(7, 1, 7, 2));
        key(Qt::Key_C, Qt::ControlModifier);
        const QString composites = w.StrColGrid3->Cells(7, 1).remove(',') + "\n" + w.StrColGrid3->Cells(7, 2).remove(',') + "\n";
        QCOMPARE(QApplication::clipboard()->text(), composites);

        QVERIFY(w.undoStepAction->isEnabled());
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s.table().row(1).rec.A(6), before);
        QVERIFY(w.redoStepAction->isEnabled());
        key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w.StrColGrid2->Cells(7, 1), QString("1,500"));

        expectSaveNotice();
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        ServiceFile back;
        back.load(file);
        const Currency saved1 = back.pipeBlock(0)[0].A(6), saved2 = back.pipeBlock(0)[RowsPerLocation + 1].A(6);
        w.close();
        writeFileAtomically(file, original);
        QCOMPARE(saved1, Cur("1500"));
        QCOMPARE(saved2, Cur("1600"));
    }

    void thePriceLevelDialogOpensWithItsDefaultsAndExitChangesNothing()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MainSession &s = w.session();
        const WorkingTable before = s.table();
        // Escape in a number field is the dialog's Exit.
        withDialog<Tftankacalc>([&] { w.levelCalcAction->trigger(); }, [&](Tftankacalc &d) {
            QCOMPARE(d.windowTitle(), QString("Velmaro"));
            QVERIFY(d.addendRadios[0]->isChecked());
            QCOMPARE(d.addendRadios[0]->text(), QString("四捨五入"));
            QVERIFY(d.unitRadios[0]->isChecked());
            QVERIFY(d.methodRadios[0]->isChecked());
            for (TNValEdit *e : d.Level)
                QCOMPARE(e->value(), 0.0L);
            d.Level[0]->setFocus();
            keypad("50");
            key(Qt::Key_Escape);
        });
        QCOMPARE(s.table().row(1).rec.A(1), before.row(1).rec.A(1));
        QVERIFY(!s.modified());

        // Without the rate flag the LEVEL prices stay as the dialog sets them.
        QVERIFY(w.CheckGroupBox1->isChecked());
        w.CheckGroupBox1->click();
        QCOMPARE(s.table().settings().D(4), Currency());
        QCOMPARE(s.table().row(1).rec.A(0), Cur("800"));
        // Levels typed on the keypad, Enter from field to field and on to "実 行".
        withDialog<Tftankacalc>([&] { w.levelCalcAction->trigger(); }, [&](Tftankacalc &d) {
            QVERIFY(d.Level[0]->value() == 0); // made afresh: the 50 typed before is gone
            d.unitRadios[2]->click();           // 100
            d.methodRadios[1]->click();         // 原価 × 割増率
            d.Level[0]->setFocus();
            for (const char *l : {"10", "20", "30", "40", "50"}) {
                keypad(l);
                key(Qt::Key_Enter, Qt::KeypadModifier);
            }
            QVERIFY(d.executeButton->hasFocus());
            key(Qt::Key_Enter, Qt::KeypadModifier);
        });
        // 原価 800 × (1 + Level %), half up to hundreds.
        const char *levels[] = {"900", "1000", "1000", "1100", "1200"};
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(s.table().row(1).rec.A(n), Cur(levels[n - 1]));
        QCOMPARE(w.StrColGrid2->Cells(1, 1), QString("900"));
        QVERIFY(s.modified());
        QVERIFY(w.undoAction->isEnabled());
        ui.answers.push_back(Answer::No);
        w.close();
    }

    void theSheetSetUpDialogLoadsRegistersAndRefreshes()
    {
        TFtankaregist w(QString::fromStdString(program.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MainSession &s = w.session();
        ui.texts.push_back("ピット内");
        withDialog<Tfsheetset>([&] { QTest::mouseClick(w.user_sel, Qt::LeftButton); }, [&](Tfsheetset &d) {
            QCOMPARE(d.windowTitle(), QString("管材別基本デ－タ設定"));
            QCOMPARE(d.GOODSBOX->currentText(), QString::fromStdString(s.table().row(1).rec.name.text()));
            QCOMPARE(d.ComboBox1->currentText(), QString("ｍ"));
            QCOMPARE(d.GOODSBOX->count(), 37);
            // The samples' settings: composite to tens, cut, half up.
            QVERIFY(d.codeRadios[1]->isChecked());
            QVERIFY(d.fracAddendRadios[1]->isChecked());
            QVERIFY(d.sigAddendRadios[2]->isChecked());
            QVERIFY(d.modeRadios[0]->isChecked());
            QCOMPARE(d.StrColGrid1->Cells(1, 1), QString("15A"));
            QTest::mouseClick(d.kind[1], Qt::LeftButton);
            QCOMPARE(d.kind[1]->text(), QString("ピット内"));
            d.sizeSetButtons[1]->click(); // 15スタ－ト
            QCOMPARE(d.StrColGrid1->Cells(1, 14), QString("300A"));
            d.ComboBox1->setEditText("本");
            d.IconButton6->click();
        });
        QCOMPARE(w.TabControl1->tabText(1), QString("ピット内"));
        QCOMPARE(s.file().pipeBlock(0)[37].unit.text(), std::string("本"));
        QCOMPARE(s.table().row(workingRow(2, 14)).rec.size.text(), std::string("300A"));
        QCOMPARE(w.StrColGrid1->Cells(0, 14), QString("300A"));
        QVERIFY(s.modified());
        QVERIFY(w.undoAction->isEnabled());

        // Exit from the menu item changes nothing but still counts as a change.
        expectSaveNotice();
        s.save();
        withDialog<Tfsheetset>([&] { w.sheetSetupAction->trigger(); },
                               [&](Tfsheetset &d) { d.IconButton4->click(); });
        QCOMPARE(w.TabControl1->tabText(1), QString("ピット内"));
        QVERIFY(s.modified());
        ui.answers.push_back(Answer::No);
        w.close();
    }
};

int main(int argc, char **argv)
{
    VelmoApplication app(argc, argv);
    TFtankaregistEditTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tftankaregist_edit_qtest.moc"
