// The sales file as a Brazilian spreadsheet saves it: its header, and each line read into a sale
// or refused with its column and a Portuguese reason. Reads text in memory only.
#pragma once
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "commission/simulation.h"

namespace batch {

// A file that cannot be read as a sales file at all (its header), in Portuguese.
class SalesFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where the header put each required column.
struct Columns {
    std::vector<std::string> names;  // every header cell, in order
    std::size_t venda = 0, vendedor = 0, cargo = 0, tipoEvento = 0, dtEvento = 0, dtFechamento = 0, valor = 0;
};

// The header line (without its line end; a byte-order mark in front is skipped). Throws
// SalesFileError naming the first required column missing or repeated.
Columns readHeader(std::string_view line);

struct Refusal {
    std::string column;  // the header's name of the cell at fault; empty for the line as a whole
    std::string reason;  // Portuguese
};

// One line read: `sale` and `vendedor` when good.
struct SaleLine {
    commission::Sale sale;
    std::string vendedor;
};

// Reads one line (without its line end) into `out`. Nullopt when good. `scratch` is reused from
// line to line so that a good line allocates nothing.
struct CellSpan {
    std::size_t begin, end;  // the cell's text inside the line, its quotes left out
    bool quoted, doubledQuotes;
};
std::optional<Refusal> readLine(std::string_view line, const Columns& columns, SaleLine& out,
                                std::vector<CellSpan>& scratch);
// The text of a cell `readLine` split, its doubled quotes made single again.
std::string cellText(std::string_view line, const CellSpan& cell);

// The reading of single cells, for whoever writes such files too.
// "1.234,56", "1234,56", "-0,5", "12": cents; nullopt with `why` set otherwise.
std::optional<long long> readValue(std::string_view text, std::string& why);
// "dd/mm/aaaa" of a day that exists: days since 1970-01-01; nullopt with `why` set otherwise.
std::optional<long long> readDate(std::string_view text, std::string& why);

}  // namespace batch
