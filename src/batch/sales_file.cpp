#include "batch/sales_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "commission/money.h"
#include "wire/datetime.h"
#include "wire/texts.h"

namespace batch {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

struct Required {
    const char* name;
    std::size_t Columns::*at;
};
constexpr std::array<Required, 7> kRequired{{{"VENDA", &Columns::venda},
                                             {"VENDEDOR", &Columns::vendedor},
                                             {"IDCARGOVEND", &Columns::cargo},
                                             {"CDTIPOEVENTO", &Columns::tipoEvento},
                                             {"DTEVENTO", &Columns::dtEvento},
                                             {"DTFECHAMENTO", &Columns::dtFechamento},
                                             {"VRVENDA", &Columns::valor}}};

// Called on every cell of every line, and most cells have nothing to trim.
[[gnu::always_inline]] inline std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = 0;
        unsigned min = 0, cp = 0;
        if ((c & 0xE0) == 0xC0) len = 2, min = 0x80, cp = c & 0x1F;
        else if ((c & 0xF0) == 0xE0) len = 3, min = 0x800, cp = c & 0x0F;
        else if ((c & 0xF8) == 0xF0) len = 4, min = 0x10000, cp = c & 0x07;
        else return false;
        if (i + len > n) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

// Splits at `;` outside quotes. False, with the cell at fault, on a quote left open or a
// closing quote followed by more than the separator.
bool split(std::string_view line, std::vector<CellSpan>& cells, std::size_t& badCell) {
    cells.clear();
    const char* const text = line.data();
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (true) {
        if (i < n && text[i] == '"') {
            bool doubled = false;
            std::size_t j = i + 1;
            while (true) {
                j = line.find('"', j);
                if (j == std::string_view::npos) {
                    badCell = cells.size();
                    return false;
                }
                if (j + 1 < n && text[j + 1] == '"') {
                    doubled = true;
                    j += 2;
                    continue;
                }
                break;
            }
            cells.push_back({i + 1, j, true, doubled});
            i = j + 1;
            if (i == n) return true;
            if (text[i] != ';') {
                badCell = cells.size() - 1;
                return false;
            }
            ++i;
        } else {
            // Cells are a few characters long: a plain loop beats a call to search each.
            std::size_t j = i;
            while (j < n && text[j] != ';') ++j;
            cells.push_back({i, j, false, false});
            if (j == n) return true;
            i = j + 1;
        }
    }
}

// Eight characters at a time: nearly every line is plain ASCII and needs no closer look.
bool ascii(std::string_view s) {
    std::uint64_t any = 0;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        any |= word;
    }
    for (; i < s.size(); ++i) any |= static_cast<unsigned char>(s[i]);
    return (any & 0x8080808080808080ULL) == 0;
}

bool digit(char c) { return c >= '0' && c <= '9'; }

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's days_from_civil).
long long civilDays(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<long long>(era) * 146097 + static_cast<long long>(doe) - 719468;
}

// A well-formed date of a day that exists, read without building anything; nullopt for
// whatever readDate must then explain.
std::optional<long long> quickDate(std::string_view s) {
    if (s.size() != 10 || s[2] != '/' || s[5] != '/') return std::nullopt;
    const auto at = [&](std::size_t k) { return static_cast<unsigned>(static_cast<unsigned char>(s[k])) - '0'; };
    const unsigned d0 = at(0), d1 = at(1), m0 = at(3), m1 = at(4), y0 = at(6), y1 = at(7), y2 = at(8), y3 = at(9);
    if ((d0 > 9) | (d1 > 9) | (m0 > 9) | (m1 > 9) | (y0 > 9) | (y1 > 9) | (y2 > 9) | (y3 > 9)) return std::nullopt;
    const int day = static_cast<int>(d0 * 10 + d1), month = static_cast<int>(m0 * 10 + m1);
    const int year = static_cast<int>(y0 * 1000 + y1 * 100 + y2 * 10 + y3);
    static constexpr int kLength[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1) return std::nullopt;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (day > kLength[month - 1] + (month == 2 && leap)) return std::nullopt;
    return civilDays(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
}

// A well-formed value within the limits ("-1.234,56", "1234,5", "12"), read in one pass;
// nullopt for whatever readValue must then explain.
std::optional<long long> quickValue(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    const bool negative = n > 0 && s[0] == '-';
    if (negative) ++i;
    long long whole = 0;
    int group = 0;  // digits since the last point
    bool points = false, any = false;
    for (; i < n && s[i] != ','; ++i) {
        const char c = s[i];
        if (c == '.') {
            // The first group holds one to three digits, every later one exactly three.
            if (!any || (points ? group != 3 : group > 3)) return std::nullopt;
            points = true;
            group = 0;
            continue;
        }
        if (!digit(c)) return std::nullopt;
        any = true;
        ++group;
        whole = whole * 10 + (c - '0');
        if (whole > 999'999'999) return std::nullopt;  // more than nine digits past the leading zeros
    }
    if (!any || (points && group != 3)) return std::nullopt;
    long long cents = whole * 100;
    if (i < n) {  // the comma: one or two decimals
        const std::size_t decimals = n - i - 1;
        if (decimals < 1 || decimals > 2 || !digit(s[i + 1]) || (decimals == 2 && !digit(s[i + 2]))) return std::nullopt;
        cents += (s[i + 1] - '0') * 10 + (decimals == 2 ? s[i + 2] - '0' : 0);
    }
    if (cents > commission::money::kLimitCents) return std::nullopt;
    return negative ? -cents : cents;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
           });
}

