// Internal to the toolkit: value conversions shared by fields and data sets.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "wire/value.h"

namespace tk {

// "dd/mm/yyyy", followed by " hh:mm:ss" when the time is not midnight.
std::string dateText(const wire::DateTime& d);
// Reads dateText's shape ("hh:mm" accepted too); nullopt for anything else.
std::optional<wire::DateTime> parseDateText(std::string_view text);
// Cuts `text` to `size` characters (UTF-8 aware); size 0 means unlimited.
void cutToSize(std::string& text, int size);
// Converts `v` to a field's type: Brazilian texts for numbers and dates ("" is null),
// strings cut to `size`. Throws EConvertError, in Portuguese, naming the value and the
// field by `fieldLabel` (its display label, or its name when it has none).
wire::Value convertTo(wire::FieldType type, int size, const wire::Value& v, const std::string& fieldLabel);

}  // namespace tk
