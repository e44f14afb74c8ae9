#pragma once
// The application object of the three programs and their error box.
//
// A failure (IoError, ConversionError, RangeError or any other exception) ends the command that
// raised it: its message is shown in a modal error box captioned with the application title,
// what was done before stays, and the program goes on. Handlers are best connected with
// ConnectCommand (or run through runCommand), which catches the exception before it can unwind
// through Qt's own code; notify() catches whatever still arrives at the event loop.
#include <QApplication>
#include <QObject>
#include <QString>

#include <exception>
#include <functional>
#include <utility>

namespace velmo {

class VelmoApplication : public QApplication {
    Q_OBJECT
public:
    // Also installs the Japanese font substitutes (Fonts.h).
    VelmoApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // When set, receives (caption, message) instead of the modal error box being shown.
    static std::function<void(const QString &caption, const QString &message)> errorSink;
};

// Caption of the programs' boxes: the application display name.
QString ApplicationTitle();

// Message of an exception as shown in the error box.
QString ExceptionMessage(std::exception_ptr error);

// Shows the modal error box (or hands the message to VelmoApplication::errorSink). While a box
// with the same message is already open, the message is not shown a second time.
void showErrorBox(const QString &message);

// Shows the error box for the exception being handled; call it inside a catch block.
void reportCurrentException() noexcept;

// The end of a program's main(): creates the main window with `make`, shows it and runs the
// event loop. A window that cannot be created (a folder that cannot be made, a settings file
// that cannot be read) ends the start with the error box and the status 1.
template <class Make>
int runMainWindow(QApplication &app, Make make)
{
    decltype(make()) window;
    try {
        window = make();
    } catch (...) {
        reportCurrentException();
        return 1;
    }
    window->show();
    return app.exec();
}

// Shows the error box once control is back in the event loop (for failures met while painting,
// where no modal box may open). A message already waiting is not queued twice.
void PostErrorBox(const QString &message);

// Runs one command; an exception ends it and is shown in the error box.
void runCommand(const std::function<void()> &command) noexcept;

// Connects a handler so that an exception it raises ends only that command and shows the error
// box. The handler receives the signal's arguments.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection ConnectCommand(Sender *sender, Signal signal, const QObject *context, Handler handler)
{
    return QObject::connect(sender, signal, context, [handler = std::move(handler)](auto &&...args) mutable {
        runCommand([&] { handler(std::forward<decltype(args)>(args)...); });
    });
}

} // namespace velmo
