// A commission table brought in from a spreadsheet file (ImportaComissao), as both the
// desktop's dialog and backoffice-import ask for it and show its answer.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace fw {
class TNetConnection;
}

namespace host {

struct SheetImportRequest {
    std::string fileName;  // its name alone, which the history records
    std::string text;      // the whole file
    std::optional<double> table;  // into this table, which has no rules; none: a new table
    std::string description, start, end;  // the new table: start and end YYYY-MM-DD
    std::string branch;                   // its CDFILIAL on a server without users
};

struct RefusedLine {
    int line = 0;  // 1 the header; 0 the file as a whole
    std::string column, text;
};

struct SheetImportAnswer {
    std::optional<double> table;     // the table filled; none when refused
    std::vector<RefusedLine> refused;  // every line refused, in line order
};

// Asks ImportaComissao. A refusal of the whole request (an unknown table, one with rules, the
// new table's period) raises std::runtime_error with its text; refused lines come in the answer.
SheetImportAnswer AskSheetImport(fw::TNetConnection& server, const SheetImportRequest& request);

// "Linha 40, Valor Inicial: Intervalo de valores está contido …", as the lists show it.
std::string RefusedLineText(const RefusedLine& refused);

}  // namespace host
