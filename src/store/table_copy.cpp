#include "store/table_copy.h"

#include <algorithm>
#include <array>

#include "commission/period_shift.h"
#include "commission/words.h"
#include "store/refusals.h"
#include "store/table_pages.h"
#include "wire/datetime.h"

namespace appserver {

namespace {

using wire::DataPacket;
using wire::DateTime;
using wire::Row;

std::size_t column(const DataPacket& p, const char* name) {
    const int i = p.fieldIndex(name);
    if (i < 0) throw std::logic_error(std::string("a read without the field ") + name);
    return static_cast<std::size_t>(i);
}

double numberAt(const Row& row, std::size_t i) { return std::get<double>(row[i]); }

using detail::kPages;
using detail::Page;
using detail::rulesOf;

// Rows in the order of their numbers: the order the store gave them, so the order inserted.
std::vector<Row> byNumber(std::vector<Row> rows) {
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return numberAt(a, 0) < numberAt(b, 0); });
    return rows;
}

wire::ChangeLog inserts(const DataPacket& like) { return wire::ChangeLog{like.fields, {}}; }

void add(wire::ChangeLog& log, Row row) { log.changes.push_back({wire::ChangeOp::Insert, {}, std::move(row)}); }

std::string promotionWords(const DataPacket& p, const Row& row) {
    commission::Rule r;
    r.scope = Scope::Promocao;
    r.number = numberAt(row, 0);
    const auto text = [&](const char* name) {
        const auto* s = std::get_if<std::string>(&row[column(p, name)]);
        return s ? *s : std::string();
    };
    r.cargo = text("IDCARGOVEND");
    r.tipoEvento = text("CDTIPOEVENTO");
    r.nomeTipoEvento = text("NMTIPOEVENTO");
    r.base = text("IDDTBASECOMISPROMO");
    r.firstDay = std::get<DateTime>(row[column(p, "DTVALINICOMISPROMO")]).days();
    r.lastDay = std::get<DateTime>(row[column(p, "DTVALFINCOMISPROMO")]).days();
    return commission::describe(r);
}

class Copier {
public:
    Copier(Store& store, const TableCopy& copy, const Author& author)
        : store_(store), copy_(copy), author_(author) {}

    CopiedTable run() {
        const Row source = sourceRow();
        result_.table = newTable(source);
        for (const Page& page : kPages) copyPage(page);
        return std::move(result_);
    }

private:
    Row sourceRow() {
        const DataPacket tables = store_.comissoes();
        for (const Row& row : tables.rows) {
            if (numberAt(row, 0) != copy_.source) continue;
            const auto* stored = std::get_if<std::string>(&row[column(tables, "CDFILIAL")]);
            const std::string branch = stored ? *stored : std::string();
            if (author_.branch && branch != *author_.branch) throw Refusal(msg::filialAlheia(branch, *author_.branch));
            const long long start = std::get<DateTime>(row[column(tables, "DTVALIDADEINI")]).days();
            shift_ = commission::PeriodShift(start, copy_.firstDay);
            return row;
        }
        throw Refusal(msg::kComissaoNaoCadastrada);
    }

    double newTable(const Row& source) {
        DataPacket tables = store_.comissoes();
        wire::ChangeLog log = inserts(tables);
        Row row = source;
        row[column(tables, "DSCOMISSAOOREV")] = copy_.description;
        row[column(tables, "DTVALIDADEINI")] = DateTime::fromDays(copy_.firstDay);
        row[column(tables, "DTVALIDADEFIN")] = DateTime::fromDays(copy_.lastDay);
        if (author_.branch) row[column(tables, "CDFILIAL")] = *author_.branch;
        add(log, std::move(row));
        store_.apply(ListKind::Comissao, log, author_);
        // Periods never overlap, so the new start names the new table.
        tables = store_.comissoes();
        const std::size_t start = column(tables, "DTVALIDADEINI");
        for (const Row& r : tables.rows)
            if (std::get<DateTime>(r[start]).days() == copy_.firstDay && numberAt(r, 0) != copy_.source) return numberAt(r, 0);
        throw std::logic_error("the copied table is not in the store");
    }

    void copyPage(const Page& page) {
        const DataPacket old = rulesOf(store_, page.scope, copy_.source);
        const std::size_t table = column(old, "NRCOMISSAOOREV");
        wire::ChangeLog log = inserts(old);
        std::vector<double> kept;  // the old numbers of the rules copied, in the order inserted
        for (const Row& rule : byNumber(old.rows)) {
            Row row = rule;
            row[table] = result_.table;
            if (page.scope == Scope::Promocao && !moveWindow(old, row)) {
                result_.left.push_back(msg::promocaoNaoCopiada(promotionWords(old, rule),
                                                               commission::dateText(windowStart(old, row)),
                                                               commission::dateText(windowEnd(old, row))));
                continue;
            }
            kept.push_back(numberAt(rule, 0));
            add(log, std::move(row));
        }
        if (kept.empty()) return;
        store_.apply(page.rules, log, author_);
        const auto made = byNumber(rulesOf(store_, page.scope, result_.table).rows);
        if (made.size() != kept.size()) throw std::logic_error("the copied rules are not all in the store");

        wire::ChangeLog bands;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            const DataPacket of = store_.faixas(copy_.source, kept[i], page.scope);
            if (bands.fields.empty()) bands.fields = of.fields;
            for (Row band : of.rows) {
                band[column(of, "NRCOMISSAOOREV")] = result_.table;
                band[column(of, ruleNumberField(page.scope))] = numberAt(made[i], 0);
                add(bands, std::move(band));
            }
        }
        if (!bands.changes.empty()) store_.apply(page.bands, bands, author_);
    }

    // Moves the promotion's window in `row`; false when it would leave the new period.
    bool moveWindow(const DataPacket& p, Row& row) const {
        for (const char* name : {"DTVALINICOMISPROMO", "DTVALFINCOMISPROMO"}) {
            Value& at = row[column(p, name)];
            at = DateTime::fromDays(shift_.apply(std::get<DateTime>(at).days()));
        }
        return windowStart(p, row) >= copy_.firstDay && windowEnd(p, row) <= copy_.lastDay;
    }

    static long long windowStart(const DataPacket& p, const Row& r) {
        return std::get<DateTime>(r[column(p, "DTVALINICOMISPROMO")]).days();
    }
    static long long windowEnd(const DataPacket& p, const Row& r) {
        return std::get<DateTime>(r[column(p, "DTVALFINCOMISPROMO")]).days();
    }

    using Value = wire::Value;
    Store& store_;
    const TableCopy& copy_;
    Author author_;
    commission::PeriodShift shift_{0, 0};
    CopiedTable result_;
};

}  // namespace

CopiedTable copyTable(Store& store, const TableCopy& copy, const Author& author) {
    Author named = author;
    named.origin = msg::copiaDaTabela(static_cast<long long>(copy.source));
    CopiedTable result;
    // Built anew on each run: a store may run the work again after a conflict.
    store.inOneTransaction([&] { result = Copier(store, copy, named).run(); });
    return result;
}

}  // namespace appserver
