#include "commission/table_sheet.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "commission/money.h"
#include "wire/band_limits.h"
#include "wire/datetime.h"
#include "wire/texts.h"
#include "wire/utf8.h"

namespace commission {
namespace {

// --- the file's records -----------------------------------------------------------------------

struct Record {
    int line = 0;  // where it starts
    std::vector<std::string> cells;
    bool brokenQuote = false;
};

// Splits the text into records: a quoted cell may hold `;`, doubled quotes and line breaks.
class Records {
public:
    explicit Records(std::string_view text) : text_(text) {
        if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);
    }

    bool next(Record& out) {
        if (at_ >= text_.size()) return false;
        out = Record{line_, {}, false};
        std::string cell;
        while (true) {
            if (at_ < text_.size() && text_[at_] == '"' && cell.empty()) {
                if (!quoted(cell)) out.brokenQuote = true;
            }
            while (at_ < text_.size() && text_[at_] != ';' && !lineEnd()) cell += text_[at_++];
            out.cells.push_back(std::move(cell));
            cell.clear();
            if (at_ >= text_.size()) return true;
            if (text_[at_] == ';') {
                ++at_;
                continue;
            }
            skipLineEnd();
            return true;
        }
    }

private:
    bool lineEnd() const { return text_[at_] == '\n' || text_[at_] == '\r'; }
    void skipLineEnd() {
        if (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') ++at_;
        ++at_;
        ++line_;
    }
    // Reads a quoted cell's text; false when its closing quote is missing or not at the cell's end.
    bool quoted(std::string& cell) {
        ++at_;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '"') {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
                    cell += '"';
                    at_ += 2;
                    continue;
                }
                ++at_;
                return at_ >= text_.size() || text_[at_] == ';' || lineEnd();
            }
            if (c == '\n' || (c == '\r' && !(at_ + 1 < text_.size() && text_[at_ + 1] == '\n'))) ++line_;
            cell += c;
            ++at_;
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

// --- single cells -----------------------------------------------------------------------------

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool digits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// ASCII letters folded: "VENDEDOR" and "vendedor" read as "Vendedor".
bool sameWord(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// The code a cell names, by its code or by the message text the grids show for it.
std::optional<std::string> codeOf(std::string_view cell, std::span<const wire::CodeEntry> table) {
    for (const wire::CodeEntry& e : table)
        if (sameWord(cell, e.code) || sameWord(cell, wire::message(e.messageKey))) return std::string(e.code);
    return std::nullopt;
}

std::optional<Scope> scopeOf(std::string_view cell) {
    static constexpr std::array<const char*, 3> titles{"Cargo", "Tipo de Evento", "Promoção"};  // in Scope's order
    for (Scope s : wire::kScopes) {
        const auto i = static_cast<std::size_t>(s);
        if (sameWord(cell, titles[i]) || sameWord(cell, wire::kScopeWords[i])) return s;
    }
    return std::nullopt;
}

// "1.234,56", "1234,56", "-0,5", "12": cents; else nullopt and `why`.
std::optional<long long> readCents(std::string_view s, const wire::BandLimit& limit, std::string& why) {
    std::size_t i = 0;
    const bool negative = !s.empty() && s[0] == '-';
    if (negative) ++i;
    const std::size_t comma = s.find(',', i);
    const std::string_view whole = s.substr(i, (comma == std::string_view::npos ? s.size() : comma) - i);
    const std::string_view fraction = comma == std::string_view::npos ? std::string_view() : s.substr(comma + 1);
    why = std::string(limit.label) + " inválido: use vírgula decimal, como 1.234,56.";
    if (comma != std::string_view::npos && !digits(fraction)) return std::nullopt;
    std::string wholeDigits;
    std::size_t start = 0, group = 0;
    while (true) {  // thousands points, if any, every three digits from the comma
        const std::size_t dot = whole.find('.', start);
        const std::string_view part = whole.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (!digits(part) || (group > 0 && part.size() != 3) || (dot != std::string_view::npos && group == 0 && part.size() > 3))
            return std::nullopt;
        wholeDigits += part;
        ++group;
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    if (fraction.size() > 2) {
        why = std::string(limit.label) + " deve ter no máximo duas casas decimais.";
        return std::nullopt;
    }
    const std::size_t significant = wholeDigits.find_first_not_of('0');
    if (significant != std::string::npos && wholeDigits.size() - significant > 10) {
        why = limit.refusal();
        return std::nullopt;
    }
    long long cents = 0;
    for (char c : wholeDigits) cents = cents * 10 + (c - '0');
    cents *= 100;
    if (fraction.size() >= 1) cents += (fraction[0] - '0') * 10;
    if (fraction.size() == 2) cents += fraction[1] - '0';
    if (negative) cents = -cents;
    if (!limit.holds(money::toDouble(cents))) {
        why = limit.refusal();
        return std::nullopt;
    }
    return cents;
}

// "dd/mm/aaaa" (or "d/m/aaaa") of a day that exists: days since 1970-01-01.
std::optional<long long> readDay(std::string_view s, std::string& why) {
    const auto a = s.find('/'), b = a == std::string_view::npos ? a : s.find('/', a + 1);
    if (b == std::string_view::npos || !digits(s.substr(0, a)) || !digits(s.substr(a + 1, b - a - 1)) ||
        !digits(s.substr(b + 1)) || a > 2 || b - a - 1 > 2 || s.size() - b - 1 != 4) {
        why = "Data inválida: use dd/mm/aaaa.";
        return std::nullopt;
    }
    const int day = std::stoi(std::string(s.substr(0, a))), month = std::stoi(std::string(s.substr(a + 1, b - a - 1))),
              year = std::stoi(std::string(s.substr(b + 1)));
    if (!wire::DateTime::isValidDate(year, month, day)) {
        why = "A data " + std::string(s) + " não existe.";
        return std::nullopt;
    }
    return wire::DateTime::fromYmd(year, month, day).days();
}

// --- the columns ------------------------------------------------------------------------------

enum Column { Escopo, Cargo, TipoEvento, NomeTipoEvento, Inicio, Fim, Base, VrInicial, VrFinal, Percentual, kColumns };

struct ColumnNames {
    const char* title;  // what the report writes, and the findings say when the header lacks it
    std::array<const char*, 2> others;
};
// The titles the report writes, the one a grid gives it elsewhere, and the stored field's name.
constexpr std::array<ColumnNames, kColumns> kNames{{
    {"Escopo", {"", ""}},
    {"Cargo", {"Descrição", "IDCARGOVEND"}},
    {"Cód. Tipo Evento", {"CDTIPOEVENTO", ""}},
    {"Tipo Evento", {"Tipo de Evento", "NMTIPOEVENTO"}},
    {"Validade Inicial", {"DTVALINICOMISPROMO", ""}},
    {"Validade Final", {"DTVALFINCOMISPROMO", ""}},
    {"Data Base", {"IDDTBASECOMISPROMO", ""}},
    {"Valor Inicial", {"VRINICIAL", ""}},
    {"Valor Final", {"VRFINAL", ""}},
    {"Percentual", {"VRCOMISSAO", ""}},
}};

// The columns each scope reads, beyond the scope and the bands.
constexpr std::array<std::array<bool, kColumns>, 3> kNeeds{{
    {true, true, false, false, false, false, false, true, true, true},
    {true, true, true, false, false, false, false, true, true, true},
    {true, true, true, false, true, true, true, true, true, true},
}};

constexpr auto kNameSize = static_cast<std::size_t>(wire::lists::evento.fields[wire::lists::evento.at("NMTIPOEVENTO")].size);

class Reader {
public:
    TableSheet run(std::string_view text) {
        Records records(text);
        Record r;
        bool header = false;
        while (records.next(r)) {
            if (blankRecord(r)) continue;
            if (!header) {
                header = true;
                if (!readHeader(r)) return std::move(sheet_);
                continue;
            }
            readLine(r);
        }
        if (!header) sheet_.findings.push_back({0, "", "A planilha está vazia: falta o cabeçalho."});
        return std::move(sheet_);
    }

private:
    static bool blankRecord(const Record& r) {
        return std::all_of(r.cells.begin(), r.cells.end(), [](const std::string& c) { return trim(c).empty(); });
    }

    bool readHeader(const Record& r) {
        at_.fill(-1);
        for (std::size_t i = 0; i < r.cells.size(); ++i) {
            const std::string_view cell = trim(r.cells[i]);
            for (std::size_t c = 0; c < kColumns; ++c) {
                const auto& n = kNames[c];
                if (at_[c] < 0 && (sameWord(cell, n.title) || (*n.others[0] && sameWord(cell, n.others[0])) ||
                                   (*n.others[1] && sameWord(cell, n.others[1]))))
                    at_[c] = static_cast<int>(i);
            }
        }
        headerLine_ = r.line;
        headerSize_ = r.cells.size();
        bool good = true;
        for (std::size_t c = 0; c < kColumns; ++c)
            if (at_[c] < 0 && kNeeds[0][c]) {
                missing(c);
                good = false;
            }
        return good;
    }

    void missing(std::size_t c) {
        sheet_.findings.push_back({headerLine_, kNames[c].title,
                                   std::string("Coluna \"") + kNames[c].title + "\" não encontrada no cabeçalho."});
        reported_[c] = true;
    }

    std::string_view cell(const Record& r, Column c) const {
        const int i = at_[c];
        if (i < 0 || static_cast<std::size_t>(i) >= r.cells.size()) return {};
        return trim(r.cells[static_cast<std::size_t>(i)]);
    }

    void refuse(const Record& r, Column c, std::string text) {
        sheet_.findings.push_back({r.line, kNames[c].title, std::move(text)});
        lineGood_ = false;
    }

    void readLine(const Record& r) {
        lineGood_ = true;
        if (r.brokenQuote) {
            sheet_.findings.push_back({r.line, "", "Aspas sem fechamento ou mal colocadas."});
            current_.reset();
            return;
        }
        for (std::size_t i = headerSize_; i < r.cells.size(); ++i)
            if (!trim(r.cells[i]).empty()) {
                sheet_.findings.push_back({r.line, "", "Células a mais: a linha tem " + std::to_string(r.cells.size()) +
                                                           ", o cabeçalho " + std::to_string(headerSize_) + "."});
                current_.reset();
                return;
            }
        for (const std::string& c : r.cells)
            if (wire::utf8::decode(c).badByte) {
                sheet_.findings.push_back({r.line, "", "O texto não é UTF-8 válido."});
                current_.reset();
                return;
            }

        const auto scope = scopeOf(cell(r, Escopo));
        if (!scope) {
            refuse(r, Escopo, "Escopo inválido: use Cargo, Tipo de Evento ou Promoção.");
            current_.reset();
            return;
        }
        const auto& needs = kNeeds[static_cast<std::size_t>(*scope)];
        for (std::size_t c = 0; c < kColumns; ++c)
            if (needs[c] && at_[c] < 0) {
                if (!reported_[c]) missing(c);
                lineGood_ = false;
            }
        if (!lineGood_) {
            current_.reset();
            return;
        }

        Rule rule;
        rule.scope = *scope;
        readRuleCells(r, rule);
        const auto band = readBand(r);
        if (!lineGood_ && !ruleGood_) {
            current_.reset();
            return;
        }
        if (!current_ || !sameRule(sheet_.rules[*current_].rule, rule)) {
            sheet_.rules.push_back({std::move(rule), r.line, {}});
            blankLine_.push_back(0);
            current_ = sheet_.rules.size() - 1;
        }
        SheetRule& into = sheet_.rules[*current_];
        int& blank = blankLine_[*current_];
        if (!lineGood_) return;
        if (!band) {  // a rule without bands has this one line alone
            if (into.bandLines.empty() && blank == 0) blank = r.line;
            else refuse(r, VrInicial, wire::message("VRINI_N"));
            return;
        }
        if (blank != 0) {
            sheet_.findings.push_back({blank, kNames[VrInicial].title, wire::message("VRINI_N")});
            blank = -1;  // said once
        }
        into.rule.bands.push_back(*band);
        into.bandLines.push_back(r.line);
    }

    // The rule's own cells; clears ruleGood_ when one is at fault.
    void readRuleCells(const Record& r, Rule& rule) {
        const std::size_t before = sheet_.findings.size();
        const auto& needs = kNeeds[static_cast<std::size_t>(rule.scope)];
        std::string_view c = cell(r, Cargo);
        if (c.empty()) refuse(r, Cargo, wire::message("Cargo_NCad"));
        else if (const auto code = codeOf(c, wire::kCargoCodes)) rule.cargo = *code;
        else refuse(r, Cargo, "Cargo inválido: use Vendedor, Supervisor ou Gerente (ou V, S, G).");
        if (needs[TipoEvento]) {
            c = cell(r, TipoEvento);
            if (c.empty()) refuse(r, TipoEvento, wire::message("TPEVEN_NINF"));
            else if (!wire::isEventTypeCode(c))
                refuse(r, TipoEvento, "Tipo de evento inválido: use o código de três caracteres do cadastro, como 001.");
            else rule.tipoEvento = std::string(c);
            rule.nomeTipoEvento = std::string(cell(r, NomeTipoEvento));
            if (wire::utf8::length(rule.nomeTipoEvento) > kNameSize)
                refuse(r, NomeTipoEvento, std::string(kNames[NomeTipoEvento].title) + " deve ter no máximo " +
                                              std::to_string(kNameSize) + " caracteres.");
        }
        if (needs[Base]) {
            std::string why;
            const auto day = [&](Column col, const char* none) -> long long {
                const std::string_view d = cell(r, col);
                if (d.empty()) {
                    refuse(r, col, none);
                    return 0;
                }
                const auto read = readDay(d, why);
                if (!read) refuse(r, col, why);
                return read.value_or(0);
            };
            rule.firstDay = day(Inicio, wire::message("N_DtIni"));
            rule.lastDay = day(Fim, wire::message("N_DtFin"));
            if (sheet_.findings.size() == before && rule.lastDay < rule.firstDay)
                refuse(r, Inicio, wire::message("DtIni>DtFin"));
            c = cell(r, Base);
            if (c.empty()) refuse(r, Base, wire::message("DtBase_NCad"));
            else if (const auto code = codeOf(c, wire::kDataBaseCodes)) rule.base = *code;
            else refuse(r, Base, "Data Base inválida: use Data do Evento ou Data de Fechamento (ou DATAEVENTO, DATAFECHAMENTO).");
        }
        ruleGood_ = sheet_.findings.size() == before;
    }

    // The line's band; nullopt when its three cells are blank or one is at fault.
    std::optional<Band> readBand(const Record& r) {
        const Column cols[] = {VrInicial, VrFinal, Percentual};
        const char* none[] = {wire::message("VRINI_N"), wire::message("VRFIN_N"), wire::message("PERC_N")};
        const char* fields[] = {"VRINICIAL", "VRFINAL", "VRCOMISSAO"};
        if (std::all_of(std::begin(cols), std::end(cols), [&](Column c) { return cell(r, c).empty(); })) return std::nullopt;
        std::array<std::optional<long long>, 3> v;
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string_view text = cell(r, cols[i]);
            if (text.empty()) {
                refuse(r, cols[i], none[i]);
                continue;
            }
            std::string why;
            v[i] = readCents(text, wire::bandLimit(fields[i]), why);
            if (!v[i]) refuse(r, cols[i], why);
        }
        if (v[0] && v[1] && *v[1] < *v[0]) refuse(r, VrInicial, wire::message("VRINI>VRFIN"));
        if (v[2] && *v[2] == 0) refuse(r, Percentual, wire::message("PERC_ZERO"));
        if (!v[0] || !v[1] || !v[2] || !lineGood_) return std::nullopt;
        return Band{0, *v[0], *v[1], money::toDouble(*v[2])};
    }

    static bool sameRule(const Rule& a, const Rule& b) {
        return a.scope == b.scope && a.cargo == b.cargo && a.tipoEvento == b.tipoEvento &&
               a.nomeTipoEvento == b.nomeTipoEvento && a.base == b.base && a.firstDay == b.firstDay &&
               a.lastDay == b.lastDay;
    }

    TableSheet sheet_;
    std::array<int, kColumns> at_{};
    std::array<bool, kColumns> reported_{};
    int headerLine_ = 1;
    std::size_t headerSize_ = 0;
    bool lineGood_ = true, ruleGood_ = true;
    std::optional<std::size_t> current_;  // the rule the next line may add a band to
    std::vector<int> blankLine_;          // by rule: its line without bands (0: none)
};

}  // namespace

TableSheet readTableSheet(std::string_view text) { return Reader().run(text); }

}  // namespace commission
