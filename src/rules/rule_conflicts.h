// Pure tests behind the rule checks: promotion windows, and which stored rows are the
// rule's own stored copy rather than a conflict.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "wire/datetime.h"
#include "wire/packet.h"

namespace rules {

// The window [start, end] lies within the validity period [first, last], bounds included.
bool WithinPeriod(const wire::DateTime& first, const wire::DateTime& last, const wire::DateTime& start,
                  const wire::DateTime& end);

// Two closed windows share at least one instant (touching ends overlap). Written to hold
// for a window given with its ends either way round.
bool WindowsOverlap(const wire::DateTime& start, const wire::DateTime& end, const wire::DateTime& storedStart,
                    const wire::DateTime& storedEnd);

// The text of `field` in the row of `packet` whose `numberField` equals `number`;
// nullopt when no row has that number (the rule is no longer stored).
std::optional<std::string> StoredText(const wire::DataPacket& packet, std::string_view numberField, double number,
                                      std::string_view field);

}  // namespace rules
