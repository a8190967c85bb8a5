#include "host/change_history.h"

#include "framework/tnetconnection.h"
#include "host/script_command.h"
#include "wire/value.h"

namespace host {

std::vector<HistoryEntry> AskHistory(fw::TNetConnection& server, double table) {
    const fw::TServerReply reply = server.Call("GetHistorico", {table});
    std::vector<HistoryEntry> entries;
    if (!reply.data) return entries;
    const wire::DataPacket& p = *reply.data;
    auto text = [&](const wire::Row& row, const char* field) {
        const int i = p.fieldIndex(field);
        return i < 0 ? std::string() : wire::render(row[static_cast<std::size_t>(i)]);
    };
    for (const auto& row : p.rows) {
        std::string when = text(row, "DTHISTORICO");
        if (when.size() == 10) when += "T00:00:00";  // midnight renders as the date alone
        entries.push_back({when, text(row, "NMUSUARIO"), text(row, "IDLISTA"), text(row, "IDOPERACAO"),
                           text(row, "DSANTES"), text(row, "DSDEPOIS")});
    }
    return entries;
}

std::string HistoryLines(double table, const std::vector<HistoryEntry>& entries) {
    std::string out = "history: table=" + wire::render(table) + " changes=" + std::to_string(entries.size()) + "\n";
    for (const auto& e : entries)
        out += "change: when=" + e.when + " user=" + oneLine(e.user) + " list=" + e.list + " operation=" + e.operation +
               " before=" + oneLine(e.before) + " after=" + oneLine(e.after) + "\n";
    return out;
}

}  // namespace host
