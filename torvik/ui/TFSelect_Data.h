#pragma once
// The selection dialog of the pipe registration program: the shared selection dialog with the
// block being edited selected. Moves go to the session at once and the dialog stays open; the
// chosen entry goes back to the main window.
//
// The session comes before any Qt header: its price records have a member named like Qt's
// keyword macro "slots".
#include "torvik/core/torvik_session.h"
#include "registration/ui/SelectBlockDialog.h"

#include <optional>

namespace velmo {

class TFSelect_Data : public SelectBlockDialog {
    Q_OBJECT
public:
    TFSelect_Data(TorvikSession &session, QWidget *parent = nullptr);

    // Fills the list from the session's names, selects the block being edited and runs the
    // dialog modally; the entry taken, or nothing when it was cancelled or closed.
    std::optional<int> choose();
    // The list again from the session's names, with `current` selected.
    void showNames(int current);

Q_SIGNALS:
    // A block moved: the main window now edits it at its new place.
    void blockMoved();

private:
    void takeEntry(QListWidgetItem *item, bool doubleClick) override;
    void moveEntry(MoveDirection direction) override;
    std::optional<int> selectedEntry() const;

    TorvikSession &session_;
    std::optional<int> chosen_;
};

} // namespace velmo
