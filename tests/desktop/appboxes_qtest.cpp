// The error box of the application, the question and notice boxes, and the Japanese font
// substitutes, driven offscreen.
#include "desktop/Fonts.h"
#include "desktop/MessageBoxes.h"
#include "desktop/TextLimit.h"
#include "desktop/VelmoApplication.h"
#include "base/errors.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <stdexcept>

using namespace velmo;

namespace {

// Runs `action` on the first modal box that opens (polling the event loop of that box).
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget *)> action) : action_(std::move(action))
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                timer_.stop();
                seen_ = true;
                action_(modal);
                // A failed check inside the action must not leave the box blocking the test.
                QTimer::singleShot(2000, modal, [modal] { modal->close(); });
            }
        });
        timer_.start();
    }
    bool seen() const { return seen_; }

private:
    std::function<void(QWidget *)> action_;
    QTimer timer_;
    bool seen_ = false;
};

QPushButton *buttonCaptioned(QWidget *box, const QString &caption)
{
    for (QPushButton *b : box->findChildren<QPushButton *>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

} // namespace

class AppBoxesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void exceptionFromClickedHandlerShowsErrorBoxAndWindowGoesOn();
    void aLineEditHeldToItsFieldRefusesAKeyBeyondAndCutsAPaste();
    void exceptionReachingTheEventLoopIsShown();
    void connectCommandEndsOnlyThatCommand();
    void everyKindOfFailureGivesItsMessage();
    void paintFailuresArePostedOnce();
    void errorBoxIsACriticalBoxCaptionedWithTheTitle();

    void boxesWorkWithoutTheirIconAndSayItOnce();
    void confirmBoxResults();
    void noticeBoxIgnoresEscape();

    void japaneseFontsAreSubstituted();

private:
    QStringList boxes_;
    QTemporaryDir iconDir_;
};

void AppBoxesTest::init()
{
    boxes_.clear();
    VelmoApplication::errorSink = [this](const QString &caption, const QString &message) {
        boxes_ << caption + "|" + message;
    };
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(QColor(0, 128, 255));
    QVERIFY(icon.save(iconDir_.filePath("dialog.ico"), "ICO"));
    setDialogIconFolder(iconDir_.path());
}

void AppBoxesTest::cleanup()
{
    VelmoApplication::errorSink = nullptr;
    setDialogIconFolder(QString());
}

void AppBoxesTest::exceptionFromClickedHandlerShowsErrorBoxAndWindowGoesOn()
{
    QWidget window;
    window.resize(300, 100);
    auto *failing = new QPushButton("保  存", &window);
    failing->setGeometry(10, 10, 100, 30);
    auto *other = new QPushButton("確認", &window);
    other->setGeometry(150, 10, 100, 30);
    int failingClicks = 0, otherClicks = 0;
    ConnectCommand(failing, &QPushButton::clicked, &window, [&](bool) {
        ++failingClicks;
        throw IoError("ファイル /x/kanzai1.fda に書き込めません");
    });
    connect(other, &QPushButton::clicked, [&] { ++otherClicks; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Through the window system, as a real click arrives.
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, failing->geometry().center());
    QCOMPARE(failingClicks, 1);
    QCOMPARE(boxes_, QStringList{"appboxes_qtest|ファイル /x/kanzai1.fda に書き込めません"});
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, failing->geometry().center());
    QCOMPARE(failingClicks, 2);
    QCOMPARE(boxes_.size(), 2);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, other->geometry().center());
    QCOMPARE(otherClicks, 1);
    QVERIFY(!failing->isDown());
}

void AppBoxesTest::exceptionReachingTheEventLoopIsShown()
{
    // A handler connected without ConnectCommand: notify() is the last net.
    QObject context;
    QTimer::singleShot(0, &context, [] { throw RangeError("タイマー"); });
    QTest::qWait(20);
    QCOMPARE(boxes_, QStringList{"appboxes_qtest|タイマー"});
    QTimer::singleShot(0, &context, [] { throw 7; });
    QTest::qWait(20);
    QCOMPARE(boxes_.last(), QString("appboxes_qtest|不明なエラーが発生しました。"));
}

void AppBoxesTest::connectCommandEndsOnlyThatCommand()
{
    QPushButton button("実行");
    QStringList done;
    ConnectCommand(&button, &QPushButton::clicked, &button, [&](bool) {
        done << "before";
        throw ConversionError("'1,2x' は数値ではありません");
        done << "after";
    });
    connect(&button, &QPushButton::clicked, [&] { done << "next handler"; });
    button.click();
    QCOMPARE(done, (QStringList{"before", "next handler"}));
    QCOMPARE(boxes_, QStringList{"appboxes_qtest|'1,2x' は数値ではありません"});
}

