#include "store/history.h"

#include <ctime>

#include "store/changes.h"
#include "store/pg_db.h"
#include "store/sqlite_db.h"

namespace appserver::history {

using wire::FieldDef;

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

// A text between double quotes, with '"', '\\' and control characters escaped as in JSON: no
// description can pass for the fields after it.
std::string quoted(const std::string& text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u00";
            out += kHex[(c >> 4) & 0xf];
            out += kHex[c & 0xf];
        } else {
            out += c;
        }
    }
    return out + '"';
}

// "FIELD=value; FIELD=\"text\"" in the list's order, texts quoted; "" for no row.
std::string describe(const std::vector<FieldDef>& fields, const wire::Row& row) {
    std::string out;
    for (std::size_t i = 0; i < row.size() && i < fields.size(); ++i) {
        const auto* text = std::get_if<std::string>(&row[i]);
        out += (i ? "; " : "") + fields[i].name + "=" + (text ? quoted(*text) : wire::render(row[i]));
    }
    return out;
}

}  // namespace

const std::vector<FieldDef>& fields() {
    static const std::vector<FieldDef> f = wire::lists::historico.defs();
    return f;
}

template <class Db>
void record(Db& db, const Author& author, ListKind kind, wire::ChangeOp op, long long nrComissao,
            const wire::Row& before, const wire::Row& after) {
    const auto& listFields = datasets::of(kind);
    auto q = db.query(
        "INSERT INTO HISTORICO (NRCOMISSAOOREV, DTHISTORICO, NMUSUARIO, IDLISTA, IDOPERACAO, DSANTES, DSDEPOIS) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)");
    q.bindInt(1, nrComissao).bindInt(2, static_cast<long long>(std::time(nullptr)));
    q.bindText(3, author.user.empty() ? "(local)" : author.user).bindText(4, listWord(kind)).bindText(5, operationWord(op));
    // A copied row has no row before; its origin takes that place.
    const std::string shownBefore = before.empty() && !author.origin.empty() ? author.origin : describe(listFields, before);
    q.bindText(6, shownBefore).bindText(7, describe(listFields, after));
    q.step();
}

template <class Db>
wire::DataPacket read(Db& db, double nrComissao) {
    auto q = db.query("SELECT " + detail::columnList(fields()) +
                      " FROM HISTORICO WHERE NRCOMISSAOOREV = ? ORDER BY NRHISTORICO");
    q.bind(1, nrComissao);
    return detail::readPacket(q, fields());
}

template void record(sqlite::Database&, const Author&, ListKind, wire::ChangeOp, long long, const wire::Row&,
                     const wire::Row&);
template void record(pg::Connection&, const Author&, ListKind, wire::ChangeOp, long long, const wire::Row&,
                     const wire::Row&);
template wire::DataPacket read(sqlite::Database&, double);
template wire::DataPacket read(pg::Connection&, double);

}  // namespace appserver::history
