#pragma once
// The selection dialog of the equipment registration program: the shared selection dialog with
// nothing selected at first, and a hint below the list. What each command does is the session's;
// the dialog shows its list.
// The price records name a member `slots`, which Qt defines as a keyword: the session comes
// before the first Qt header.
#include "selvan/core/selvan_session.h"
#include "registration/ui/SelectBlockDialog.h"

#include <optional>

namespace velmo {

class TFSelect_Data_K : public SelectBlockDialog {
    Q_OBJECT
public:
    TFSelect_Data_K(SelvanSession &session, QWidget *parent = nullptr);

    // Fills the list from the session and shows the dialog modally.
    int execFor();
    // The list as the session last listed it, nothing selected.
    void fillList();

private:
    void takeEntry(QListWidgetItem *item, bool doubleClick) override;
    void moveEntry(MoveDirection direction) override;
    std::optional<int> selectedEntry() const;

    SelvanSession &session_;
    static constexpr int ShortestListRows = 8; // the list's least height, in names
    int fullListHeight_ = 0;                   // the list's height with all names in view
};

} // namespace velmo
