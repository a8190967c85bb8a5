#include "batch/payment_cells.h"

#include <charconv>
#include <cmath>

#include "commission/money.h"
#include "wire/texts.h"

namespace batch {

void appendNumber(std::string& out, double n) {
    char buf[32];
    if (std::trunc(n) == n && std::fabs(n) < 9e15) {
        const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(n));
        out.append(buf, r.ptr);
        return;
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    for (char* c = buf; c != r.ptr; ++c) out += *c == '.' ? ',' : *c;
}

void appendCents(std::string& out, long long cents) {
    if (cents < 0) out += '-';
    const unsigned long long abs = cents < 0 ? 0ULL - static_cast<unsigned long long>(cents) : static_cast<unsigned long long>(cents);
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, abs / 100);
    out.append(buf, r.ptr);
    out += ',';
    out += static_cast<char>('0' + abs % 100 / 10);
    out += static_cast<char>('0' + abs % 10);
}

PaymentCells::PaymentCells(const commission::Snapshot& snapshot) : snapshot_(snapshot) {
    for (const commission::Table& t : snapshot.tables) {
        appendNumber(tables_.emplace_back(), t.number);
        auto& starts = firstBand_.emplace_back();
        for (commission::Scope scope : wire::kScopes)
            for (const commission::Rule& r : t.of(scope)) {
                starts[static_cast<std::size_t>(scope)].push_back(bands_.size());
                for (const commission::Band& b : r.bands) {
                    std::string& text = bands_.emplace_back(wire::scopeWord(scope));
                    text += ';';
                    appendNumber(text, r.number);
                    text += ';';
                    appendNumber(text, b.number);
                    text += ';';
                    appendCents(text, commission::money::nearestCents(b.percent));
                }
            }
    }
}

const std::string& PaymentCells::table(const commission::Table& table) const {
    return tables_[static_cast<std::size_t>(&table - snapshot_.tables.data())];
}

const std::string& PaymentCells::band(const commission::Table& table, const commission::Rule& rule,
                                      const commission::Band& band) const {
    const std::size_t t = static_cast<std::size_t>(&table - snapshot_.tables.data());
    const auto& rules = table.of(rule.scope);
    const std::size_t first = firstBand_[t][static_cast<std::size_t>(rule.scope)][static_cast<std::size_t>(&rule - rules.data())];
    return bands_[first + static_cast<std::size_t>(&band - rule.bands.data())];
}

}  // namespace batch
