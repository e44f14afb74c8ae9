#pragma once
// The selection dialog of the pipe registration program: the 20 pipe names of the file, the
// entry to take, and the moves of a block up and down. Moves go to the session at once and
// the dialog stays open; the chosen entry goes back to the main window.
//
// The session comes before any Qt header: its price records have a member named like Qt's
// keyword macro "slots".
#include "torvik/core/torvik_session.h"

#include <QDialog>

#include <optional>

class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;

namespace velmo {

class TFSelect_Data : public QDialog {
    Q_OBJECT
public:
    TFSelect_Data(TorvikSession &session, QWidget *parent = nullptr);

    // Fills the list from the session's names, selects the block being edited and runs the
    // dialog modally; the entry taken, or nothing when it was cancelled or closed.
    std::optional<int> choose();
    // The list again from the session's names, with `current` selected.
    void showNames(int current);

    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr, *Button3 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N2 = nullptr, *N1 = nullptr; // "上へ移動", "下へ移動"

Q_SIGNALS:
    // A block moved: the main window now edits it at its new place.
    void blockMoved();

private Q_SLOTS:
    void Button1Click();
    void ListBox1DblClick(QListWidgetItem *item);
    void N2Click();
    void N1Click();

private:
    std::optional<int> selectedEntry() const;
    void take(std::optional<int> entry);
    void move(bool up);

    TorvikSession &session_;
    std::optional<int> chosen_;
};

} // namespace velmo
