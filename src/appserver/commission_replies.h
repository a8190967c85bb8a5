// SimulaComissao and VerificaComissao on the wire: their parameters checked strictly, and the
// commission rule's answers written as their replies.
#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "commission/simulation.h"
#include "commission/verification.h"

namespace appserver {

// SimulaComissao's five parameters: throws wire::rpc::RpcError(InvalidParams) naming the first
// that is missing, of the wrong type, a date that does not exist, or a value the screen could
// not have typed.
commission::Sale saleFromParams(const nlohmann::json& params);

// VerificaComissao's one parameter, NRCOMISSAOOREV: throws wire::rpc::RpcError(InvalidParams)
// unless it is a whole positive number.
double tableFromParams(const nlohmann::json& params);

// {"table":…,"scope":…,"rule":…,"band":…,"percent":…,"commission":…,"reasons":[…]}.
std::string toJsonText(const commission::Simulation& simulation);

// [{"kind":…,"text":…,"tables":[…],"scope":…,"rule":…,"bands":[…]}, …].
std::string toJsonText(const std::vector<commission::Finding>& findings);

}  // namespace appserver
