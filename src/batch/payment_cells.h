// The result cells that depend only on the table, rule and band paying a sale, written once per
// run for every band of the snapshot instead of once per sale.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "commission/snapshot.h"

namespace batch {

class PaymentCells {
public:
    // `snapshot` must outlive this; the pointers asked about below point into it.
    explicit PaymentCells(const commission::Snapshot& snapshot);

    // NRCOMISSAOOREV: "7".
    const std::string& table(const commission::Table& table) const;
    // IDTIPOCOMISSAO to VRCOMISSAO: "CARGO;4;17;2,50".
    const std::string& band(const commission::Table& table, const commission::Rule& rule, const commission::Band& band) const;

private:
    const commission::Snapshot& snapshot_;
    std::vector<std::string> tables_;
    std::vector<std::array<std::vector<std::size_t>, 3>> firstBand_;  // by table, scope, rule: where its bands start
    std::vector<std::string> bands_;
};

// Table, rule and band numbers are whole in every store; a fraction keeps a decimal comma.
void appendNumber(std::string& out, double n);
// "-1234,56": decimal comma, no thousands point.
void appendCents(std::string& out, long long cents);

}  // namespace batch
