#include "commission/simulation.h"

#include "commission/engine.h"

namespace commission {

Simulation simulate(const Snapshot& snapshot, const Sale& sale) {
    // One question needs no index kept: the engine borrows the snapshot for this call.
    return Engine(std::shared_ptr<const Snapshot>(std::shared_ptr<const Snapshot>(), &snapshot)).simulate(sale);
}

}  // namespace commission
