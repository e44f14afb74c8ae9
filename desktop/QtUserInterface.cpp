#include "desktop/QtUserInterface.h"

#include "desktop/EarlierVersionsDialog.h"
#include "desktop/MessageBoxes.h"
#include "desktop/PriceImportDialog.h"
#include "desktop/RevisionDialog.h"
#include "desktop/TextLimit.h"
#include "base/programs.h"
#include "base/file_history.h"
#include "base/shared_texts.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QMimeData>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace velmo {

namespace {

QString q(const std::string &s) { return QString::fromStdString(s); }

Rect toRect(const QRect &r) { return Rect{r.left(), r.top(), r.width(), r.height()}; }

} // namespace

namespace {
QtUserInterface *historyWarner = nullptr;
}

// A save of the window that kept no earlier version says so in a notice of this window (the
// newest window's, while several are open).
QtUserInterface::QtUserInterface(QWidget *owner) : owner_(owner)
{
    historyWarner = this;
    setHistoryWarning([](const std::string &message) {
        if (historyWarner)
            historyWarner->notice(message, sharedtext::NoticeButton);
    });
}

QtUserInterface::~QtUserInterface()
{
    if (historyWarner == this) {
        historyWarner = nullptr;
        setHistoryWarning({});
    }
}

Answer QtUserInterface::confirm(const std::string &message, const std::string &yes, const std::string &no,
                                Answer defaultButton)
{
    return ConfirmBox(q(message), q(yes), q(no), defaultButton);
}

Answer QtUserInterface::confirmOrBack(const std::string &message, const std::string &yes, const std::string &no,
                                      const std::string &back, Answer defaultButton)
{
    return confirmOrBackBox(q(message), q(yes), q(no), q(back), defaultButton);
}

void QtUserInterface::notice(const std::string &message, const std::string &button)
{
    NoticeBox(q(message), q(button));
}

std::optional<std::string> QtUserInterface::askText(const std::string &caption, const std::string &prompt,
                                                    const std::string &initial, size_t maxBytes)
{
    QInputDialog box(owner_);
    box.setWindowTitle(q(caption));
    box.setLabelText(q(prompt));
    box.setTextValue(q(initial));
    if (auto *edit = box.findChild<QLineEdit *>())
        limitToFieldBytes(edit, maxBytes);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue().toStdString();
}

std::optional<RevisionChoice> QtUserInterface::askRevision(const RevisionDialogText &text,
                                                           const std::function<RevisionPreview(const RevisionChoice &)> &preview)
{
    RevisionDialog dialog(owner_, text, preview);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

std::optional<size_t> QtUserInterface::chooseEarlierVersion(const VersionListView &list, const VersionComparer &compare)
{
    EarlierVersionsDialog dialog(owner_, list, compare);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

std::optional<std::filesystem::path> QtUserInterface::chooseFolder(const std::string &title)
{
    const QString dir = QFileDialog::getExistingDirectory(owner_, q(title));
    if (dir.isEmpty())
        return std::nullopt;
    return std::filesystem::path(dir.toStdString());
}

QString askSaveFile(QWidget *parent, const QString &caption, const QString &filter, const QString &suffix,
                    const QString &suggestedName)
{
    static QString lastFolder;
    QString folder = lastFolder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setDirectory(folder);
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString file = dialog.selectedFiles().first();
    lastFolder = QFileInfo(file).absolutePath();
    return file;
}

std::optional<std::filesystem::path> QtUserInterface::chooseSaveFile(const std::string &filter, const std::string &defaultSuffix,
                                                                     const std::string &suggestedName)
{
    const QString file = askSaveFile(owner_, QString(), q(filter), q(defaultSuffix), q(suggestedName));
    if (file.isEmpty())
        return std::nullopt;
    return std::filesystem::path(file.toStdString());
}

std::optional<std::filesystem::path> QtUserInterface::chooseOpenFile(const std::string &title, const std::string &filter)
{
    const QString file = QFileDialog::getOpenFileName(owner_, q(title), QString(), q(filter));
    if (file.isEmpty())
        return std::nullopt;
    return std::filesystem::path(file.toStdString());
}

bool QtUserInterface::reviewPriceImport(PriceImportChoice &choice)
{
    PriceImportDialog dialog(choice, owner_);
    return dialog.exec() == QDialog::Accepted;
}

void QtUserInterface::setClipboardContent(const ClipboardContent &content)
{
    auto *data = new QMimeData;
    data->setText(q(content.text));
    if (!content.html.empty())
        data->setHtml(q(content.html));
    QGuiApplication::clipboard()->setMimeData(data); // the clipboard owns it
}

ClipboardContent QtUserInterface::clipboardContent() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    return {data->hasText() ? data->text().toStdString() : std::string(),
            data->hasHtml() ? data->html().toStdString() : std::string()};
}

bool QtUserInterface::startProgram(const std::string &program, const std::vector<std::string> &arguments,
                                   const std::string &workingFolder)
{
    QStringList args;
    for (const std::string &a : arguments)
        args << q(a);
    qint64 pid = 0;
    if (!QProcess::startDetached(q(program), args, q(workingFolder), &pid))
        return false;
    reaper_.watch(static_cast<int>(pid));
    if (!reapTimer_) {
        reapTimer_ = std::make_unique<QTimer>();
        reapTimer_->setInterval(1000);
        QObject::connect(reapTimer_.get(), &QTimer::timeout, [this] {
            if (reaper_.reapEnded() == 0)
                reapTimer_->stop();
        });
    }
    if (reaper_.reapEnded() > 0)
        reapTimer_->start();
    return true;
}

bool QtUserInterface::openAddress(const std::string &address)
{
    const QString a = q(address);
    const QUrl url = QFileInfo::exists(a) ? QUrl::fromLocalFile(QFileInfo(a).absoluteFilePath()) : QUrl(a);
    return QDesktopServices::openUrl(url);
}

void QtUserInterface::beep()
{
    QApplication::beep();
}

Rect QtUserInterface::screen() const
{
    const QScreen *s = owner_ && owner_->screen() ? owner_->screen() : QGuiApplication::primaryScreen();
    return toRect(s->geometry());
}

Rect QtUserInterface::workArea() const
{
    const QScreen *s = owner_ && owner_->screen() ? owner_->screen() : QGuiApplication::primaryScreen();
    return toRect(s->availableGeometry());
}

MemoryStatus QtUserInterface::memoryStatus() const
{
    return systemMemoryStatus();
}

} // namespace velmo
