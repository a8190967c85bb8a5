// VerificaComissao: the holes of a commission table that a payroll would fall into, found
// before payday (the kinds are written down in docs/commission-rules.md).
#pragma once
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "appserver/store.h"

namespace appserver {

struct Finding {
    std::string kind;  // FAIXA_LACUNA, REGRA_SEM_FAIXA, PROMOCAO_FORA, PERIODO_LACUNA
    std::string text;  // Portuguese
    std::vector<double> tables;  // the table; for PERIODO_LACUNA the tables before and after the gap
    std::optional<Scope> scope;
    std::optional<double> rule;
    std::vector<double> bands;  // FAIXA_LACUNA: the bands below and above the gap
};

// The one parameter, NRCOMISSAOOREV: throws wire::rpc::RpcError(InvalidParams) unless it is
// a whole positive number.
double tableFromParams(const nlohmann::json& params);

// Findings in the order a user meets them: the days no table covers, then each scope page's
// rules. Throws Refusal when no table has that number.
std::vector<Finding> verify(Store& store, double table);

// [{"kind":…,"text":…,"tables":[…],"scope":…,"rule":…,"bands":[…]}, …].
std::string toJsonText(const std::vector<Finding>& findings);

}  // namespace appserver
