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
    // The shortest digits that read back, laid out as JSON writers commonly do: a plain decimal
    // from 1e-5 up to 1e15 ("1.0", "0.001"), an exponent of two digits or more beyond ("1e+16").
    std::array<char, 32> sci{};
    const auto res = std::to_chars(sci.data(), sci.data() + sci.size(), d, std::chars_format::scientific);
    std::string_view text(sci.data(), static_cast<std::size_t>(res.ptr - sci.data()));
    if (text.front() == '-') {
        out += '-';
        text.remove_prefix(1);
    }
    const std::size_t e = text.find('e');
    std::array<char, 20> digits{};
    std::size_t count = 0;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') digits[count++] = text[i];
    int exponent = 0;
    std::from_chars(text.data() + e + 2, text.data() + text.size(), exponent);
    if (text[e + 1] == '-') exponent = -exponent;
    const std::string_view all(digits.data(), count);
    const int point = exponent + 1;  // digits before the decimal point
    const int n = static_cast<int>(count);
    if (n <= point && point <= 15) {
        out += all;
        out.append(static_cast<std::size_t>(point - n), '0');
        out += ".0";
    } else if (0 < point && point <= 15) {
        out += all.substr(0, static_cast<std::size_t>(point));
        out += '.';
        out += all.substr(static_cast<std::size_t>(point));
    } else if (-4 < point && point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out += all;
    } else {
        out += all.front();
        if (n > 1) {
            out += '.';
            out += all.substr(1);
        }
        out += exponent < 0 ? "e-" : "e+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) out += '0';
        appendInt(out, magnitude);
    }
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
