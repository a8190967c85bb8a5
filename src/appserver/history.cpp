#include "appserver/history.h"

#include <ctime>

#include "appserver/sqlite_changes.h"

namespace appserver::history {

using wire::FieldDef;

// No reference to COMISSAO: a deleted table's history stays.
const char* const kSchema = R"(
CREATE TABLE IF NOT EXISTS HISTORICO (
  NRHISTORICO INTEGER PRIMARY KEY AUTOINCREMENT,
  NRCOMISSAOOREV INTEGER NOT NULL,
  DTHISTORICO INTEGER NOT NULL,
  NMUSUARIO TEXT NOT NULL,
  IDLISTA TEXT NOT NULL,
  IDOPERACAO TEXT NOT NULL CHECK (IDOPERACAO IN ('INCLUSAO', 'ALTERACAO', 'EXCLUSAO')),
  DSANTES TEXT NOT NULL,
  DSDEPOIS TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS HISTORICO_NR ON HISTORICO(NRCOMISSAOOREV, NRHISTORICO);
)";

namespace {

const char* listWord(ListKind k) {
    switch (k) {
        case ListKind::Comissao: return "COMISSAO";
        case ListKind::Cargo: return "CARGO";
        case ListKind::Evento: return "TIPOEVENTO";
        case ListKind::Promocao: return "PROMOCAO";
        case ListKind::PercCargo: return "FAIXACARGO";
        case ListKind::PercEvento: return "FAIXATIPOEVENTO";
        case ListKind::PercPromocao: return "FAIXAPROMOCAO";
    }
    return "";
}

const char* operationWord(wire::ChangeOp op) {
    switch (op) {
        case wire::ChangeOp::Insert: return "INCLUSAO";
        case wire::ChangeOp::Update: return "ALTERACAO";
        case wire::ChangeOp::Delete: return "EXCLUSAO";
    }
    return "";
}

// "FIELD=value; FIELD=value" in the list's order; "" for no row.
std::string describe(const std::vector<FieldDef>& fields, const wire::Row& row) {
    std::string out;
    for (std::size_t i = 0; i < row.size() && i < fields.size(); ++i)
        out += (i ? "; " : "") + fields[i].name + "=" + wire::render(row[i]);
    return out;
}

}  // namespace

const std::vector<FieldDef>& fields() {
    static const std::vector<FieldDef> f = wire::lists::historico.defs();
    return f;
}

void record(sqlite::Database& db, const Author& author, ListKind kind, wire::ChangeOp op, long long nrComissao,
            const wire::Row& before, const wire::Row& after) {
    const auto& listFields = datasets::of(kind);
    auto q = db.query(
        "INSERT INTO HISTORICO (NRCOMISSAOOREV, DTHISTORICO, NMUSUARIO, IDLISTA, IDOPERACAO, DSANTES, DSDEPOIS) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)");
    q.bindInt(1, nrComissao).bindInt(2, static_cast<long long>(std::time(nullptr)));
    q.bindText(3, author.user.empty() ? "(local)" : author.user).bindText(4, listWord(kind)).bindText(5, operationWord(op));
    q.bindText(6, describe(listFields, before)).bindText(7, describe(listFields, after));
    q.step();
}

wire::DataPacket read(sqlite::Database& db, double nrComissao) {
    auto q = db.query("SELECT " + detail::columnList(fields()) +
                      " FROM HISTORICO WHERE NRCOMISSAOOREV = ? ORDER BY NRHISTORICO");
    q.bind(1, nrComissao);
    return detail::readPacket(q, fields());
}

}  // namespace appserver::history
