// The main window and the selection dialog driven with real key and mouse events, offscreen.
#include "selvan/ui/Tfselvan.h"

#include "selvan/ui/TFSelect_Data_K.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/VelmoApplication.h"
#include "pricefile/equipment_file.h"
#include "tests/common/system_clipboard_ui.h"
#include "selvan/core/selvan_texts.h"
#include "tests/common/temp_dir.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTest>
#include <QTimer>

using namespace velmo;
namespace fs = std::filesystem;

class TfselvanTest : public QObject {
    Q_OBJECT

    // Keys go where the focus is: the grid, then its editor once a key opened it.
    static void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
    }
    static void keypad(const char *digits)
    {
        for (const char *c = digits; *c; ++c)
            key(*c == '.' ? Qt::Key_Period : Qt::Key(Qt::Key_0 + (*c - '0')), Qt::KeypadModifier);
    }
    static QStringList menuTexts(QMenu *m)
    {
        QStringList texts;
        for (QAction *a : m->actions())
            texts << (a->isSeparator() ? QString("-") : a->text());
        return texts;
    }
    static void clickCheckBoxOf(QGroupBox *box)
    {
        QStyleOptionGroupBox opt;
        opt.initFrom(box);
        opt.subControls = QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel;
        opt.text = box->title();
        opt.lineWidth = 1;
        opt.features = QStyleOptionFrame::None;
        const QRect r = box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxCheckBox, box);
        QTest::mouseClick(box, Qt::LeftButton, {}, r.center());
    }

    struct Started {
        velmo::test::TempDir dir;
        velmo::test::SystemClipboardUi ui;
        std::unique_ptr<Tfselvan> w;
        explicit Started(const char *name = "selvan")
        {
            w = std::make_unique<Tfselvan>(QString::fromStdString((dir.path / name).string()), "", &ui);
            w->show();
            QApplication::setActiveWindow(w.get());
        }
        fs::path file() const { return dir.path / "dx_data" / "kigu1.dxa"; }
    };

