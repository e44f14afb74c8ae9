#include "korrel/ui/PrintRenderer.h"
#include "base/shared_texts.h"

#include "base/fileio.h"
#include "korrel/core/pdf_text_map.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRawFont>

#include <algorithm>
#include <map>
#include <set>

namespace velmo::print {

namespace {

constexpr double SmallestPoints = 5;

QPageLayout a4Landscape()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

QString q(const std::string &s) { return QString::fromStdString(s); }

// The face every text of a page is drawn in. Text is drawn without OpenType shaping, which the
// Latin and Japanese of these pages do not need: HarfBuzz gives the Noto CJK fonts' digits in
// a run of Latin letters ("15A", "P.12", "LEVEL1") other glyphs than their own, glyphs that no
// character maps to, so a PDF's ToUnicode map had no entry for them and the digits were lost
// to search and copy.
QFont pageFont(bool bold)
{
    QFont font(QString::fromUtf8(sharedtext::ProportionalGothicFont));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// For each code point the pages drew that shares its glyph with a lower code point of the same
// face, the lower one (which Qt's PDF writer would name the glyph by) and the drawn one. A lower
// code point the pages drew too stays as it is.
std::map<char32_t, char32_t> drawnInsteadOfLowest(const std::set<char32_t> &drawn)
{
    std::map<char32_t, char32_t> replace;
    std::set<char32_t> ambiguous;
    std::vector<char32_t> codes;
    for (char32_t c = 1; c <= 0xFFFF; ++c)
        if (c < 0xD800 || c > 0xDFFF)
            codes.push_back(c);
    QString all;
    for (const char32_t c : codes)
        all += QChar(static_cast<char16_t>(c));
    for (const bool bold : {false, true}) {
        const QRawFont raw = QRawFont::fromFont(pageFont(bold));
        const QList<quint32> glyphs = raw.glyphIndexesForString(all);
        if (glyphs.size() != static_cast<qsizetype>(codes.size()))
            continue;
        std::map<quint32, char32_t> lowest;
        for (size_t i = 0; i < codes.size(); ++i)
            if (glyphs[static_cast<qsizetype>(i)] != 0)
                lowest.emplace(glyphs[static_cast<qsizetype>(i)], codes[i]);
        for (const char32_t c : drawn) {
            if (c < 1 || c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF))
                continue;
            const auto at = std::lower_bound(codes.begin(), codes.end(), c) - codes.begin();
            const auto g = lowest.find(glyphs[at]);
            if (g == lowest.end() || g->second == c || drawn.count(g->second))
                continue;
            const auto [it, added] = replace.emplace(g->second, c);
            if (!added && it->second != c)
                ambiguous.insert(g->second);
        }
    }
    for (const char32_t c : ambiguous)
        replace.erase(c);
    return replace;
}

// Every code point of the pages' texts.
std::set<char32_t> drawnCodePoints(const std::vector<PrintPage> &pages)
{
    std::set<char32_t> drawn;
    for (const PrintPage &page : pages)
        for (const TextBox &t : layoutPage(page).texts)
            for (const char32_t c : q(t.text).toUcs4())
                drawn.insert(c);
    return drawn;
}

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
        QFont font = pageFont(t.bold);
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
    return withToUnicodeReplaced(bytes.toStdString(), drawnInsteadOfLowest(drawnCodePoints(pages)));
}

void writePdf(const std::string &path, const std::vector<PrintPage> &pages, const QString &title)
{
    writeFileAtomically(path, pdfBytes(pages, title));
}

} // namespace velmo::print
