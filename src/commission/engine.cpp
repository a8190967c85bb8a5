#include "commission/engine.h"

#include <algorithm>
#include <cstdint>

#include "commission/money.h"
#include "commission/words.h"
#include "wire/texts.h"

namespace commission {
namespace {

struct BandIx {
    long long first, last, percentHundredths;
    const Band* band;
};

struct RuleIx {
    const Rule* rule;
    bool closingBase;   // promotions: the window holds the closing date, not the event date
    bool ordered;       // bands ascending and apart: at most one holds a value, found by bisection
    std::vector<BandIx> bands;
};

struct Candidates {
    std::vector<const RuleIx*> promotions, eventTypes;
};

// V, S, G and three digits make a small number; other codes are met by the slow path only.
int cargoKey(const std::string& cargo) {
    if (cargo.size() != 1) return -1;
    switch (cargo[0]) {
        case 'V': return 0;
        case 'S': return 1;
        case 'G': return 2;
        default: return -1;
    }
}

int saleKey(const std::string& cargo, const std::string& tipo) {
    const int c = cargoKey(cargo);
    if (c < 0 || tipo.size() != 3) return -1;
    int t = 0;
    for (char ch : tipo) {
        if (ch < '0' || ch > '9') return -1;
        t = t * 10 + (ch - '0');
    }
    return c * 1000 + t;
}

bool isCandidate(const Rule& r, const Sale& sale) {
    return r.cargo == sale.cargo && (r.scope == Scope::Cargo || r.tipoEvento == sale.tipoEvento);
}

const BandIx* holder(const RuleIx& r, long long cents) {
    if (r.ordered) {
        const auto after = std::upper_bound(r.bands.begin(), r.bands.end(), cents,
                                            [](long long v, const BandIx& b) { return v < b.first; });
        if (after == r.bands.begin()) return nullptr;
        const BandIx& b = *(after - 1);
        return cents <= b.last ? &b : nullptr;
    }
    for (const BandIx& b : r.bands)
        if (b.first <= cents && cents <= b.last) return &b;
    return nullptr;
}

// Builds nothing: the paid path.
struct Silent {
    void outsideWindow(const Rule&, const Sale&, long long) {}
    void noBand(const Rule&, const Sale&) {}
    void noPromotion(const Sale&) {}
    void noEventType(const Sale&) {}
    void noPosition(const Sale&) {}
};

// The reasons SimulaComissao gives, one a candidate passed over.
struct Words {
    std::vector<std::string>& out;
    void outsideWindow(const Rule& r, const Sale&, long long base) {
        pass(r, "a " + baseWord(r.base) + " " + dateText(base) + " está fora da janela");
    }
    void noBand(const Rule& r, const Sale& sale) {
        pass(r, r.bands.empty() ? std::string("não tem faixas de valores")
                                : "nenhuma faixa contém o valor " + money::text(sale.valueCents));
    }
    void noPromotion(const Sale& s) {
        out.push_back("Nenhuma promoção do tipo de evento " + s.tipoEvento + " para " + cargoWord(s.cargo) + ".");
    }
    void noEventType(const Sale& s) {
        out.push_back("Nenhuma regra do tipo de evento " + s.tipoEvento + " para " + cargoWord(s.cargo) + ".");
    }
    void noPosition(const Sale& s) { out.push_back("Nenhuma regra de cargo para " + cargoWord(s.cargo) + "."); }
    void pass(const Rule& r, const std::string& why) { out.push_back(describe(r) + ": " + why + "."); }
};

}  // namespace

struct Engine::Index {
    struct TableIx {
        const Table* table;
        std::vector<RuleIx> rules;  // every rule of the table; the lists below point into it
        std::vector<Candidates> candidates;
        std::vector<std::int32_t> byKey = std::vector<std::int32_t>(3000, -1);  // saleKey → candidates, -1 for none
        std::array<std::vector<const RuleIx*>, 3> positions;  // by cargoKey
        std::vector<const RuleIx*> promotions, eventTypes, allPositions;  // in list order, for odd codes
    };
    // Days from `from` on are held by `table` (null: none) up to the next stretch's start.
    struct Stretch {
        long long from;
        const TableIx* table;
    };
    std::vector<TableIx> tables;
    std::vector<Stretch> stretches;

