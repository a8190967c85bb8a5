#include "store/changes.h"

#include "store/pg_db.h"
#include "store/sqlite_db.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>
#include <span>

#include "store/history.h"
#include "store/refusals.h"
#include "store/store.h"
#include "wire/band_limits.h"
#include "wire/texts.h"
#include "wire/utf8.h"

namespace appserver::detail {

using wire::DateTime;
using wire::FieldDef;
using wire::Row;
using wire::Value;

const char* tableOf(ListKind k) { return listOf(k).table; }

std::string columnList(const std::vector<FieldDef>& fields) {
    std::string s;
    for (const auto& f : fields) s += (s.empty() ? "" : ", ") + f.name;
    return s;
}

template <class Query>
wire::DataPacket readPacket(Query& q, const std::vector<FieldDef>& fields) {
    wire::DataPacket p;
    p.fields = fields;
    while (q.step()) {
        Row row;
        row.reserve(fields.size());
        for (std::size_t i = 0; i < fields.size(); ++i) row.push_back(q.column(static_cast<int>(i), fields[i].type));
        p.rows.push_back(std::move(row));
    }
    return p;
}

namespace {

// Positions of the fields the checks read, inside each list's rows.
namespace com {
constexpr auto& L = wire::lists::comissao;
constexpr std::size_t NR = L.at("NRCOMISSAOOREV"), DS = L.at("DSCOMISSAOOREV"), INI = L.at("DTVALIDADEINI"),
                      FIN = L.at("DTVALIDADEFIN"), FILIAL = L.at("CDFILIAL");
}  // namespace com
namespace car {
constexpr auto& L = wire::lists::cargo;
constexpr std::size_t CARGO = L.at("IDCARGOVEND"), COM = L.at("NRCOMISSAOOREV");
}  // namespace car
namespace eve {
constexpr auto& L = wire::lists::evento;
constexpr std::size_t COM = L.at("NRCOMISSAOOREV"), TIPO = L.at("CDTIPOEVENTO"), CARGO = L.at("IDCARGOVEND");
}  // namespace eve
namespace pro {
constexpr auto& L = wire::lists::promocao;
constexpr std::size_t COM = L.at("NRCOMISSAOOREV"), INI = L.at("DTVALINICOMISPROMO"), FIN = L.at("DTVALFINCOMISPROMO"),
                      BASE = L.at("IDDTBASECOMISPROMO"), TIPO = L.at("CDTIPOEVENTO"), CARGO = L.at("IDCARGOVEND"),
                      INCLUSAO = L.at("DTINCLUSAOCOMISSAO");
}  // namespace pro
namespace fai {
constexpr auto& L = wire::lists::faixa;
constexpr std::size_t COM = L.at("NRCOMISSAOOREV"), KIND = L.at("IDTIPOCOMISSAO"), INI = L.at("VRINICIAL"),
                      FIN = L.at("VRFINAL"), PERC = L.at("VRCOMISSAO");
}  // namespace fai

// The position of a band's rule number for each scope.
constexpr std::size_t ownerColumn(Scope s) { return fai::L.at(wire::lists::rulesOf(s).key().name); }

[[noreturn]] void refuse(const char* text) { throw Refusal(text); }

// The lists of a scope's rules and of their bands.
constexpr ListKind ruleListOf(Scope s) {
    constexpr ListKind kinds[] = {ListKind::Cargo, ListKind::Evento, ListKind::Promocao};  // in Scope's order
    return kinds[static_cast<std::size_t>(s)];
}
constexpr ListKind bandListOf(Scope s) {
    constexpr ListKind kinds[] = {ListKind::PercCargo, ListKind::PercEvento, ListKind::PercPromocao};
    return kinds[static_cast<std::size_t>(s)];
}

bool blank(const Value& v) {
    if (wire::isNull(v)) return true;
    if (const auto* s = std::get_if<std::string>(&v)) return s->find_first_not_of(" \t\r\n") == std::string::npos;
    return false;
}

double num(const Value& v) { return std::get<double>(v); }
const std::string& text(const Value& v) { return std::get<std::string>(v); }

// True when `v` is one of the stored codes of `table`.
bool isCode(const Value& v, std::span<const wire::CodeEntry> table) { return wire::findCode(table, text(v)) != nullptr; }
DateTime date(const Value& v) { return std::get<DateTime>(v); }

// The stored number a value names, if it can name one.
std::optional<long long> numberOf(const Value& v) {
    const auto* d = std::get_if<double>(&v);
    if (!d || *d <= 0 || std::trunc(*d) != *d || *d > 9e15) return std::nullopt;
    return static_cast<long long>(*d);
}

// True when `v` has at most two decimals: the screen rounds every value to cents before sending it,
// and rounding such a value again gives it back unchanged.
bool cents(double v) { return std::round(v * 100.0) / 100.0 == v; }

// A band value the screen's entry could have produced: within the column's limits, in cents.
// The limits also keep the rounding above far from overflow.
void requireEntry(const Value& v, const wire::BandLimit& limit) {
    const double d = num(v);
    if (!limit.holds(d)) throw Refusal(limit.refusal());  // NaN included
    if (!cents(d)) throw Refusal(msg::casasDecimais(limit.label));
}

// Event-type codes travel as the catalogue holds them and the screen writes them: three
// characters with no blank at either end ("001", "A01").
void requireTipoEvento(const Value& v) {
    if (blank(v)) refuse(msg::kTipoEventoNaoInformado);
    if (!wire::isEventTypeCode(text(v))) refuse(msg::kTipoEventoInvalido);
}

// A span of a stored row: a validity period, a promotion window or a band's values.
struct Span {
    double lo, hi;
};

// The first stored span, in the order of their starts, that shares a point with [lo, hi]:
// `select` reads "start, end" of the spans to compare with, its WHERE clause last and its
// parameters bound by `bindFilter` (1 to `filterParams`); `start` names the start column.
// Stored spans never share a point (these very checks keep it so), so only two of them can:
// the last to start before lo and the first to start at or after it. Two index probes instead
// of a walk over every stored span keep a long change log from growing quadratically.
template <class Db, class BindFilter>
std::optional<Span> firstOverlap(Db& db, const std::string& select, const char* start,
                                 BindFilter bindFilter, int filterParams, double lo, double hi) {
    auto probe = [&](const std::string& order) -> std::optional<Span> {
        auto q = db.query(select + " AND " + start + order);
        bindFilter(q);
        q.bind(filterParams + 1, lo);
        if (!q.step()) return std::nullopt;
        return Span{std::get<double>(q.column(0, wire::FieldType::Float)), std::get<double>(q.column(1, wire::FieldType::Float))};
    };
    if (auto before = probe(std::string(" < ? ORDER BY ") + start + " DESC LIMIT 1"); before && before->hi >= lo)
        return before;
    if (auto from = probe(std::string(" >= ? ORDER BY ") + start + " LIMIT 1"); from && from->lo <= hi) return from;
    return std::nullopt;
}

DateTime nowLocal() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return DateTime::fromYmd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                             tm.tm_sec > 59 ? 59 : tm.tm_sec);
}

