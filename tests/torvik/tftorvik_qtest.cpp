// The pipe registration window driven with real key and mouse events, offscreen, on a seeded
// price file: keypad entry in the grid, Enter in a rate field, the selection dialog.
#include "tests/torvik/torvik_fixture.h" // before any Qt header
#include "tests/common/system_clipboard_ui.h"

#include "torvik/ui/TFSelect_Data.h"
#include "desktop/ChangedOutsideBar.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"
#include "torvik/ui/Tftorvik.h"
#include "desktop/VelmoApplication.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
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

    // Shows the window and waits until it is active, so that keys and clicks reach it.
    static bool showActive(Tftorvik &w)
    {
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            return false;
        w.activateWindow();
        return QTest::qWaitForWindowActive(&w);
    }

private Q_SLOTS:
    void init()
    {
        fs::create_directories(dir.path / "ex_data");
        velmo::test::seedPipeFile(data());
        errors.clear();
        VelmoApplication::errorSink = [this](const QString &, const QString &m) { errors << m; };
    }
    void cleanup()
    {
        VelmoApplication::errorSink = nullptr;
        ui.checkNotices(); // every notice a test function brought up must have been read by it
    }

    void keypadPricesRateFieldsAndTabs()
    {
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &ui);
        QVERIFY(showActive(w));
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
        Q_EMIT w.CheckGroupBox1->clicked(false);
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

    // Another program writes the block while the window is in the background: activated
    // again, the window shows the bar over unsaved edits (閉じる hides it), and without edits
    // reads the block and says so in the status bar.
    void activatedAgainTheWindowShowsTheBarOrTheBlockReadAgain()
    {
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &ui);
        QVERIFY(showActive(w));
        QVERIFY(w.changedBar->isHidden());
        QWidget other;
        auto toBackAndFront = [&] {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QTest::qWait(50); // the session is asked from the event loop
        };
        auto theirPrice = [this](const char *price) {
            PipeBlock b = readPipeBlock(data(), 0);
            b[0].A(6) = Cur(price);
            writePipeBlock(data(), 0, b);
        };

        clickCell(w.StrColGrid1, 1, 1);
        QTest::keyClicks(QApplication::focusWidget(), "2360");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        const QSize size = w.size();
        theirPrice("1234");
        toBackAndFront();
        QVERIFY(!w.changedBar->isHidden());
        QCOMPARE(w.size(), size); // the bar takes room from the window, it never resizes it
        QVERIFY(w.changedBar->label->text().endsWith(QString("はほかのプログラムで変更されました。")));
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("2,360"));
        QTest::mouseClick(w.changedBar->closeButton, Qt::LeftButton);
        QVERIFY(w.changedBar->isHidden());
        QCOMPARE(w.size(), size);
        toBackAndFront();
        QVERIFY(w.changedBar->isHidden()); // not again for the same change

        // 読み込み直す, 実行: the other program's price.
        theirPrice("1235");
        toBackAndFront();
        QVERIFY(!w.changedBar->isHidden());
        ui.answers = {Answer::Yes};
        QTest::mouseClick(w.changedBar->reloadButton, Qt::LeftButton);
        QVERIFY(w.changedBar->isHidden());
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("1,235"));
        QVERIFY(!w.session().modified());

        // Without edits the block is read at once.
        theirPrice("1236");
        toBackAndFront();
        QVERIFY(w.changedBar->isHidden());
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("1,236"));
        // The line is said in a panel of its own; the run-state panels stay in view.
        const auto *reloadPanel = w.statusBar()->findChild<QLabel *>("reloadStatus");
        QVERIFY(reloadPanel && reloadPanel->text().contains("読み込み直しました"));
        QVERIFY(w.statusBar()->currentMessage().isEmpty());
        QVERIFY(errors.isEmpty());
        QCOMPARE(readPipeBlock(data(), 0)[0].A(6), Cur("1236"));
        w.close();
    }

    // Cells a spreadsheet put on the system clipboard, pasted with Ctrl+V, copied back with
    // Ctrl+C, taken back with Ctrl+Z and again with Ctrl+Y, then saved.
    void spreadsheetCellsThroughTheClipboardUndoRedoAndSave()
    {
        velmo::test::SystemClipboardUi sys;
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &sys);
        QVERIFY(showActive(w));
        TorvikSession &s = w.session();
        QApplication::clipboard()->setText("1,234\t0.5\r\n１，３００\t\r\n");
        clickCell(w.StrColGrid1, 1, 1);
        QTest::keyClick(w.StrColGrid1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(QString::fromStdString(sys.notices.back()), QString("3 件を貼り付けました。|確認"));
        QCOMPARE(w.StrColGrid1->Cells(1, 2), QString("1,300"));
        QCOMPARE(s.working()[0].B(5), Cur("0.5"));

        QVERIFY(w.StrColGrid1->SelectRange(1, 1, 2, 2));
        QTest::keyClick(w.StrColGrid1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), "1234\t0.5\n1300\t" + w.StrColGrid1->Cells(2, 2) + "\n");
        // Beside the text, the same cells as a table whose figures a spreadsheet takes as numbers.
        QVERIFY(QApplication::clipboard()->mimeData()->hasHtml());
        QVERIFY(QApplication::clipboard()->mimeData()->html().contains("<td x:num=\"1234\">1234</td>"));

        QTest::keyClick(w.StrColGrid1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s.working()[0].A(6), Cur("1000"));
        QCOMPARE(w.StrColGrid1->Cells(1, 2), QString("1,010"));
        QTest::keyClick(w.StrColGrid1, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("1,234"));
        // Ctrl+Shift+Z redoes as Ctrl+Y does.
        QTest::keyClick(w.StrColGrid1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("1,000"));
        QTest::keyClick(w.StrColGrid1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("1,234"));

        // A table alone on the clipboard, as a web page or a program without text puts it there;
        // then a clipboard with nothing usable, which is said.
        auto *htmlOnly = new QMimeData;
        htmlOnly->setHtml("<table><tr><td>1,240</td></tr></table>");
        QApplication::clipboard()->setMimeData(htmlOnly);
        clickCell(w.StrColGrid1, 1, 1);
        QTest::keyClick(w.StrColGrid1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(QString::fromStdString(sys.notices.back()), QString("1 件を貼り付けました。|確認"));
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("1,240"));
        QApplication::clipboard()->clear();
        QTest::keyClick(w.StrColGrid1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(QString::fromStdString(sys.notices.back()), QString::fromUtf8(velmo::sharedtext::NothingToPasteText) + "|確認");

        sys.expectNotice("管0を登録しました。|確認");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        const PipeBlock disk = readPipeBlock(data(), 0);
        QCOMPARE(disk[0].A(6), Cur("1240"));
        QCOMPARE(disk[1].A(6), Cur("1300"));
        QCOMPARE(disk[0].B(5), Cur("0.5"));
        QVERIFY(errors.isEmpty());
        w.hide();
    }

    void aPriceTypedAndLeftByAClickOnTheRegisterButtonIsWhatTheFileHolds()
    {
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &ui);
        QVERIFY(showActive(w));
        // Typed without Enter, then the mouse goes to 登　録: the cell and the file say 55.
        clickCell(w.StrColGrid1, 1, 3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_5, Qt::KeypadModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_5, Qt::KeypadModifier);
        QVERIFY(w.StrColGrid1->EditorMode());
        ui.expectNotice("管0を登録しました。|確認");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(w.StrColGrid1->Cells(1, 3), QString("55"));
        QCOMPARE(readPipeBlock(data(), 0)[2].A(6), Cur("55"));
        QVERIFY(errors.isEmpty());
        w.hide();
    }

    void mainKeyboardPricesAndABadNumber()
    {
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &ui);
        QVERIFY(showActive(w));
        TorvikSession &s = w.session();

        // "2360" on the top row of the keyboard, Return, 登　録: the file holds 2360.
        clickCell(w.StrColGrid1, 1, 1);
        QTest::keyClicks(QApplication::focusWidget(), "2360");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(ui.beeps, 0);
        QCOMPARE(w.StrColGrid1->Cells(1, 1), QString("2,360"));
        ui.expectNotice("管0を登録しました。|確認");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(readPipeBlock(data(), 0)[0].A(6), Cur("2360"));

        // The grouping comma is part of a typed price: "1,500" is 1500.
        clickCell(w.StrColGrid1, 1, 4);
        QTest::keyClicks(QApplication::focusWidget(), "1,500");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(ui.beeps, 0);
        QCOMPARE(w.StrColGrid1->Cells(1, 4), QString("1,500"));
        QCOMPARE(s.working()[3].A(6), Cur("1500"));
        ui.expectNotice("管0を登録しました。|確認");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(readPipeBlock(data(), 0)[3].A(6), Cur("1500"));

        // A bad number: one box, the stored price again; Return brings no second box.
        clickCell(w.StrColGrid1, 1, 2);
        const QString stored = w.StrColGrid1->Cells(1, 2);
        QTest::keyClicks(QApplication::focusWidget(), "0..5");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("'0..5'"));
        QCOMPARE(ui.beeps, 0);
        // The editor keeps the text; Esc gives it up without closing the window.
        QVERIFY(w.StrColGrid1->EditorMode());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(w.isVisible());
        QVERIFY(!w.StrColGrid1->EditorMode());
        QCOMPARE(w.StrColGrid1->Cells(1, 2), stored);
        QVERIFY(!s.modified());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(w.StrColGrid1->Cells(1, 2), stored);

        // Esc then closes the window without another box.
        ui.answers = {Answer::No};
        QTest::keyClick(w.StrColGrid1, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(errors.size(), 1);
    }

    void aPercentageTypedWithoutEnterIsSavedAndEscapeRestoresIt()
    {
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &ui);
        QVERIFY(showActive(w));
        TorvikSession &s = w.session();

        // Escape over a typed percentage gives the stored one back and keeps the window open.
        TNValEdit *rate1 = w.NValEdit[0];
        rate1->setFocus();
        QTest::keyClick(rate1, Qt::Key_Delete);
        QTest::keyClicks(rate1, "5");
        QTest::keyClick(rate1, Qt::Key_Escape);
        QVERIFY(w.isVisible());
        QCOMPARE(rate1->text(), QString("90"));
        QVERIFY(!s.modified());

        // 提出2 typed as 66 on the main keyboard, then 登　録 without Enter: the file holds 66
        // and the LEVEL2 prices derived from it (1000 × 66 % + 0.5, cut, to tens).
        TNValEdit *rate2 = w.NValEdit[1];
        rate2->setFocus();
        QTest::keyClick(rate2, Qt::Key_Delete);
        QTest::keyClicks(rate2, "66");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(QString::fromStdString(ui.notices.back()), QString("管0を登録しました。|確認"));
        const PipeBlock disk = readPipeBlock(data(), 0);
        QCOMPARE(disk[SettingsRecord].A(2), Cur("66"));
        QCOMPARE(disk[0].A(2), Cur("660"));
        QCOMPARE(rate2->text(), QString("66"));
        QVERIFY(!s.modified());
        QVERIFY(errors.isEmpty());
    }

    // A click into a rate field selects its text, so that typing replaces it (80 and 90 gave
    // 8090); 8090 and −5 are refused with the range, and the field shows the stored value.
    void aClickedRateIsReplacedAndOneOutOfRangeIsRefused()
    {
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &ui);
        QVERIFY(showActive(w));
        TorvikSession &s = w.session();
        TNValEdit *rate2 = w.NValEdit[1];
        QCOMPARE(rate2->text(), QString("80"));
        QTest::mouseClick(rate2, Qt::LeftButton);
        QVERIFY(rate2->hasFocus());
        QCOMPARE(rate2->selectedText(), QString("80"));
        QTest::keyClicks(rate2, "90");
        QTest::keyClick(rate2, Qt::Key_Return);
        QVERIFY(errors.isEmpty());
        QCOMPARE(s.rateField(2), Cur("90"));

        // Tabbed into, the field is selected all the same.
        w.NValEdit[0]->setFocus();
        QTest::keyClick(w.NValEdit[0], Qt::Key_Tab);
        QVERIFY(rate2->hasFocus());
        QCOMPARE(rate2->selectedText(), QString("90"));
        s.registerBlock();
        QCOMPARE(QString::fromStdString(ui.notices.back()), QString("管0を登録しました。|確認"));

        for (const char *typed : {"8090", "-5"}) {
            errors.clear();
            w.StrColGrid1->setFocus();
            QTest::mouseClick(rate2, Qt::LeftButton);
            QTest::keyClicks(rate2, typed);
            QTest::keyClick(rate2, Qt::Key_Return);
            QCOMPARE(errors.size(), 1);
            QVERIFY2(errors[0].contains("0 から 999.99 までの数値"), qPrintable(errors[0]));
            QCOMPARE(s.rateField(2), Cur("90"));
            QCOMPARE(rate2->text(), QString("90"));
            QVERIFY(!s.modified());
        }
        errors.clear();
        QCOMPARE(readPipeBlock(data(), 0)[SettingsRecord].A(2), Cur("90"));
    }

    // Shift+F10 opens the grid's menu; the two memo boxes are in the Tab order and open their
    // input box on Enter.
    void shiftF10OpensTheGridMenuAndTheMemoBoxesTakeTheKeyboard()
    {
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &ui);
        QVERIFY(showActive(w));
        w.StrColGrid1->setFocus();
        QWidget *popup = nullptr;
        QTimer::singleShot(0, this, [&] {
            popup = QApplication::activePopupWidget();
            if (popup)
                popup->close();
        });
        QTest::keyClick(w.StrColGrid1, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(popup, static_cast<QWidget *>(w.PopupMenu1));
        QApplication::setActiveWindow(&w); // the offscreen platform does not hand it back

        QVERIFY(w.StaticText1->focusPolicy() & Qt::TabFocus);
        w.StaticText1->setFocus();
        QVERIFY(w.StaticText1->hasFocus());
        QTest::keyClick(w.StaticText1, Qt::Key_Tab);
        QVERIFY(w.StaticText2->hasFocus());
        QTest::keyClick(w.StaticText2, Qt::Key_Backtab);
        QVERIFY(w.StaticText1->hasFocus());
        const QString memoBefore = w.StaticText1->text();
        ui.texts = {std::string("新しい建物メモ")};
        QTest::keyClick(w.StaticText1, Qt::Key_Return);
        QCOMPARE(w.StaticText1->text(), QString("新しい建物メモ"));
        QVERIFY(w.session().modified());

        // Ctrl+Z undoes the memo and Ctrl+Shift+Z redoes it, as Ctrl+Y does.
        w.StrColGrid1->setFocus();
        QTest::keyClick(w.StrColGrid1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.StaticText1->text(), memoBefore);
        QTest::keyClick(w.StrColGrid1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.StaticText1->text(), QString("新しい建物メモ"));
        QVERIFY(errors.isEmpty());
    }

    void theChosenUnitIsKeptAndSaved()
    {
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &ui);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const int hon = w.ci->findText("本");
        QVERIFY(hon > 0);
        w.ci->setCurrentIndex(hon);
        Q_EMIT w.ci->activated(hon);
        QTest::mouseClick(w.TabControl1, Qt::LeftButton, {}, w.TabControl1->tabRect(3).center());
        QCOMPARE(w.ci->currentText(), QString("本"));
        ui.expectNotice("管0を登録しました。|確認");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        const PipeBlock disk = readPipeBlock(data(), 0);
        QCOMPARE(disk[0].unit.text(), std::string("本"));
        QCOMPARE(disk[SettingsRecord].unit.text(), std::string("本"));
        QVERIFY(errors.isEmpty());

        // "戻る" at the close question keeps the window and its edits; "キャンセル" closes.
        w.ci->setCurrentIndex(w.ci->findText("kg"));
        Q_EMIT w.ci->activated(w.ci->currentIndex());
        w.session().unitBoxClicked();
        ui.answers = {Answer::Back};
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QVERIFY(w.session().modified());
        QCOMPARE(QString::fromStdString(ui.questions.back()), QString("管0の変更を保存しますか？|実行|キャンセル|戻る"));
        ui.answers = {Answer::No};
        QVERIFY(w.close());
        QCOMPARE(readPipeBlock(data(), 0)[0].unit.text(), std::string("本"));
    }

    void anUnnamedBlockIsShownBeforeItsNameIsAsked()
    {
        {
            ServiceFile file;
            file.load(data());
            file.pipeBlock(4)[0].name.assignText("");
            file.save(data());
        }
        // The person at the window: sees what the window shows when the first name box opens.
        struct Watching : velmo::test::FakeUi {
            std::function<void()> onAsk;
            std::optional<std::string> askText(const std::string &c, const std::string &p, const std::string &i,
                                               size_t bytes) override
            {
                if (onAsk)
                    onAsk();
                onAsk = nullptr;
                return FakeUi::askText(c, p, i, bytes);
            }
        } watching;
        Tftorvik w(QString::fromStdString(dir.path.string()), "", &watching);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.data_name->text(), QString("管0"));
        QString nameSeen = "?", memoSeen = "?", blockSeen;
        watching.onAsk = [&] {
            nameSeen = w.data_name->text();
            memoSeen = w.StaticText1->text();
            blockSeen = w.StatusBar1[1]->text();
        };
        QTimer::singleShot(0, this, [&] {
            TFSelect_Data &d = w.selectDialog();
            d.ListBox1->setCurrentRow(4);
            QTest::mouseClick(d.Button1, Qt::LeftButton);
        });
        QTest::mouseClick(w.user_sel, Qt::LeftButton);
        QCOMPARE(nameSeen, QString(""));
        QCOMPARE(memoSeen, QString::fromStdString(w.session().working()[3].name.text()));
        QCOMPARE(blockSeen, QString("4"));
        QCOMPARE(QString::fromStdString(watching.prompts.front()), QString("QUORVANE-DX|資材名称編集|"));
        QVERIFY(errors.isEmpty());
        watching.answers = {Answer::No};
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
