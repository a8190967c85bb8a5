#include "appserver/sqlite_store.h"

#include "appserver/history.h"
#include "appserver/sqlite_changes.h"

namespace appserver {

using detail::columnList;
using detail::readPacket;
using wire::DataPacket;

namespace {

// A list's table in SQLite's words for the kinds of stored field: dates are seconds since
// 1970 local time. Numbers never come back after a delete (AUTOINCREMENT), so a stale client
// can never hit a newer row.
std::string createTable(const wire::List& list) {
    std::string sql = std::string("CREATE TABLE IF NOT EXISTS ") + list.table + " (";
    for (std::size_t i = 0; i < list.fields.size(); ++i) {
        const wire::ListField& f = list.fields[i];
        sql += i ? ",\n  " : "\n  ";
        sql += f.name;
        switch (f.stored) {
            case wire::Stored::Key: sql += " INTEGER PRIMARY KEY AUTOINCREMENT"; break;
            case wire::Stored::Parent:
            case wire::Stored::Date: sql += " INTEGER"; break;
            case wire::Stored::Number: sql += " REAL"; break;
            case wire::Stored::Text: sql += " TEXT"; break;
        }
        if (f.required) sql += " NOT NULL";
        if (f.parent) sql += std::string(" REFERENCES ") + f.parent + " ON DELETE CASCADE";
        if (!f.oneOf.empty()) {
            sql += std::string(" CHECK (") + f.name + " IN (";
            for (std::size_t v = 0; v < f.oneOf.size(); ++v) sql += std::string(v ? ", '" : "'") + f.oneOf[v] + "'";
            sql += "))";
        }
    }
    return sql + ");\n";
}

// A rule's bands are read in value order: the band indexes hold that order, so no read sorts
// (they replace the single-column indexes of earlier files, which they make redundant).
// The checks of a change log find a conflicting period, window or band by index probes on
// the start of each (COMISSAO_INI, COMISSAOPROMO_GRUPO, FAIXA_*_VR), and a promotion outside
// its table's period by COMISSAOPROMO_INI and COMISSAOPROMO_FIN.
// SimulaComissao finds a sale's promotions by COMISSAOPROMO_VENDA, in window order.
constexpr const char* kIndexes = R"(
CREATE INDEX IF NOT EXISTS COMISSAO_INI ON COMISSAO(DTVALIDADEINI);
CREATE INDEX IF NOT EXISTS COMISSAOCARGO_NR ON COMISSAOCARGO(NRCOMISSAOOREV, IDCARGOVEND);
CREATE INDEX IF NOT EXISTS COMISSAOTPEVENTO_NR ON COMISSAOTPEVENTO(NRCOMISSAOOREV, CDTIPOEVENTO, IDCARGOVEND);
DROP INDEX IF EXISTS COMISSAOPROMO_NR;
CREATE INDEX IF NOT EXISTS COMISSAOPROMO_INI ON COMISSAOPROMO(NRCOMISSAOOREV, DTVALINICOMISPROMO);
CREATE INDEX IF NOT EXISTS COMISSAOPROMO_FIN ON COMISSAOPROMO(NRCOMISSAOOREV, DTVALFINCOMISPROMO);
CREATE INDEX IF NOT EXISTS COMISSAOPROMO_GRUPO
  ON COMISSAOPROMO(NRCOMISSAOOREV, IDDTBASECOMISPROMO, CDTIPOEVENTO, IDCARGOVEND, DTVALINICOMISPROMO);
CREATE INDEX IF NOT EXISTS COMISSAOPROMO_VENDA ON COMISSAOPROMO(NRCOMISSAOOREV, CDTIPOEVENTO, IDCARGOVEND, DTVALINICOMISPROMO);
DROP INDEX IF EXISTS FAIXA_CARGO;
DROP INDEX IF EXISTS FAIXA_TPEVENTO;
DROP INDEX IF EXISTS FAIXA_PROMO;
CREATE INDEX IF NOT EXISTS FAIXA_CARGO_VR ON FAIXACOMISSAO(NRCOMISSAOCARGOOREV, VRINICIAL);
CREATE INDEX IF NOT EXISTS FAIXA_TPEVENTO_VR ON FAIXACOMISSAO(NRCOMISSAOTPEVENTOREV, VRINICIAL);
CREATE INDEX IF NOT EXISTS FAIXA_PROMO_VR ON FAIXACOMISSAO(NRCOMISSAOPROMOREV, VRINICIAL);
CREATE INDEX IF NOT EXISTS FAIXA_NR ON FAIXACOMISSAO(NRCOMISSAOOREV);
)";

std::string schema() {
    std::string sql;
    for (const wire::List* list : wire::lists::kAll) sql += createTable(*list);
    return sql + kIndexes;
}

std::string selectOf(const std::vector<wire::FieldDef>& fields, const char* table, const std::string& rest) {
    return "SELECT " + columnList(fields) + " FROM " + table + " " + rest;
}

std::string bandSelect(const std::vector<wire::FieldDef>& fields, Scope scope) {
    return selectOf(fields, "FAIXACOMISSAO",
                    std::string("WHERE NRCOMISSAOOREV = ? AND IDTIPOCOMISSAO = ? AND ") + ruleNumberField(scope) +
                        " = ? ORDER BY VRINICIAL, NRFAIXACOMISSAOOREV");
}

using wire::kScopes;

// Where a scope's statement sits in Selects (the order of kScopes).
std::size_t slot(Scope s) { return static_cast<std::size_t>(s); }

// Raises the store's version as a write ends, after its commit or rollback: even a failed commit
// may have changed what a read finds, so it counts too.
struct VersionBump {
    std::atomic<std::uint64_t>& version;
    ~VersionBump() { ++version; }
};

}  // namespace