private Q_SLOTS:
    void initTestCase()
    {
        VelmoApplication::errorSink = [](const QString &, const QString &m) { QFAIL(qPrintable("error box: " + m)); };
    }

    // Cells a spreadsheet put on the system clipboard, pasted with Ctrl+V, copied back with
    // Ctrl+C, taken back with Ctrl+Z and again with Ctrl+Y, then saved.
    void spreadsheetCellsThroughTheClipboardUndoRedoAndSave()
    {
        Started s;
        Tfselvan &w = *s.w;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.StrColGrid1->setFocus();
        QVERIFY(w.StrColGrid1->SelectCell(2, 1));
        QApplication::clipboard()->setText("\"1,234\"\t300\n２５００円\t\n");
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(QString::fromStdString(s.ui.notices.back()), QString("3 件を貼り付けました。|確認"));
        QCOMPARE(w.StrColGrid1->Cells(2, 2), QString("2,500"));
        QCOMPARE(w.StrColGrid1->Cells(3, 1), QString("300"));

        QVERIFY(w.StrColGrid1->SelectRange(2, 1, 3, 2));
        key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("1234\t300\n2500\t0\n"));

        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.StrColGrid1->Cells(2, 1), QString("0"));
        QCOMPARE(w.session().working()[1].values[materialSlot(Basis::List)].toString(), std::string("0"));
        key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w.StrColGrid1->Cells(2, 1), QString("1,234"));

        s.ui.expectNotice("名前のない資材 (ブロック 0)を登録しました。|確認");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        const EquipmentBlock disk = readEquipmentBlock(s.file(), 0);
        QCOMPARE(disk[0].values[materialSlot(Basis::List)].toString(), std::string("1234"));
        QCOMPARE(disk[1].values[materialSlot(Basis::List)].toString(), std::string("2500"));
        QVERIFY(!w.session().modified());
    }

    void keypadEntryIsCommittedByEnterAndMovesDown()
    {
        Started s;
        Tfselvan &w = *s.w;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QString("ダクト器具単価登録プログラム"));
        QCOMPARE(w.titleLabel->text(), QString("配管付属品・器具単価登録プログラム"));
        QCOMPARE(w.StatusBar1[3]->text(), QString::fromStdString(s.file().string()));
        QVERIFY(fs::exists(s.file()));
        QCOMPARE(w.StrColGrid1->Cells(2, 0), QString("資材単価"));

        w.StrColGrid1->setFocus();
        QVERIFY(w.StrColGrid1->SelectCell(2, 1));
        keypad("1234.5");
        QVERIFY(w.StrColGrid1->EditorMode());
        QCOMPARE(w.StrColGrid1->Cells(2, 1), QString("1234.5")); // the typed key replaced the "0"
        key(Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!w.StrColGrid1->EditorMode());
        const EquipmentRecord &r1 = w.session().working()[0];
        QCOMPARE(r1.values[materialSlot(Basis::List)].toString(), std::string("1234.5"));
        QCOMPARE(w.StrColGrid1->Cells(2, 1), QString("1,234.5")); // what is stored
        QCOMPARE(w.StrColGrid1->Col(), 2);
        QCOMPARE(w.StrColGrid1->Row(), 2);
        QVERIFY(w.session().modified());

        // Typed, then left with the mouse: the price is committed too.
        keypad("88");
        const QRect cell = w.StrColGrid1->visualRect(w.StrColGrid1->model()->index(5, 3));
        QTest::mouseClick(w.StrColGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(w.session().working()[1].values[materialSlot(Basis::List)].toString(), std::string("88"));
        QCOMPARE(w.StrColGrid1->Col(), 3);

        // The grouping comma is part of a typed price: "1,500" is 1500.
        w.StrColGrid1->setFocus();
        QVERIFY(w.StrColGrid1->SelectCell(2, 4));
        QTest::keyClicks(QApplication::focusWidget(), "1,500");
        key(Qt::Key_Return);
        QCOMPARE(w.session().working()[3].values[materialSlot(Basis::List)].toString(), std::string("1500"));
        QCOMPARE(w.StrColGrid1->Cells(2, 4), QString("1,500"));

        // A size text in column 1, Enter to the next row.
        w.StrColGrid1->setFocus();
        QVERIFY(w.StrColGrid1->SelectCell(1, 14));
        key(Qt::Key_A);
        key(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(w.session().working()[13].caption.text(), std::string("a"));
        QCOMPARE(w.StrColGrid1->Row(), 1);
        // A size longer than its field: the editor never holds more than the 40 bytes saved.
        QVERIFY(w.StrColGrid1->SelectCell(1, 13));
        QTest::keyClicks(QApplication::focusWidget(), QString(45, 'x'));
        QCOMPARE(w.StrColGrid1->InplaceEditor()->text(), QString(40, 'x'));
        key(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(w.session().working()[12].caption.text(), std::string(40, 'x'));
        QCOMPARE(w.StrColGrid1->Cells(1, 13), QString(40, 'x'));

        // 登　録 writes the block and says so.
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(QString::fromStdString(s.ui.notices.back()), QString("名前のない資材 (ブロック 0)を登録しました。|確認"));
        QCOMPARE(readEquipmentBlock(s.file(), 0)[0].values[materialSlot(Basis::List)].toString(), std::string("1234.5"));
        QVERIFY(!w.session().modified());
    }

    void mainKeyboardDigitsTypeAndABadNumberGivesWayToTheStoredPrice()
    {
        Started s;
        Tfselvan &w = *s.w;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QStringList errors;
        VelmoApplication::errorSink = [&](const QString &, const QString &m) { errors << m; };

        // "2360" on the top row of the keyboard, Return, 登　録: the file holds 2360.
        w.StrColGrid1->setFocus();
        QVERIFY(w.StrColGrid1->SelectCell(2, 1));
        QTest::keyClicks(QApplication::focusWidget(), "2360");
        key(Qt::Key_Return);
        QCOMPARE(s.ui.beeps, 0);
        QCOMPARE(w.StrColGrid1->Cells(2, 1), QString("2,360"));
        s.ui.expectNotice("名前のない資材 (ブロック 0)を登録しました。|確認"); // by its number
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(readEquipmentBlock(s.file(), 0)[0].values[materialSlot(Basis::List)].toString(), std::string("2360"));

        // A bad number: one box, the stored price shows again, and Return brings no second box.
        w.StrColGrid1->setFocus();
        QVERIFY(w.StrColGrid1->SelectCell(2, 1));
        QTest::keyClicks(QApplication::focusWidget(), "0..5");
        key(Qt::Key_Return);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("0..5"));
        // The editor keeps the text; Esc gives it up without closing the window.
        QVERIFY(w.StrColGrid1->EditorMode());
        key(Qt::Key_Escape);
        QVERIFY(w.isVisible());
        QVERIFY(!w.StrColGrid1->EditorMode());
        QCOMPARE(w.StrColGrid1->Cells(2, 1), QString("2,360"));
        QVERIFY(!w.session().modified());
        key(Qt::Key_Return);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(w.StrColGrid1->Cells(2, 1), QString("2,360"));
        QCOMPARE(w.session().working()[0].values[materialSlot(Basis::List)].toString(), std::string("2360"));
        VelmoApplication::errorSink = [](const QString &, const QString &m) { QFAIL(qPrintable("error box: " + m)); };
    }

    void percentagesDeriveTheLevelPricesOnTheirTab()
    {
        Started s;
        Tfselvan &w = *s.w;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.CheckGroupBox1->isChecked()); // a new file's flag is off
        QVERIFY(!w.ComboBox1->isEnabled());
        clickCheckBoxOf(w.CheckGroupBox1);
        QVERIFY(w.session().controls().useRates);
        QVERIFY(w.ComboBox1->isEnabled());
        QVERIFY(w.NValEdit[0]->isEnabled());
        w.ComboBox2->setFocus();
        QTest::keyClick(w.ComboBox2, Qt::Key_Up); // 小数以下切り上げ
        QCOMPARE(w.session().controls().fractionIndex, 0);

        w.StrColGrid1->setFocus();
        QVERIFY(w.StrColGrid1->SelectCell(2, 1));
        keypad("1234");
        key(Qt::Key_Enter, Qt::KeypadModifier);

        TNValEdit *p1 = w.NValEdit[0];
        p1->setFocus();
        keypad("85");
        key(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(w.session().percentage(1).toString(), std::string("85"));
        QCOMPARE(w.TabControl1->currentIndex(), 1);
        QCOMPARE(w.StrColGrid1->Cells(2, 1), QString("1,049"));
        QVERIFY(w.NValEdit[1]->hasFocus()); // Enter moves on

        // The tabs show the other bases; the heading follows the labour mode.
        QTest::mouseClick(w.TabControl1, Qt::LeftButton, {}, w.TabControl1->tabRect(0).center());
        QCOMPARE(w.StrColGrid1->Cells(2, 1), QString("1,234"));
        QCOMPARE(w.StrColGrid1->Cells(3, 0), QString("歩掛(共通)"));
        QTest::mouseClick(w.labourModes[1], Qt::LeftButton);
        QCOMPARE(w.StrColGrid1->Cells(3, 0), QString("取付費"));
    }

    void aPercentageTypedWithoutEnterIsSaved()
    {
        Started s;
        Tfselvan &w = *s.w;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        clickCheckBoxOf(w.CheckGroupBox1);
        w.StrColGrid1->setFocus();
        QVERIFY(w.StrColGrid1->SelectCell(2, 1));
        keypad("1234");
        key(Qt::Key_Enter, Qt::KeypadModifier);

        // 提出2 typed as 50, then 登　録 without Enter: the file holds 50 and LEVEL2 = 617.
        TNValEdit *p2 = w.NValEdit[1];
        p2->setFocus();
        QTest::keyClick(p2, Qt::Key_Delete);
        QTest::keyClicks(p2, "50");
        s.ui.expectNotice("名前のない資材 (ブロック 0)を登録しました。|確認");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        const EquipmentBlock disk = readEquipmentBlock(s.file(), 0);
        QCOMPARE(disk[EquipmentSettingsRow].values[materialSlot(Basis::Level2)].toString(), std::string("50"));
        QCOMPARE(disk[0].values[materialSlot(Basis::Level2)].toString(), std::string("617"));
        QCOMPARE(p2->text(), QString("50"));
        QVERIFY(!w.session().modified());
    }

    void theEditionChoosesTheGridMenuAndEscapeCloses()
    {
        Started piping("ex_selvan");
        QCOMPARE(menuTexts(piping.w->gridMenu),
                 QStringList({"サイズセット(13スタート)", "サイズセット(15スタート)", "-", "表示中のデータをすべてコピー",
                              "コピーしたすべてのデータを表示中のデータに貼り付け", "貼り付け（表計算から）",
                              "価格表の取り込み…", "価格改定…", "以前の版…", "-", "表示中の取付費をコピー",
                              "コピーした取付費を表示中の取付費に貼付", "-", "価格表の印刷…",
                              "価格表をCSVファイルとして出力…", "価格表をExcelファイルとして出力…", "-", "元に戻す",
                              "やり直し", "-", "終　了\tEsc"}));
        Started duct("net_dx_selvan");
        QCOMPARE(menuTexts(duct.w->gridMenu),
                 QStringList({"表示中の取付費をコピー", "コピーした取付費を表示中の取付費に貼付", "表示中の取付費で統一する",
                              "-", "表示中のデータをすべてコピー", "コピーしたすべてのデータを表示中のデータに貼り付け",
                              "貼り付け（表計算から）", "価格表の取り込み…", "価格改定…", "以前の版…", "-", "価格表の印刷…",
                              "価格表をCSVファイルとして出力…", "価格表をExcelファイルとして出力…", "-", "元に戻す",
                              "やり直し", "-", "終　了\tEsc"}));
        QCOMPARE(menuTexts(duct.w->otherMenu), QStringList({"終了\tEsc"}));

        // The duct menu's unify, from the menu itself.
        Tfselvan &w = *duct.w;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.session().labourModeClicked(1);
        w.StrColGrid1->setFocus();
        QVERIFY(w.StrColGrid1->SelectCell(3, 2));
        keypad("300");
        key(Qt::Key_Enter, Qt::KeypadModifier);
        w.gridMenu->actions()[2]->trigger();
        QCOMPARE(w.session().working()[1].values[installationSlot(Basis::Level5)].toString(), std::string("300"));

        // Esc closes the window; with edits the question comes first ("キャンセル": no save).
        duct.ui.answers.push_back(velmo::Answer::No);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(duct.ui.questions.size(), size_t(1));
        QCOMPARE(readEquipmentBlock(duct.file(), 0)[1].values[installationSlot(Basis::Level5)], Currency());
    }

    void theSelectionDialogChoosesAndMovesBlocks()
    {
        Started s;
        Tfselvan &w = *s.w;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        EquipmentBlock b = readEquipmentBlock(s.file(), 3);
        b[0].name.assignText("玉形弁");
        writeEquipmentBlock(s.file(), 3, b);

        TFSelect_Data_K &d = w.selectDialog();
        bool seen = false;
        QTimer::singleShot(0, [&] {
            seen = d.isVisible();
            QCOMPARE(d.windowTitle(), QString("Quorvane-QUORVANE-DX-"));
            QCOMPARE(d.ListBox1->count(), 20);
            QCOMPARE(d.ListBox1->item(3)->text(), QString("玉形弁"));
            QTest::mouseClick(d.Button1, Qt::LeftButton); // nothing selected: a beep
            QVERIFY(d.isVisible());
            d.ListBox1->item(3)->setSelected(true);
            QTest::mouseClick(d.Button1, Qt::LeftButton);
        });
        QTest::mouseClick(w.user_sel, Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(s.ui.beeps, 1);
        QCOMPARE(w.data_name->text(), QString("玉形弁"));
        QCOMPARE(w.StatusBar1[1]->text(), QString("3"));

        // 上へ移動 in the dialog, then キャンセル: block 3 is now block 2 and is edited there.
        QTimer::singleShot(0, [&] {
            d.ListBox1->item(3)->setSelected(true);
            d.PopupMenu1->actions()[0]->trigger();
            QCOMPARE(d.ListBox1->item(2)->text(), QString("玉形弁"));
            QVERIFY(d.ListBox1->selectedItems().isEmpty());
            QTest::mouseClick(d.Button3, Qt::LeftButton);
        });
        QTest::mouseClick(w.user_sel, Qt::LeftButton);
        QCOMPARE(w.StatusBar1[1]->text(), QString("2"));
        QCOMPARE(w.data_name->text(), QString("玉形弁"));
        QCOMPARE(readEquipmentBlock(s.file(), 2)[0].name.text(), std::string("玉形弁"));
    }

    // A click into a percentage field selects its text, so that typing replaces it; 1200 is
    // refused with the range (never stored as 0) and the field shows the stored value;
    // Shift+F10 opens the grid's menu.
    void aClickedPercentageIsReplacedOneOver1000RefusedAndShiftF10OpensTheGridMenu()
    {
        Started s;
        Tfselvan &w = *s.w;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        clickCheckBoxOf(w.CheckGroupBox1); // a new file's flag is off: the fields are disabled
        QStringList errors;
        VelmoApplication::errorSink = [&](const QString &, const QString &m) { errors << m; };
        TNValEdit *p1 = w.NValEdit[0];
        for (const char *typed : {"80", "90"}) {
            w.StrColGrid1->setFocus();
            QTest::mouseClick(p1, Qt::LeftButton);
            QVERIFY(p1->hasFocus());
            QCOMPARE(p1->selectedText(), p1->text());
            QTest::keyClicks(p1, typed);
            QTest::keyClick(p1, Qt::Key_Return);
        }
        QCOMPARE(w.session().percentage(1).toString(), std::string("90"));
        QVERIFY(errors.isEmpty());

        w.StrColGrid1->setFocus();
        QTest::mouseClick(p1, Qt::LeftButton);
        QTest::keyClicks(p1, "1200");
        QTest::keyClick(p1, Qt::Key_Return);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains("0 から 1000 までの数値"), qPrintable(errors[0]));
        QCOMPARE(w.session().percentage(1).toString(), std::string("90"));
        QCOMPARE(p1->text(), QString("90"));

        w.StrColGrid1->setFocus();
        QWidget *popup = nullptr;
        QTimer::singleShot(0, this, [&] {
            popup = QApplication::activePopupWidget();
            if (popup)
                popup->close();
        });
        QTest::keyClick(w.StrColGrid1, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(popup, static_cast<QWidget *>(w.gridMenu));
        VelmoApplication::errorSink = [](const QString &, const QString &m) { QFAIL(qPrintable("error box: " + m)); };
    }

    void theUnitBoxKeepsWhatIsTyped()
    {
        Started s;
        Tfselvan &w = *s.w;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.ci->lineEdit()->setFocus();
        w.ci->lineEdit()->selectAll();
        QTest::keyClicks(w.ci->lineEdit(), "kg");
        QVERIFY(w.session().modified());
        QCOMPARE(w.session().working()[0].unit.text(), std::string("kg"));
        QTest::mouseClick(w.TabControl1, Qt::LeftButton, {}, w.TabControl1->tabRect(2).center());
        QCOMPARE(w.ci->currentText(), QString("kg"));
        w.StrColGrid1->setFocus();
        QVERIFY(w.StrColGrid1->SelectCell(2, 3));
        keypad("5");
        key(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(w.ci->currentText(), QString("kg"));
        s.ui.expectNotice("名前のない資材 (ブロック 0)を登録しました。|確認");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(readEquipmentBlock(s.file(), 0)[9].unit.text(), std::string("kg"));
    }
};

QTEST_MAIN(TfselvanTest)
#include "tfselvan_qtest.moc"
