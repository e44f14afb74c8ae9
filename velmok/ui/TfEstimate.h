#pragma once
// The dialog 数量表から見積: the quantity list chosen, the basis, the rounding of the amounts and
// the cost columns, a preview of the priced rows, subtotals and total, the rows not priced in red
// below it, and buttons to save the workbook, the PDF and the CSV. It only shows the EstimateSession
// and forwards its controls to it.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace velmo {

namespace estimate {
class EstimateSession;
}

class TfEstimate : public QDialog {
    Q_OBJECT
public:
    TfEstimate(estimate::EstimateSession &session, QWidget *parent = nullptr);

    // Shows the dialog modally until "閉じる".
    static void showModal(QWidget *parent, estimate::EstimateSession &session);

    QLabel *listLabel = nullptr;
    QPushButton *chooseButton = nullptr;
    QComboBox *basisBox = nullptr;
    QComboBox *roundBox = nullptr;
    QCheckBox *costCheck = nullptr;
    QTableWidget *table = nullptr;
    QTableWidget *unmatchedTable = nullptr; // the rows not priced, in red
    QLabel *countLabel = nullptr;
    QPushButton *xlsxButton = nullptr;
    QPushButton *pdfButton = nullptr;
    QPushButton *csvButton = nullptr;
    QPushButton *closeButton = nullptr;

    // The colour of a row not priced.
    static QColor unmatchedColor();

private Q_SLOTS:
    void chooseButtonClick();
    void basisBoxChange(int index);
    void roundBoxChange(int index);
    void costCheckClick(bool checked);

private:
    void showEstimate();

    estimate::EstimateSession &session_;
};

} // namespace velmo
