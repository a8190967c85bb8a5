#include "appserver/simulation.h"

#include <algorithm>

#include "appserver/commission_rules.h"
#include "appserver/money.h"
#include "wire/jsonrpc.h"
#include "wire/texts.h"

namespace appserver {

using nlohmann::json;
using rules::Rule;

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
    return rules::dayOf(*at);
}

std::string codeParam(const json& params, std::size_t i, const char* name, const std::string& what,
                      bool (*valid)(const std::string&)) {
    const json& v = params[i];
    if (!v.is_string() || !valid(v.get_ref<const std::string&>())) badParam(i, name, what);
    return v.get<std::string>();
}

bool eventTypeCode(const std::string& s) { return wire::isEventTypeCode(s); }

bool cargoCode(const std::string& s) { return wire::findCode(wire::kCargoCodes, s) != nullptr; }

bool holds(const rules::Band& band, long long cents) { return band.first <= cents && cents <= band.last; }

// Walks the candidates in their order of precedence, noting why each one is passed over.
class Search {
public:
    Search(Store& store, const Sale& sale, double table, Simulation& out)
        : store_(store), sale_(sale), table_(table), out_(out) {}

    bool promotions() {
        const auto promotions = candidates(Scope::Promocao);
        for (const Rule& r : promotions) {
            const long long base = r.base == wire::kDataFechamento ? sale_.closingDay : sale_.eventDay;
            if (base < r.firstDay || base > r.lastDay) {
                pass(r, "a " + rules::baseWord(r.base) + " " + rules::dateText(base) + " está fora da janela");
                continue;
            }
            if (tryBands(r)) return true;
        }
        if (promotions.empty()) note("Nenhuma promoção do tipo de evento " + sale_.tipoEvento + " para " + cargo() + ".");
        return false;
    }

    bool eventTypes() {
        return byRule(Scope::TipoEvento, "Nenhuma regra do tipo de evento " + sale_.tipoEvento + " para " + cargo() + ".");
    }

    bool positions() { return byRule(Scope::Cargo, "Nenhuma regra de cargo para " + cargo() + "."); }

private:
    std::vector<Rule> candidates(Scope scope) {
        return rules::rulesForSale(store_, table_, scope, sale_.tipoEvento, sale_.cargo);
    }

    bool byRule(Scope scope, const std::string& none) {
        const auto found = candidates(scope);
        for (const Rule& r : found)
            if (tryBands(r)) return true;
        if (found.empty()) note(none);
        return false;
    }

    bool tryBands(const Rule& r) {
        const auto bands = rules::bands(store_, table_, r);
        const auto band = std::find_if(bands.begin(), bands.end(), [&](const auto& b) { return holds(b, sale_.valueCents); });
        if (band == bands.end()) {
            pass(r, bands.empty() ? std::string("não tem faixas de valores")
                                  : "nenhuma faixa contém o valor " + money::text(sale_.valueCents));
            return false;
        }
        out_.scope = r.scope;
        out_.rule = r.number;
        out_.band = band->number;
        out_.percent = band->percent;
        out_.commissionCents = money::commission(sale_.valueCents, money::nearestCents(band->percent));
        return true;
    }

    std::string cargo() const { return rules::cargoWord(sale_.cargo); }
    void pass(const Rule& r, const std::string& why) { note(rules::describe(r) + ": " + why + "."); }
    void note(std::string reason) { out_.reasons.push_back(std::move(reason)); }

    Store& store_;
    const Sale& sale_;
    const double table_;
    Simulation& out_;
};

}  // namespace

Sale saleFromParams(const json& params) {
    if (params.size() != 5)
        throw wire::rpc::RpcError(wire::rpc::InvalidParams,
                                  "Invalid params: expected 5 parameters, got " + std::to_string(params.size()));
    Sale sale;
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

Simulation simulate(Store& store, const Sale& sale) {
    Simulation out;
    const auto tables = rules::tables(store);
    const auto table = std::find_if(tables.begin(), tables.end(), [&](const rules::Table& t) {
        return t.firstDay <= sale.eventDay && sale.eventDay <= t.lastDay;
    });
    if (table == tables.end()) {
        out.reasons.push_back("Nenhuma comissão vale na " + rules::baseWord(wire::kDataEvento) + " " +
                              rules::dateText(sale.eventDay) + ".");
        return out;
    }
    out.table = table->number;
    Search search(store, sale, table->number, out);
    if (!search.promotions() && !search.eventTypes()) search.positions();
    return out;
}

std::string toJsonText(const Simulation& s) {
    auto orNull = [](const auto& v) { return v ? nlohmann::ordered_json(*v) : nlohmann::ordered_json(nullptr); };
    nlohmann::ordered_json j;
    j["table"] = orNull(s.table);
    j["scope"] = s.scope ? nlohmann::ordered_json(scopeWord(*s.scope)) : nlohmann::ordered_json(nullptr);
    j["rule"] = orNull(s.rule);
    j["band"] = orNull(s.band);
    j["percent"] = orNull(s.percent);
    j["commission"] = s.commissionCents ? nlohmann::ordered_json(money::toDouble(*s.commissionCents))
                                        : nlohmann::ordered_json(nullptr);
    j["reasons"] = s.reasons;
    return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace appserver
