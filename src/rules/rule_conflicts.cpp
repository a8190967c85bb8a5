#include "rules/rule_conflicts.h"

#include <variant>

namespace rules {

bool WithinPeriod(const wire::DateTime& first, const wire::DateTime& last, const wire::DateTime& start,
                  const wire::DateTime& end) {
    return first <= start && start <= last && first <= end && end <= last;
}

bool WindowsOverlap(const wire::DateTime& start, const wire::DateTime& end, const wire::DateTime& storedStart,
                    const wire::DateTime& storedEnd) {
    return (storedStart <= start || storedStart <= end) && (storedEnd >= start || storedEnd >= end);
}

std::optional<std::string> StoredText(const wire::DataPacket& packet, std::string_view numberField, double number,
                                      std::string_view field) {
    const int numberAt = packet.fieldIndex(numberField);
    const int fieldAt = packet.fieldIndex(field);
    if (numberAt < 0 || fieldAt < 0) return std::nullopt;
    for (const auto& row : packet.rows) {
        const auto* n = std::get_if<double>(&row[static_cast<size_t>(numberAt)]);
        if (!n || *n != number) continue;
        const auto* text = std::get_if<std::string>(&row[static_cast<size_t>(fieldAt)]);
        return text ? *text : std::string();
    }
    return std::nullopt;
}

}  // namespace rules
