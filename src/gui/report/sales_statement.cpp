#include "gui/report/sales_statement.h"

#include <unordered_map>

namespace gui {
namespace {

// dd/mm/aaaa as aaaammdd, so that dates compare as numbers; 0 when not a date.
long dayKey(const std::string& d) {
    if (d.size() != 10 || d[2] != '/' || d[5] != '/') return 0;
    try {
        return std::stol(d.substr(6, 4)) * 10000 + std::stol(d.substr(3, 2)) * 100 + std::stol(d.substr(0, 2));
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

std::vector<SalesStatement> ReadStatements(const RunTable& vendas, const std::vector<std::string>& vendedores) {
    std::unordered_map<std::string, std::vector<std::size_t>> linesOf;
    if (const auto c = vendas.column("VENDEDOR"))
        for (std::size_t r = 0; r < vendas.rows.size(); ++r) linesOf[vendas.rows[r][*c]].push_back(r);
    std::vector<SalesStatement> out;
    out.reserve(vendedores.size());
    for (const std::string& code : vendedores) {
        SalesStatement s;
        s.vendedor = code;
        long first = 0, last = 0;
        for (std::size_t r : linesOf[code]) {
            StatementSale sale{vendas.cell(r, "VENDA"),           vendas.cell(r, "DTEVENTO"),
                               vendas.cell(r, "CDTIPOEVENTO"),    vendas.cell(r, "IDCARGOVEND"),
                               vendas.cell(r, "VRVENDA"),         vendas.cell(r, "VRCOMISSAO"),
                               vendas.cell(r, "VRCOMISSAOVENDA"), vendas.cell(r, "MOTIVO")};
            s.salesCents += CentsOf(sale.value).value_or(0);
            s.commissionCents += CentsOf(sale.commission).value_or(0);
            if (const long key = dayKey(sale.date); key > 0) {
                if (first == 0 || key < first) {
                    first = key;
                    s.from = sale.date;
                }
                if (key > last) {
                    last = key;
                    s.to = sale.date;
                }
            }
            s.sales.push_back(std::move(sale));
        }
        out.push_back(std::move(s));
    }
    return out;
}

}  // namespace gui