template <class Db>
class Applier {
public:
    Applier(Db& db, ListKind kind, const Author& author)
        : db_(db), kind_(kind), fields_(datasets::of(kind)), author_(author) {}

    void apply(const wire::ChangeLog& log) {
        mapFields(log.fields);
        for (std::size_t i = 0; i < log.changes.size(); ++i) {
            where_ = "changes[" + std::to_string(i) + "]";
            const auto& c = log.changes[i];
            switch (c.op) {
                case wire::ChangeOp::Insert: insert(ours(c.newRow, ".new")); break;
                case wire::ChangeOp::Update: update(ours(c.oldRow, ".old"), ours(c.newRow, ".new")); break;
                case wire::ChangeOp::Delete: remove(ours(c.oldRow, ".old")); break;
            }
        }
    }

private:
    // --- shape of the log -------------------------------------------------------------------
    void mapFields(const std::vector<FieldDef>& theirs) {
        map_.assign(fields_.size(), -1);
        for (std::size_t t = 0; t < theirs.size(); ++t) {
            int found = -1;
            for (std::size_t o = 0; o < fields_.size(); ++o)
                if (fields_[o].name == theirs[t].name) found = static_cast<int>(o);
            if (found < 0) throw BadChangeLog("fields[" + std::to_string(t) + "]: unknown field \"" + theirs[t].name + "\"");
            if (fields_[found].type != theirs[t].type)
                throw BadChangeLog("fields[" + std::to_string(t) + "]: field \"" + theirs[t].name + "\" must be of type " +
                                   wire::typeName(fields_[found].type));
            map_[found] = static_cast<int>(t);
        }
        for (std::size_t o = 0; o < fields_.size(); ++o)
            if (map_[o] < 0) throw BadChangeLog("fields: missing field \"" + fields_[o].name + "\"");
    }

