// SimulaComissao: which rule and band a sale would meet, what it would earn, and why the
// other candidates were passed over (the rules are written down in docs/commission-rules.md).
#pragma once
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "appserver/store.h"

namespace appserver {

struct Sale {
    long long eventDay = 0, closingDay = 0;  // days since 1970-01-01
    std::string tipoEvento;                  // three digits
    std::string cargo;                       // V, S or G
    long long valueCents = 0;
};

struct Simulation {
    std::optional<double> table;
    std::optional<Scope> scope;
    std::optional<double> rule, band, percent;
    std::optional<long long> commissionCents;
    std::vector<std::string> reasons;  // Portuguese, one a candidate passed over
};

// The method's parameters, checked strictly: throws wire::rpc::RpcError(InvalidParams)
// naming the first parameter that is missing, of the wrong type, a date that does not exist,
// or a value the screen could not have typed.
Sale saleFromParams(const nlohmann::json& params);

// No table, no rule or no band is an answer like any other, with its reasons.
Simulation simulate(Store& store, const Sale& sale);

// {"table":…,"scope":…,"rule":…,"band":…,"percent":…,"commission":…,"reasons":[…]}.
std::string toJsonText(const Simulation& simulation);

}  // namespace appserver
