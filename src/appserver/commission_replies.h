// SimulaComissao, ApuraComissao, VerificaComissao and GetRegrasComissao on the wire: their
// parameters checked strictly, and the commission rule's answers written as their replies.
#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "commission/simulation.h"
#include "commission/snapshot.h"
#include "commission/verification.h"

namespace appserver {

// SimulaComissao's five parameters: throws wire::rpc::RpcError(InvalidParams) naming the first
// that is missing, of the wrong type, a date that does not exist, or a value the screen could
// not have typed.
commission::Sale saleFromParams(const nlohmann::json& params);

// ApuraComissao's one parameter, an array of at most `maxSales` sales, each an array of
// SimulaComissao's five parameters: throws wire::rpc::RpcError(InvalidParams) naming the index of
// the first malformed sale (from 0) and its parameter.
std::vector<commission::Sale> salesFromParams(const nlohmann::json& params, std::size_t maxSales);

// VerificaComissao's one parameter, NRCOMISSAOOREV: throws wire::rpc::RpcError(InvalidParams)
// unless it is a whole positive number.
double tableFromParams(const nlohmann::json& params);

// {"table":…,"scope":…,"rule":…,"band":…,"percent":…,"commission":…,"reasons":[…]}.
std::string toJsonText(const commission::Simulation& simulation);

// {"version":…,"tables":[{"number":…,"description":…,"first":"YYYY-MM-DD","last":…,"rules":[{"scope":…,
// "number":…,"cargo":…,"tipoEvento":…,"nomeTipoEvento":…,"first":…,"last":…,"base":…,"bands":[{"number":…,
// "first":…,"last":…,"percent":…}, …]}, …]}, …]}: the rules of each table by scope, each scope in
// its list's order; a rule's dates and base are null unless it is a promotion.
std::string toJsonText(const commission::Snapshot& snapshot);

// [{"kind":…,"text":…,"tables":[…],"scope":…,"rule":…,"bands":[…]}, …].
std::string toJsonText(const std::vector<commission::Finding>& findings);

}  // namespace appserver
