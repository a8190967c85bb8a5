// The rule of docs/commission-rules.md indexed once per snapshot: what a sale is paid, found
// among the candidates of its table, position and event type only, bands by binary search.
#pragma once
#include <memory>

#include "commission/simulation.h"
#include "commission/snapshot.h"

namespace commission {

// What pays a sale; `rule` null when nothing does (`table` null too when no table holds the
// event date). Points into the engine's snapshot.
struct Payment {
    const Table* table = nullptr;
    const Rule* rule = nullptr;
    const Band* band = nullptr;
    long long commissionCents = 0;
    bool metRule = false;  // some rule of the table names the sale's position (and event type)
};

// Immutable once built, so any number of threads may ask it at once.
class Engine {
public:
    explicit Engine(std::shared_ptr<const Snapshot> snapshot);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    const Snapshot& snapshot() const { return *snapshot_; }

    // Builds no text: for the sales a run pays.
    Payment pay(const Sale& sale) const;
    // The same search, naming every candidate passed over on the way (SimulaComissao's answer).
    Simulation simulate(const Sale& sale) const;

    // As `table` (one of the snapshot's) would pay the sale, whichever table holds its dates:
    // nothing, `table` null, when its period does not hold the event date.
    Payment payBy(const Table& table, const Sale& sale) const;
    Simulation simulateBy(const Table& table, const Sale& sale) const;

    struct Index;  // the candidates of each table, built once

private:
    std::shared_ptr<const Snapshot> snapshot_;
    std::unique_ptr<const Index> index_;
};

}  // namespace commission