    Row ours(const Row& theirs, const char* part) const {
        Row row(fields_.size());
        for (std::size_t o = 0; o < fields_.size(); ++o) {
            row[o] = theirs.at(static_cast<std::size_t>(map_[o]));
            const auto* s = std::get_if<std::string>(&row[o]);
            if (s && fields_[o].type == wire::FieldType::String) {
                if (wire::utf8::length(*s) > static_cast<std::size_t>(fields_[o].size))
                    throw BadChangeLog(where_ + part + "[" + std::to_string(map_[o]) + "]: text longer than " +
                                       std::to_string(fields_[o].size) + " characters for field \"" +
                                       fields_[o].name + "\"");
            }
        }
        return row;
    }

    // --- the three operations ---------------------------------------------------------------
    void insert(Row row) {
        row[0] = wire::Null{};  // the store gives the number
        if (kind_ == ListKind::Promocao) row[pro::INCLUSAO] = nowLocal();
        normalize(row);
        requireBranch(row);
        check(row, 0, nullptr);
        std::string cols, marks;
        for (std::size_t i = 1; i < fields_.size(); ++i) {
            cols += (i > 1 ? ", " : "") + fields_[i].name;
            marks += i > 1 ? ", ?" : "?";
        }
        // The number comes back with the insert: no second round trip to ask for it.
        auto q = db_.query(std::string("INSERT INTO ") + tableOf(kind_) + " (" + cols + ") VALUES (" + marks +
                           ") RETURNING " + fields_[0].name);
        for (std::size_t i = 1; i < fields_.size(); ++i) q.bind(static_cast<int>(i), row[i]);
        if (!q.step()) throw std::runtime_error("the store gave the new row no number");
        row[0] = static_cast<double>(q.columnInt(0));
        recordChange(wire::ChangeOp::Insert, {}, row);
    }

    void update(const Row& old, Row row) {
        const Row stored = storedAsRead(old);
        const long long number = *numberOf(old[0]);
        row[0] = static_cast<double>(number);
        if (kind_ == ListKind::Promocao) row[pro::INCLUSAO] = stored[pro::INCLUSAO];  // set once, on insert
        normalize(row);
        requireBranch(stored);
        requireBranch(row);
        check(row, number, &stored);
        std::string sets;
        for (std::size_t i = 1; i < fields_.size(); ++i) sets += (i > 1 ? ", " : "") + fields_[i].name + " = ?";
        auto q = db_.query(std::string("UPDATE ") + tableOf(kind_) + " SET " + sets + " WHERE " + fields_[0].name + " = ?");
        for (std::size_t i = 1; i < fields_.size(); ++i) q.bind(static_cast<int>(i), row[i]);
        q.bindInt(static_cast<int>(fields_.size()), number);
        q.step();
        recordChange(wire::ChangeOp::Update, stored, row);
    }

