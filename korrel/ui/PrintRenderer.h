#pragma once
// Paints the laid-out pages of the composite unit price table on a printer, a PDF or the
// print preview.
#include "korrel/core/page_layout.h"

#include <QString>

#include <string>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace velmo::print {

// Sets A4 landscape, no margins (the layout keeps its own) and the document name.
void setUpPrinter(QPrinter &printer, const QString &documentName);

// Paints every page on the painter's device, one sheet each; the device's page rectangle is
// taken as the A4 sheet.
void paintPages(QPainter &painter, QPagedPaintDevice &device, const std::vector<PrintPage> &pages);

// The pages as the bytes of a PDF file.
std::string pdfBytes(const std::vector<PrintPage> &pages, const QString &title);

// Writes the PDF whole (through a temporary file beside it); raises IoError.
void writePdf(const std::string &path, const std::vector<PrintPage> &pages, const QString &title);

} // namespace velmo::print