bool digits(std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), digit); }

}  // namespace

std::string cellText(std::string_view line, const CellSpan& c) {
    std::string s(line.substr(c.begin, c.end - c.begin));
    if (c.doubledQuotes) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            out += s[i];
            if (s[i] == '"') ++i;
        }
        return out;
    }
    return s;
}

Columns readHeader(std::string_view line) {
    if (line.starts_with(kBom)) line.remove_prefix(kBom.size());
    if (!validUtf8(line)) throw SalesFileError("O cabeçalho do arquivo não é texto UTF-8 válido.");
    std::vector<CellSpan> cells;
    std::size_t bad = 0;
    if (!split(line, cells, bad)) throw SalesFileError("O cabeçalho do arquivo tem aspas sem fechamento.");
    Columns out;
    for (const CellSpan& c : cells) out.names.emplace_back(trim(cellText(line, c)));
    for (const Required& r : kRequired) {
        const auto first = std::find_if(out.names.begin(), out.names.end(), [&](const std::string& n) { return sameName(n, r.name); });
        if (first == out.names.end())
            throw SalesFileError(std::string("O arquivo não tem a coluna ") + r.name + ".");
        if (std::find_if(first + 1, out.names.end(), [&](const std::string& n) { return sameName(n, r.name); }) !=
            out.names.end())
            throw SalesFileError(std::string("A coluna ") + r.name + " aparece mais de uma vez no cabeçalho.");
        out.*r.at = static_cast<std::size_t>(first - out.names.begin());
    }
    return out;
}

std::optional<long long> readValue(std::string_view text, std::string& why) {
    const std::string_view s = trim(text);
    const auto malformed = [&] {
        why = "valor inválido '" + std::string(s) + "': use vírgula decimal, como 1.234,56";
        return std::nullopt;
    };
    if (s.empty()) {
        why = "a célula está vazia";
        return std::nullopt;
    }
    std::size_t i = 0;
    const bool negative = s[0] == '-';
    if (negative) ++i;
    const std::size_t comma = s.find(',', i);
    const std::string_view whole = s.substr(i, (comma == std::string_view::npos ? s.size() : comma) - i);
    const std::string_view fraction = comma == std::string_view::npos ? std::string_view() : s.substr(comma + 1);
    if (comma != std::string_view::npos && !digits(fraction)) return malformed();
    // Thousands points, if any, every three digits from the comma.
    std::string wholeDigits;
    if (whole.find('.') != std::string_view::npos) {
        std::size_t start = 0, group = 0;
        while (true) {
            const std::size_t dot = whole.find('.', start);
            const std::string_view part = whole.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
            if (!digits(part) || (group == 0 ? part.size() > 3 : part.size() != 3)) return malformed();
            wholeDigits += part;
            ++group;
            if (dot == std::string_view::npos) break;
            start = dot + 1;
        }
    } else {
        if (!digits(whole)) return malformed();
        wholeDigits = whole;
    }
    if (fraction.size() > 2) {
        why = "o valor '" + std::string(s) + "' tem mais de duas casas decimais";
        return std::nullopt;
    }
    const std::size_t significant = wholeDigits.find_first_not_of('0');
    if (significant != std::string::npos && wholeDigits.size() - significant > 9) {
        why = "o valor '" + std::string(s) + "' passa dos limites, de -999.999.999,00 a 999.999.999,00";
        return std::nullopt;
    }
    long long cents = 0;
    for (char c : wholeDigits) cents = cents * 10 + (c - '0');
    cents *= 100;
    if (fraction.size() >= 1) cents += (fraction[0] - '0') * 10;
    if (fraction.size() == 2) cents += fraction[1] - '0';
    if (cents > commission::money::kLimitCents) {
        why = "o valor '" + std::string(s) + "' passa dos limites, de -999.999.999,00 a 999.999.999,00";
        return std::nullopt;
    }
    return negative ? -cents : cents;
}

