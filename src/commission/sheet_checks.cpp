#include "commission/sheet_checks.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "wire/texts.h"

namespace commission {
namespace {

struct Span {
    long long lo, hi;
    int line;
};

// Every span that shares a point with another is named once, with the screen's text for it as
// if it had been typed after the other: "contempla" when it holds the other whole.
void overlaps(std::vector<Span> spans, const char* column, const char* holds, const char* within,
              std::vector<SheetFinding>& out) {
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return std::tie(a.lo, a.line) < std::tie(b.lo, b.line); });
    std::map<int, std::pair<const Span*, const Span*>> named;  // line -> its span and the one it meets
    const Span* reach = nullptr;       // of the spans before, the one reaching furthest
    for (const Span& s : spans) {
        if (reach && reach->hi >= s.lo) {
            named.emplace(s.line, std::pair(&s, reach));
            named.emplace(reach->line, std::pair(reach, &s));
        }
        if (!reach || s.hi > reach->hi) reach = &s;
    }
    for (const auto& [line, pair] : named) {
        const auto& [self, other] = pair;
        const bool contains = self->lo < other->lo && other->hi < self->hi;
        out.push_back({line, column, contains ? holds : within});
    }
}

}  // namespace

void checkTableSheet(TableSheet& sheet, long long firstDay, long long lastDay) {
    auto& out = sheet.findings;
    std::map<std::string, int> cargos;                           // position -> first line
    std::map<std::pair<std::string, std::string>, int> eventos;  // event type, position -> first line
    std::map<std::tuple<std::string, std::string, std::string>, std::vector<Span>> windows;
    for (const SheetRule& r : sheet.rules) {
        const Rule& rule = r.rule;
        switch (rule.scope) {
            case Scope::Cargo:
                if (!cargos.emplace(rule.cargo, r.line).second) out.push_back({r.line, "Cargo", wire::message("Cargo_cad")});
                break;
            case Scope::TipoEvento:
                if (!eventos.emplace(std::pair(rule.tipoEvento, rule.cargo), r.line).second)
                    out.push_back({r.line, "Cód. Tipo Evento", wire::message("TPEVENTO_CAD")});
                break;
            case Scope::Promocao:
                if (rule.firstDay < firstDay || rule.lastDay > lastDay)
                    out.push_back({r.line, rule.firstDay < firstDay ? "Validade Inicial" : "Validade Final",
                                   wire::message("DTPROMO_COMI")});
                windows[{rule.base, rule.tipoEvento, rule.cargo}].push_back({rule.firstDay, rule.lastDay, r.line});
                break;
        }
        std::vector<Span> bands;
        bands.reserve(rule.bands.size());
        for (std::size_t i = 0; i < rule.bands.size(); ++i)
            bands.push_back({rule.bands[i].first, rule.bands[i].last, r.bandLines[i]});
        overlaps(std::move(bands), "Valor Inicial", wire::message("VALOR_<>"), wire::message("INTER_N_CONT"), out);
    }
    for (auto& [key, spans] : windows)
        overlaps(std::move(spans), "Validade Inicial", wire::message("DTPROM_CAD"), wire::message("DTPROM_CAD"), out);
    std::stable_sort(out.begin(), out.end(), [](const SheetFinding& a, const SheetFinding& b) { return a.line < b.line; });
}

}  // namespace commission
