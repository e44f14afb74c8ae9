// The number edit's wiring to real key, focus and clipboard events.
#include "grid/ui/TNValEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

using velmo::TNValEdit;

class NValEditWindowTest : public QObject {
    Q_OBJECT

    struct Form {
        QWidget window;
        TNValEdit *first = new TNValEdit;
        TNValEdit *second = new TNValEdit;
        TNValEdit *third = new TNValEdit;
        Form()
        {
            auto *layout = new QVBoxLayout(&window);
            layout->addWidget(first);
            layout->addWidget(second);
            layout->addWidget(third);
            window.show();
            window.activateWindow();
        }
        bool focusOn(QWidget *w)
        {
            w->setFocus(Qt::OtherFocusReason);
            return QTest::qWaitFor([w] { return w->hasFocus(); });
        }
    };

private Q_SLOTS:
    void keypadDigitsAndPointReachTheEditGrouped()
    {
        Form f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QVERIFY(f.focusOn(f.second));
        QSignalSpy values(f.second, &TNValEdit::valueChanged);
        for (Qt::Key k : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6, Qt::Key_7})
            QTest::keyClick(f.second, k, Qt::KeypadModifier);
        QCOMPARE(f.second->text(), QStringLiteral("1,234,567"));
        QCOMPARE(static_cast<double>(f.second->value()), 1234567.0);
        QCOMPARE(values.count(), 7);
        QTest::keyClick(f.second, Qt::Key_Comma, Qt::KeypadModifier); // a keypad point on a layout that sends ","
        QTest::keyClick(f.second, Qt::Key_5, Qt::KeypadModifier);
        QCOMPARE(f.second->text(), QStringLiteral("1,234,567.5"));
        // Letters are swallowed; Left does not move the caret; Backspace drops the last digit.
        QTest::keyClicks(f.second, QStringLiteral("ab"));
        QTest::keyClick(f.second, Qt::Key_Left);
        QCOMPARE(f.second->cursorPosition(), f.second->text().size());
        QTest::keyClick(f.second, Qt::Key_Backspace);
        QCOMPARE(f.second->text(), QStringLiteral("1,234,567."));
        // Losing the focus drops the dangling point.
        QVERIFY(f.focusOn(f.first));
        QCOMPARE(f.second->text(), QStringLiteral("1,234,567"));
    }

    void negativeValueShowsInMinusColor()
    {
        TNValEdit e;
        const QColor normal = e.palette().color(QPalette::Active, QPalette::Text);
        e.setMinusColor(Qt::red);
        e.setValue(-1234);
        QCOMPARE(e.text(), QStringLiteral("-1,234"));
        QCOMPARE(e.palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));
        e.setValue(5);
        QCOMPARE(e.palette().color(QPalette::Active, QPalette::Text), normal);

        // A text colour set from outside becomes the normal colour; negatives stay red.
        QPalette p = e.palette();
        p.setColor(QPalette::Text, Qt::blue);
        e.setPalette(p);
        QCOMPARE(e.normalColor(), QColor(Qt::blue));
        e.setValue(-1);
        QCOMPARE(e.palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));
        e.setValue(1);
        QCOMPARE(e.palette().color(QPalette::Active, QPalette::Text), QColor(Qt::blue));
    }

    void enterEmitsAndMovesOnWithEnterNext()
    {
        Form f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QVERIFY(f.focusOn(f.first));
        f.second->setValue(7);
        QSignalSpy enters(f.first, &TNValEdit::enterPressed);
        QTest::keyClicks(f.first, QStringLiteral("12"));
        QTest::keyClick(f.first, Qt::Key_Return);
        QCOMPARE(enters.count(), 1);
        QVERIFY(f.first->hasFocus()); // EnterNext off: the focus stays

        f.first->setEnterNext(true);
        QTest::keyClick(f.first, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(enters.count(), 2);
        QVERIFY(QTest::qWaitFor([&] { return f.second->hasFocus(); }));
        QCOMPARE(f.first->value(), 12.0L);
        // Arriving by the focus chain selects the text, so typing starts over.
        QCOMPARE(f.second->selectedText(), QStringLiteral("7"));

        // Up and Down move only with ArrowNext.
        QTest::keyClick(f.second, Qt::Key_Down);
        QVERIFY(f.second->hasFocus());
        f.second->setArrowNext(true);
        QTest::keyClick(f.second, Qt::Key_Down);
        QVERIFY(QTest::qWaitFor([&] { return f.third->hasFocus(); }));
        f.third->setArrowNext(true);
        QTest::keyClick(f.third, Qt::Key_Up);
        QVERIFY(QTest::qWaitFor([&] { return f.second->hasFocus(); }));
    }

    void clipboardEscapeAndOutsideText()
    {
        Form f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QVERIFY(f.focusOn(f.second));
        f.first->setValue(300);
        QVERIFY(f.focusOn(f.first)); // the value on gaining the focus is what Escape returns to
        QGuiApplication::clipboard()->setText(QStringLiteral("1,234.5"));
        QTest::keyClick(f.first, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.first->text(), QStringLiteral("1,234.5"));
        QGuiApplication::clipboard()->setText(QStringLiteral("1234,5"));
        f.first->paste();
        QCOMPARE(f.first->value(), 0.0L);
        // Escape returns to the value the field had when it got the focus.
        QTest::keyClick(f.first, Qt::Key_Escape);
        QCOMPARE(f.first->text(), QStringLiteral("300"));
        // Cut copies the selection and empties the field.
        QTest::keyClick(f.first, Qt::Key_Home);
        QVERIFY(f.first->hasSelectedText());
        QTest::keyClick(f.first, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("300"));
        QCOMPARE(f.first->text(), QString());
        // Read-only: typing and pasting change nothing.
        f.first->setValue(8);
        f.first->setReadOnly(true);
        QTest::keyClicks(f.first, QStringLiteral("9"));
        QTest::keyClick(f.first, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.first->text(), QStringLiteral("8"));
        f.first->setReadOnly(false);

        // Text put in from outside, even through QLineEdit itself, is read as a number.
        f.second->setText(QStringLiteral("１，０００"));
        QCOMPARE(f.second->value(), 1000.0L);
        static_cast<QLineEdit *>(f.second)->setText(QStringLiteral("12,34"));
        QCOMPARE(f.second->text(), QString());
        static_cast<QLineEdit *>(f.second)->setText(QStringLiteral("2,500"));
        QCOMPARE(f.second->value(), 2500.0L);
        QCOMPARE(f.second->text(), QStringLiteral("2,500"));
    }

    void aClickIntoTheFieldSelectsItsValueAndDialogKeepsEscape()
    {
        Form f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.second->setValue(80);
        QTest::mouseClick(f.second, Qt::LeftButton, {}, QPoint(f.second->width() - 30, f.second->height() / 2));
        QVERIFY(QTest::qWaitFor([&] { return f.second->hasFocus(); }));
        QVERIFY(f.second->hasSelectedText()); // the click that brought the focus selects all
        QTest::keyClick(f.second, Qt::Key_9);
        QTest::keyClick(f.second, Qt::Key_0);
        QCOMPARE(f.second->text(), QStringLiteral("90")); // not 8090
        // A second click in the focused field places the caret at the end: digits go on.
        QTest::mouseClick(f.second, Qt::LeftButton, {}, QPoint(f.second->width() - 30, f.second->height() / 2));
        QVERIFY(!f.second->hasSelectedText());
        QTest::keyClick(f.second, Qt::Key_7);
        QCOMPARE(f.second->text(), QStringLiteral("907"));

        // In a dialog with a cancel button, Escape without EnterNext is that button's.
        {
            QDialog dialog;
            auto *edit = new TNValEdit(&dialog);
            auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
            QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
            new QVBoxLayout(&dialog);
            dialog.layout()->addWidget(edit);
            dialog.layout()->addWidget(buttons);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            edit->setFocus();
            QVERIFY(QTest::qWaitFor([&] { return edit->hasFocus(); }));
            QSignalSpy rejected(&dialog, &QDialog::rejected);
            QTest::keyClick(edit, Qt::Key_Escape);
            QCOMPARE(rejected.count(), 1);
        }
        // Without one the dialog stays open and the field returns to its saved value.
        {
            QDialog dialog;
            auto *edit = new TNValEdit(&dialog);
            new QVBoxLayout(&dialog);
            dialog.layout()->addWidget(edit);
            edit->setValue(250);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            edit->setFocus();
            QVERIFY(QTest::qWaitFor([&] { return edit->hasFocus(); }));
            QTest::keyClick(edit, Qt::Key_7, Qt::KeypadModifier);
            QCOMPARE(edit->text(), QStringLiteral("7"));
            QSignalSpy rejected(&dialog, &QDialog::rejected);
            QTest::keyClick(edit, Qt::Key_Escape);
            QCOMPARE(rejected.count(), 0);
            QVERIFY(dialog.isVisible());
            QCOMPARE(edit->text(), QStringLiteral("250"));
        }
    }
};

QTEST_MAIN(NValEditWindowTest)
#include "nvaledit_qtest.moc"
