#include "registration/ui/window_parts.h"
#include "base/shared_texts.h"

#include "desktop/ChangedOutsideBar.h"
#include "desktop/TextLimit.h"
#include "desktop/VelmoApplication.h"
#include "desktop/WindowFit.h"
#include "pricefile/record_head.h"
#include "pricefile/registration_lists.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>

namespace velmo {

int runRegistrationProgram(int argc, char **argv, const char *title, const std::function<void(QFont &)> &setFontSize,
                           const std::function<std::unique_ptr<QWidget>(const ProgramStart &)> &makeWindow)
{
    VelmoApplication app(argc, argv);
    app.setApplicationDisplayName(title);
    QFont font(sharedtext::ProportionalGothicFont);
    setFontSize(font);
    app.setFont(font);

    ProgramStart start;
    start.dir = QCoreApplication::applicationDirPath();
    start.program = QDir(start.dir).filePath(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
    start.argument = argc > 1 ? std::string(argv[1]) : std::string();
    return runMainWindow(app, [&] { return makeWindow(start); });
}

StatusPanels addStatusPanels(QMainWindow *window)
{
    StatusPanels labels{};
    for (int i = 0; i < RegistrationStatusPanels; ++i) {
        const bool last = i + 1 == RegistrationStatusPanels;
        labels[i] = new ElidedLabel(window); // a text too long for its panel ends in "…"
        labels[i]->setFrameShape(QFrame::Panel);
        labels[i]->setFrameShadow(QFrame::Sunken);
        if (last)
            labels[i]->setMinimumWidth(50);
        else
            labels[i]->setFixedWidth(50);
        window->statusBar()->addWidget(labels[i], last ? 1 : 0);
    }
    window->statusBar()->setSizeGripEnabled(false);
    return labels;
}

void showStatusPanels(const StatusPanels &labels, const std::array<std::string, RegistrationStatusPanels> &panels)
{
    for (int i = 0; i < RegistrationStatusPanels; ++i) {
        labels[i]->setText(QString::fromStdString(panels[i]));
        labels[i]->setToolTip(labels[i]->text());
    }
}

void showOutsideChange(QMainWindow *window, const OutsideChange &change, ChangedOutsideBar *bar, int &shownReloadStatus)
{
    bar->showState(change);
    showReloadStatus(window->statusBar(), change, shownReloadStatus);
}

QComboBox *roundingListBox(std::span<const char *const> entries, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    for (const char *e : entries)
        box->addItem(e);
    return box;
}

QComboBox *unitBox(QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setEditable(true);
    limitToFieldBytes(box->lineEdit(), RecordHead::UnitBytes);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const char *u : UnitEntries)
        box->addItem(u);
    box->setEditText(DefaultUnit);
    return box;
}

} // namespace velmo
