// A commission table's rules and bands as plain values read through the store, and the
// Portuguese words that name them in the answers of SimulaComissao and VerificaComissao.
#pragma once
#include <string>
#include <vector>

#include "appserver/store.h"
#include "wire/datetime.h"

namespace appserver::rules {

struct Table {
    double number = 0;
    std::string description;
    long long firstDay = 0, lastDay = 0;  // the validity period, days since 1970-01-01, both included
};

struct Rule {
    Scope scope = Scope::Cargo;
    double number = 0;
    std::string cargo;           // V, S or G
    std::string tipoEvento;      // event-type rules and promotions
    std::string nomeTipoEvento;  // as stored with the rule; may be empty
    long long firstDay = 0, lastDay = 0;  // promotions: the window
    std::string base;            // promotions: DATAEVENTO or DATAFECHAMENTO
};

struct Band {
    double number = 0;
    long long first = 0, last = 0;  // the closed interval, in cents
    double percent = 0;
};

// Whole days since 1970-01-01: the calendar day a date-time falls on.
long long dayOf(const wire::DateTime& at);
std::string dateText(long long day);  // "dd/mm/yyyy"

// Every commission table, in the order of their starts.
std::vector<Table> tables(Store& store);
// The rules of one scope of a table, in the order of the store's list.
std::vector<Rule> rules(Store& store, double table, Scope scope);
// Those a sale of that event type and position could meet (position rules: by the position).
std::vector<Rule> rulesForSale(Store& store, double table, Scope scope, const std::string& tipoEvento,
                               const std::string& cargo);
// A rule's bands, in value order.
std::vector<Band> bands(Store& store, double table, const Rule& rule);
// The same without their percentages (0), from the store's lighter read of a rule's intervals.
std::vector<Band> intervals(Store& store, double table, const Rule& rule);

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

}  // namespace appserver::rules
