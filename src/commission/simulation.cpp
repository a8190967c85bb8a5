#include "commission/simulation.h"

#include <algorithm>

#include "commission/money.h"
#include "commission/words.h"
#include "wire/texts.h"

namespace commission {
namespace {

bool holds(const Band& band, long long cents) { return band.first <= cents && cents <= band.last; }

// Walks the candidates in their order of precedence, noting why each one is passed over.
class Search {
public:
    Search(const Table& table, const Sale& sale, Simulation& out) : table_(table), sale_(sale), out_(out) {}

    bool promotions() {
        bool any = false;
        for (const Rule& r : table_.of(Scope::Promocao)) {
            if (!candidate(r)) continue;
            any = true;
            const long long base = r.base == wire::kDataFechamento ? sale_.closingDay : sale_.eventDay;
            if (base < r.firstDay || base > r.lastDay) {
                pass(r, "a " + baseWord(r.base) + " " + dateText(base) + " está fora da janela");
                continue;
            }
            if (tryBands(r)) return true;
        }
        if (!any) note("Nenhuma promoção do tipo de evento " + sale_.tipoEvento + " para " + cargo() + ".");
        return false;
    }

    bool eventTypes() {
        return byRule(Scope::TipoEvento, "Nenhuma regra do tipo de evento " + sale_.tipoEvento + " para " + cargo() + ".");
    }

    bool positions() { return byRule(Scope::Cargo, "Nenhuma regra de cargo para " + cargo() + "."); }

private:
    // Position rules are met by the position alone; the others by the event type too.
    bool candidate(const Rule& r) const {
        return r.cargo == sale_.cargo && (r.scope == Scope::Cargo || r.tipoEvento == sale_.tipoEvento);
    }

    bool byRule(Scope scope, const std::string& none) {
        bool any = false;
        for (const Rule& r : table_.of(scope)) {
            if (!candidate(r)) continue;
            any = true;
            if (tryBands(r)) return true;
        }
        if (!any) note(none);
        return false;
    }

    bool tryBands(const Rule& r) {
        const auto band = std::find_if(r.bands.begin(), r.bands.end(), [&](const Band& b) { return holds(b, sale_.valueCents); });
        if (band == r.bands.end()) {
            pass(r, r.bands.empty() ? std::string("não tem faixas de valores")
                                    : "nenhuma faixa contém o valor " + money::text(sale_.valueCents));
            return false;
        }
        out_.scope = r.scope;
        out_.rule = r.number;
        out_.band = band->number;
        out_.percent = band->percent;
        out_.commissionCents = money::commission(sale_.valueCents, money::nearestCents(band->percent));
        return true;
    }

    std::string cargo() const { return cargoWord(sale_.cargo); }
    void pass(const Rule& r, const std::string& why) { note(describe(r) + ": " + why + "."); }
    void note(std::string reason) { out_.reasons.push_back(std::move(reason)); }

    const Table& table_;
    const Sale& sale_;
    Simulation& out_;
};

}  // namespace

Simulation simulate(const Snapshot& snapshot, const Sale& sale) {
    Simulation out;
    const Table* table = snapshot.on(sale.eventDay);
    if (!table) {
        out.reasons.push_back("Nenhuma comissão vale na " + baseWord(wire::kDataEvento) + " " + dateText(sale.eventDay) + ".");
        return out;
    }
    out.table = table->number;
    Search search(*table, sale, out);
    if (!search.promotions() && !search.eventTypes()) search.positions();
    return out;
}

}  // namespace commission
