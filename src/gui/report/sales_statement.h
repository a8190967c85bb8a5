// A salesperson's statement of a run: their sales with each one's commission, the period the
// sales fall in, and the totals, read from the run's PREFIX-vendas.csv.
#pragma once
#include <string>
#include <vector>

#include "gui/report/run_table.h"

namespace gui {

struct StatementSale {
    // As the run wrote them: dates dd/mm/aaaa, amounts with a decimal comma.
    std::string venda, date, eventType, position, value, percent, commission, reason;
};

struct SalesStatement {
    std::string vendedor;
    std::string from, to;  // the earliest and latest event date, dd/mm/aaaa; empty without sales
    std::vector<StatementSale> sales;  // in the file's order
    long long salesCents = 0, commissionCents = 0;  // exact sums of the lines
};

// The statements of `vendedores` (codes, in the order wanted) from the lines of `vendas`; a
// code without lines gets an empty statement.
std::vector<SalesStatement> ReadStatements(const RunTable& vendas, const std::vector<std::string>& vendedores);

}  // namespace gui
