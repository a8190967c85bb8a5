#include "commission/words.h"

#include <cmath>
#include <span>

#include "wire/datetime.h"
#include "wire/texts.h"

namespace commission {
namespace {

std::string numberText(double n) {
    return std::trunc(n) == n ? std::to_string(static_cast<long long>(n)) : std::to_string(n);
}

// The message text of a stored code, as the screen shows it; the code itself when unknown.
std::string codeWord(const std::string& code, std::span<const wire::CodeEntry> table) {
    const wire::CodeEntry* entry = wire::findCode(table, code);
    return entry ? wire::message(entry->messageKey) : code;
}

}  // namespace

std::string dateText(long long day) { return wire::DateTime::fromDays(day).brazilianDate(); }

std::string cargoWord(const std::string& code) { return codeWord(code, wire::kCargoCodes); }

std::string baseWord(const std::string& code) { return codeWord(code, wire::kDataBaseCodes); }

std::string describe(const Rule& rule) {
    const std::string number = " (regra " + numberText(rule.number) + ")";
    if (rule.scope == Scope::Cargo) return "Cargo " + cargoWord(rule.cargo) + number;
    std::string tipo = "tipo de evento " + rule.tipoEvento;
    if (!rule.nomeTipoEvento.empty()) tipo += " " + rule.nomeTipoEvento;
    if (rule.scope == Scope::TipoEvento) return "T" + tipo.substr(1) + ", " + cargoWord(rule.cargo) + number;
    return "Promoção de " + dateText(rule.firstDay) + " a " + dateText(rule.lastDay) + " pela " + baseWord(rule.base) +
           ", " + tipo + ", " + cargoWord(rule.cargo) + number;
}

std::string describe(const Table& table) {
    return table.description + " (" + dateText(table.firstDay) + " a " + dateText(table.lastDay) + ")";
}

}  // namespace commission