    void remove(const Row& old) {
        const Row stored = storedAsRead(old);
        requireBranch(stored);
        const long long number = *numberOf(old[0]);
        recordGoingWith(number, *numberOf(stored[tableColumn()]));
        auto q = db_.query(std::string("DELETE FROM ") + tableOf(kind_) + " WHERE " + fields_[0].name + " = ?");
        q.bindInt(1, number);
        q.step();  // rules and bands below go with it (ON DELETE CASCADE)
        recordChange(wire::ChangeOp::Delete, stored, {});
    }

    // --- rows that go with a deleted one ----------------------------------------------------
    // The stored rows of `list` whose `column` holds `number`, by their own number.
    std::vector<Row> rowsWhere(ListKind list, const char* column, long long number) {
        const auto& fields = datasets::of(list);
        auto q = db_.query("SELECT " + columnList(fields) + " FROM " + tableOf(list) + " WHERE " + column + " = ? ORDER BY " +
                           fields[0].name);
        q.bindInt(1, number);
        std::vector<Row> rows;
        while (q.step()) {
            Row row(fields.size());
            for (std::size_t i = 0; i < fields.size(); ++i) row[i] = q.column(static_cast<int>(i), fields[i].type);
            rows.push_back(std::move(row));
        }
        return rows;
    }

    // The bands of the rule `number` of `scope`, under the table `table`, deleted in the history.
    void recordBandsGoing(Scope scope, long long number, long long table) {
        const ListKind bands = bandListOf(scope);
        for (const Row& band : rowsWhere(bands, ruleNumberField(scope), number))
            history::record(db_, author_, bands, wire::ChangeOp::Delete, table, band, {});
    }

    // The store's cascade takes the rules and bands under a deleted row without a word; the
    // history tells of each of them, bands before their rule and rules before their table, so
    // that the history of every row ends in its deletion. `table` is the deleted row's table.
    void recordGoingWith(long long number, long long table) {
        if (kind_ == ListKind::Comissao) {
            for (Scope scope : wire::kScopes) {
                const ListKind rules = ruleListOf(scope);
                for (const Row& rule : rowsWhere(rules, "NRCOMISSAOOREV", number)) {
                    recordBandsGoing(scope, *numberOf(rule[0]), table);
                    history::record(db_, author_, rules, wire::ChangeOp::Delete, table, rule, {});
                }
            }
            return;
        }
        for (Scope scope : wire::kScopes)
            if (ruleListOf(scope) == kind_) recordBandsGoing(scope, number, table);
    }

    // --- who may change it, and what is recorded -------------------------------------------
    // The column naming the commission table a row belongs to (a table's own number for a table).
    std::size_t tableColumn() const {
        switch (kind_) {
            case ListKind::Comissao: return com::NR;
            case ListKind::Cargo: return car::COM;
            case ListKind::Evento: return eve::COM;
            case ListKind::Promocao: return pro::COM;
            default: return fai::COM;
        }
    }

    // Refuses a row of a table whose branch is not the author's. A row naming no stored table is
    // left to the checks, which refuse it in their own words.
    void requireBranch(const Row& row) {
        if (!author_.branch) return;
        std::string theirs;
        if (kind_ == ListKind::Comissao) {
            if (const auto* s = std::get_if<std::string>(&row[com::FILIAL])) theirs = *s;
        } else {
            const auto nr = numberOf(row[tableColumn()]);
            if (!nr) return;
            auto q = db_.query("SELECT CDFILIAL FROM COMISSAO WHERE NRCOMISSAOOREV = ?");
            q.bindInt(1, *nr);
            if (!q.step()) return;
            if (const auto v = q.column(0, wire::FieldType::String); !wire::isNull(v)) theirs = std::get<std::string>(v);
        }
        if (theirs != *author_.branch) throw Refusal(msg::filialAlheia(theirs, *author_.branch));
    }

    void recordChange(wire::ChangeOp op, const Row& before, const Row& after) {
        const Row& row = after.empty() ? before : after;
        history::record(db_, author_, kind_, op, *numberOf(row[tableColumn()]), before, after);
    }

