// Salespeople's statements on paper, in the commission report's look: each salesperson on
// pages of their own, the period, every sale with its commission, and the total.
#pragma once
#include <QString>
#include <string>
#include <vector>

#include "gui/report/sales_statement.h"

namespace gui {

struct StatementHeading {
    std::string branch;     // printed in every page's footer
    std::string printedAt;  // "dd/mm/yyyy hh:mm"
};

// Writes the statements as one A4 PDF file at `path` (replaced when it exists), "Página N de
// M" counted over the whole file. Throws std::runtime_error with a Portuguese text when it
// cannot be written or there is no statement to write.
void WriteStatementPdf(const std::vector<SalesStatement>& statements, const StatementHeading& heading,
                       const QString& path);

}  // namespace gui
