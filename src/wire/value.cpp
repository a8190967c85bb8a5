#include "wire/value.h"

#include <charconv>
#include <cmath>

namespace wire {

const char* typeName(FieldType t) {
    switch (t) {
        case FieldType::Float: return "float";
        case FieldType::String: return "string";
        case FieldType::DateTime: return "datetime";
    }
    return "?";
}

namespace {

std::string renderFloat(double d) {
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d < 0 ? "-inf" : "inf";
    if (d == 0) return "0";  // also folds -0
    // Fixed notation, fewest digits that read back to the same double.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
    return std::string(buf, res.ptr);
}

}  // namespace

std::string render(const Value& v) {
    if (const auto* d = std::get_if<double>(&v)) return renderFloat(*d);
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* t = std::get_if<DateTime>(&v)) return t->hasTime() ? t->iso() : t->iso().substr(0, 10);
    return {};
}

}  // namespace wire
