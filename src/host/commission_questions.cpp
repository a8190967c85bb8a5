#include "host/commission_questions.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <set>

#include "framework/tlocaldatabase.h"
#include "framework/tnetconnection.h"
#include "toolkit/formats.h"
#include "wire/lists.h"
#include "wire/packet_json.h"
#include "wire/texts.h"

namespace host {
namespace {

using nlohmann::json;

// The widest value the band grid takes, either way, in cents (999.999.999,00).
constexpr long long kLimitCents = 99'999'999'900;

std::string trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1));
}

bool digits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// "YYYY-MM-DD" of a date typed as dd/mm/aaaa or AAAA-MM-DD; `label` names the input.
std::string readDate(const std::string& typed, const char* label) {
    const std::string text = trim(typed);
    if (text.empty()) throw InputError(std::string(label) + " deve ser informada.");
    std::optional<wire::DateTime> date;
    if (text.size() == 10 && text[4] == '-')
        date = wire::DateTime::parseIso(text + "T00:00:00");
    else
        date = tk::TryStrToDate(text);
    if (!date)
        throw InputError(std::string(label) + " inválida: \"" + text +
                         "\". Informe uma data existente no formato dd/mm/aaaa.");
    return date->iso().substr(0, 10);
}

std::string readEventType(const std::string& typed, const std::vector<EventType>& catalogue) {
    const std::string text = trim(typed);
    if (text.empty()) throw InputError(wire::message("TPEVEN_NINF"));
    const std::string code = digits(text) && text.size() <= 3 ? std::string(3 - text.size(), '0') + text : text;
    if (std::none_of(catalogue.begin(), catalogue.end(), [&](const EventType& e) { return e.code == code; }))
        throw InputError(wire::message("EVEN_N_CAD"));
    return code;
}

std::string readPosition(const std::string& typed) {
    const std::string text = lower(trim(typed));
    if (text.empty()) throw InputError(wire::message("Cargo_NCad"));
    for (const wire::CodeEntry& e : wire::kCargoCodes)
        if (text == lower(e.code) || text == lower(wire::message(e.messageKey))) return e.code;
    throw InputError("Cargo inválido: \"" + trim(typed) + "\". Use Vendedor, Supervisor ou Gerente.");
}

// The whole part of a value, thousands points allowed where they belong ("1.234"); nullopt
// when it is not such a number.
std::optional<std::string> wholeDigits(const std::string& text) {
    if (text.find('.') == std::string::npos) return digits(text) ? std::optional(text) : std::nullopt;
    std::string out;
    std::size_t start = 0;
    for (bool first = true;; first = false) {
        const auto dot = text.find('.', start);
        const std::string group = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!digits(group) || group.size() > 3 || (!first && group.size() != 3)) return std::nullopt;
        out += group;
        if (dot == std::string::npos) return out;
        start = dot + 1;
    }
}

double readValue(const std::string& typed) {
    std::string text = trim(typed);
    if (text.empty()) throw InputError("Valor da venda deve ser informado.");
    const InputError malformed("Valor da venda inválido: \"" + text +
                               "\". Informe um número com vírgula decimal, como 1.234,56.");
    const bool negative = text.front() == '-';
    if (negative) text.erase(0, 1);
    const auto comma = text.find(',');
    const auto whole = wholeDigits(text.substr(0, comma));
    const std::string fraction = comma == std::string::npos ? std::string() : text.substr(comma + 1);
    if (!whole || (comma != std::string::npos && !digits(fraction))) throw malformed;
    if (fraction.size() > 2) throw InputError("Valor da venda deve ter no máximo duas casas decimais.");
    const std::string significant = whole->substr(std::min(whole->find_first_not_of('0'), whole->size()));
    long long cents = significant.size() > 9 ? kLimitCents + 1 : std::stoll("0" + significant) * 100;
    if (!fraction.empty()) cents += std::stoll(fraction) * (fraction.size() == 1 ? 10 : 1);
    if (cents > kLimitCents)
        throw InputError("Valor da venda fora do limite: use de -999.999.999,00 a 999.999.999,00.");
    return static_cast<double>(negative ? -cents : cents) / 100;
}

const json& member(const json& object, const char* name) {
    static const json null;
    const auto it = object.find(name);
    return it == object.end() ? null : *it;
}

std::optional<double> number(const json& object, const char* name) {
    const json& v = member(object, name);
    return v.is_number() ? std::optional(v.get<double>()) : std::nullopt;
}

std::string text(const json& object, const char* name) {
    const json& v = member(object, name);
    return v.is_string() ? v.get<std::string>() : std::string();
}

std::vector<double> numbers(const json& object, const char* name) {
    std::vector<double> out;
    for (const json& v : member(object, name))
        if (v.is_number()) out.push_back(v.get<double>());
    return out;
}

