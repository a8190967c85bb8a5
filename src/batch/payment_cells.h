// The result cells that depend only on the table, rule and band paying a sale, written once per
// run for every band of the snapshot instead of once per sale.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "commission/engine.h"
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

    // The six cells NRCOMISSAOOREV to VRCOMISSAOVENDA of a payment, blank but the table when
    // nothing pays, written at `at`: at most most() characters. Returns where they end.
    char* put(char* at, const commission::Payment& payment) const;
    std::size_t most() const { return most_; }

private:
    const commission::Snapshot& snapshot_;
    std::vector<std::string> tables_;
    std::vector<std::array<std::vector<std::size_t>, 3>> firstBand_;  // by table, scope, rule: where its bands start
    std::vector<std::string> bands_;
    std::size_t most_ = 0;
};

// Table, rule and band numbers are whole in every store; a fraction keeps a decimal comma.
void appendNumber(std::string& out, double n);
// "-1234,56": decimal comma, no thousands point; putCents writes at most kCentsMost characters
// at `at` and returns where they end.
void appendCents(std::string& out, long long cents);
inline constexpr std::size_t kCentsMost = 24;
char* putCents(char* at, long long cents);

}  // namespace batch
