#pragma once
// The comparison dialog: the table of what changed from another pipe price file to the service
// file on screen, with buttons to export it and "閉じる". It only shows the comparison and
// forwards its buttons; the rows and the exports are the FileComparison's.
#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace velmo {

class FileComparison;

class Tfcompare : public QDialog {
    Q_OBJECT
public:
    Tfcompare(FileComparison &comparison, QWidget *parent = nullptr);

    // Shows the dialog modally until "閉じる".
    static void showModal(QWidget *parent, FileComparison &comparison);

    QLabel *countLabel = nullptr;
    QTableWidget *table = nullptr;
    QPushButton *csvButton = nullptr;
    QPushButton *xlsxButton = nullptr;
    QPushButton *closeButton = nullptr;

private Q_SLOTS:
    void csvButtonClick();
    void xlsxButtonClick();

private:
    FileComparison &comparison_;
};

} // namespace velmo
