#pragma once
// The parts of the main window that torvik and selvan build and show alike: the start of the
// program, the status panels, the unit box and the block's state above the grid.
#include "registration/core/registration_session.h"

#include <QFont>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>

class QComboBox;
class QLabel;
class QMainWindow;
class QWidget;

namespace velmo {

class ChangedOutsideBar;

using StatusPanels = std::array<QLabel *, RegistrationStatusPanels>;

// Where a registration program was started from: its folder, the program file as started (not
// resolved through links, so that the name it was started under can choose an edition), and the
// first argument as bytes (a path in it opens that very file, whatever its encoding).
struct ProgramStart {
    QString dir;
    QString program;
    std::string argument;
};

// The body of a registration program's main: the application under `title` with its font
// "ＭＳ Ｐゴシック" set up by `setFontSize`, and the main window `makeWindow` makes.
int runRegistrationProgram(int argc, char **argv, const char *title, const std::function<void(QFont &)> &setFontSize,
                           const std::function<std::unique_ptr<QWidget>(const ProgramStart &)> &makeWindow);

// The four panels of the main window's status bar; the last, the data file, takes the rest.
StatusPanels addStatusPanels(QMainWindow *window);
// The session's status panels, with each text as its tool tip too (a panel may cut it).
void showStatusPanels(const StatusPanels &labels, const std::array<std::string, RegistrationStatusPanels> &panels);
// The panels, the bar about another program's change and the status line after a reload.
template <typename Session>
void showBlockStatus(QMainWindow *window, const Session &session, const StatusPanels &labels, ChangedOutsideBar *bar,
                     int &shownReloadStatus);

// A list of the rounding group with its entries.
QComboBox *roundingListBox(std::span<const char *const> entries, QWidget *parent);

// The unit box: editable within the unit field's bytes, the units to choose from, the default
// unit shown.
QComboBox *unitBox(QWidget *parent);

// ---- implementation ----
void showOutsideChange(QMainWindow *window, const OutsideChange &change, ChangedOutsideBar *bar, int &shownReloadStatus);

template <typename Session>
void showBlockStatus(QMainWindow *window, const Session &session, const StatusPanels &labels, ChangedOutsideBar *bar,
                     int &shownReloadStatus)
{
    showStatusPanels(labels, session.statusPanels());
    showOutsideChange(window, session.outsideChange(), bar, shownReloadStatus);
}

} // namespace velmo
