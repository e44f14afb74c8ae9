#include "desktop/MessageBoxes.h"

#include "desktop/VelmoApplication.h"
#include "base/errors.h"
#include "base/fileio.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSet>

#include <string>

namespace velmo {

namespace {

QString &iconFolder()
{
    static QString folder;
    return folder;
}

// Reads dialog.ico. A box must open even without it, or a question such as the save question
// at close could never be answered: a missing or unreadable icon is said once, in the error
// box, and the boxes then show no icon.
QPixmap loadDialogIcon()
{
    static QSet<QString> reported;
    const QString path = dialogIconPath();
    try {
        const std::string bytes = readWholeFile(path.toStdString());
        QImage image = QImage::fromData(reinterpret_cast<const uchar *>(bytes.data()), static_cast<int>(bytes.size()));
        if (image.isNull())
            throw IoError("ファイル " + path.toStdString() + " を読めません: 画像として読み取れません");
        if (image.width() > 32 || image.height() > 32)
            image = image.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return QPixmap::fromImage(image);
    } catch (const IoError &e) {
        if (!reported.contains(path)) {
            reported.insert(path);
            showErrorBox(QString::fromStdString(e.what()) + QStringLiteral("\nメッセージはアイコンなしで表示します。"));
        }
        return QPixmap();
    }
}

// A message box that tells apart its buttons, Escape and the window frame, and that may
// refuse Escape.
class VelmoMessageBox : public QMessageBox {
public:
    VelmoMessageBox(const QString &message, bool escapeCloses)
        : QMessageBox(QMessageBox::Critical, ApplicationTitle(), message, QMessageBox::NoButton,
                      QApplication::activeWindow()),
          escapeCloses_(escapeCloses)
    {
        const QPixmap icon = loadDialogIcon();
        if (!icon.isNull())
            setIconPixmap(icon);
        else
            setIcon(QMessageBox::NoIcon);
    }

    QPushButton *addCaptionedButton(const QString &caption, ButtonRole role)
    {
        QPushButton *button = addButton(caption, role);
        button->setCursor(Qt::PointingHandCursor);
        return button;
    }

    // back: the third button of a question that offers a way back; Escape then answers Back.
    // defaultButton: the button Enter presses, by its answer.
    Answer run(QPushButton *yes, QPushButton *no, QPushButton *back = nullptr, Answer defaultButton = Answer::Yes)
    {
        QPushButton *preferred = defaultButton == Answer::No && no ? no : defaultButton == Answer::Back && back ? back : yes;
        setDefaultButton(preferred);
        preferred->setFocus();
        // No escape button: Escape and the frame are handled below.
        setEscapeButton(static_cast<QAbstractButton *>(nullptr));
        exec();
        if (escaped_)
            return back ? Answer::Back : Answer::No;
        if (back && clickedButton() == back)
            return Answer::Back;
        if (clickedButton() && clickedButton() == yes)
            return Answer::Yes;
        if (no && clickedButton() == no)
            return Answer::No;
        return Answer::Closed;
    }

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (e->key() == Qt::Key_Escape) {
            if (escapeCloses_) {
                escaped_ = true;
                done(static_cast<int>(Answer::No));
            }
            return;
        }
        QMessageBox::keyPressEvent(e);
    }

    void closeEvent(QCloseEvent *e) override
    {
        // QMessageBox refuses a close without an escape button; the frame closes these boxes.
        QDialog::closeEvent(e);
    }

private:
    bool escapeCloses_;
    bool escaped_ = false;
};

} // namespace

void setDialogIconFolder(const QString &folder)
{
    iconFolder() = folder;
}

QString dialogIconPath()
{
    const QString folder = iconFolder().isEmpty() ? QCoreApplication::applicationDirPath() : iconFolder();
    return QDir(folder).filePath(QStringLiteral("dialog.ico"));
}

Answer ConfirmBox(const QString &message, const QString &yesCaption, const QString &noCaption, Answer defaultButton)
{
    VelmoMessageBox box(message, true);
    QPushButton *yes = box.addCaptionedButton(yesCaption, QMessageBox::YesRole);
    QPushButton *no = box.addCaptionedButton(noCaption, QMessageBox::NoRole);
    return box.run(yes, no, nullptr, defaultButton);
}

Answer confirmOrBackBox(const QString &message, const QString &yesCaption, const QString &noCaption,
                        const QString &backCaption, Answer defaultButton)
{
    VelmoMessageBox box(message, true);
    QPushButton *yes = box.addCaptionedButton(yesCaption, QMessageBox::YesRole);
    QPushButton *no = box.addCaptionedButton(noCaption, QMessageBox::NoRole);
    QPushButton *back = box.addCaptionedButton(backCaption, QMessageBox::RejectRole);
    const Answer a = box.run(yes, no, back, defaultButton);
    return a == Answer::Yes || a == Answer::No ? a : Answer::Back;
}

Answer NoticeBox(const QString &message, const QString &buttonCaption)
{
    VelmoMessageBox box(message, false);
    QPushButton *yes = box.addCaptionedButton(buttonCaption, QMessageBox::YesRole);
    return box.run(yes, nullptr);
}

} // namespace velmo