void AppBoxesTest::everyKindOfFailureGivesItsMessage()
{
    runCommand([] { throw IoError("入出力"); });
    runCommand([] { throw ConversionError("変換"); });
    runCommand([] { throw RangeError("範囲"); });
    runCommand([] { throw std::runtime_error("other"); });
    runCommand([] { throw 42; });
    runCommand([] {}); // a command that succeeds shows nothing
    QCOMPARE(boxes_, (QStringList{"appboxes_qtest|入出力", "appboxes_qtest|変換", "appboxes_qtest|範囲",
                                   "appboxes_qtest|other", "appboxes_qtest|不明なエラーが発生しました。"}));
}

void AppBoxesTest::paintFailuresArePostedOnce()
{
    PostErrorBox("描画");
    PostErrorBox("描画");
    QVERIFY(boxes_.isEmpty()); // only once back in the event loop
    QCoreApplication::processEvents();
    QCOMPARE(boxes_, QStringList{"appboxes_qtest|描画"});
}

void AppBoxesTest::errorBoxIsACriticalBoxCaptionedWithTheTitle()
{
    VelmoApplication::errorSink = nullptr;
    QApplication::setApplicationDisplayName("Velmaro");
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    ModalDriver driver([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->accept();
    });
    showErrorBox("ファイル a.fda を開けません");
    QApplication::setApplicationDisplayName(QString());
    QVERIFY(driver.seen());
    QCOMPARE(title, QString("Velmaro"));
    QCOMPARE(text, QString("ファイル a.fda を開けません"));
    QCOMPARE(icon, QMessageBox::Critical);
}

void AppBoxesTest::boxesWorkWithoutTheirIconAndSayItOnce()
{
    QCOMPARE(dialogIconPath(), iconDir_.filePath("dialog.ico"));
    setDialogIconFolder(QString());
    QCOMPARE(dialogIconPath(), QCoreApplication::applicationDirPath() + "/dialog.ico");

    // Without the icon the question still opens, so the user can always answer it.
    QTemporaryDir empty;
    setDialogIconFolder(empty.path());
    const QString path = empty.filePath("dialog.ico");
    bool plain = false;
    Answer answer = Answer::Closed;
    {
        ModalDriver driver([&](QWidget *box) {
            plain = static_cast<QMessageBox *>(box)->iconPixmap().isNull();
            QTest::mouseClick(buttonCaptioned(box, "キャンセル"), Qt::LeftButton);
        });
        answer = ConfirmBox("現在の編集内容を保存しますか？", "実行", "キャンセル");
        QVERIFY(driver.seen());
    }
    QCOMPARE(answer, Answer::No);
    QVERIFY(plain);
    QCOMPARE(boxes_.size(), 1);
    QVERIFY2(boxes_[0].contains(path), qPrintable(boxes_[0]));
    {
        ModalDriver driver([](QWidget *box) { QTest::mouseClick(buttonCaptioned(box, "確認"), Qt::LeftButton); });
        QCOMPARE(NoticeBox("管材が選択されていません", "確認"), Answer::Yes);
    }
    QCOMPARE(boxes_.size(), 1); // said once

    // A file that is not an image is said once too, naming the file.
    QTemporaryDir other;
    setDialogIconFolder(other.path());
    QFile bad(other.filePath("dialog.ico"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not an icon");
    bad.close();
    {
        ModalDriver driver([](QWidget *box) { QTest::mouseClick(buttonCaptioned(box, "確認"), Qt::LeftButton); });
        QCOMPARE(NoticeBox("管材が選択されていません", "確認"), Answer::Yes);
    }
    QCOMPARE(boxes_.size(), 2);
    QVERIFY2(boxes_[1].contains(other.filePath("dialog.ico")), qPrintable(boxes_[1]));
}

void AppBoxesTest::confirmBoxResults()
{
    QApplication::setApplicationDisplayName("QUORVANE-DX");
    auto run = [](std::function<void(QWidget *)> action) {
        ModalDriver driver(std::move(action));
        return ConfirmBox("の変更を保存しますか？", "実行", "キャンセル");
    };
    QCOMPARE(run([](QWidget *box) {
                 QCOMPARE(box->windowTitle(), QString("QUORVANE-DX"));
                 QVERIFY(!static_cast<QMessageBox *>(box)->iconPixmap().isNull());
                 QPushButton *yes = buttonCaptioned(box, "実行");
                 QPushButton *no = buttonCaptioned(box, "キャンセル");
                 QVERIFY(yes && no);
                 QCOMPARE(yes->cursor().shape(), Qt::PointingHandCursor);
                 QCOMPARE(no->cursor().shape(), Qt::PointingHandCursor);
                 QTest::mouseClick(yes, Qt::LeftButton);
             }),
             Answer::Yes);
    QCOMPARE(run([](QWidget *box) { QTest::mouseClick(buttonCaptioned(box, "キャンセル"), Qt::LeftButton); }), Answer::No);
    QCOMPARE(run([](QWidget *box) { QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape); }),
             Answer::No);
    QCOMPARE(run([](QWidget *box) { box->close(); }), Answer::Closed);
    QApplication::setApplicationDisplayName(QString());
    QCOMPARE(static_cast<int>(Answer::Yes), 6);
    QCOMPARE(static_cast<int>(Answer::No), 7);
    QCOMPARE(static_cast<int>(Answer::Closed), 2);

    // With a way back: its button, Escape and the frame all answer Back; the others keep
    // their meaning.
    auto runBack = [](std::function<void(QWidget *)> action) {
        ModalDriver driver(std::move(action));
        return confirmOrBackBox("の変更を保存しますか？", "実行", "キャンセル", "戻る");
    };
    QCOMPARE(runBack([](QWidget *box) {
                 QCOMPARE(box->findChildren<QPushButton *>().size(), 3);
                 QTest::mouseClick(buttonCaptioned(box, "戻る"), Qt::LeftButton);
             }),
             Answer::Back);
    QCOMPARE(runBack([](QWidget *box) { QTest::mouseClick(buttonCaptioned(box, "実行"), Qt::LeftButton); }), Answer::Yes);
    QCOMPARE(runBack([](QWidget *box) { QTest::mouseClick(buttonCaptioned(box, "キャンセル"), Qt::LeftButton); }),
             Answer::No);
    QCOMPARE(runBack([](QWidget *box) { QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape); }),
             Answer::Back);
    QCOMPARE(runBack([](QWidget *box) { box->close(); }), Answer::Back);

    // Enter presses the default button: the first unless the question names another (a
    // question whose first button overwrites or discards names キャンセル).
    auto enter = [](QWidget *box) { QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return); };
    QCOMPARE(run(enter), Answer::Yes);
    {
        ModalDriver driver(enter);
        QCOMPARE(ConfirmBox("上書きしますか？", "実行", "キャンセル", Answer::No), Answer::No);
    }
    {
        ModalDriver driver(enter);
        QCOMPARE(confirmOrBackBox("上書きしますか？", "実行", "キャンセル", "読み込み直す", Answer::No), Answer::No);
    }
    {
        ModalDriver driver(enter);
        QCOMPARE(confirmOrBackBox("保存しますか？", "実行", "キャンセル", "戻る", Answer::Back), Answer::Back);
    }
}

