// The history of a commission table as both hosts show it: every change applied to the table
// and what hangs under it, oldest first (GetHistorico).
#pragma once
#include <string>
#include <vector>

namespace fw {
class TNetConnection;
}

namespace host {

struct HistoryEntry {
    std::string when;  // the server's clock, UTC: YYYY-MM-DDTHH:MM:SS
    std::string user;
    std::string list;       // COMISSAO, CARGO, TIPOEVENTO, PROMOCAO, FAIXACARGO, ...
    std::string operation;  // INCLUSAO, ALTERACAO, EXCLUSAO
    std::string before;     // "FIELD=value; ..."; empty for an insert
    std::string after;      // empty for a delete
};

// Asks GetHistorico; a failed call raises fw::EServerError with its text.
std::vector<HistoryEntry> AskHistory(fw::TNetConnection& server, double table);

// The script host's lines: "history: table=N changes=M", then one "change:" line each.
std::string HistoryLines(double table, const std::vector<HistoryEntry>& entries);

}  // namespace host