    const TableIx* on(long long day) const {
        const auto after = std::upper_bound(stretches.begin(), stretches.end(), day,
                                            [](long long d, const Stretch& s) { return d < s.from; });
        return after == stretches.begin() ? nullptr : (after - 1)->table;
    }
    // `table` of `snapshot` when its period holds `day`; null otherwise.
    const TableIx* holding(const Snapshot& snapshot, const Table& table, long long day) const {
        if (day < table.firstDay || day > table.lastDay) return nullptr;
        return &tables[static_cast<std::size_t>(&table - snapshot.tables.data())];
    }
};

namespace {

using TableIx = Engine::Index::TableIx;

RuleIx indexRule(const Rule& r) {
    RuleIx x{&r, r.base == wire::kDataFechamento, true, {}};
    for (const Band& b : r.bands) {
        if (!x.bands.empty() && b.first <= x.bands.back().last) x.ordered = false;
        x.bands.push_back({b.first, b.last, money::nearestCents(b.percent), &b});
    }
    return x;
}

Candidates& candidatesOf(TableIx& t, int key) {
    std::int32_t& at = t.byKey[static_cast<std::size_t>(key)];
    if (at < 0) {
        at = static_cast<std::int32_t>(t.candidates.size());
        t.candidates.emplace_back();
    }
    return t.candidates[static_cast<std::size_t>(at)];
}

void indexTable(const Table& table, TableIx& t) {
    t.table = &table;
    for (Scope scope : wire::kScopes)
        for (const Rule& r : table.of(scope)) t.rules.push_back(indexRule(r));
    // Pointers into `rules` are taken once it is complete.
    for (const RuleIx& r : t.rules) {
        const int key = saleKey(r.rule->cargo, r.rule->tipoEvento);
        switch (r.rule->scope) {
            case Scope::Promocao:
                t.promotions.push_back(&r);
                if (key >= 0) candidatesOf(t, key).promotions.push_back(&r);
                break;
            case Scope::TipoEvento:
                t.eventTypes.push_back(&r);
                if (key >= 0) candidatesOf(t, key).eventTypes.push_back(&r);
                break;
            case Scope::Cargo:
                t.allPositions.push_back(&r);
                if (const int c = cargoKey(r.rule->cargo); c >= 0) t.positions[static_cast<std::size_t>(c)].push_back(&r);
                break;
        }
    }
}

// Walks the candidates in their order of precedence, telling `notes` why each is passed over.
template <class Notes>
class Search {
public:
    Search(const TableIx& table, const Sale& sale, Notes& notes, Payment& out)
        : sale_(sale), notes_(notes), out_(out) {
        const int key = saleKey(sale.cargo, sale.tipoEvento);
        if (key >= 0) {
            const int c = key / 1000;
            positions_ = &table.positions[static_cast<std::size_t>(c)];
            if (const std::int32_t at = table.byKey[static_cast<std::size_t>(key)]; at >= 0) {
                promotions_ = &table.candidates[static_cast<std::size_t>(at)].promotions;
                eventTypes_ = &table.candidates[static_cast<std::size_t>(at)].eventTypes;
            }
        } else {
            // Codes no screen types: the candidates picked out here, as rare as they are slow.
            auto pick = [&](const std::vector<const RuleIx*>& all, std::vector<const RuleIx*>& into) {
                for (const RuleIx* r : all)
                    if (isCandidate(*r->rule, sale)) into.push_back(r);
                return &into;
            };
            promotions_ = pick(table.promotions, oddPromotions_);
            eventTypes_ = pick(table.eventTypes, oddEventTypes_);
            positions_ = pick(table.allPositions, oddPositions_);
        }
    }

    bool run() {
        out_.metRule = !promotions_->empty() || !eventTypes_->empty() || !positions_->empty();
        if (promotions()) return true;
        if (byRule(eventTypes_)) return true;
        if (eventTypes_->empty()) notes_.noEventType(sale_);
        if (byRule(positions_)) return true;
        if (positions_->empty()) notes_.noPosition(sale_);
        return false;
    }

private:
    bool promotions() {
        for (const RuleIx* r : *promotions_) {
            const long long base = r->closingBase ? sale_.closingDay : sale_.eventDay;
            if (base < r->rule->firstDay || base > r->rule->lastDay) {
                notes_.outsideWindow(*r->rule, sale_, base);
                continue;
            }
            if (tryBands(*r)) return true;
        }
        if (promotions_->empty()) notes_.noPromotion(sale_);
        return false;
    }

