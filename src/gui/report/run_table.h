// The files a run of the sales writes (PREFIX-vendas.csv, PREFIX-vendedores.csv) read back as
// tables of texts, columns found by their header names so that added columns come along.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gui {

struct RunTable {
    std::vector<std::string> columns;            // the header, in order
    std::vector<std::vector<std::string>> rows;  // each as wide as the header

    // The index of column `name`; nullopt when the file has none.
    std::optional<std::size_t> column(std::string_view name) const;
    // The cell of `row` under `name`; empty when the file has no such column.
    const std::string& cell(std::size_t row, std::string_view name) const;
};

// Reads a run's file: UTF-8 with an optional byte-order mark, ";" between cells, cells quoted
// with doubled quotes inside. With `keepColumn`, only the rows whose cell in that column is
// `keepValue` are kept (the file is read line by line, never held whole). Throws
// std::runtime_error in Portuguese when the file cannot be read.
RunTable ReadRunTable(const std::string& path, std::string_view keepColumn = {}, std::string_view keepValue = {});

// "-1234,56", "1.234,56", "12": whole cents; nullopt for anything else (blank included).
std::optional<long long> CentsOf(std::string_view text);

}  // namespace gui