// Hands a read connection back to the pool however the read ends. Inside inOneTransaction()
// the read uses the writer, so that it sees what the transaction has stored so far.
class SqliteStore::ReaderLease {
public:
    explicit ReaderLease(SqliteStore& store) : store_(store) {
        if (store.transactionThread_.load() != std::this_thread::get_id()) owned_ = store.borrowReader();
    }
    ~ReaderLease() {
        if (owned_) store_.returnReader(std::move(owned_));
    }
    ReaderLease(const ReaderLease&) = delete;
    ReaderLease& operator=(const ReaderLease&) = delete;
    sqlite::Database& db() { return owned_ ? *owned_ : store_.writer_; }

private:
    SqliteStore& store_;
    std::unique_ptr<sqlite::Database> owned_;
};

SqliteStore::SqliteStore(const std::string& path)
    : path_(path),
      selects_{
          .comissoes = selectOf(datasets::comissao(), "COMISSAO", "ORDER BY DTVALIDADEINI, NRCOMISSAOOREV"),
          .cargos = selectOf(datasets::cargo(), "COMISSAOCARGO", "WHERE NRCOMISSAOOREV = ? ORDER BY NRCOMISSAOCARGOOREV"),
          .eventos = selectOf(datasets::evento(), "COMISSAOTPEVENTO",
                              "WHERE NRCOMISSAOOREV = ? ORDER BY NRCOMISSAOTPEVENTOREV"),
          .promocoes = selectOf(datasets::promocao(), "COMISSAOPROMO",
                                "WHERE NRCOMISSAOOREV = ? ORDER BY DTVALINICOMISPROMO, NRCOMISSAOPROMOREV"),
          .cargoCadastrado = selectOf(datasets::vdCargo(), "COMISSAOCARGO",
                                      "WHERE NRCOMISSAOOREV = ? AND IDCARGOVEND = ? LIMIT 1"),
          .eventoCadastrado = selectOf(datasets::vdEventoCad(), "COMISSAOTPEVENTO",
                                       "WHERE NRCOMISSAOOREV = ? AND CDTIPOEVENTO = ? AND IDCARGOVEND = ? "
                                       "ORDER BY NRCOMISSAOTPEVENTOREV"),
          .janelasPromocao = selectOf(datasets::vdDtPromo(), "COMISSAOPROMO",
                                      "WHERE NRCOMISSAOOREV = ? ORDER BY DTVALINICOMISPROMO, NRCOMISSAOPROMOREV"),
          .faixas = {bandSelect(datasets::percentual(), kScopes[0]), bandSelect(datasets::percentual(), kScopes[1]),
                     bandSelect(datasets::percentual(), kScopes[2])},
          .intervalos = {bandSelect(datasets::vdVrPercentual(), kScopes[0]),
                         bandSelect(datasets::vdVrPercentual(), kScopes[1]),
                         bandSelect(datasets::vdVrPercentual(), kScopes[2])},
      },
      writer_(path) {
    writer_.exec("PRAGMA journal_mode=WAL");
    writer_.exec("PRAGMA synchronous=FULL");
    writer_.exec("PRAGMA foreign_keys=ON");
    sqlite::Transaction tx(writer_);
    writer_.exec(schema());
    writer_.exec(history::kSchema);
    tx.commit();
}

