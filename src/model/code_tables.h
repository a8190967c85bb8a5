// The screen's code tables: stored codes shown and typed as message texts.
#pragma once
#include <span>
#include <string>

#include "framework/tmessages.h"
#include "toolkit/tfield.h"

namespace model {

struct CodeEntry {
    const char* code;        // as stored
    const char* messageKey;  // its text in the message table is what the user sees
};

inline constexpr CodeEntry kCargoCodes[] = {{"V", "Vendedor"}, {"S", "Supervisor"}, {"G", "Gerente"}};
inline constexpr CodeEntry kDataBaseCodes[] = {{"DATAEVENTO", "DATAEVENTO"},
                                               {"DATAFECHAMENTO", "DATAFECHAMENTO"}};

inline constexpr const char* kScopeCargo = "CARGO";
inline constexpr const char* kScopeTipoEvento = "TIPOEVENTO";
inline constexpr const char* kScopePromocao = "PROMOCAO";

// Text shown for a coded field: empty while its data set holds no row, the message text of
// the matching code (exact, case-sensitive), or empty for an unknown code.
std::string CodeText(const tk::TField& field, std::span<const CodeEntry> table, const fw::TMessages& messages);
// Stores the code whose message text equals `text` exactly; any other text leaves the
// field as it was.
void CodeSetText(tk::TField& field, const std::string& text, std::span<const CodeEntry> table,
                 const fw::TMessages& messages);
// The pick list of a coded column: the message texts in table order.
std::vector<std::string> CodePickList(std::span<const CodeEntry> table, const fw::TMessages& messages);

}  // namespace model
