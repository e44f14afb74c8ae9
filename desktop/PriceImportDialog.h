#pragma once
// The dialog of "価格表の取り込み…" in torvik and selvan: the sheet, the size column and the
// price column chosen from lists (the guesses first), the preview of the list prices each size
// would get, with a list of rows to choose from where several rows price a size, and of what
// found no place, 取り込み and キャンセル. It only shows a PriceImportChoice and hands it
// the person's choices.
#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace velmo {

class PriceImportChoice;

class PriceImportDialog : public QDialog {
    Q_OBJECT
public:
    PriceImportDialog(PriceImportChoice &choice, QWidget *parent = nullptr);

    QComboBox *sheetList() const { return sheets_; }
    QComboBox *sizeColumnList() const { return sizeColumn_; }
    QComboBox *priceColumnList() const { return priceColumn_; }
    QTableWidget *sizeTable() const { return table_; }
    // The list of rows in the new price cell of size row `row`; nothing where one row prices it.
    QComboBox *rowList(int row) const;
    QLabel *sheetNote() const { return sheetNote_; }
    QLabel *counts() const { return counts_; }
    QPushButton *importButton() const { return import_; }

private:
    void fillColumns();
    void showPreview();
    void showSummary();

    PriceImportChoice &choice_;
    QComboBox *sheets_, *sizeColumn_, *priceColumn_;
    QTableWidget *table_;
    QLabel *counts_, *sheetNote_;
    QPlainTextEdit *report_;
    QPushButton *import_, *cancel_;
};

} // namespace velmo