std::optional<long long> readDate(std::string_view text, std::string& why) {
    const std::string_view s = trim(text);
    const auto d = [&](std::size_t at, std::size_t n) {
        int v = 0;
        for (std::size_t k = at; k < at + n; ++k) v = v * 10 + (s[k] - '0');
        return v;
    };
    if (s.size() != 10 || s[2] != '/' || s[5] != '/' || !digits(s.substr(0, 2)) || !digits(s.substr(3, 2)) ||
        !digits(s.substr(6, 4))) {
        why = s.empty() ? std::string("a célula está vazia") : "data inválida '" + std::string(s) + "': use dd/mm/aaaa";
        return std::nullopt;
    }
    const int day = d(0, 2), month = d(3, 2), year = d(6, 4);
    if (!wire::DateTime::isValidDate(year, month, day)) {
        why = "a data " + std::string(s) + " não existe";
        return std::nullopt;
    }
    return wire::DateTime::fromYmd(year, month, day).days();
}

std::optional<Refusal> readLine(std::string_view line, const Columns& columns, SaleLine& out,
                                std::vector<CellSpan>& cells) {
    const auto refuse = [&](std::size_t column, std::string why) {
        return Refusal{column < columns.names.size() ? columns.names[column] : std::string(), std::move(why)};
    };
    std::size_t bad = 0;
    if (!split(line, cells, bad)) return refuse(bad, "aspas sem fechamento ou mal colocadas");
    if (cells.size() < columns.names.size())
        return refuse(cells.size(), "faltam células: a linha tem " + std::to_string(cells.size()) + ", o cabeçalho " +
                                        std::to_string(columns.names.size()));
    if (cells.size() > columns.names.size())
        return refuse(columns.names.size(), "células a mais: a linha tem " + std::to_string(cells.size()) +
                                                ", o cabeçalho " + std::to_string(columns.names.size()));
    if (!ascii(line))
        for (std::size_t i = 0; i < cells.size(); ++i)
            if (!validUtf8(line.substr(cells[i].begin, cells[i].end - cells[i].begin)))
                return refuse(i, "o texto não é UTF-8 válido");
    // Codes, dates and values with doubled quotes are refused as they stand; only the free texts
    // are unquoted in full.
    const auto cell = [&](std::size_t i) { return line.substr(cells[i].begin, cells[i].end - cells[i].begin); };
    const auto text = [&](std::size_t i) { return std::string(trim(cellText(line, cells[i]))); };

    std::string why;
    if (trim(cell(columns.venda)).empty())
        return refuse(columns.venda, "a célula está vazia");
    if (cells[columns.vendedor].doubledQuotes) out.vendedor = text(columns.vendedor);
    else out.vendedor.assign(trim(cell(columns.vendedor)));
    if (out.vendedor.empty()) return refuse(columns.vendedor, "a célula está vazia");

    const std::string_view cargo = trim(cell(columns.cargo));
    if (cargo.size() != 1 || (cargo[0] != 'V' && cargo[0] != 'S' && cargo[0] != 'G'))
        return refuse(columns.cargo, "cargo desconhecido '" + text(columns.cargo) + "': use V, S ou G");
    const std::string_view tipo = trim(cell(columns.tipoEvento));
    if (!wire::isEventTypeCode(tipo))
        return refuse(columns.tipoEvento,
                      "tipo de evento inválido '" + text(columns.tipoEvento) + "': use o código de três caracteres do cadastro");
    // The quick readings take the well-formed cells; the full ones say what is wrong with the rest.
    auto eventDay = quickDate(trim(cell(columns.dtEvento)));
    if (!eventDay && !(eventDay = readDate(cell(columns.dtEvento), why))) return refuse(columns.dtEvento, why);
    auto closingDay = quickDate(trim(cell(columns.dtFechamento)));
    if (!closingDay && !(closingDay = readDate(cell(columns.dtFechamento), why))) return refuse(columns.dtFechamento, why);
    auto value = quickValue(trim(cell(columns.valor)));
    if (!value && !(value = readValue(cell(columns.valor), why))) return refuse(columns.valor, why);

    out.sale.cargo.assign(cargo);
    out.sale.tipoEvento.assign(tipo);
    out.sale.eventDay = *eventDay;
    out.sale.closingDay = *closingDay;
    out.sale.valueCents = *value;
    return std::nullopt;
}

}  // namespace batch
