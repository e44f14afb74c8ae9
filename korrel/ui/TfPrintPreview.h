#pragma once
// The print program's window: the pages of the composite unit price table in a print preview,
// with printing to any installed printer and saving as PDF.
#include "korrel/core/print_job.h"

#include <QMainWindow>

#include <vector>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;

namespace velmo::print {

class TfPrintPreview : public QMainWindow {
    Q_OBJECT
public:
    // `sets` must outlive the window: the pages point into them.
    explicit TfPrintPreview(const std::vector<PrintSet> &sets, QWidget *parent = nullptr);
    ~TfPrintPreview() override;

    int pageCount() const { return static_cast<int>(pages_.size()); }
    QPrintPreviewWidget *preview() const { return preview_; }
    QString title() const { return title_; }

public Q_SLOTS:
    void printClick();  // 印刷…: the printer dialog, then the pages on the chosen printer
    void pdfClick();    // PDF保存…: a file name, then the PDF written whole

private:
    void paintRequested(QPrinter *printer);
    void showPageNumber();

    QString title_;
    std::vector<PrintPage> pages_;
    QPrinter *printer_;
    QPrintPreviewWidget *preview_;
    QLabel *pageLabel_;
};

} // namespace velmo::print
