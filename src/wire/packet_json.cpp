#include "wire/packet_json.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <set>

#include "wire/utf8.h"
#include "wire/wire_error.h"

namespace wire {
namespace {

using nlohmann::json;

[[noreturn]] void fail(const std::string& where, const std::string& what) { throw WireError(where + ": " + what); }

json valueToJson(const Value& v) {
    if (const auto* d = std::get_if<double>(&v)) return *d;
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* t = std::get_if<DateTime>(&v)) return t->iso();
    return nullptr;
}

json rowToJson(const Row& row) {
    json a = json::array();
    for (const auto& v : row) a.push_back(valueToJson(v));
    return a;
}

json fieldsToJson(const std::vector<FieldDef>& fields) {
    json a = json::array();
    for (const auto& f : fields) {
        json o = {{"name", f.name}, {"type", typeName(f.type)}};
        if (f.type == FieldType::String) o["size"] = f.size;
        a.push_back(std::move(o));
    }
    return a;
}

std::vector<FieldDef> fieldsFromJson(const json& j) {
    if (!j.is_object()) fail("packet", "expected an object");
    const auto it = j.find("fields");
    if (it == j.end()) fail("packet", "missing \"fields\"");
    if (!it->is_array()) fail("fields", "expected an array");
    std::vector<FieldDef> fields;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < it->size(); ++i) {
        const json& f = (*it)[i];
        const std::string where = "fields[" + std::to_string(i) + "]";
        if (!f.is_object()) fail(where, "expected an object");
        const auto name = f.find("name");
        if (name == f.end() || !name->is_string() || name->get_ref<const std::string&>().empty())
            fail(where, "expected a non-empty \"name\" string");
        FieldDef def;
        def.name = name->get<std::string>();
        if (!seen.insert(def.name).second) fail(where, "duplicate field \"" + def.name + "\"");
        const auto type = f.find("type");
        if (type == f.end() || !type->is_string()) fail(where, "expected a \"type\" string for field \"" + def.name + "\"");
        const auto& t = type->get_ref<const std::string&>();
        if (t == "float") def.type = FieldType::Float;
        else if (t == "string") def.type = FieldType::String;
        else if (t == "datetime") def.type = FieldType::DateTime;
        else fail(where, "unknown type \"" + t + "\" for field \"" + def.name + "\"");
        if (def.type == FieldType::String) {
            const auto size = f.find("size");
            if (size == f.end() || !size->is_number_integer() || size->get<long long>() < 1 ||
                size->get<long long>() > 1'000'000)
                fail(where, "expected a positive \"size\" for string field \"" + def.name + "\"");
            def.size = size->get<int>();
        }
        fields.push_back(std::move(def));
    }
    return fields;
}

Value valueFromJson(const json& v, const FieldDef& f, const std::string& where) {
    if (v.is_null()) return Null{};
    switch (f.type) {
        case FieldType::Float: {
            if (!v.is_number()) fail(where, "expected a number for float field \"" + f.name + "\"");
            const double d = v.get<double>();
            if (!std::isfinite(d)) fail(where, "number out of range for float field \"" + f.name + "\"");
            return d;
        }
        case FieldType::String: {
            if (!v.is_string()) fail(where, "expected a string for string field \"" + f.name + "\"");
            const auto& s = v.get_ref<const std::string&>();
            if (utf8::length(s) > static_cast<std::size_t>(f.size))
                fail(where, "text longer than " + std::to_string(f.size) + " characters for field \"" + f.name + "\"");
            return s;
        }
        case FieldType::DateTime: {
            if (!v.is_string()) fail(where, "expected a date \"YYYY-MM-DDTHH:MM:SS\" for datetime field \"" + f.name + "\"");
            auto d = DateTime::parseIso(v.get_ref<const std::string&>());
            if (!d) fail(where, "invalid date \"" + v.get<std::string>() + "\" for datetime field \"" + f.name + "\"");
            return *d;
        }
    }
    return Null{};
}

Row rowFromJson(const json& r, const std::vector<FieldDef>& fields, const std::string& where) {
    if (!r.is_array()) fail(where, "expected an array");
    if (r.size() != fields.size())
        fail(where, "expected " + std::to_string(fields.size()) + " values, got " + std::to_string(r.size()));
    Row row;
    row.reserve(fields.size());
    for (std::size_t i = 0; i < r.size(); ++i)
        row.push_back(valueFromJson(r[i], fields[i], where + "[" + std::to_string(i) + "]"));
    return row;
}

}  // namespace

json toJson(const DataPacket& packet) {
    json rows = json::array();
    for (const auto& r : packet.rows) rows.push_back(rowToJson(r));
    return {{"fields", fieldsToJson(packet.fields)}, {"rows", std::move(rows)}};
}

json toJson(const ChangeLog& log) {
    json changes = json::array();
    for (const auto& c : log.changes) {
        json o = {{"op", opName(c.op)}};
        if (c.op != ChangeOp::Insert) o["old"] = rowToJson(c.oldRow);
        if (c.op != ChangeOp::Delete) o["new"] = rowToJson(c.newRow);
        changes.push_back(std::move(o));
    }
    return {{"fields", fieldsToJson(log.fields)}, {"changes", std::move(changes)}};
}

DataPacket packetFromJson(const json& j) {
    DataPacket p;
    p.fields = fieldsFromJson(j);
    const auto rows = j.find("rows");
    if (rows == j.end()) fail("packet", "missing \"rows\"");
    if (!rows->is_array()) fail("rows", "expected an array");
    p.rows.reserve(rows->size());
    for (std::size_t i = 0; i < rows->size(); ++i)
        p.rows.push_back(rowFromJson((*rows)[i], p.fields, "rows[" + std::to_string(i) + "]"));
    return p;
}

ChangeLog changeLogFromJson(const json& j) {
    ChangeLog log;
    log.fields = fieldsFromJson(j);
    const auto changes = j.find("changes");
    if (changes == j.end()) fail("change log", "missing \"changes\"");
    if (!changes->is_array()) fail("changes", "expected an array");
    for (std::size_t i = 0; i < changes->size(); ++i) {
        const json& c = (*changes)[i];
        const std::string where = "changes[" + std::to_string(i) + "]";
        if (!c.is_object()) fail(where, "expected an object");
        const auto op = c.find("op");
        if (op == c.end() || !op->is_string()) fail(where, "expected an \"op\" string");
        Change change;
        const auto& o = op->get_ref<const std::string&>();
        if (o == "insert") change.op = ChangeOp::Insert;
        else if (o == "update") change.op = ChangeOp::Update;
        else if (o == "delete") change.op = ChangeOp::Delete;
        else fail(where, "unknown op \"" + o + "\"");
        const bool wantOld = change.op != ChangeOp::Insert;
        const bool wantNew = change.op != ChangeOp::Delete;
        const auto oldIt = c.find("old");
        const auto newIt = c.find("new");
        if (wantOld != (oldIt != c.end()))
            fail(where, std::string(wantOld ? "missing" : "unexpected") + " \"old\" for " + o);
        if (wantNew != (newIt != c.end()))
            fail(where, std::string(wantNew ? "missing" : "unexpected") + " \"new\" for " + o);
        if (wantOld) change.oldRow = rowFromJson(*oldIt, log.fields, where + ".old");
        if (wantNew) change.newRow = rowFromJson(*newIt, log.fields, where + ".new");
        log.changes.push_back(std::move(change));
    }
    return log;
}

}  // namespace wire