    // The stored row named by `old`, which must still be exactly as the client read it.
    Row storedAsRead(const Row& old) {
        const auto number = numberOf(old[0]);
        if (!number) refuse(msg::kRegistroSemNumero);
        auto q = db_.query("SELECT " + columnList(fields_) + " FROM " + tableOf(kind_) + " WHERE " + fields_[0].name +
                           " = ?");
        q.bindInt(1, *number);
        if (!q.step()) refuse(msg::kRegistroExcluido);
        Row stored(fields_.size());
        for (std::size_t i = 0; i < fields_.size(); ++i) stored[i] = q.column(static_cast<int>(i), fields_[i].type);
        if (stored != old) refuse(msg::kRegistroAlterado);
        return stored;
    }

    // --- normalisation and invariants -------------------------------------------------------
    void normalize(Row& row) const {
        if (!isBandList(kind_)) return;
        const Scope scope = bandScope(kind_);
        if (wire::isNull(row[fai::KIND])) row[fai::KIND] = std::string(scopeWord(scope));
        if (text(row[fai::KIND]) != scopeWord(scope)) refuse(msg::kTipoComissaoInvalido);
        const std::size_t owner = ownerColumn(scope);
        for (Scope other : wire::kScopes) {
            const std::size_t c = ownerColumn(other);
            if (c == owner) continue;
            // The screen leaves the other two rule numbers empty; 0 means the same.
            if (!wire::isNull(row[c]) && num(row[c]) != 0) refuse(msg::kFaixaUmaRegra);
            row[c] = wire::Null{};
        }
    }

    void check(const Row& row, long long self, const Row* stored) {
        switch (kind_) {
            case ListKind::Comissao: checkComissao(row, self, stored); break;
            case ListKind::Cargo: checkCargo(row, self, stored); break;
            case ListKind::Evento: checkEvento(row, self, stored); break;
            case ListKind::Promocao: checkPromocao(row, self, stored); break;
            case ListKind::PercCargo:
            case ListKind::PercEvento:
            case ListKind::PercPromocao: checkFaixa(row, self); break;
        }
    }

    // Refuses a rule that names no stored table or moves to another one.
    void requireComissao(const Value& nr, const Row* stored, std::size_t column) {
        if (stored && (*stored)[column] != nr) refuse(msg::kRegraMudaComissao);
        const auto n = numberOf(nr);
        if (!n) refuse(msg::kComissaoNaoCadastrada);
        auto q = db_.query("SELECT 1 FROM COMISSAO WHERE NRCOMISSAOOREV = ?");
        q.bindInt(1, *n);
        if (!q.step()) refuse(msg::kComissaoNaoCadastrada);
    }

    static void requireCargo(const Value& v) {
        if (blank(v)) refuse(msg::kCargoNaoInformado);
        if (!isCode(v, wire::kCargoCodes)) refuse(msg::kCargoInvalido);
    }

    void checkComissao(const Row& row, long long self, const Row* stored) {
        if (blank(row[com::DS])) refuse(msg::kNomeDeve);
        if (wire::isNull(row[com::INI])) refuse(msg::kDtIniDeve);
        if (wire::isNull(row[com::FIN])) refuse(msg::kDtFinDeve);
        const DateTime ni = date(row[com::INI]), nf = date(row[com::FIN]);
        if (nf < ni) refuse(msg::kDtIniMaiorDtFin);
        if (stored && (*stored)[com::INI] == row[com::INI] && (*stored)[com::FIN] == row[com::FIN]) return;
        // The screen's period check walks every other stored table and stops at the first that
        // shares a day with the new period; that table is found by its neighbours alone.
        const auto other = firstOverlap(
            db_, "SELECT DTVALIDADEINI, DTVALIDADEFIN FROM COMISSAO WHERE NRCOMISSAOOREV <> ?", "DTVALIDADEINI",
            [&](auto& q) { q.bindInt(1, self); }, 1, static_cast<double>(ni.seconds()),
            static_cast<double>(nf.seconds()));
        if (other) refuse(other->lo > ni.seconds() && other->hi < nf.seconds() ? msg::kDataContempla : msg::kDataContida);
        if (stored) {  // the table's promotions must stay inside its new period: two index probes
            auto early = db_.query("SELECT 1 FROM COMISSAOPROMO WHERE NRCOMISSAOOREV = ? AND DTVALINICOMISPROMO < ? LIMIT 1");
            early.bindInt(1, self).bindInt(2, ni.seconds());
            if (early.step()) refuse(msg::kPromocaoForaDaComissao);
            auto late = db_.query("SELECT 1 FROM COMISSAOPROMO WHERE NRCOMISSAOOREV = ? AND DTVALFINCOMISPROMO > ? LIMIT 1");
            late.bindInt(1, self).bindInt(2, nf.seconds());
            if (late.step()) refuse(msg::kPromocaoForaDaComissao);
        }
    }

