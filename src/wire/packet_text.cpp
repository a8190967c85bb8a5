#include "wire/packet_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace wire {
namespace {

// Bytes that a JSON string carries as they are; anything else (quotes, backslashes, control
// characters, non-ASCII that might be invalid UTF-8) is left to the library's own escaper.
bool plain(std::string_view s) {
    for (unsigned char c : s)
        if (c < 0x20 || c >= 0x80 || c == '"' || c == '\\') return false;
    return true;
}

void appendValue(std::string& out, const Value& v) {
    if (const auto* d = std::get_if<double>(&v)) appendJsonFloat(out, *d);
    else if (const auto* s = std::get_if<std::string>(&v)) appendJsonString(out, *s);
    else if (const auto* t = std::get_if<DateTime>(&v)) appendJsonString(out, t->iso());
    else out += "null";
}

void appendInt(std::string& out, long long n) {
    std::array<char, 24> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), n);
    out.append(buf.data(), res.ptr);
}

}  // namespace

void appendJsonString(std::string& out, std::string_view s) {
    if (!plain(s)) {
        out += nlohmann::json(std::string(s)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
    }
    out += '"';
    out += s;
    out += '"';
}

void appendJsonFloat(std::string& out, double d) {
    if (!std::isfinite(d)) {
        out += "null";
        return;
    }
    // Whole numbers and cents, nearly every number a packet carries, skip the digit search: when
    // hundredths read back exactly, the hundredths without trailing zeros are the shortest form,
    // as the library writes it (below 1e13 a hundredth is wider than the gap between doubles).
    if (const double k = std::round(d * 100); std::fabs(d) < 1e13 && k / 100 == d) {
        if (k == 0) {
            out += std::signbit(d) ? "-0.0" : "0.0";
            return;
        }
        const auto hundredths = static_cast<long long>(std::fabs(k));
        if (k < 0) out += '-';
        appendInt(out, hundredths / 100);
        const int cents = static_cast<int>(hundredths % 100);
        out += '.';
        out += static_cast<char>('0' + cents / 10);
        if (cents % 10 != 0) out += static_cast<char>('0' + cents % 10);
        return;
    }
    // The library's own float formatter, so the digits match its dump exactly (Grisu2 is not
    // always the shortest form, so std::to_chars could differ in the last digit).
    std::array<char, 64> buf{};
    char* end = nlohmann::detail::to_chars(buf.data(), buf.data() + buf.size(), d);
    out.append(buf.data(), end);
}

void appendJson(std::string& out, const DataPacket& packet) {
    // Object keys in the order nlohmann::json keeps them (sorted): fields, rows; name, size, type.
    out += R"({"fields":[)";
    bool first = true;
    for (const auto& f : packet.fields) {
        if (!first) out += ',';
        first = false;
        out += R"({"name":)";
        appendJsonString(out, f.name);
        if (f.type == FieldType::String) {
            out += R"(,"size":)";
            appendInt(out, f.size);
        }
        out += R"(,"type":")";
        out += typeName(f.type);
        out += "\"}";
    }
    out += R"(],"rows":[)";
    first = true;
    for (const auto& row : packet.rows) {
        out += first ? "[" : ",[";
        first = false;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i) out += ',';
            appendValue(out, row[i]);
        }
        out += ']';
    }
    out += "]}";
}

std::string toJsonText(const DataPacket& packet) {
    std::string out;
    out.reserve(64 + packet.fields.size() * 48 + packet.rows.size() * (packet.fields.size() * 10 + 4));
    appendJson(out, packet);
    return out;
}

}  // namespace wire
