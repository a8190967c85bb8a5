#include "batch/rules_reply.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "commission/money.h"
#include "wire/datetime.h"

namespace batch {
namespace {

long long day(const nlohmann::json& v) {
    const auto at = wire::DateTime::parseIso(v.get<std::string>() + "T00:00:00");
    if (!at) throw std::runtime_error("data inválida");
    return at->days();
}

}  // namespace

commission::Snapshot snapshotFromReply(const nlohmann::json& reply) {
    try {
        commission::Snapshot out;
        out.version = reply.at("version").get<std::uint64_t>();
        for (const auto& t : reply.at("tables")) {
            commission::Table table;
            table.number = t.at("number").get<double>();
            table.description = t.at("description").get<std::string>();
            table.firstDay = day(t.at("first"));
            table.lastDay = day(t.at("last"));
            for (const auto& r : t.at("rules")) {
                commission::Rule rule;
                rule.scope = wire::scopeFromWord(r.at("scope").get<std::string>());
                rule.number = r.at("number").get<double>();
                rule.cargo = r.at("cargo").get<std::string>();
                rule.tipoEvento = r.at("tipoEvento").get<std::string>();
                rule.nomeTipoEvento = r.at("nomeTipoEvento").get<std::string>();
                if (rule.scope == wire::Scope::Promocao) {
                    rule.firstDay = day(r.at("first"));
                    rule.lastDay = day(r.at("last"));
                    rule.base = r.at("base").get<std::string>();
                }
                for (const auto& b : r.at("bands"))
                    rule.bands.push_back({b.at("number").get<double>(),
                                          commission::money::nearestCents(b.at("first").get<double>()),
                                          commission::money::nearestCents(b.at("last").get<double>()),
                                          b.at("percent").get<double>()});
                table.of(rule.scope).push_back(std::move(rule));
            }
            out.tables.push_back(std::move(table));
        }
        return out;
    } catch (const std::exception&) {
        throw std::runtime_error("Resposta inválida do servidor de aplicação às regras de comissão.");
    }
}

}  // namespace batch
