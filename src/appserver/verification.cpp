#include "appserver/verification.h"

#include <algorithm>
#include <cmath>

#include "appserver/commission_rules.h"
#include "appserver/messages.h"
#include "appserver/money.h"
#include "wire/jsonrpc.h"

namespace appserver {

using nlohmann::json;
using rules::Rule;

namespace {

constexpr long long kCent = 1;

// "de A a B" after `many`, or A after `one` when the stretch is a single point.
std::string stretch(const std::string& from, const std::string& to, const char* one, const char* many) {
    return from == to ? std::string(one) + from : std::string(many) + "de " + from + " a " + to;
}

// Days between the first table's start and the last one's end that no table covers.
void periodGaps(const std::vector<rules::Table>& tables, std::vector<Finding>& out) {
    if (tables.empty()) return;
    const rules::Table* reach = &tables.front();  // the table that covers up to the latest day so far
    for (std::size_t i = 1; i < tables.size(); ++i) {
        const rules::Table& next = tables[i];
        if (next.firstDay > reach->lastDay + 1) {
            const std::string from = rules::dateText(reach->lastDay + 1), to = rules::dateText(next.firstDay - 1);
            out.push_back({"PERIODO_LACUNA",
                           "Nenhuma comissão vale " + stretch(from, to, "no dia ", "") + ", entre " +
                               rules::describe(*reach) + " e " + rules::describe(next) + ".",
                           {reach->number, next.number}, std::nullopt, std::nullopt, {}});
        }
        if (next.lastDay > reach->lastDay) reach = &next;
    }
}

// A finding about one rule: its description, then what is wrong with it.
Finding about(const Rule& r, double table, const char* kind, const std::string& what) {
    return {kind, rules::describe(r) + ": " + what + ".", {table}, r.scope, r.number, {}};
}

void bandGaps(const Rule& r, double table, const std::vector<rules::Band>& bands, std::vector<Finding>& out) {
    if (bands.empty()) {
        out.push_back(about(r, table, "REGRA_SEM_FAIXA", "não tem faixas de valores"));
        return;
    }
    const rules::Band* reach = &bands.front();
    for (std::size_t i = 1; i < bands.size(); ++i) {
        const rules::Band& next = bands[i];
        // Values are typed in cents: ends one cent apart leave nothing out.
        if (next.first - reach->last > kCent) {
            Finding f = about(r, table, "FAIXA_LACUNA",
                              "nenhuma faixa contém " + stretch(money::text(reach->last + kCent),
                                                                money::text(next.first - kCent), "o valor ",
                                                                "os valores "));
            f.bands = {reach->number, next.number};
            out.push_back(std::move(f));
        }
        if (next.last > reach->last) reach = &next;
    }
}

}  // namespace

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

std::vector<Finding> verify(Store& store, double table) {
    const auto tables = rules::tables(store);
    const auto self = std::find_if(tables.begin(), tables.end(), [&](const rules::Table& t) { return t.number == table; });
    if (self == tables.end()) throw Refusal(msg::kComissaoNaoCadastrada);

    std::vector<Finding> out;
    periodGaps(tables, out);
    for (Scope scope : {Scope::Cargo, Scope::TipoEvento, Scope::Promocao}) {
        for (const Rule& r : rules::rules(store, table, scope)) {
            if (scope == Scope::Promocao && (r.firstDay < self->firstDay || r.lastDay > self->lastDay))
                out.push_back(about(r, table, "PROMOCAO_FORA",
                                    "a janela passa da validade da comissão, de " + rules::dateText(self->firstDay) +
                                        " a " + rules::dateText(self->lastDay)));
            bandGaps(r, table, rules::intervals(store, table, r), out);
        }
    }
    return out;
}

std::string toJsonText(const std::vector<Finding>& findings) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Finding& f : findings) {
        nlohmann::ordered_json j;
        j["kind"] = f.kind;
        j["text"] = f.text;
        j["tables"] = f.tables;
        j["scope"] = f.scope ? nlohmann::ordered_json(scopeWord(*f.scope)) : nlohmann::ordered_json(nullptr);
        j["rule"] = f.rule ? nlohmann::ordered_json(*f.rule) : nlohmann::ordered_json(nullptr);
        j["bands"] = f.bands;
        list.push_back(std::move(j));
    }
    return list.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace appserver
