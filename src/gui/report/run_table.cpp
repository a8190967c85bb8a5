#include "gui/report/run_table.h"

#include <fstream>
#include <stdexcept>

namespace gui {
namespace {

// One line's cells; a line never holds a line end, the run writes none inside a cell.
void splitCells(std::string_view line, std::vector<std::string>& cells) {
    cells.clear();
    std::string cell;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        any = true;
        if (quoted) {
            if (c != '"') {
                cell += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                cell += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            cells.push_back(std::move(cell));
            cell.clear();
        } else {
            cell += c;
        }
    }
    if (any || !cells.empty()) cells.push_back(std::move(cell));
}

}  // namespace

std::optional<std::size_t> RunTable::column(std::string_view name) const {
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c] == name) return c;
    return std::nullopt;
}

const std::string& RunTable::cell(std::size_t row, std::string_view name) const {
    static const std::string kNone;
    const auto c = column(name);
    return c ? rows.at(row).at(*c) : kNone;
}

RunTable ReadRunTable(const std::string& path, std::string_view keepColumn, std::string_view keepValue) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("Não foi possível ler o arquivo " + path + ".");
    RunTable table;
    std::string line;
    std::vector<std::string> cells;
    std::optional<std::size_t> keep;
    bool header = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (header) {
            if (line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
            splitCells(line, table.columns);
            header = false;
            if (!keepColumn.empty()) {
                keep = table.column(keepColumn);
                if (!keep) return table;
            }
            continue;
        }
        if (line.empty()) continue;
        splitCells(line, cells);
        cells.resize(table.columns.size());
        if (keep && cells[*keep] != keepValue) continue;
        table.rows.push_back(cells);
    }
    if (in.bad()) throw std::runtime_error("Não foi possível ler o arquivo " + path + ".");
    return table;
}

std::optional<long long> CentsOf(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    long long whole = 0;
    int digits = 0, decimals = -1;
    long long fraction = 0;
    for (char c : text) {
        if (c == '.' && decimals < 0) continue;  // thousands point
        if (c == ',' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (c < '0' || c > '9' || decimals >= 2 || whole > 99'999'999'999'999) return std::nullopt;
        if (decimals >= 0) {
            fraction = fraction * 10 + (c - '0');
            ++decimals;
        } else {
            whole = whole * 10 + (c - '0');
            ++digits;
        }
    }
    if (digits == 0) return std::nullopt;
    if (decimals == 1) fraction *= 10;
    const long long cents = whole * 100 + fraction;
    return negative ? -cents : cents;
}

}  // namespace gui
