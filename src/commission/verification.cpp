#include "commission/verification.h"

#include "commission/money.h"
#include "commission/words.h"

namespace commission {

namespace {

constexpr long long kCent = 1;

// "de A a B" after `many`, or A after `one` when the stretch is a single point.
std::string stretch(const std::string& from, const std::string& to, const char* one, const char* many) {
    return from == to ? std::string(one) + from : std::string(many) + "de " + from + " a " + to;
}

// Days between the first table's start and the last one's end that no table covers.
void periodGaps(const std::vector<Table>& tables, std::vector<Finding>& out) {
    if (tables.empty()) return;
    const Table* reach = &tables.front();  // the table that covers up to the latest day so far
    for (std::size_t i = 1; i < tables.size(); ++i) {
        const Table& next = tables[i];
        if (next.firstDay > reach->lastDay + 1) {
            const std::string from = dateText(reach->lastDay + 1), to = dateText(next.firstDay - 1);
            out.push_back({"PERIODO_LACUNA",
                           "Nenhuma comissão vale " + stretch(from, to, "no dia ", "") + ", entre " +
                               describe(*reach) + " e " + describe(next) + ".",
                           {reach->number, next.number}, std::nullopt, std::nullopt, {}});
        }
        if (next.lastDay > reach->lastDay) reach = &next;
    }
}

// A finding about one rule: its description, then what is wrong with it.
Finding about(const Rule& r, double table, const char* kind, const std::string& what) {
    return {kind, describe(r) + ": " + what + ".", {table}, r.scope, r.number, {}};
}

void bandGaps(const Rule& r, double table, const std::vector<Band>& bands, std::vector<Finding>& out) {
    if (bands.empty()) {
        out.push_back(about(r, table, "REGRA_SEM_FAIXA", "não tem faixas de valores"));
        return;
    }
    const Band* reach = &bands.front();
    for (std::size_t i = 1; i < bands.size(); ++i) {
        const Band& next = bands[i];
        // Values are typed in cents: ends one cent apart leave nothing out.
        if (next.first - reach->last > kCent) {
            Finding f = about(r, table, "FAIXA_LACUNA",
                              "nenhuma faixa contém " + stretch(money::text(reach->last + kCent),
                                                                money::text(next.first - kCent), "o valor ",
                                                                "os valores "));
            f.bands = {reach->number, next.number};
            out.push_back(std::move(f));
        }
        if (next.last > reach->last) reach = &next;
    }
}

}  // namespace

std::optional<std::vector<Finding>> verify(const Snapshot& snapshot, double table) {
    const Table* self = snapshot.find(table);
    if (!self) return std::nullopt;

    std::vector<Finding> out;
    periodGaps(snapshot.tables, out);
    for (Scope scope : wire::kScopes) {
        for (const Rule& r : self->of(scope)) {
            if (scope == Scope::Promocao && (r.firstDay < self->firstDay || r.lastDay > self->lastDay))
                out.push_back(about(r, table, "PROMOCAO_FORA",
                                    "a janela passa da validade da comissão, de " + dateText(self->firstDay) +
                                        " a " + dateText(self->lastDay)));
            bandGaps(r, table, r.bands, out);
        }
    }
    return out;
}

}  // namespace commission