SqliteStore::~SqliteStore() = default;

std::unique_ptr<sqlite::Database> SqliteStore::borrowReader() {
    {
        std::lock_guard lock(readersMutex_);
        if (!idleReaders_.empty()) {
            auto reader = std::move(idleReaders_.back());
            idleReaders_.pop_back();
            return reader;
        }
    }
    return std::make_unique<sqlite::Database>(path_, sqlite::Database::Access::ReadOnly);
}

void SqliteStore::returnReader(std::unique_ptr<sqlite::Database> reader) {
    std::lock_guard lock(readersMutex_);
    idleReaders_.push_back(std::move(reader));
}

DataPacket SqliteStore::comissoes() {
    ReaderLease r(*this);
    auto q = r.db().query(selects_.comissoes);
    return readPacket(q, datasets::comissao());
}

// The lists that hang under one commission table, read by its number alone.
DataPacket SqliteStore::readByComissao(const std::string& sql, double nrComissao,
                                       const std::vector<wire::FieldDef>& layout) {
    ReaderLease r(*this);
    auto q = r.db().query(sql);
    q.bind(1, nrComissao);
    return readPacket(q, layout);
}

// The bands of one rule of one scope.
DataPacket SqliteStore::readByRule(const std::string& sql, double nrComissao, double nrRegra, Scope scope,
                                   const std::vector<wire::FieldDef>& layout) {
    ReaderLease r(*this);
    auto q = r.db().query(sql);
    q.bind(1, nrComissao).bindText(2, scopeWord(scope)).bind(3, nrRegra);
    return readPacket(q, layout);
}

DataPacket SqliteStore::cargos(double nrComissao) {
    return readByComissao(selects_.cargos, nrComissao, datasets::cargo());
}

DataPacket SqliteStore::eventos(double nrComissao) {
    return readByComissao(selects_.eventos, nrComissao, datasets::evento());
}

DataPacket SqliteStore::promocoes(double nrComissao) {
    return readByComissao(selects_.promocoes, nrComissao, datasets::promocao());
}

DataPacket SqliteStore::faixas(double nrComissao, double nrRegra, Scope scope) {
    return readByRule(selects_.faixas[slot(scope)], nrComissao, nrRegra, scope, datasets::percentual());
}

DataPacket SqliteStore::cargoCadastrado(double nrComissao, const std::string& idCargo) {
    ReaderLease r(*this);
    auto q = r.db().query(selects_.cargoCadastrado);
    q.bind(1, nrComissao).bindText(2, idCargo);
    return readPacket(q, datasets::vdCargo());
}

DataPacket SqliteStore::eventoCadastrado(double nrComissao, const std::string& cdTipoEvento,
                                         const std::string& idCargo) {
    ReaderLease r(*this);
    auto q = r.db().query(selects_.eventoCadastrado);
    q.bind(1, nrComissao).bindText(2, cdTipoEvento).bindText(3, idCargo);
    return readPacket(q, datasets::vdEventoCad());
}

DataPacket SqliteStore::janelasPromocao(double nrComissao) {
    return readByComissao(selects_.janelasPromocao, nrComissao, datasets::vdDtPromo());
}

