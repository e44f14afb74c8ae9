#pragma once
// The price revision dialog: the percentage, the unit, the rounding rule and the scope above a
// preview of every price it changes, refreshed as they change. What the preview holds is the
// session's; the dialog only shows it and gives back the choice of 実行.
#include "pricework/price_revision.h"

#include <QDialog>

#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace velmo {

class RevisionDialog : public QDialog {
public:
    RevisionDialog(QWidget *parent, const RevisionDialogText &text, RevisionPreviewer preview);
    // The choice when 実行 was pressed.
    std::optional<RevisionChoice> choice() const { return choice_; }

private:
    void refresh();

    RevisionPreviewer preview_;
    std::string blockWord_; // "ブロック", "管材": what the summary counts
    QLineEdit *percent_;
    QComboBox *unit_, *rounding_, *scope_;
    QTableWidget *table_;
    QLabel *summary_;
    QPushButton *run_;
    std::optional<RevisionChoice> current_, choice_;
};

} // namespace velmo