    void checkCargo(const Row& row, long long self, const Row* stored) {
        requireComissao(row[car::COM], stored, car::COM);
        requireCargo(row[car::CARGO]);
        auto q = db_.query(
            "SELECT 1 FROM COMISSAOCARGO WHERE NRCOMISSAOOREV = ? AND IDCARGOVEND = ? AND NRCOMISSAOCARGOOREV <> ? LIMIT 1");
        q.bind(1, row[car::COM]).bind(2, row[car::CARGO]).bindInt(3, self);
        if (q.step()) refuse(msg::kCargoCadastrado);
    }

    void checkEvento(const Row& row, long long self, const Row* stored) {
        requireComissao(row[eve::COM], stored, eve::COM);
        requireTipoEvento(row[eve::TIPO]);
        requireCargo(row[eve::CARGO]);
        auto q = db_.query(
            "SELECT 1 FROM COMISSAOTPEVENTO WHERE NRCOMISSAOOREV = ? AND CDTIPOEVENTO = ? AND IDCARGOVEND = ? "
            "AND NRCOMISSAOTPEVENTOREV <> ? LIMIT 1");
        q.bind(1, row[eve::COM]).bind(2, row[eve::TIPO]).bind(3, row[eve::CARGO]).bindInt(4, self);
        if (q.step()) refuse(msg::kTipoEventoCargoCadastrados);
    }

    void checkPromocao(const Row& row, long long self, const Row* stored) {
        requireComissao(row[pro::COM], stored, pro::COM);
        if (wire::isNull(row[pro::INI])) refuse(msg::kDtIniDeve);
        if (wire::isNull(row[pro::FIN])) refuse(msg::kDtFinDeve);
        const DateTime s = date(row[pro::INI]), e = date(row[pro::FIN]);
        if (e < s) refuse(msg::kDtIniMaiorDtFin);
        if (blank(row[pro::BASE])) refuse(msg::kDataBaseNaoInformada);
        if (!isCode(row[pro::BASE], wire::kDataBaseCodes))
            refuse(msg::kDataBaseInvalida);
        requireTipoEvento(row[pro::TIPO]);
        requireCargo(row[pro::CARGO]);
        {
            auto q = db_.query("SELECT DTVALIDADEINI, DTVALIDADEFIN FROM COMISSAO WHERE NRCOMISSAOOREV = ?");
            q.bind(1, row[pro::COM]);
            q.step();
            const auto i = DateTime::fromSeconds(q.columnInt(0)), f = DateTime::fromSeconds(q.columnInt(1));
            if (!(i <= s && s <= f && i <= e && e <= f)) refuse(msg::kPromocaoForaDaComissao);
        }
        // Windows are closed: touching at one instant is an overlap.
        const auto other = firstOverlap(
            db_,
            "SELECT DTVALINICOMISPROMO, DTVALFINCOMISPROMO FROM COMISSAOPROMO WHERE NRCOMISSAOOREV = ? AND "
            "IDDTBASECOMISPROMO = ? AND CDTIPOEVENTO = ? AND IDCARGOVEND = ? AND NRCOMISSAOPROMOREV <> ?",
            "DTVALINICOMISPROMO",
            [&](auto& q) {
                q.bind(1, row[pro::COM]).bind(2, row[pro::BASE]).bind(3, row[pro::TIPO]).bind(4, row[pro::CARGO]);
                q.bindInt(5, self);
            },
            5, static_cast<double>(s.seconds()), static_cast<double>(e.seconds()));
        if (other) refuse(msg::kPromocaoSobreposta);
    }