DataPacket SqliteStore::intervalos(double nrComissao, double nrRegra, Scope scope) {
    return readByRule(selects_.intervalos[slot(scope)], nrComissao, nrRegra, scope, datasets::vdVrPercentual());
}

// The candidates by index (the table, then the event type and position) instead of the
// table's whole lists: a table may hold hundreds of rules and a sale meets a handful.
DataPacket SqliteStore::regrasDaVenda(double nrComissao, Scope scope, const std::string& cdTipoEvento,
                                      const std::string& idCargo) {
    static const std::string cargo = selectOf(datasets::cargo(), "COMISSAOCARGO",
                                              "WHERE NRCOMISSAOOREV = ? AND IDCARGOVEND = ? ORDER BY NRCOMISSAOCARGOOREV");
    static const std::string evento = selectOf(datasets::evento(), "COMISSAOTPEVENTO",
                                               "WHERE NRCOMISSAOOREV = ? AND IDCARGOVEND = ? AND CDTIPOEVENTO = ? "
                                               "ORDER BY NRCOMISSAOTPEVENTOREV");
    static const std::string promocao = selectOf(datasets::promocao(), "COMISSAOPROMO",
                                                 "WHERE NRCOMISSAOOREV = ? AND IDCARGOVEND = ? AND CDTIPOEVENTO = ? "
                                                 "ORDER BY DTVALINICOMISPROMO, NRCOMISSAOPROMOREV");
    ReaderLease r(*this);
    auto q = r.db().query(scope == Scope::Cargo ? cargo : scope == Scope::TipoEvento ? evento : promocao);
    q.bind(1, nrComissao).bindText(2, idCargo);
    if (scope != Scope::Cargo) q.bindText(3, cdTipoEvento);
    return readPacket(q, scope == Scope::Cargo        ? datasets::cargo()
                         : scope == Scope::TipoEvento ? datasets::evento()
                                                      : datasets::promocao());
}

void SqliteStore::apply(ListKind list, const wire::ChangeLog& log, const Author& author) {
    if (transactionThread_.load() == std::this_thread::get_id()) {
        detail::applyChanges(writer_, list, log, author);  // the enclosing transaction keeps it or drops it
        return;
    }
    std::lock_guard lock(writeMutex_);
    const VersionBump bump{version_};
    sqlite::Transaction tx(writer_);
    detail::applyChanges(writer_, list, log, author);
    tx.commit();
}

std::vector<std::exception_ptr> SqliteStore::applyGroup(std::span<const PendingLog> logs) {
    std::vector<std::exception_ptr> outcomes(logs.size());
    std::lock_guard lock(writeMutex_);
    const VersionBump bump{version_};
    sqlite::Transaction tx(writer_);
    for (std::size_t i = 0; i < logs.size(); ++i) {
        sqlite::Savepoint part(writer_);
        try {
            detail::applyChanges(writer_, logs[i].list, *logs[i].log, *logs[i].author);
            part.release();
        } catch (...) {
            outcomes[i] = std::current_exception();
            // SQLite ends the transaction itself on some failures: what the group stored so far is gone.
            if (!writer_.inTransaction()) throw;
            part.rollback();
        }
    }
    tx.commit();
    return outcomes;
}

void SqliteStore::inOneTransaction(const std::function<void()>& work) {
    std::lock_guard lock(writeMutex_);
    const VersionBump bump{version_};
    sqlite::Transaction tx(writer_);
    struct Inside {
        std::atomic<std::thread::id>& thread;
        explicit Inside(std::atomic<std::thread::id>& t) : thread(t) { thread = std::this_thread::get_id(); }
        ~Inside() { thread = std::thread::id{}; }
    } inside(transactionThread_);
    work();
    tx.commit();
}

DataPacket SqliteStore::historico(double nrComissao) {
    ReaderLease r(*this);
    return history::read(r.db(), nrComissao);
}

bool SqliteStore::isEmpty() {
    ReaderLease r(*this);
    auto q = r.db().query("SELECT COUNT(*) FROM COMISSAO");
    return !q.step() || q.columnInt(0) == 0;
}

}  // namespace appserver
