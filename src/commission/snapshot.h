// The commission tables as plain values, as one version of the store held them: what every
// question about a sale is answered from. Built by the caller; nothing here reads a store.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "wire/lists.h"

namespace commission {

using wire::Scope;

struct Band {
    double number = 0;
    long long first = 0, last = 0;  // the closed interval, in cents
    double percent = 0;             // as stored: 2.5 is 2,50 %
};

struct Rule {
    Scope scope = Scope::Cargo;
    double number = 0;
    std::string cargo;           // V, S or G
    std::string tipoEvento;      // event-type rules and promotions
    std::string nomeTipoEvento;  // as stored with the rule; may be empty
    long long firstDay = 0, lastDay = 0;  // promotions: the window, days since 1970-01-01, both included
    std::string base;            // promotions: DATAEVENTO or DATAFECHAMENTO
    std::vector<Band> bands;     // in value order
};

struct Table {
    double number = 0;
    std::string description;
    long long firstDay = 0, lastDay = 0;  // the validity period, days since 1970-01-01, both included
    std::array<std::vector<Rule>, 3> rules;  // by Scope, each in the order of its page's list

    const std::vector<Rule>& of(Scope scope) const { return rules[static_cast<std::size_t>(scope)]; }
    std::vector<Rule>& of(Scope scope) { return rules[static_cast<std::size_t>(scope)]; }
};

struct Snapshot {
    std::uint64_t version = 0;  // of the store it was read from
    std::vector<Table> tables;  // in the order of their starts

    // The table with that number; null when none has it.
    const Table* find(double number) const;
    // The first table, in the order of their starts, whose period holds `day`; null when none.
    const Table* on(long long day) const;
};

}  // namespace commission