    void checkFaixa(const Row& row, long long self) {
        const Scope scope = bandScope(kind_);
        const std::size_t owner = ownerColumn(scope);
        const auto nrCom = numberOf(row[fai::COM]);
        if (!nrCom) refuse(msg::kComissaoNaoCadastrada);
        {
            auto q = db_.query("SELECT 1 FROM COMISSAO WHERE NRCOMISSAOOREV = ?");
            q.bindInt(1, *nrCom);
            if (!q.step()) refuse(msg::kComissaoNaoCadastrada);
        }
        const auto rule = numberOf(row[owner]);
        if (!rule) refuse(msg::kRegraNaoCadastrada);
        {
            auto q = db_.query(std::string("SELECT 1 FROM ") + wire::lists::rulesOf(scope).table + " WHERE " + ruleNumberField(scope) +
                               " = ? AND NRCOMISSAOOREV = ?");
            q.bindInt(1, *rule).bindInt(2, *nrCom);
            if (!q.step()) refuse(msg::kRegraNaoCadastrada);
        }
        if (wire::isNull(row[fai::INI])) refuse(msg::kVrIniNaoInformado);
        requireEntry(row[fai::INI], wire::bandLimit("VRINICIAL"));
        if (wire::isNull(row[fai::FIN])) refuse(msg::kVrFinNaoInformado);
        requireEntry(row[fai::FIN], wire::bandLimit("VRFINAL"));
        const double bi = num(row[fai::INI]), bf = num(row[fai::FIN]);
        if (bf < bi) refuse(msg::kVrIniMaiorVrFin);
        if (wire::isNull(row[fai::PERC])) refuse(msg::kPercNaoInformado);
        requireEntry(row[fai::PERC], wire::bandLimit("VRCOMISSAO"));
        if (num(row[fai::PERC]) == 0) refuse(msg::kPercZero);
        // The screen's interval walk over the rule's other stored bands, stopped at the first it meets.
        const auto other = firstOverlap(
            db_,
            std::string("SELECT VRINICIAL, VRFINAL FROM FAIXACOMISSAO WHERE NRCOMISSAOOREV = ? AND IDTIPOCOMISSAO = ? AND ") +
                ruleNumberField(scope) + " = ? AND NRFAIXACOMISSAOOREV <> ?",
            "VRINICIAL", [&](auto& q) { q.bindInt(1, *nrCom).bindText(2, scopeWord(scope)).bindInt(3, *rule).bindInt(4, self); },
            4, bi, bf);
        if (other) refuse(bi < other->lo && other->hi < bf ? msg::kValorContempla : msg::kIntervaloContido);
    }

    Db& db_;
    const ListKind kind_;
    const std::vector<FieldDef>& fields_;
    const Author& author_;
    std::vector<int> map_;  // our field index -> index in the log's rows
    std::string where_;
};

}  // namespace

template <class Db>
void applyChanges(Db& db, ListKind kind, const wire::ChangeLog& log, const Author& author) {
    Applier<Db>(db, kind, author).apply(log);
}

template wire::DataPacket readPacket(sqlite::Query&, const std::vector<FieldDef>&);
template wire::DataPacket readPacket(pg::Query&, const std::vector<FieldDef>&);
template void applyChanges(sqlite::Database&, ListKind, const wire::ChangeLog&, const Author&);
template void applyChanges(pg::Connection&, ListKind, const wire::ChangeLog&, const Author&);

}  // namespace appserver::detail
