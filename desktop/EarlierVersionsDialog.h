#pragma once
// The dialog 以前の版… of the three programs: the versions of the open file above the
// comparison of the one chosen with the file, and 元に戻す. What the lists hold is the
// session's (cli/earlier_versions.h); the dialog shows them and gives back the row chosen.
#include "base/user_interface.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace velmo {

class EarlierVersionsDialog : public QDialog {
public:
    EarlierVersionsDialog(QWidget *parent, const VersionListView &list, VersionComparer compare);
    // The row 元に戻す was pressed for.
    std::optional<size_t> chosen() const { return chosen_; }

private:
    void showComparison(int row);

    VersionComparer compare_;
    std::string prompt_;
    QTableWidget *versions_, *changes_;
    QLabel *summary_;
    QPushButton *restore_;
    std::optional<size_t> current_, chosen_;
};

} // namespace velmo
