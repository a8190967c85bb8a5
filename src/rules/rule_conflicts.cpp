#include "rules/rule_conflicts.h"

namespace rules {

bool WithinPeriod(const wire::DateTime& first, const wire::DateTime& last, const wire::DateTime& start,
                  const wire::DateTime& end) {
    return first <= start && start <= last && first <= end && end <= last;
}

bool WindowsOverlap(const wire::DateTime& start, const wire::DateTime& end, const wire::DateTime& storedStart,
                    const wire::DateTime& storedEnd) {
    return (storedStart <= start || storedStart <= end) && (storedEnd >= start || storedEnd >= end);
}

}  // namespace rules
