#include "appserver/sql_store.h"

#include <array>

#include "appserver/changes.h"
#include "appserver/history.h"
#include "appserver/pg_db.h"
#include "appserver/sqlite_db.h"

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
    std::array<std::string, 3> faixas, intervalos, venda;  // by Scope
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
        // A sale's candidates by index (the table, then the event type and position) instead of
        // the table's whole lists: a table may hold hundreds of rules and a sale meets a handful.
        .venda = {selectOf(datasets::cargo(), "COMISSAOCARGO",
                           "WHERE NRCOMISSAOOREV = ? AND IDCARGOVEND = ? ORDER BY NRCOMISSAOCARGOOREV"),
                  selectOf(datasets::evento(), "COMISSAOTPEVENTO",
                           "WHERE NRCOMISSAOOREV = ? AND IDCARGOVEND = ? AND CDTIPOEVENTO = ? ORDER BY NRCOMISSAOTPEVENTOREV"),
                  selectOf(datasets::promocao(), "COMISSAOPROMO",
                           "WHERE NRCOMISSAOOREV = ? AND IDCARGOVEND = ? AND CDTIPOEVENTO = ? "
                           "ORDER BY DTVALINICOMISPROMO, NRCOMISSAOPROMOREV")},
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

template <class Db>
DataPacket SqlStore<Db>::regrasDaVenda(double nrComissao, Scope scope, const std::string& cdTipoEvento,
                                       const std::string& idCargo) {
    return onReader([&](Db& db) {
        auto q = db.query(selects().venda[slot(scope)]);
        q.bind(1, nrComissao).bindText(2, idCargo);
        if (scope != Scope::Cargo) q.bindText(3, cdTipoEvento);
        return readPacket(q, scope == Scope::Cargo        ? datasets::cargo()
                             : scope == Scope::TipoEvento ? datasets::evento()
                                                          : datasets::promocao());
    });
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