[[noreturn]] void badAnswer(const char* method) {
    throw std::runtime_error(std::string("Resposta inválida do servidor de aplicação a ") + method + ".");
}

// The event types that the rules of one list of the table name.
void namedTypes(fw::TNetConnection& server, const char* method, double table, std::set<std::string>& out) {
    const json result = server.CallResult(method, {table});
    wire::DataPacket packet;
    try {
        packet = wire::packetFromJson(result);
    } catch (const std::exception&) {
        badAnswer(method);
    }
    const int at = packet.fieldIndex("CDTIPOEVENTO");
    for (const auto& row : packet.rows)
        if (at >= 0 && static_cast<std::size_t>(at) < row.size())
            if (const auto* code = std::get_if<std::string>(&row[static_cast<std::size_t>(at)])) out.insert(*code);
}

}  // namespace

std::vector<EventType> ReadEventTypes(fw::TLocalDatabase& db) {
    const wire::DataPacket rows =
        db.Query("SELECT CDTIPOEVENTO, NMTIPOEVENTO FROM TIPOEVENTO ORDER BY CDTIPOEVENTO", {},
                 {{"CDTIPOEVENTO", wire::FieldType::String, 3}, {"NMTIPOEVENTO", wire::FieldType::String, 30}});
    std::vector<EventType> out;
    for (const auto& row : rows.rows) {
        const auto* code = std::get_if<std::string>(&row[0]);
        const auto* name = std::get_if<std::string>(&row[1]);
        if (code) out.push_back({*code, name ? *name : std::string()});
    }
    return out;
}

Sale ReadSale(const std::string& eventDate, const std::string& closingDate, const std::string& eventType,
              const std::string& position, const std::string& value, const std::vector<EventType>& catalogue) {
    Sale sale;
    sale.eventDate = readDate(eventDate, wire::message("DATAEVENTO"));
    sale.closingDate = readDate(closingDate, wire::message("DATAFECHAMENTO"));
    sale.tipoEvento = readEventType(eventType, catalogue);
    sale.cargo = readPosition(position);
    sale.value = readValue(value);
    return sale;
}

SaleAnswer AskSale(fw::TNetConnection& server, const Sale& sale) {
    const json result = server.CallResult(
        "SimulaComissao", {sale.eventDate, sale.closingDate, sale.tipoEvento, sale.cargo, sale.value});
    if (!result.is_object()) badAnswer("SimulaComissao");
    SaleAnswer answer;
    answer.table = number(result, "table");
    answer.scope = text(result, "scope");
    answer.rule = number(result, "rule");
    answer.band = number(result, "band");
    answer.percent = number(result, "percent");
    answer.commission = number(result, "commission");
    for (const json& reason : member(result, "reasons"))
        if (reason.is_string()) answer.reasons.push_back(reason.get<std::string>());
    return answer;
}

std::vector<Finding> CheckTable(fw::TNetConnection& server, double table, const std::vector<EventType>& catalogue) {
    const json result = server.CallResult("VerificaComissao", {table});
    if (!result.is_array()) badAnswer("VerificaComissao");
    std::vector<Finding> findings;
    for (const json& f : result)
        if (f.is_object())
            findings.push_back({text(f, "kind"), text(f, "text"), numbers(f, "tables"), text(f, "scope"),
                                number(f, "rule"), numbers(f, "bands")});

    std::set<std::string> named;
    namedTypes(server, "GetEvento", table, named);
    namedTypes(server, "GetPromocao", table, named);
    for (const EventType& type : catalogue)
        if (named.count(type.code) == 0)
            findings.push_back({"TIPOEVENTO_SEM_REGRA",
                                "Tipo de evento " + type.code + (type.name.empty() ? "" : " " + type.name) +
                                    " não tem regra de tipo de evento nem promoção nesta comissão: suas vendas seguem "
                                    "a regra de cargo.",
                                {table}, wire::scopeWord(wire::Scope::TipoEvento), std::nullopt, {}});
    return findings;
}

TableCopyRequest ReadTableCopy(double source, const std::string& start, const std::string& end,
                               const std::string& description) {
    TableCopyRequest copy;
    copy.source = source;
    copy.start = readDate(start, "Data Inicial");
    copy.end = readDate(end, "Data Final");
    copy.description = trim(description);
    return copy;
}

TableCopyAnswer AskTableCopy(fw::TNetConnection& server, const TableCopyRequest& copy) {
    const json result = server.CallResult("CopiaComissao", {copy.source, copy.description, copy.start, copy.end});
    if (!result.is_object() || !number(result, "table")) badAnswer("CopiaComissao");
    TableCopyAnswer answer;
    answer.table = *number(result, "table");
    for (const json& left : member(result, "left"))
        if (left.is_string()) answer.left.push_back(left.get<std::string>());
    return answer;
}

}  // namespace host
