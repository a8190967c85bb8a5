#include "store/snapshot_read.h"

#include <algorithm>

#include "commission/money.h"
#include "store/datasets.h"
#include "wire/datetime.h"

namespace appserver {
namespace {

using commission::Scope;

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
        return d ? d->days() : 0;
    }

private:
    const wire::Value& at(const wire::Row& row, std::string_view name) const {
        static const wire::Value null;
        const int i = packet_.fieldIndex(name);
        return i < 0 || static_cast<std::size_t>(i) >= row.size() ? null : row[static_cast<std::size_t>(i)];
    }
    const wire::DataPacket& packet_;
};

}  // namespace

void SnapshotBuilder::tables(const wire::DataPacket& comissoes) {
    const Columns c(comissoes);
    for (const auto& row : comissoes.rows) {
        commission::Table t;
        t.number = c.number(row, "NRCOMISSAOOREV");
        t.description = c.text(row, "DSCOMISSAOOREV");
        t.firstDay = c.day(row, "DTVALIDADEINI");
        t.lastDay = c.day(row, "DTVALIDADEFIN");
        tableAt_[t.number] = out_.tables.size();
        out_.tables.push_back(std::move(t));
    }
}

void SnapshotBuilder::rules(Scope scope, const wire::DataPacket& packet) {
    const Columns c(packet);
    for (const auto& row : packet.rows) {
        const auto table = tableAt_.find(c.number(row, "NRCOMISSAOOREV"));
        if (table == tableAt_.end()) continue;
        commission::Rule r;
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
        auto& list = out_.tables[table->second].of(scope);
        ruleAt_[{table->first, scope, r.number}] = {table->second, list.size()};
        list.push_back(std::move(r));
    }
}

void SnapshotBuilder::bands(const wire::DataPacket& faixas) {
    const Columns c(faixas);
    for (const auto& row : faixas.rows) {
        const auto scope = wire::scopeFromWord(c.text(row, "IDTIPOCOMISSAO"));
        const auto rule = ruleAt_.find({c.number(row, "NRCOMISSAOOREV"), scope, c.number(row, ruleNumberField(scope))});
        if (rule == ruleAt_.end()) continue;
        out_.tables[rule->second.first].of(scope)[rule->second.second].bands.push_back(
            {c.number(row, "NRFAIXACOMISSAOOREV"), commission::money::nearestCents(c.number(row, "VRINICIAL")),
             commission::money::nearestCents(c.number(row, "VRFINAL")), c.number(row, "VRCOMISSAO")});
    }
}

commission::Snapshot SnapshotBuilder::finish() {
    for (auto& table : out_.tables)
        for (auto& list : table.rules)
            for (auto& rule : list)
                std::stable_sort(rule.bands.begin(), rule.bands.end(), [](const auto& a, const auto& b) {
                    return a.first != b.first ? a.first < b.first : a.last < b.last;
                });
    std::stable_sort(out_.tables.begin(), out_.tables.end(),
                     [](const auto& a, const auto& b) { return a.firstDay < b.firstDay; });
    tableAt_.clear();
    ruleAt_.clear();
    return std::move(out_);
}

}  // namespace appserver
