// The Portuguese words that name tables, rules, positions and dates in the answers about a sale
// and in the findings of a table's check.
#pragma once
#include <string>

#include "commission/snapshot.h"

namespace commission {

std::string dateText(long long day);  // "dd/mm/yyyy" of days since 1970-01-01

// "Vendedor" for V, and so on; the code itself when it is none of the three.
std::string cargoWord(const std::string& code);
// "Data do Evento", "Data de Fechamento".
std::string baseWord(const std::string& code);
// The rule as a user finds it on its page: "Cargo Vendedor (regra 4)", "Tipo de evento 001
// Venda, Vendedor (regra 7)", "Promoção de 01/03/2025 a 31/03/2025 pela Data do Evento, tipo
// de evento 001 Venda, Vendedor (regra 2)".
std::string describe(const Rule& rule);
// "Comissão 2025 (01/01/2025 a 31/12/2025)".
std::string describe(const Table& table);

}  // namespace commission
