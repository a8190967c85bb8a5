#include "framework/tlocaldatabase.h"

#include <sqlite3.h>

#include <charconv>
#include <memory>
#include <stdexcept>

#include "toolkit/exceptions.h"
#include "wire/utf8.h"

namespace fw {

namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// Keeps at most `size` characters of a UTF-8 text; size 0 keeps it all.
std::string cutToSize(std::string text, int size) {
    if (size > 0) wire::utf8::truncate(text, static_cast<std::size_t>(size));
    return text;
}

std::string columnText(sqlite3_stmt* st, int col) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(st, col))) : std::string();
}

// Dates are kept as ISO text in SQLite; a date alone and a blank instead of "T" are read too.
std::optional<wire::DateTime> parseDate(std::string text) {
    if (text.size() == 10) text += "T00:00:00";
    if (text.size() == 19 && text[10] == ' ') text[10] = 'T';
    return wire::DateTime::parseIso(text);
}

wire::Value convert(sqlite3_stmt* st, int col, const wire::FieldDef& def) {
    const int kind = sqlite3_column_type(st, col);
    if (kind == SQLITE_NULL) return wire::Null{};
    switch (def.type) {
    case wire::FieldType::Float: {
        if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) return sqlite3_column_double(st, col);
        const std::string text = columnText(st, col);
        double v = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec != std::errc() || end != text.data() + text.size())
            throw tk::EDatabaseError("Banco de dados local: '" + text + "' não é um número válido para o campo " +
                                     def.name + ".");
        return v;
    }
    case wire::FieldType::String:
        return cutToSize(columnText(st, col), def.size);
    case wire::FieldType::DateTime: {
        const std::string text = columnText(st, col);
        if (auto d = parseDate(text)) return *d;
        throw tk::EDatabaseError("Banco de dados local: '" + text + "' não é uma data válida para o campo " + def.name +
                                 ".");
    }
    }
    return wire::Null{};
}

// A set without declared fields takes each column as it comes from the first row.
wire::FieldDef guessField(sqlite3_stmt* st, int col) {
    wire::FieldDef def;
    def.name = sqlite3_column_name(st, col);
    const int kind = sqlite3_column_type(st, col);
    def.type = (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) ? wire::FieldType::Float
                                                                : wire::FieldType::String;
    return def;
}

}  // namespace

TLocalDatabase::TLocalDatabase(const std::string& path) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw std::runtime_error("Não foi possível abrir o banco de dados local " + path + ": " + message);
    }
    sqlite3_busy_timeout(db_, 5000);
}

TLocalDatabase::~TLocalDatabase() { sqlite3_close(db_); }

wire::DataPacket TLocalDatabase::Query(const std::string& sql,
                                       const std::vector<std::pair<std::string, std::string>>& params,
                                       const std::vector<wire::FieldDef>& fields) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("Consulta ao banco de dados local falhou: ") + sqlite3_errmsg(db_));
    Statement st(raw);

    for (const auto& [name, value] : params) {
        const int index = sqlite3_bind_parameter_index(st.get(), (":" + name).c_str());
        if (index == 0) continue;  // a parameter the statement does not use
        sqlite3_bind_text(st.get(), index, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    }

    // Column names are known once prepared, so a missing field is caught even with no rows.
    const int columns = sqlite3_column_count(st.get());
    const bool guessed = fields.empty();
    wire::DataPacket packet;
    packet.fields = fields;
    if (guessed)
        for (int c = 0; c < columns; ++c)
            packet.fields.push_back({sqlite3_column_name(st.get(), c), wire::FieldType::String, 0});
    std::vector<int> columnOf;  // statement column of each field
    for (const auto& def : packet.fields) {
        int found = -1;
        for (int c = 0; c < columns && found < 0; ++c)
            if (sqlite3_column_name(st.get(), c) == def.name) found = c;
        if (found < 0) throw tk::EDatabaseError("Banco de dados local: a consulta não traz o campo " + def.name + ".");
        columnOf.push_back(found);
    }

    for (bool first = true;; first = false) {
        const int rc = sqlite3_step(st.get());
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW)
            throw std::runtime_error(std::string("Consulta ao banco de dados local falhou: ") + sqlite3_errmsg(db_));
        if (first && guessed)
            for (int c = 0; c < columns; ++c) packet.fields[c] = guessField(st.get(), c);
        wire::Row row;
        row.reserve(packet.fields.size());
        for (std::size_t f = 0; f < packet.fields.size(); ++f)
            row.push_back(convert(st.get(), columnOf[f], packet.fields[f]));
        packet.rows.push_back(std::move(row));
    }
    return packet;
}

}  // namespace fw
