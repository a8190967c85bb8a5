// A second table paying sales that their own tables pay: each sale's dates moved as a copy of
// its own table onto the second would move them, so that last year's sales meet a copied and
// edited table day for day.
#pragma once
#include <vector>

#include "commission/engine.h"
#include "commission/period_shift.h"

namespace commission {

class Comparison {
public:
    // `engine` must outlive this. Throws std::invalid_argument when no table of its snapshot
    // has that number.
    Comparison(const Engine& engine, double tableNumber);

    const Table& table() const { return *table_; }

    // `sale` with its dates moved from `own` (the table that holds it, as Engine::pay found it)
    // onto the second table; unmoved when `own` is null or the second table itself.
    Sale moved(Sale sale, const Table* own) const;

    // What the second table pays the moved sale, and the same worded as SimulaComissao words it.
    Payment pay(const Sale& moved) const { return engine_.payBy(*table_, moved); }
    Simulation simulate(const Sale& moved) const { return engine_.simulateBy(*table_, moved); }

private:
    const Engine& engine_;
    const Table* table_;
    std::vector<PeriodShift> shifts_;  // from each table of the snapshot, in its order
};

}  // namespace commission
