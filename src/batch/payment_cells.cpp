#include "batch/payment_cells.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "batch/text_buffer.h"
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

char* putCents(char* at, long long cents) {
    if (cents < 0) *at++ = '-';
    const unsigned long long abs = cents < 0 ? 0ULL - static_cast<unsigned long long>(cents) : static_cast<unsigned long long>(cents);
    at = std::to_chars(at, at + 20, abs / 100).ptr;
    *at++ = ',';
    *at++ = static_cast<char>('0' + abs % 100 / 10);
    *at++ = static_cast<char>('0' + abs % 10);
    return at;
}

void appendCents(std::string& out, long long cents) {
    char buf[kCentsMost];
    out.append(buf, putCents(buf, cents));
}

PaymentCells::PaymentCells(const commission::Snapshot& snapshot) : snapshot_(snapshot) {
    std::size_t longestTable = 0, longestBand = 0;
    for (const commission::Table& t : snapshot.tables) {
        appendNumber(tables_.emplace_back(), t.number);
        longestTable = std::max(longestTable, tables_.back().size());
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
                    longestBand = std::max(longestBand, text.size());
                }
            }
    }
    most_ = longestTable + 1 + longestBand + 1 + kCentsMost + 5;
}

char* PaymentCells::put(char* at, const commission::Payment& p) const {
    if (p.table) at = TextBuffer::put(at, table(*p.table));
    if (!p.rule) {
        std::memcpy(at, ";;;;;", 5);
        return at + 5;
    }
    *at++ = ';';
    at = TextBuffer::put(at, band(*p.table, *p.rule, *p.band));
    *at++ = ';';
    return putCents(at, p.commissionCents);
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
