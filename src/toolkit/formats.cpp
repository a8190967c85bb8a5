#include "toolkit/formats.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "toolkit/exceptions.h"

namespace tk {
namespace {

// Fixed-point digits of the shortest text that reads back as `value` (no sign):
// integer digits and fraction digits, so rounding works on what the user sees
// (12.345 rounds to 12.35, although its binary value lies just below).
struct Decimal {
    std::string intDigits;   // no leading zeros; "" for zero
    std::string fracDigits;  // no trailing zeros
};

Decimal toDecimal(double value) {
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
    std::string text(buf, res.ptr);
    Decimal d;
    auto dot = text.find('.');
    d.intDigits = text.substr(0, dot);
    if (dot != std::string::npos) d.fracDigits = text.substr(dot + 1);
    while (!d.intDigits.empty() && d.intDigits.front() == '0') d.intDigits.erase(0, 1);
    while (!d.fracDigits.empty() && d.fracDigits.back() == '0') d.fracDigits.pop_back();
    return d;
}

// Keeps at most `decimals` fraction digits, rounding half away from zero.
void roundTo(Decimal& d, std::size_t decimals) {
    if (d.fracDigits.size() <= decimals) return;
    bool up = d.fracDigits[decimals] >= '5';
    d.fracDigits.resize(decimals);
    if (up) {
        std::string all = d.intDigits + d.fracDigits;
        int i = static_cast<int>(all.size()) - 1;
        while (i >= 0 && all[static_cast<std::size_t>(i)] == '9') all[static_cast<std::size_t>(i--)] = '0';
        if (i < 0) all.insert(all.begin(), '1');
        else ++all[static_cast<std::size_t>(i)];
        d.intDigits = all.substr(0, all.size() - decimals);
        d.fracDigits = all.substr(all.size() - decimals);
    }
    while (!d.intDigits.empty() && d.intDigits.front() == '0') d.intDigits.erase(0, 1);
    while (!d.fracDigits.empty() && d.fracDigits.back() == '0') d.fracDigits.pop_back();
}

// One section of a pattern: literal text around the digit placeholders.
struct Pattern {
    std::string prefix, suffix;
    int minInt = 0;       // '0's before the decimal point
    bool thousands = false;
    bool hasPoint = false;
    std::size_t minFrac = 0, maxFrac = 0;
};

Pattern parsePattern(std::string_view p) {
    Pattern pat;
    auto isPlaceholder = [](char c) { return c == '0' || c == '#' || c == '.' || c == ','; };
    std::size_t first = 0;
    while (first < p.size() && !isPlaceholder(p[first])) ++first;
    std::size_t last = p.size();
    while (last > first && !isPlaceholder(p[last - 1])) --last;
    auto stripQuotes = [](std::string_view s) {
        std::string out;
        for (char c : s)
            if (c != '"' && c != '\'') out += c;
        return out;
    };
    pat.prefix = stripQuotes(p.substr(0, first));
    pat.suffix = stripQuotes(p.substr(last));
    for (std::size_t i = first; i < last; ++i) {
        char c = p[i];
        if (c == '.') {
            pat.hasPoint = true;
        } else if (c == ',') {
            if (!pat.hasPoint) pat.thousands = true;
        } else if (!pat.hasPoint) {
            if (c == '0') ++pat.minInt;
        } else if (c == '0') {
            ++pat.minFrac;
            ++pat.maxFrac;
        } else if (c == '#') {
            ++pat.maxFrac;
        }
    }
    return pat;
}

std::string formatSection(const Pattern& pat, double value, bool withSign) {
    Decimal d = toDecimal(value);
    roundTo(d, pat.hasPoint ? pat.maxFrac : 0);
    std::string intPart = d.intDigits;
    while (static_cast<int>(intPart.size()) < pat.minInt) intPart.insert(intPart.begin(), '0');
    if (pat.thousands) {
        std::string grouped;
        int n = static_cast<int>(intPart.size());
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) grouped += '.';
            grouped += intPart[static_cast<std::size_t>(i)];
        }
        intPart = grouped;
    }
    std::string frac = d.fracDigits;
    while (frac.size() < pat.minFrac) frac += '0';
    bool isZero = d.intDigits.empty() && d.fracDigits.empty();
    std::string out;
    if (withSign && value < 0 && !isZero) out += '-';
    out += pat.prefix;
    out += intPart;
    if (!frac.empty()) out += ',' + frac;
    out += pat.suffix;
    return out;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string FormatFloat(std::string_view pattern, double value) {
    if (pattern.empty()) return FloatToStr(value);
    if (!std::isfinite(value)) return FloatToStr(value);
    // Sections "positive;negative;zero": the negative one prints without a sign of its own.
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= pattern.size(); ++i) {
        if (i == pattern.size() || pattern[i] == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    Pattern positive = parsePattern(sections[0]);
    if (sections.size() >= 3 && !sections[2].empty()) {
        // The zero section applies to what rounds to zero under the positive section.
        Decimal d = toDecimal(value);
        roundTo(d, positive.hasPoint ? positive.maxFrac : 0);
        if (d.intDigits.empty() && d.fracDigits.empty()) return formatSection(parsePattern(sections[2]), 0.0, false);
    }
    if (value < 0 && sections.size() >= 2 && !sections[1].empty())
        return formatSection(parsePattern(sections[1]), value, false);
    return formatSection(positive, value, true);
}

std::string FloatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    char buf[400];
    double mag = std::fabs(value);
    auto fmt = (mag >= 1e-5 && mag < 1e15) ? std::chars_format::fixed : std::chars_format::scientific;
    auto res = std::to_chars(buf, buf + sizeof buf, value, fmt);
    std::string text(buf, res.ptr);
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

std::optional<double> TryStrToFloat(std::string_view text) {
    text = trim(text);
    std::string normalized;
    normalized.reserve(text.size());
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') normalized += '-';
        ++i;
    }
    bool digit = false, comma = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
            normalized += c;
        } else if (c == ',' && !comma) {
            comma = true;
            normalized += '.';
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    double v = 0;
    auto res = std::from_chars(normalized.data(), normalized.data() + normalized.size(), v);
    if (res.ec != std::errc() || res.ptr != normalized.data() + normalized.size()) return std::nullopt;
    return v;
}

double StrToFloat(std::string_view text) {
    if (auto v = TryStrToFloat(text)) return *v;
    throw EConvertError("'" + std::string(text) + "' não é um número válido.");
}

std::string FormatDate(const wire::DateTime& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day(), d.month(), d.year());
    return buf;
}

std::optional<wire::DateTime> TryStrToDate(std::string_view text) {
    text = trim(text);
    int parts[3] = {0, 0, 0};
    std::size_t lengths[3] = {0, 0, 0};
    int part = 0;
    for (char c : text) {
        if (c == '/') {
            if (++part > 2) return std::nullopt;
        } else if (c >= '0' && c <= '9') {
            if (++lengths[part] > 4) return std::nullopt;
            parts[part] = parts[part] * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || lengths[0] < 1 || lengths[0] > 2 || lengths[1] < 1 || lengths[1] > 2 || lengths[2] != 4)
        return std::nullopt;
    if (!wire::DateTime::isValidDate(parts[2], parts[1], parts[0])) return std::nullopt;
    return wire::DateTime::fromYmd(parts[2], parts[1], parts[0]);
}

}  // namespace tk