    bool byRule(const std::vector<const RuleIx*>* rules) {
        for (const RuleIx* r : *rules)
            if (tryBands(*r)) return true;
        return false;
    }

    bool tryBands(const RuleIx& r) {
        const BandIx* b = holder(r, sale_.valueCents);
        if (!b) {
            notes_.noBand(*r.rule, sale_);
            return false;
        }
        out_.rule = r.rule;
        out_.band = b->band;
        out_.commissionCents = money::commission(sale_.valueCents, b->percentHundredths);
        return true;
    }

    static inline const std::vector<const RuleIx*> kNone{};
    const Sale& sale_;
    Notes& notes_;
    Payment& out_;
    const std::vector<const RuleIx*>* promotions_ = &kNone;
    const std::vector<const RuleIx*>* eventTypes_ = &kNone;
    const std::vector<const RuleIx*>* positions_ = &kNone;
    std::vector<const RuleIx*> oddPromotions_, oddEventTypes_, oddPositions_;
};

template <class Notes>
Payment findOn(const TableIx* table, const Sale& sale, Notes& notes) {
    Payment out;
    if (!table) return out;
    out.table = table->table;
    Search<Notes>(*table, sale, notes, out).run();
    return out;
}

// The answer SimulaComissao gives for a payment found with `notes` filled in on the way.
Simulation worded(const Payment& p, Simulation out) {
    out.table = p.table->number;
    if (!p.rule) return out;
    out.scope = p.rule->scope;
    out.rule = p.rule->number;
    out.band = p.band->number;
    out.percent = p.band->percent;
    out.commissionCents = p.commissionCents;
    return out;
}

}  // namespace

Engine::Engine(std::shared_ptr<const Snapshot> snapshot) : snapshot_(std::move(snapshot)) {
    auto index = std::make_unique<Index>();
    index->tables.resize(snapshot_->tables.size());
    for (std::size_t i = 0; i < snapshot_->tables.size(); ++i) indexTable(snapshot_->tables[i], index->tables[i]);
    // Which table holds a day changes only where a period starts or the day after one ends;
    // each stretch between such days takes the table the snapshot itself would pick.
    std::vector<long long> edges;
    for (const Table& t : snapshot_->tables) {
        edges.push_back(t.firstDay);
        edges.push_back(t.lastDay + 1);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    for (long long day : edges) {
        const Table* t = snapshot_->on(day);
        const TableIx* x = t ? &index->tables[static_cast<std::size_t>(t - snapshot_->tables.data())] : nullptr;
        if (index->stretches.empty() || index->stretches.back().table != x) index->stretches.push_back({day, x});
    }
    index_ = std::move(index);
}

Engine::~Engine() = default;

Payment Engine::pay(const Sale& sale) const {
    Silent notes;
    return findOn(index_->on(sale.eventDay), sale, notes);
}

Simulation Engine::simulate(const Sale& sale) const {
    Simulation out;
    Words notes{out.reasons};
    const Payment p = findOn(index_->on(sale.eventDay), sale, notes);
    if (!p.table) {
        out.reasons.push_back("Nenhuma comissão vale na " + baseWord(wire::kDataEvento) + " " + dateText(sale.eventDay) + ".");
        return out;
    }
    return worded(p, std::move(out));
}

Payment Engine::payBy(const Table& table, const Sale& sale) const {
    Silent notes;
    return findOn(index_->holding(*snapshot_, table, sale.eventDay), sale, notes);
}

Simulation Engine::simulateBy(const Table& table, const Sale& sale) const {
    Simulation out;
    Words notes{out.reasons};
    const Payment p = findOn(index_->holding(*snapshot_, table, sale.eventDay), sale, notes);
    if (!p.table) {
        out.reasons.push_back(describe(table) + " não vale na " + baseWord(wire::kDataEvento) + " " +
                              dateText(sale.eventDay) + ".");
        return out;
    }
    return worded(p, std::move(out));
}

}  // namespace commission