void AppBoxesTest::noticeBoxIgnoresEscape()
{
    bool visibleAfterEscape = false;
    ModalDriver driver([&](QWidget *box) {
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
        QCoreApplication::processEvents();
        visibleAfterEscape = box->isVisible();
        QPushButton *ok = buttonCaptioned(box, "確認");
        QVERIFY(ok);
        QCOMPARE(box->findChildren<QPushButton *>().size(), 1);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QCOMPARE(NoticeBox("管材が選択されていません", "確認"), Answer::Yes);
    QVERIFY(visibleAfterEscape);
    ModalDriver frame([](QWidget *box) { box->close(); });
    QCOMPARE(NoticeBox("管材が選択されていません", "確認"), Answer::Closed);
}

void AppBoxesTest::japaneseFontsAreSubstituted()
{
    installJapaneseFontSubstitutes();
    installJapaneseFontSubstitutes(); // twice changes nothing
    QCOMPARE(QFont::substitutes("ＭＳ ゴシック").size(), 2);
    const QFont gothic("ＭＳ ゴシック");
    QCOMPARE(QFontInfo(gothic).family(), QString("Noto Sans Mono CJK JP"));
    QCOMPARE(QFontInfo(QFont("ＭＳ Ｐゴシック")).family(), QString("Noto Sans CJK JP"));
    QCOMPARE(QFontInfo(QFont("MS Gothic")).family(), QString("Noto Sans Mono CJK JP"));
    const QFontMetrics fm(gothic);
    for (const char32_t c : {U'原', U'価', U'定', U'継', U'手', U'類', U'ｾ', U'ﾙ'})
        QVERIFY(fm.inFontUcs4(c));
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VelmoApplication app(argc, argv);
    AppBoxesTest test;
    return QTest::qExec(&test, argc, argv);
}

void AppBoxesTest::aLineEditHeldToItsFieldRefusesAKeyBeyondAndCutsAPaste()
{
    QLineEdit edit;
    limitToFieldBytes(&edit, 6); // a size
    QTest::keyClicks(&edit, "1234567");
    QCOMPARE(edit.text(), QString("123456"));
    // A key typed in the middle of a full field is refused; the text after the caret stays.
    edit.setCursorPosition(2);
    QTest::keyClicks(&edit, "X");
    QCOMPARE(edit.text(), QString("123456"));
    QCOMPARE(edit.cursorPosition(), 2);
    // A paste is cut at its end, between characters ("配管" is four bytes).
    edit.clear();
    edit.insert(QString::fromUtf8("15A配管"));
    QCOMPARE(edit.text(), QString::fromUtf8("15A配"));
}

#include "appboxes_qtest.moc"
