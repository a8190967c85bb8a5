// The commission report as a spreadsheet file.
#pragma once
#include <string>

#include "gui/report/commission_report.h"

namespace gui {

// One row a band, after a header row: "Escopo", the rule columns of every scope (a column
// a field, blank where a scope has no such field), then the band columns. A rule without
// bands still gets a row, with blank band cells. Cells hold the grids' texts ("1.234,50");
// ";" separates them (the decimal comma is taken), a cell holding ";", a quote or a line
// break is quoted, lines end in CRLF, and a UTF-8 byte-order mark opens the file so that
// spreadsheets read the accents.
std::string ReportCsv(const CommissionReport& report);

}  // namespace gui
