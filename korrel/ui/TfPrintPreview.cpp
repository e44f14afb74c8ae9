#include "korrel/ui/TfPrintPreview.h"
#include "desktop/WindowFit.h"

#include "korrel/ui/PrintRenderer.h"
#include "desktop/VelmoApplication.h"

#include <QAction>
#include "desktop/QtUserInterface.h"
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>

namespace velmo::print {

TfPrintPreview::TfPrintPreview(const std::vector<PrintSet> &sets, QWidget *parent)
    : QMainWindow(parent), title_(QString::fromStdString(jobTitle(sets))), pages_(paginate(sets)), printer_(new QPrinter(QPrinter::HighResolution))
{
    setWindowTitle(title());
    setUpPrinter(*printer_, title());
    preview_ = new QPrintPreviewWidget(printer_, this);
    preview_->setZoomMode(QPrintPreviewWidget::FitInView);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &TfPrintPreview::paintRequested);
    setCentralWidget(preview_);

    QToolBar *bar = addToolBar(QStringLiteral("印刷"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction *print = bar->addAction(QStringLiteral("印刷..."));
    print->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    ConnectCommand(print, &QAction::triggered, this, [this](bool) { printClick(); });
    QAction *pdf = bar->addAction(QStringLiteral("PDF保存..."));
    pdf->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    ConnectCommand(pdf, &QAction::triggered, this, [this](bool) { pdfClick(); });
    bar->addSeparator();
    QAction *previous = bar->addAction(QStringLiteral("前のページ"));
    previous->setShortcut(QKeySequence(Qt::Key_PageUp));
    connect(previous, &QAction::triggered, this, [this] { preview_->setCurrentPage(preview_->currentPage() - 1); });
    QAction *next = bar->addAction(QStringLiteral("次のページ"));
    next->setShortcut(QKeySequence(Qt::Key_PageDown));
    connect(next, &QAction::triggered, this, [this] { preview_->setCurrentPage(preview_->currentPage() + 1); });
    bar->addSeparator();
    QAction *whole = bar->addAction(QStringLiteral("ページ全体"));
    connect(whole, &QAction::triggered, preview_, &QPrintPreviewWidget::fitInView);
    QAction *zoomIn = bar->addAction(QStringLiteral("拡大"));
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    connect(zoomIn, &QAction::triggered, preview_, [this] { preview_->zoomIn(); });
    QAction *zoomOut = bar->addAction(QStringLiteral("縮小"));
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(zoomOut, &QAction::triggered, preview_, [this] { preview_->zoomOut(); });
    bar->addSeparator();
    QAction *close = bar->addAction(QStringLiteral("閉じる"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);

    pageLabel_ = new QLabel(this);
    statusBar()->addWidget(pageLabel_);
    connect(preview_, &QPrintPreviewWidget::previewChanged, this, &TfPrintPreview::showPageNumber);
    // 1100 × 820 where the work area has room, else the work area: the whole window is in view,
    // so that ページ全体 shows a whole page.
    fitToScreen(this, QSize(1100, 820));
}

TfPrintPreview::~TfPrintPreview()
{
    delete printer_;
}

void TfPrintPreview::paintRequested(QPrinter *printer)
{
    QPainter painter(printer);
    paintPages(painter, *printer, pages_);
}

void TfPrintPreview::showPageNumber()
{
    pageLabel_->setText(QStringLiteral("%1 / %2 ページ").arg(preview_->currentPage()).arg(preview_->pageCount()));
}

void TfPrintPreview::printClick()
{
    QPrintDialog dialog(printer_, this);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The dialog may change the paper; the layout is A4 landscape.
    setUpPrinter(*printer_, title());
    QPainter painter(printer_);
    paintPages(painter, *printer_, pages_);
}

void TfPrintPreview::pdfClick()
{
    QString path = askSaveFile(this, QStringLiteral("PDFファイルに保存"), QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"),
                               QString::fromStdString(suggestedFileName({title().toStdString()}, "pdf")));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    writePdf(path.toStdString(), pages_, title());
}

} // namespace velmo::print
