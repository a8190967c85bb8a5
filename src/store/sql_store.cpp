#include "store/sql_store.h"

#include <array>

#include "store/changes.h"
#include "store/history.h"
#include "store/pg_db.h"
#include "store/snapshot_read.h"
#include "store/sqlite_db.h"

namespace appserver {

using detail::columnList;
using detail::readPacket;
using wire::DataPacket;

namespace {

std::string selectOf(const std::vector<wire::FieldDef>& fields, const char* table, const std::string& rest) {
    return "SELECT " + columnList(fields) + " FROM " + table + " " + rest;
}

std::string bandSelect(const std::vector<wire::FieldDef>& fields, Scope scope) {
    return selectOf(fields, "FAIXACOMISSAO",
                    std::string("WHERE NRCOMISSAOOREV = ? AND IDTIPOCOMISSAO = ? AND ") + ruleNumberField(scope) +
                        " = ? ORDER BY VRINICIAL, NRFAIXACOMISSAOOREV");
}

// Where a scope's statement sits in an array of three (the order of kScopes).
std::size_t slot(Scope s) { return static_cast<std::size_t>(s); }

// The SELECT of every read, built once; each is prepared once per connection.
struct Selects {
    std::string comissoes, cargos, eventos, promocoes, cargoCadastrado, eventoCadastrado, janelasPromocao;
    std::array<std::string, 3> faixas, intervalos;  // by Scope
    std::array<std::string, 3> allRules;  // every table's, by Scope
    std::string allBands;
};

const Selects& selects() {
    using wire::kScopes;
    static const Selects s{
        .comissoes = selectOf(datasets::comissao(), "COMISSAO", "ORDER BY DTVALIDADEINI, NRCOMISSAOOREV"),
        .cargos = selectOf(datasets::cargo(), "COMISSAOCARGO", "WHERE NRCOMISSAOOREV = ? ORDER BY NRCOMISSAOCARGOOREV"),
        .eventos = selectOf(datasets::evento(), "COMISSAOTPEVENTO", "WHERE NRCOMISSAOOREV = ? ORDER BY NRCOMISSAOTPEVENTOREV"),
        .promocoes = selectOf(datasets::promocao(), "COMISSAOPROMO",
                              "WHERE NRCOMISSAOOREV = ? ORDER BY DTVALINICOMISPROMO, NRCOMISSAOPROMOREV"),
        .cargoCadastrado = selectOf(datasets::vdCargo(), "COMISSAOCARGO", "WHERE NRCOMISSAOOREV = ? AND IDCARGOVEND = ? LIMIT 1"),
        .eventoCadastrado = selectOf(datasets::vdEventoCad(), "COMISSAOTPEVENTO",
                                     "WHERE NRCOMISSAOOREV = ? AND CDTIPOEVENTO = ? AND IDCARGOVEND = ? "
                                     "ORDER BY NRCOMISSAOTPEVENTOREV"),
        .janelasPromocao = selectOf(datasets::vdDtPromo(), "COMISSAOPROMO",
                                    "WHERE NRCOMISSAOOREV = ? ORDER BY DTVALINICOMISPROMO, NRCOMISSAOPROMOREV"),
        .faixas = {bandSelect(datasets::percentual(), kScopes[0]), bandSelect(datasets::percentual(), kScopes[1]),
                   bandSelect(datasets::percentual(), kScopes[2])},
        .intervalos = {bandSelect(datasets::vdVrPercentual(), kScopes[0]), bandSelect(datasets::vdVrPercentual(), kScopes[1]),
                       bandSelect(datasets::vdVrPercentual(), kScopes[2])},
        // The snapshot reads each list once for every table, in the order of each table's list.
        .allRules = {selectOf(datasets::cargo(), "COMISSAOCARGO", "ORDER BY NRCOMISSAOCARGOOREV"),
                     selectOf(datasets::evento(), "COMISSAOTPEVENTO", "ORDER BY NRCOMISSAOTPEVENTOREV"),
                     selectOf(datasets::promocao(), "COMISSAOPROMO", "ORDER BY DTVALINICOMISPROMO, NRCOMISSAOPROMOREV")},
        .allBands = selectOf(datasets::percentual(), "FAIXACOMISSAO", "ORDER BY VRINICIAL, NRFAIXACOMISSAOOREV"),
    };
    return s;
}

}  // namespace

template <class Db>
DataPacket SqlStore<Db>::comissoes() {
    return onReader([](Db& db) {
        auto q = db.query(selects().comissoes);
        return readPacket(q, datasets::comissao());
    });
}

// The lists that hang under one commission table, read by its number alone.
template <class Db>
DataPacket SqlStore<Db>::byComissao(const std::string& sql, double nrComissao, const std::vector<wire::FieldDef>& layout) {
    return onReader([&](Db& db) {
        auto q = db.query(sql);
        q.bind(1, nrComissao);
        return readPacket(q, layout);
    });
}

// The bands of one rule of one scope.
template <class Db>
DataPacket SqlStore<Db>::byRule(const std::string& sql, double nrComissao, double nrRegra, Scope scope,
                                const std::vector<wire::FieldDef>& layout) {
    return onReader([&](Db& db) {
        auto q = db.query(sql);
        q.bind(1, nrComissao).bindText(2, scopeWord(scope)).bind(3, nrRegra);
        return readPacket(q, layout);
    });
}

template <class Db>
DataPacket SqlStore<Db>::cargos(double nrComissao) {
    return byComissao(selects().cargos, nrComissao, datasets::cargo());
}

template <class Db>
DataPacket SqlStore<Db>::eventos(double nrComissao) {
    return byComissao(selects().eventos, nrComissao, datasets::evento());
}

template <class Db>
DataPacket SqlStore<Db>::promocoes(double nrComissao) {
    return byComissao(selects().promocoes, nrComissao, datasets::promocao());
}

template <class Db>
DataPacket SqlStore<Db>::janelasPromocao(double nrComissao) {
    return byComissao(selects().janelasPromocao, nrComissao, datasets::vdDtPromo());
}

template <class Db>
DataPacket SqlStore<Db>::faixas(double nrComissao, double nrRegra, Scope scope) {
    return byRule(selects().faixas[slot(scope)], nrComissao, nrRegra, scope, datasets::percentual());
}

template <class Db>
DataPacket SqlStore<Db>::intervalos(double nrComissao, double nrRegra, Scope scope) {
    return byRule(selects().intervalos[slot(scope)], nrComissao, nrRegra, scope, datasets::vdVrPercentual());
}

template <class Db>
DataPacket SqlStore<Db>::cargoCadastrado(double nrComissao, const std::string& idCargo) {
    return onReader([&](Db& db) {
        auto q = db.query(selects().cargoCadastrado);
        q.bind(1, nrComissao).bindText(2, idCargo);
        return readPacket(q, datasets::vdCargo());
    });
}

template <class Db>
DataPacket SqlStore<Db>::eventoCadastrado(double nrComissao, const std::string& cdTipoEvento, const std::string& idCargo) {
    return onReader([&](Db& db) {
        auto q = db.query(selects().eventoCadastrado);
        q.bind(1, nrComissao).bindText(2, cdTipoEvento).bindText(3, idCargo);
        return readPacket(q, datasets::vdEventoCad());
    });
}

namespace {

// One snapshot of the whole read: SQLite's deferred transaction reads one state of the file;
// PostgreSQL needs repeatable read for every statement to see the same commits.
void beginRead(sqlite::Database& db) { db.run("BEGIN"); }
void beginRead(pg::Connection& db) { db.run("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"); }

}  // namespace

template <class Db>
commission::Snapshot SqlStore<Db>::snapshot() {
    const std::uint64_t version = this->version();
    SnapshotBuilder builder(version);
    onReader([&](Db& db) {
        builder = SnapshotBuilder(version);  // a read run again on a new connection starts over
        // Inside inOneTransaction() the reader is the writer, already in its transaction.
        const bool own = !insideTransaction();
        if (own) beginRead(db);
        try {
            auto read = [&](const std::string& sql, const std::vector<wire::FieldDef>& layout) {
                auto q = db.query(sql);
                return readPacket(q, layout);
            };
            builder.tables(read(selects().comissoes, datasets::comissao()));
            builder.rules(Scope::Cargo, read(selects().allRules[0], datasets::cargo()));
            builder.rules(Scope::TipoEvento, read(selects().allRules[1], datasets::evento()));
            builder.rules(Scope::Promocao, read(selects().allRules[2], datasets::promocao()));
            builder.bands(read(selects().allBands, datasets::percentual()));
            if (own) db.commit();
        } catch (...) {
            if (own) db.rollbackQuietly();
            throw;
        }
        return DataPacket{};
    });
    return builder.finish();
}

template <class Db>
DataPacket SqlStore<Db>::historico(double nrComissao) {
    return onReader([&](Db& db) { return history::read(db, nrComissao); });
}

template <class Db>
bool SqlStore<Db>::isEmpty() {
    const DataPacket one = onReader([](Db& db) {
        auto q = db.query("SELECT NRCOMISSAOOREV FROM COMISSAO LIMIT 1");
        return readPacket(q, {{"NRCOMISSAOOREV", wire::FieldType::Float, 0}});
    });
    return one.rows.empty();
}

template class SqlStore<sqlite::Database>;
template class SqlStore<pg::Connection>;

}  // namespace appserver
