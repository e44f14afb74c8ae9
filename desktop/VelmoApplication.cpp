#include "desktop/VelmoApplication.h"

#include "base/errors.h"
#include "base/file_history.h"
#include "base/program_homes.h"

#include "base/shared_texts.h"
#include "desktop/WindowFit.h"

#include "desktop/Fonts.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QMetaObject>
#include <QSet>
#include <QFileInfo>
#include <QTranslator>

#include <cstdio>

namespace velmo {

std::function<void(const QString &, const QString &)> VelmoApplication::errorSink;

namespace {

// Messages whose box is open right now, and messages queued by PostErrorBox.
QSet<QString> &openMessages()
{
    static QSet<QString> messages;
    return messages;
}

QSet<QString> &postedMessages()
{
    static QSet<QString> messages;
    return messages;
}

} // namespace

VelmoApplication::VelmoApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    installJapaneseFontSubstitutes();
    // The toolkit's own dialogs (input boxes, folder and file dialogs) speak Japanese too,
    // whatever the desktop's language.
    auto *qt = new QTranslator(this);
    if (qt->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qt);
    // The versions the window's saves keep name the program; their bounds are the settings
    // folder's.
    const std::string program = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().toStdString();
    setHistoryOrigin({program, "save"});
    try {
        const ProgramHomes homes = homesOf(QCoreApplication::applicationDirPath().toStdString());
        setHistorySettings(readHistorySettings(homes.settings / HistorySettingsFileName));
    } catch (const VelmoError &) {
        // an unreadable settings folder: the default bounds, and the start says what is wrong
    }
}

bool VelmoApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        const bool handled = QApplication::notify(receiver, event);
        // Every window and box opens inside the work area, the ones nobody sized included.
        if (event->type() == QEvent::Show && receiver->isWidgetType()) {
            auto *w = static_cast<QWidget *>(receiver);
            const Qt::WindowType type = w->windowType();
            if (w->isWindow() && (type == Qt::Window || type == Qt::Dialog))
                keepInsideWorkArea(w);
        }
        return handled;
    } catch (...) {
        reportCurrentException();
        return false;
    }
}

QString ApplicationTitle()
{
    return QGuiApplication::applicationDisplayName();
}

QString ExceptionMessage(std::exception_ptr error)
{
    if (!error)
        return QString();
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("不明なエラーが発生しました。");
    }
}

void showErrorBox(const QString &message)
{
    const QString caption = ApplicationTitle();
    if (VelmoApplication::errorSink) {
        VelmoApplication::errorSink(caption, message);
        return;
    }
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return;
    }
    // A failure that repeats while its own box is open (for example on every repaint of the
    // window behind the box) would otherwise stack boxes without end.
    if (openMessages().contains(message))
        return;
    openMessages().insert(message);
    // The error icon, and the one button every notice of the programs has.
    QMessageBox box(QMessageBox::Critical, caption, message, QMessageBox::Ok, QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(QString::fromUtf8(sharedtext::NoticeButton));
    box.exec();
    openMessages().remove(message);
}

void reportCurrentException() noexcept
{
    try {
        showErrorBox(ExceptionMessage(std::current_exception()));
    } catch (...) {
        // The box itself failed (out of memory or a failing sink): nothing more can be shown.
    }
}

void PostErrorBox(const QString &message)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || postedMessages().contains(message))
        return;
    postedMessages().insert(message);
    QMetaObject::invokeMethod(
        app,
        [message] {
            postedMessages().remove(message);
            showErrorBox(message);
        },
        Qt::QueuedConnection);
}

void runCommand(const std::function<void()> &command) noexcept
{
    try {
        command();
    } catch (...) {
        reportCurrentException();
    }
}

} // namespace velmo
