// The commission report on paper: laid out on the pages of a PDF writer or a printer.
#pragma once
#include <QString>

#include "gui/report/commission_report.h"

class QPagedPaintDevice;

namespace gui {

// Paints the report on `device`'s pages: a header and a footer on every page (the table,
// its validity, the branch, the date printed and "Página N de M"), then each scope under
// its heading with its rule columns, every rule with its bands beneath; headings repeat
// on the page a list continues on. Returns the number of pages. Throws std::runtime_error
// when the device cannot be painted on (a file that cannot be written).
int PaintReport(const CommissionReport& report, QPagedPaintDevice& device);

// Writes the report as an A4 PDF file at `path` (replaced when it exists); throws
// std::runtime_error with a Portuguese text when it cannot.
void WriteReportPdf(const CommissionReport& report, const QString& path);

}  // namespace gui
