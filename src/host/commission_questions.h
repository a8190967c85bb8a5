// What a user asks about the commission tables beside the screen's own lists: what a sale
// would earn (SimulaComissao) and where a table has holes (VerificaComissao, plus the event
// types of the local catalogue that no rule of the table names), and next period's table made
// from the current one (CopiaComissao). Both hosts ask through here, so they read the user's
// input and the server's answers alike.
#pragma once
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace fw {
class TLocalDatabase;
class TNetConnection;
}  // namespace fw

namespace host {

// Input the user must correct; the text says how, in Portuguese.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct EventType {
    std::string code;  // CDTIPOEVENTO
    std::string name;  // NMTIPOEVENTO
};

// The local catalogue (TIPOEVENTO), in code order.
std::vector<EventType> ReadEventTypes(fw::TLocalDatabase& db);

// A sale as the server takes it.
struct Sale {
    std::string eventDate, closingDate;  // YYYY-MM-DD
    std::string tipoEvento;              // three digits, in the catalogue
    std::string cargo;                   // V, S or G
    double value = 0;                    // whole cents
};

// Reads what a user typed: dates as dd/mm/aaaa or AAAA-MM-DD; the event type by its code
// (leading zeros may be left out), known to `catalogue`; the position by its code (V, S, G)
// or its word (Vendedor, Supervisor, Gerente), in any letter case; the value with a decimal
// comma and at most two decimals, thousands points allowed (1.234,56). Throws InputError.
Sale ReadSale(const std::string& eventDate, const std::string& closingDate, const std::string& eventType,
              const std::string& position, const std::string& value, const std::vector<EventType>& catalogue);

struct SaleAnswer {
    std::optional<double> table;
    std::string scope;  // PROMOCAO, TIPOEVENTO, CARGO; empty for none
    std::optional<double> rule, band, percent, commission;
    std::vector<std::string> reasons;
};

// Asks SimulaComissao; a failed call raises std::runtime_error with its text.
SaleAnswer AskSale(fw::TNetConnection& server, const Sale& sale);

struct Finding {
    std::string kind;  // the server's kinds, and TIPOEVENTO_SEM_REGRA
    std::string text;
    std::vector<double> tables;
    std::string scope;  // empty for none
    std::optional<double> rule;
    std::vector<double> bands;
};

// The findings of VerificaComissao for `table`, then one TIPOEVENTO_SEM_REGRA for every event
// type of `catalogue` that no event-type rule or promotion of the table names. A failed call
// raises std::runtime_error with its text.
std::vector<Finding> CheckTable(fw::TNetConnection& server, double table, const std::vector<EventType>& catalogue);

// A table copied to a new period, as the user asked for it.
struct TableCopyRequest {
    double source = 0;
    std::string start, end;  // YYYY-MM-DD
    std::string description;
};

// Reads what a user typed for a copy: the dates as ReadSale reads them, the description trimmed
// (the server refuses it empty, in the screen's words). Throws InputError.
TableCopyRequest ReadTableCopy(double source, const std::string& start, const std::string& end,
                               const std::string& description);

struct TableCopyAnswer {
    double table = 0;               // the new table
    std::vector<std::string> left;  // the promotions not copied, in Portuguese
};

// Asks CopiaComissao; a refusal raises std::runtime_error with its text.
TableCopyAnswer AskTableCopy(fw::TNetConnection& server, const TableCopyRequest& copy);

}  // namespace host
