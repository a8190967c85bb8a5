// Which rule and band pay a sale, what they pay, and why the other candidates were passed over
// (the rule is written down in docs/commission-rules.md).
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "commission/snapshot.h"

namespace commission {

struct Sale {
    long long eventDay = 0, closingDay = 0;  // days since 1970-01-01
    std::string tipoEvento;
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

// No table, no rule or no band is an answer like any other, with its reasons. Indexes the
// snapshot for this one sale: to ask many, build a commission::Engine once.
Simulation simulate(const Snapshot& snapshot, const Sale& sale);

}  // namespace commission
