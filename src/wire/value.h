// The value of one field of one row: null, a float, a text or a date-time.
#pragma once
#include <string>
#include <variant>
#include <vector>

#include "wire/datetime.h"

namespace wire {

using Null = std::monostate;
using Value = std::variant<Null, double, std::string, DateTime>;
using Row = std::vector<Value>;

enum class FieldType { Float, String, DateTime };

struct FieldDef {
    std::string name;
    FieldType type = FieldType::String;
    int size = 0;  // characters, for strings only
    bool operator==(const FieldDef&) const = default;
};

inline bool isNull(const Value& v) { return std::holds_alternative<Null>(v); }
const char* typeName(FieldType t);  // "float", "string", "datetime"

// Canonical rendering for logs and tests: null empty, floats shortest with ".",
// dates YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS when the time is not midnight.
std::string render(const Value& v);

}  // namespace wire
