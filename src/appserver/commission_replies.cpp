#include "appserver/commission_replies.h"

#include <algorithm>
#include <cmath>

#include "commission/money.h"
#include "wire/datetime.h"
#include "wire/jsonrpc.h"
#include "wire/texts.h"

namespace appserver {

using nlohmann::json;
namespace money = commission::money;

namespace {

[[noreturn]] void badParam(std::size_t i, const char* name, const std::string& what) {
    throw wire::rpc::RpcError(wire::rpc::InvalidParams,
                              "Invalid params: parameter " + std::to_string(i + 1) + " (" + name + ") " + what);
}

long long dayParam(const json& params, std::size_t i, const char* name) {
    const json& v = params[i];
    std::optional<wire::DateTime> at;
    if (v.is_string() && v.get_ref<const std::string&>().size() == 10)
        at = wire::DateTime::parseIso(v.get<std::string>() + "T00:00:00");
    if (!at) badParam(i, name, "must be a date YYYY-MM-DD that exists");
    return at->days();
}

std::string codeParam(const json& params, std::size_t i, const char* name, const std::string& what,
                      bool (*valid)(const std::string&)) {
    const json& v = params[i];
    if (!v.is_string() || !valid(v.get_ref<const std::string&>())) badParam(i, name, what);
    return v.get<std::string>();
}

bool eventTypeCode(const std::string& s) { return wire::isEventTypeCode(s); }

bool cargoCode(const std::string& s) { return wire::findCode(wire::kCargoCodes, s) != nullptr; }

}  // namespace

commission::Sale saleFromParams(const json& params) {
    if (params.size() != 5)
        throw wire::rpc::RpcError(wire::rpc::InvalidParams,
                                  "Invalid params: expected 5 parameters, got " + std::to_string(params.size()));
    commission::Sale sale;
    sale.eventDay = dayParam(params, 0, "event date");
    sale.closingDay = dayParam(params, 1, "closing date");
    sale.tipoEvento = codeParam(params, 2, "CDTIPOEVENTO",
                                "must be an event-type code of three characters with no blank at either end",
                                eventTypeCode);
    sale.cargo = codeParam(params, 3, "IDCARGOVEND", "must be a position code: V, S or G", cargoCode);
    const json& value = params[4];
    const auto cents = value.is_number() ? money::exactCents(value.get<double>()) : std::nullopt;
    if (!cents) badParam(4, "value", "must be a number from -999999999 to 999999999 with at most two decimals");
    sale.valueCents = *cents;
    return sale;
}

std::vector<commission::Sale> salesFromParams(const json& params, std::size_t maxSales) {
    auto bad = [](const std::string& why) {
        throw wire::rpc::RpcError(wire::rpc::InvalidParams, "Invalid params: " + why);
    };
    if (params.size() != 1) bad("expected 1 parameter, got " + std::to_string(params.size()));
    const json& sales = params[0];
    if (!sales.is_array()) bad("parameter 1 (SALES) must be an array of sales");
    if (sales.size() > maxSales)
        bad("parameter 1 (SALES) holds at most " + std::to_string(maxSales) + " sales, this one has " +
            std::to_string(sales.size()));
    std::vector<commission::Sale> out;
    out.reserve(sales.size());
    for (std::size_t i = 0; i < sales.size(); ++i) {
        const std::string at = "sale " + std::to_string(i) + ": ";
        if (!sales[i].is_array()) bad(at + "must be an array of the 5 parameters of SimulaComissao");
        try {
            out.push_back(saleFromParams(sales[i]));
        } catch (const wire::rpc::RpcError& e) {
            std::string why = e.what();
            if (why.starts_with("Invalid params: ")) why.erase(0, 16);
            bad(at + why);
        }
    }
    return out;
}

double tableFromParams(const json& params) {
    if (params.size() != 1)
        throw wire::rpc::RpcError(wire::rpc::InvalidParams,
                                  "Invalid params: expected 1 parameter, got " + std::to_string(params.size()));
    const json& v = params[0];
    if (!v.is_number() || v.get<double>() <= 0 || std::trunc(v.get<double>()) != v.get<double>() ||
        v.get<double>() > 9e15)
        throw wire::rpc::RpcError(wire::rpc::InvalidParams,
                                  "Invalid params: parameter 1 (NRCOMISSAOOREV) must be a table number");
    return v.get<double>();
}

std::string toJsonText(const commission::Simulation& s) {
    auto orNull = [](const auto& v) { return v ? nlohmann::ordered_json(*v) : nlohmann::ordered_json(nullptr); };
    nlohmann::ordered_json j;
    j["table"] = orNull(s.table);
    j["scope"] = s.scope ? nlohmann::ordered_json(wire::scopeWord(*s.scope)) : nlohmann::ordered_json(nullptr);
    j["rule"] = orNull(s.rule);
    j["band"] = orNull(s.band);
    j["percent"] = orNull(s.percent);
    j["commission"] = s.commissionCents ? nlohmann::ordered_json(money::toDouble(*s.commissionCents))
                                        : nlohmann::ordered_json(nullptr);
    j["reasons"] = s.reasons;
    return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string toJsonText(const commission::Snapshot& snapshot) {
    using ojson = nlohmann::ordered_json;
    auto day = [](long long d) { return wire::DateTime::fromDays(d).iso().substr(0, 10); };
    ojson tables = ojson::array();
    for (const commission::Table& t : snapshot.tables) {
        ojson rules = ojson::array();
        for (wire::Scope scope : wire::kScopes) {
            for (const commission::Rule& r : t.of(scope)) {
                const bool promotion = scope == wire::Scope::Promocao;
                ojson bands = ojson::array();
                for (const commission::Band& b : r.bands)
                    bands.push_back({{"number", b.number},
                                     {"first", money::toDouble(b.first)},
                                     {"last", money::toDouble(b.last)},
                                     {"percent", b.percent}});
                rules.push_back({{"scope", wire::scopeWord(scope)},
                                 {"number", r.number},
                                 {"cargo", r.cargo},
                                 {"tipoEvento", r.tipoEvento},
                                 {"nomeTipoEvento", r.nomeTipoEvento},
                                 {"first", promotion ? ojson(day(r.firstDay)) : ojson(nullptr)},
                                 {"last", promotion ? ojson(day(r.lastDay)) : ojson(nullptr)},
                                 {"base", promotion ? ojson(r.base) : ojson(nullptr)},
                                 {"bands", std::move(bands)}});
            }
        }
        tables.push_back({{"number", t.number},
                          {"description", t.description},
                          {"first", day(t.firstDay)},
                          {"last", day(t.lastDay)},
                          {"rules", std::move(rules)}});
    }
    ojson j;
    j["version"] = snapshot.version;
    j["tables"] = std::move(tables);
    return j.dump(-1, ' ', false, ojson::error_handler_t::replace);
}

std::string toJsonText(const std::vector<commission::Finding>& findings) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const commission::Finding& f : findings) {
        nlohmann::ordered_json j;
        j["kind"] = f.kind;
        j["text"] = f.text;
        j["tables"] = f.tables;
        j["scope"] = f.scope ? nlohmann::ordered_json(wire::scopeWord(*f.scope)) : nlohmann::ordered_json(nullptr);
        j["rule"] = f.rule ? nlohmann::ordered_json(*f.rule) : nlohmann::ordered_json(nullptr);
        j["bands"] = f.bands;
        list.push_back(std::move(j));
    }
    return list.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace appserver
