#include "appserver/sqlite_store.h"

#include "appserver/sqlite_changes.h"

namespace appserver {

using detail::columnList;
using detail::readPacket;
using wire::DataPacket;

namespace {

// Numbers never come back after a delete (AUTOINCREMENT), so a stale client can never hit a newer row.
constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS COMISSAO (
  NRCOMISSAOOREV INTEGER PRIMARY KEY AUTOINCREMENT,
  DSCOMISSAOOREV TEXT NOT NULL,
  DTVALIDADEINI INTEGER NOT NULL,
  DTVALIDADEFIN INTEGER NOT NULL,
  CDFILIAL TEXT);
CREATE TABLE IF NOT EXISTS COMISSAOCARGO (
  NRCOMISSAOCARGOOREV INTEGER PRIMARY KEY AUTOINCREMENT,
  IDCARGOVEND TEXT NOT NULL,
  NRCOMISSAOOREV INTEGER NOT NULL REFERENCES COMISSAO ON DELETE CASCADE);
CREATE INDEX IF NOT EXISTS COMISSAOCARGO_NR ON COMISSAOCARGO(NRCOMISSAOOREV, IDCARGOVEND);
CREATE TABLE IF NOT EXISTS COMISSAOTPEVENTO (
  NRCOMISSAOTPEVENTOREV INTEGER PRIMARY KEY AUTOINCREMENT,
  NRCOMISSAOOREV INTEGER NOT NULL REFERENCES COMISSAO ON DELETE CASCADE,
  CDTIPOEVENTO TEXT NOT NULL,
  NMTIPOEVENTO TEXT,
  IDCARGOVEND TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS COMISSAOTPEVENTO_NR ON COMISSAOTPEVENTO(NRCOMISSAOOREV, CDTIPOEVENTO, IDCARGOVEND);
CREATE TABLE IF NOT EXISTS COMISSAOPROMO (
  NRCOMISSAOPROMOREV INTEGER PRIMARY KEY AUTOINCREMENT,
  NRCOMISSAOOREV INTEGER NOT NULL REFERENCES COMISSAO ON DELETE CASCADE,
  DTVALINICOMISPROMO INTEGER NOT NULL,
  DTVALFINCOMISPROMO INTEGER NOT NULL,
  IDDTBASECOMISPROMO TEXT NOT NULL,
  CDTIPOEVENTO TEXT NOT NULL,
  NMTIPOEVENTO TEXT,
  IDCARGOVEND TEXT NOT NULL,
  DTINCLUSAOCOMISSAO INTEGER);
CREATE INDEX IF NOT EXISTS COMISSAOPROMO_NR ON COMISSAOPROMO(NRCOMISSAOOREV);
CREATE TABLE IF NOT EXISTS FAIXACOMISSAO (
  NRFAIXACOMISSAOOREV INTEGER PRIMARY KEY AUTOINCREMENT,
  NRCOMISSAOOREV INTEGER NOT NULL REFERENCES COMISSAO ON DELETE CASCADE,
  IDTIPOCOMISSAO TEXT NOT NULL CHECK (IDTIPOCOMISSAO IN ('CARGO', 'TIPOEVENTO', 'PROMOCAO')),
  NRCOMISSAOCARGOOREV INTEGER REFERENCES COMISSAOCARGO ON DELETE CASCADE,
  NRCOMISSAOTPEVENTOREV INTEGER REFERENCES COMISSAOTPEVENTO ON DELETE CASCADE,
  NRCOMISSAOPROMOREV INTEGER REFERENCES COMISSAOPROMO ON DELETE CASCADE,
  VRINICIAL REAL NOT NULL,
  VRFINAL REAL NOT NULL,
  VRCOMISSAO REAL NOT NULL);
CREATE INDEX IF NOT EXISTS FAIXA_CARGO ON FAIXACOMISSAO(NRCOMISSAOCARGOOREV);
CREATE INDEX IF NOT EXISTS FAIXA_TPEVENTO ON FAIXACOMISSAO(NRCOMISSAOTPEVENTOREV);
CREATE INDEX IF NOT EXISTS FAIXA_PROMO ON FAIXACOMISSAO(NRCOMISSAOPROMOREV);
CREATE INDEX IF NOT EXISTS FAIXA_NR ON FAIXACOMISSAO(NRCOMISSAOOREV);
)";

std::string selectOf(const std::vector<wire::FieldDef>& fields, const char* table, const std::string& rest) {
    return "SELECT " + columnList(fields) + " FROM " + table + " " + rest;
}

}  // namespace

SqliteStore::SqliteStore(const std::string& path) : db_(path) {
    db_.exec("PRAGMA journal_mode=WAL");
    db_.exec("PRAGMA synchronous=FULL");
    db_.exec("PRAGMA foreign_keys=ON");
    sqlite::Transaction tx(db_);
    db_.exec(kSchema);
    tx.commit();
}

DataPacket SqliteStore::comissoes() {
    std::lock_guard lock(mutex_);
    const auto& f = datasets::comissao();
    auto q = db_.query(selectOf(f, "COMISSAO", "ORDER BY DTVALIDADEINI, NRCOMISSAOOREV"));
    return readPacket(q, f);
}

DataPacket SqliteStore::cargos(double nrComissao) {
    std::lock_guard lock(mutex_);
    const auto& f = datasets::cargo();
    auto q = db_.query(selectOf(f, "COMISSAOCARGO", "WHERE NRCOMISSAOOREV = ? ORDER BY NRCOMISSAOCARGOOREV"));
    q.bind(1, nrComissao);
    return readPacket(q, f);
}

DataPacket SqliteStore::eventos(double nrComissao) {
    std::lock_guard lock(mutex_);
    const auto& f = datasets::evento();
    auto q = db_.query(selectOf(f, "COMISSAOTPEVENTO", "WHERE NRCOMISSAOOREV = ? ORDER BY NRCOMISSAOTPEVENTOREV"));
    q.bind(1, nrComissao);
    return readPacket(q, f);
}

DataPacket SqliteStore::promocoes(double nrComissao) {
    std::lock_guard lock(mutex_);
    const auto& f = datasets::promocao();
    auto q = db_.query(
        selectOf(f, "COMISSAOPROMO", "WHERE NRCOMISSAOOREV = ? ORDER BY DTVALINICOMISPROMO, NRCOMISSAOPROMOREV"));
    q.bind(1, nrComissao);
    return readPacket(q, f);
}

DataPacket SqliteStore::faixas(double nrComissao, double nrRegra, Scope scope) {
    std::lock_guard lock(mutex_);
    const auto& f = datasets::percentual();
    auto q = db_.query(selectOf(f, "FAIXACOMISSAO",
                                std::string("WHERE NRCOMISSAOOREV = ? AND IDTIPOCOMISSAO = ? AND ") +
                                    ruleNumberField(scope) + " = ? ORDER BY VRINICIAL, NRFAIXACOMISSAOOREV"));
    q.bind(1, nrComissao).bindText(2, scopeWord(scope)).bind(3, nrRegra);
    return readPacket(q, f);
}

DataPacket SqliteStore::cargoCadastrado(double nrComissao, const std::string& idCargo) {
    std::lock_guard lock(mutex_);
    const auto& f = datasets::vdCargo();
    auto q = db_.query(selectOf(f, "COMISSAOCARGO", "WHERE NRCOMISSAOOREV = ? AND IDCARGOVEND = ? LIMIT 1"));
    q.bind(1, nrComissao).bindText(2, idCargo);
    return readPacket(q, f);
}

DataPacket SqliteStore::eventoCadastrado(double nrComissao, const std::string& cdTipoEvento,
                                         const std::string& idCargo) {
    std::lock_guard lock(mutex_);
    const auto& f = datasets::vdEventoCad();
    auto q = db_.query(selectOf(f, "COMISSAOTPEVENTO",
                                "WHERE NRCOMISSAOOREV = ? AND CDTIPOEVENTO = ? AND IDCARGOVEND = ? "
                                "ORDER BY NRCOMISSAOTPEVENTOREV"));
    q.bind(1, nrComissao).bindText(2, cdTipoEvento).bindText(3, idCargo);
    return readPacket(q, f);
}

DataPacket SqliteStore::janelasPromocao(double nrComissao) {
    std::lock_guard lock(mutex_);
    const auto& f = datasets::vdDtPromo();
    auto q = db_.query(
        selectOf(f, "COMISSAOPROMO", "WHERE NRCOMISSAOOREV = ? ORDER BY DTVALINICOMISPROMO, NRCOMISSAOPROMOREV"));
    q.bind(1, nrComissao);
    return readPacket(q, f);
}

DataPacket SqliteStore::intervalos(double nrComissao, double nrRegra, Scope scope) {
    std::lock_guard lock(mutex_);
    const auto& f = datasets::vdVrPercentual();
    auto q = db_.query(selectOf(f, "FAIXACOMISSAO",
                                std::string("WHERE NRCOMISSAOOREV = ? AND IDTIPOCOMISSAO = ? AND ") +
                                    ruleNumberField(scope) + " = ? ORDER BY VRINICIAL, NRFAIXACOMISSAOOREV"));
    q.bind(1, nrComissao).bindText(2, scopeWord(scope)).bind(3, nrRegra);
    return readPacket(q, f);
}

void SqliteStore::apply(ListKind list, const wire::ChangeLog& log) {
    std::lock_guard lock(mutex_);
    sqlite::Transaction tx(db_);
    detail::applyChanges(db_, list, log);
    tx.commit();
}

bool SqliteStore::isEmpty() {
    std::lock_guard lock(mutex_);
    auto q = db_.query("SELECT COUNT(*) FROM COMISSAO");
    return !q.step() || q.columnInt(0) == 0;
}

}  // namespace appserver
