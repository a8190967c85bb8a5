#include "appserver/commission_rules.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "appserver/money.h"
#include "wire/texts.h"

namespace appserver::rules {
namespace {

// Reads a packet's rows by field name, whatever the order of its fields.
class Columns {
public:
    explicit Columns(const wire::DataPacket& packet) : packet_(packet) {}
    double number(const wire::Row& row, std::string_view name) const {
        const auto* d = std::get_if<double>(&at(row, name));
        return d ? *d : 0;
    }
    std::string text(const wire::Row& row, std::string_view name) const {
        const auto* s = std::get_if<std::string>(&at(row, name));
        return s ? *s : std::string();
    }
    long long day(const wire::Row& row, std::string_view name) const {
        const auto* d = std::get_if<wire::DateTime>(&at(row, name));
        return d ? dayOf(*d) : 0;
    }

private:
    const wire::Value& at(const wire::Row& row, std::string_view name) const {
        static const wire::Value null;
        const int i = packet_.fieldIndex(name);
        return i < 0 || static_cast<std::size_t>(i) >= row.size() ? null : row[static_cast<std::size_t>(i)];
    }
    const wire::DataPacket& packet_;
};

std::string numberText(double n) {
    return std::trunc(n) == n ? std::to_string(static_cast<long long>(n)) : std::to_string(n);
}

}  // namespace

long long dayOf(const wire::DateTime& at) { return at.days(); }

std::string dateText(long long day) { return wire::DateTime::fromDays(day).brazilianDate(); }

std::vector<Table> tables(Store& store) {
    const wire::DataPacket packet = store.comissoes();
    const Columns c(packet);
    std::vector<Table> out;
    for (const auto& row : packet.rows)
        out.push_back({c.number(row, "NRCOMISSAOOREV"), c.text(row, "DSCOMISSAOOREV"), c.day(row, "DTVALIDADEINI"),
                       c.day(row, "DTVALIDADEFIN")});
    std::stable_sort(out.begin(), out.end(), [](const Table& a, const Table& b) { return a.firstDay < b.firstDay; });
    return out;
}

namespace {

std::vector<Rule> rulesOf(const wire::DataPacket& packet, Scope scope) {
    const Columns c(packet);
    std::vector<Rule> out;
    for (const auto& row : packet.rows) {
        Rule r;
        r.scope = scope;
        r.number = c.number(row, ruleNumberField(scope));
        r.cargo = c.text(row, "IDCARGOVEND");
        if (scope != Scope::Cargo) {
            r.tipoEvento = c.text(row, "CDTIPOEVENTO");
            r.nomeTipoEvento = c.text(row, "NMTIPOEVENTO");
        }
        if (scope == Scope::Promocao) {
            r.firstDay = c.day(row, "DTVALINICOMISPROMO");
            r.lastDay = c.day(row, "DTVALFINCOMISPROMO");
            r.base = c.text(row, "IDDTBASECOMISPROMO");
        }
        out.push_back(std::move(r));
    }
    return out;
}

}  // namespace

std::vector<Rule> rules(Store& store, double table, Scope scope) {
    return rulesOf(scope == Scope::Cargo        ? store.cargos(table)
                   : scope == Scope::TipoEvento ? store.eventos(table)
                                                : store.promocoes(table),
                   scope);
}

std::vector<Rule> rulesForSale(Store& store, double table, Scope scope, const std::string& tipoEvento,
                               const std::string& cargo) {
    return rulesOf(store.regrasDaVenda(table, scope, tipoEvento, cargo), scope);
}

namespace {

std::vector<Band> bandsOf(const wire::DataPacket& packet) {
    const Columns c(packet);
    const bool percent = packet.fieldIndex("VRCOMISSAO") >= 0;
    std::vector<Band> out;
    out.reserve(packet.rows.size());
    for (const auto& row : packet.rows)
        out.push_back({c.number(row, "NRFAIXACOMISSAOOREV"), money::nearestCents(c.number(row, "VRINICIAL")),
                       money::nearestCents(c.number(row, "VRFINAL")), percent ? c.number(row, "VRCOMISSAO") : 0});
    std::stable_sort(out.begin(), out.end(), [](const Band& a, const Band& b) {
        return a.first != b.first ? a.first < b.first : a.last < b.last;
    });
    return out;
}

}  // namespace

std::vector<Band> bands(Store& store, double table, const Rule& rule) {
    return bandsOf(store.faixas(table, rule.number, rule.scope));
}

std::vector<Band> intervals(Store& store, double table, const Rule& rule) {
    return bandsOf(store.intervalos(table, rule.number, rule.scope));
}

namespace {

// The message text of a stored code, as the screen shows it; the code itself when unknown.
std::string codeWord(const std::string& code, std::span<const wire::CodeEntry> table) {
    const wire::CodeEntry* entry = wire::findCode(table, code);
    return entry ? wire::message(entry->messageKey) : code;
}

}  // namespace

std::string cargoWord(const std::string& code) { return codeWord(code, wire::kCargoCodes); }

std::string baseWord(const std::string& code) { return codeWord(code, wire::kDataBaseCodes); }

std::string describe(const Rule& rule) {
    const std::string number = " (regra " + numberText(rule.number) + ")";
    if (rule.scope == Scope::Cargo) return "Cargo " + cargoWord(rule.cargo) + number;
    std::string tipo = "tipo de evento " + rule.tipoEvento;
    if (!rule.nomeTipoEvento.empty()) tipo += " " + rule.nomeTipoEvento;
    if (rule.scope == Scope::TipoEvento) return "T" + tipo.substr(1) + ", " + cargoWord(rule.cargo) + number;
    return "Promoção de " + dateText(rule.firstDay) + " a " + dateText(rule.lastDay) + " pela " + baseWord(rule.base) +
           ", " + tipo + ", " + cargoWord(rule.cargo) + number;
}

std::string describe(const Table& table) {
    return table.description + " (" + dateText(table.firstDay) + " a " + dateText(table.lastDay) + ")";
}

}  // namespace appserver::rules
