// The screen's code tables: stored codes shown and typed as message texts.
#pragma once
#include <span>
#include <string>

#include "framework/tmessages.h"
#include "toolkit/tfield.h"
#include "wire/lists.h"
#include "wire/texts.h"

namespace model {

// The codes and scope words are the ones client and server share.
using wire::CodeEntry;
using wire::kCargoCodes;
using wire::kDataBaseCodes;

inline constexpr const char* kScopeCargo = wire::scopeWord(wire::Scope::Cargo);
inline constexpr const char* kScopeTipoEvento = wire::scopeWord(wire::Scope::TipoEvento);
inline constexpr const char* kScopePromocao = wire::scopeWord(wire::Scope::Promocao);

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
