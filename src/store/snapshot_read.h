// Builds the commission rule's snapshot from the packets of the stored lists, in their Get
// layouts; rows of several tables may come in one packet.
#pragma once
#include <cstdint>
#include <map>
#include <tuple>

#include "commission/snapshot.h"
#include "wire/packet.h"

namespace appserver {

class SnapshotBuilder {
public:
    explicit SnapshotBuilder(std::uint64_t version) { out_.version = version; }

    void tables(const wire::DataPacket& comissoes);
    // Each table's rules in the packet's order; rows of an unknown table are left out.
    void rules(commission::Scope scope, const wire::DataPacket& packet);
    // Bands of rules given before; rows of an unknown rule are left out.
    void bands(const wire::DataPacket& faixas);
    // The tables in the order of their starts, each rule's bands in value order.
    commission::Snapshot finish();

private:
    using RuleKey = std::tuple<double, commission::Scope, double>;  // table, scope, rule
    commission::Snapshot out_;
    std::map<double, std::size_t> tableAt_;
    std::map<RuleKey, std::pair<std::size_t, std::size_t>> ruleAt_;  // table index, index in its scope list
};

}  // namespace appserver
