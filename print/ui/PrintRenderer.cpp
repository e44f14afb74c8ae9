#include "print/ui/PrintRenderer.h"

#include "controls/core/fileio.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace velmo::print {

namespace {

constexpr double SmallestPoints = 5;

QPageLayout a4Landscape()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

QString q(const std::string &s) { return QString::fromStdString(s); }

void paintPage(QPainter &p, const PageLayout &layout, double pxPerMm)
{
    p.save();
    QPen pen(Qt::black);
    for (const Rule &r : layout.rules) {
        pen.setWidthF(r.width * pxPerMm);
        p.setPen(pen);
        p.drawLine(QPointF(r.x1 * pxPerMm, r.y1 * pxPerMm), QPointF(r.x2 * pxPerMm, r.y2 * pxPerMm));
    }
    p.setPen(Qt::black);
    for (const TextBox &t : layout.texts) {
        if (t.text.empty())
            continue;
        const QString text = q(t.text);
        const QRectF box(t.x * pxPerMm, t.y * pxPerMm, t.w * pxPerMm, t.h * pxPerMm);
        QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
        font.setBold(t.bold);
        // A text wider than its box is drawn smaller rather than cut, so no figure is lost.
        double points = t.points;
        for (;;) {
            font.setPointSizeF(points);
            const double wide = QFontMetricsF(font, p.device()).horizontalAdvance(text);
            if (wide <= box.width() || points <= SmallestPoints)
                break;
            points = std::max(SmallestPoints, points * box.width() / wide - 0.1);
        }
        p.setFont(font);
        const Qt::Alignment h = t.align == Align::Left ? Qt::AlignLeft
                                : t.align == Align::Right ? Qt::AlignRight
                                                          : Qt::AlignHCenter;
        p.drawText(box, int(h | Qt::AlignVCenter) | Qt::TextSingleLine, text);
    }
    p.restore();
}

} // namespace

void setUpPrinter(QPrinter &printer, const QString &documentName)
{
    printer.setPageLayout(a4Landscape());
    printer.setFullPage(true);
    printer.setDocName(documentName);
}

void paintPages(QPainter &painter, QPagedPaintDevice &device, const std::vector<PrintPage> &pages)
{
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        const QRectF sheet = device.pageLayout().fullRectPixels(device.logicalDpiX());
        const double pxPerMm = std::min(sheet.width() / PageLayout::Width, sheet.height() / PageLayout::Height);
        paintPage(painter, layoutPage(pages[i]), pxPerMm);
    }
}

std::string pdfBytes(const std::vector<PrintPage> &pages, const QString &title)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(a4Landscape());
        pdf.setResolution(300);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("korrel"));
        QPainter painter(&pdf);
        paintPages(painter, pdf, pages);
        painter.end();
    }
    return bytes.toStdString();
}

void writePdf(const std::string &path, const std::vector<PrintPage> &pages, const QString &title)
{
    writeFileAtomically(path, pdfBytes(pages, title));
}

} // namespace velmo::print
