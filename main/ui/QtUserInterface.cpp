#include "QtUserInterface.h"

#include "MessageBoxes.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>

namespace velmo {

namespace {
QString q(const std::string &s) { return QString::fromStdString(s); }
} // namespace

int QtUserInterface::confirm(const std::string &message, const std::string &yes, const std::string &no)
{
    return ConfirmBox(q(message), q(yes), q(no));
}

void QtUserInterface::notice(const std::string &message, const std::string &button)
{
    NoticeBox(q(message), q(button));
}

std::optional<std::string> QtUserInterface::askText(const std::string &title, const std::string &prompt,
                                                    const std::string &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner_, q(title), q(prompt), QLineEdit::Normal, q(initial), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> QtUserInterface::chooseFolder(const std::string &title)
{
    const QString dir = QFileDialog::getExistingDirectory(owner_, q(title));
    if (dir.isEmpty())
        return std::nullopt;
    return dir.toStdString();
}

void QtUserInterface::beep()
{
    QApplication::beep();
}

} // namespace velmo
