#include "store/table_import.h"

#include <algorithm>
#include <array>

#include "commission/money.h"
#include "commission/sheet_checks.h"
#include "store/refusals.h"
#include "store/table_pages.h"
#include "wire/datetime.h"

namespace appserver {
namespace {

using wire::DataPacket;
using wire::DateTime;
using wire::FieldDef;
using wire::Row;

std::size_t column(const std::vector<FieldDef>& fields, std::string_view name) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name) return i;
    throw std::logic_error("a list without the field " + std::string(name));
}

double numberAt(const Row& row, std::size_t i) { return std::get<double>(row[i]); }

using detail::kPages;
using detail::Page;
using detail::rulesOf;

// A log of inserts into `list`, rows built field by field.
class Inserts {
public:
    explicit Inserts(ListKind list) : fields_(datasets::of(list)) { log_.fields = fields_; }
    Row& row() {
        log_.changes.push_back({wire::ChangeOp::Insert, {}, Row(fields_.size(), wire::Null{})});
        return log_.changes.back().newRow;
    }
    void set(Row& row, std::string_view name, wire::Value v) const { row[column(fields_, name)] = std::move(v); }
    const wire::ChangeLog& log() const { return log_; }
    bool empty() const { return log_.changes.empty(); }

private:
    const std::vector<FieldDef>& fields_;
    wire::ChangeLog log_;
};

// Thrown inside the transaction when a line is refused, so that nothing is kept.
struct LinesRefused {};

class Importer {
public:
    Importer(Store& store, const TableImport& request, const Author& author, const commission::TableSheet& sheet)
        : store_(store), request_(request), author_(author), sheet_(sheet) {}

    // The table the rules go to, created when new; its period.
    struct Target {
        double table;
        long long firstDay, lastDay;
    };

    Target target() {
        if (request_.table) return existing(*request_.table);
        Inserts tables(ListKind::Comissao);
        Row& row = tables.row();
        tables.set(row, "DSCOMISSAOOREV", request_.description);
        tables.set(row, "DTVALIDADEINI", DateTime::fromDays(request_.firstDay));
        tables.set(row, "DTVALIDADEFIN", DateTime::fromDays(request_.lastDay));
        tables.set(row, "CDFILIAL", author_.branch ? *author_.branch : request_.branch);
        store_.apply(ListKind::Comissao, tables.log(), author_);
        // Periods never overlap, so the start names the new table.
        const DataPacket all = store_.comissoes();
        const std::size_t start = column(all.fields, "DTVALIDADEINI");
        for (const Row& r : all.rows)
            if (std::get<DateTime>(r[start]).days() == request_.firstDay) return {numberAt(r, 0), request_.firstDay, request_.lastDay};
        throw std::logic_error("the imported table is not in the store");
    }

    void store(double table) {
        for (const Page& page : kPages) storePage(page, table);
    }

private:
    Target existing(double number) {
        const DataPacket all = store_.comissoes();
        for (const Row& row : all.rows) {
            if (numberAt(row, 0) != number) continue;
            const auto* stored = std::get_if<std::string>(&row[column(all.fields, "CDFILIAL")]);
            const std::string branch = stored ? *stored : std::string();
            if (author_.branch && branch != *author_.branch) throw Refusal(msg::filialAlheia(branch, *author_.branch));
            for (Scope s : wire::kScopes)
                if (!rulesOf(store_, s, number).rows.empty()) throw Refusal(msg::kImportacaoTabelaComRegras);
            return {number, std::get<DateTime>(row[column(all.fields, "DTVALIDADEINI")]).days(),
                    std::get<DateTime>(row[column(all.fields, "DTVALIDADEFIN")]).days()};
        }
        throw Refusal(msg::kComissaoNaoCadastrada);
    }

    void storePage(const Page& page, double table) {
        std::vector<const commission::Rule*> rules;
        Inserts log(page.rules);
        for (const commission::SheetRule& r : sheet_.rules) {
            if (r.rule.scope != page.scope) continue;
            rules.push_back(&r.rule);
            Row& row = log.row();
            log.set(row, "NRCOMISSAOOREV", table);
            log.set(row, "IDCARGOVEND", r.rule.cargo);
            if (page.scope == Scope::Cargo) continue;
            log.set(row, "CDTIPOEVENTO", r.rule.tipoEvento);
            log.set(row, "NMTIPOEVENTO", r.rule.nomeTipoEvento);
            if (page.scope == Scope::TipoEvento) continue;
            log.set(row, "IDDTBASECOMISPROMO", r.rule.base);
            log.set(row, "DTVALINICOMISPROMO", DateTime::fromDays(r.rule.firstDay));
            log.set(row, "DTVALFINCOMISPROMO", DateTime::fromDays(r.rule.lastDay));
        }
        if (rules.empty()) return;
        store_.apply(page.rules, log.log(), author_);

        // The store numbers rows in the order inserted.
        std::vector<Row> made = rulesOf(store_, page.scope, table).rows;
        std::sort(made.begin(), made.end(), [](const Row& a, const Row& b) { return numberAt(a, 0) < numberAt(b, 0); });
        if (made.size() != rules.size()) throw std::logic_error("the imported rules are not all in the store");
        Inserts bands(page.bands);
        for (std::size_t i = 0; i < rules.size(); ++i)
            for (const commission::Band& b : rules[i]->bands) {
                Row& row = bands.row();
                bands.set(row, "NRCOMISSAOOREV", table);
                bands.set(row, "IDTIPOCOMISSAO", std::string(scopeWord(page.scope)));
                bands.set(row, ruleNumberField(page.scope), numberAt(made[i], 0));
                bands.set(row, "VRINICIAL", commission::money::toDouble(b.first));
                bands.set(row, "VRFINAL", commission::money::toDouble(b.last));
                bands.set(row, "VRCOMISSAO", b.percent);
            }
        if (!bands.empty()) store_.apply(page.bands, bands.log(), author_);
    }

    Store& store_;
    const TableImport& request_;
    const Author& author_;
    const commission::TableSheet& sheet_;
};

}  // namespace

ImportedTable importTable(Store& store, const TableImport& request, const Author& author) {
    Author named = author;
    named.origin = msg::importacaoDaPlanilha(request.fileName);
    commission::TableSheet sheet = commission::readTableSheet(request.text);
    ImportedTable result;
    try {
        // Built anew on each run: a store may run the work again after a conflict.
        store.inOneTransaction([&] {
            Importer importer(store, request, named, sheet);
            const Importer::Target target = importer.target();
            commission::TableSheet checked = sheet;
            commission::checkTableSheet(checked, target.firstDay, target.lastDay);
            if (!checked.findings.empty()) {
                result.refused = std::move(checked.findings);
                throw LinesRefused{};
            }
            importer.store(target.table);
            result.table = target.table;
        });
    } catch (const LinesRefused&) {
        result.table.reset();
    }
    return result;
}

}  // namespace appserver
