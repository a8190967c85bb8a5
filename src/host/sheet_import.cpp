#include "host/sheet_import.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "framework/tnetconnection.h"

namespace host {

using nlohmann::json;

SheetImportAnswer AskSheetImport(fw::TNetConnection& server, const SheetImportRequest& request) {
    std::vector<fw::TServerParam> params{request.fileName, request.text};
    if (request.table) params.emplace_back(*request.table);
    else params.insert(params.end(), {request.description, request.start, request.end, request.branch});
    const json result = server.CallResult("ImportaComissao", params);
    const auto refused = result.is_object() ? result.find("refused") : result.end();
    const auto table = result.is_object() ? result.find("table") : result.end();
    if (refused == result.end() || !refused->is_array() || table == result.end() || !(table->is_number() || table->is_null()))
        throw std::runtime_error("Resposta inválida do servidor de aplicação a ImportaComissao.");
    SheetImportAnswer answer;
    if (table->is_number()) answer.table = table->get<double>();
    for (const json& r : *refused) {
        if (!r.is_object()) continue;
        RefusedLine line;
        line.line = r.value("line", 0);
        line.column = r.value("column", std::string());
        line.text = r.value("text", std::string());
        answer.refused.push_back(std::move(line));
    }
    if (!answer.table && answer.refused.empty())
        throw std::runtime_error("Resposta inválida do servidor de aplicação a ImportaComissao.");
    return answer;
}

std::string RefusedLineText(const RefusedLine& refused) {
    std::string out = refused.line > 0 ? "Linha " + std::to_string(refused.line) : std::string("Arquivo");
    if (!refused.column.empty()) out += ", " + refused.column;
    return out + ": " + refused.text;
}

}  // namespace host
