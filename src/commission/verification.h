// The holes of a commission table that a payroll would fall into, found before payday (the
// kinds are written down in docs/commission-rules.md).
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "commission/snapshot.h"

namespace commission {

struct Finding {
    std::string kind;  // FAIXA_LACUNA, REGRA_SEM_FAIXA, PROMOCAO_FORA, PERIODO_LACUNA
    std::string text;  // Portuguese
    std::vector<double> tables;  // the table; for PERIODO_LACUNA the tables before and after the gap
    std::optional<Scope> scope;
    std::optional<double> rule;
    std::vector<double> bands;  // FAIXA_LACUNA: the bands below and above the gap
};

// Findings in the order a user meets them: the days no table covers, then each scope page's
// rules. Nullopt when no table has that number.
std::optional<std::vector<Finding>> verify(const Snapshot& snapshot, double table);

}  // namespace commission
