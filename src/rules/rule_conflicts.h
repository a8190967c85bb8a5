// Pure tests behind the promotion window checks.
#pragma once
#include "wire/datetime.h"

namespace rules {

// The window [start, end] lies within the validity period [first, last], bounds included.
bool WithinPeriod(const wire::DateTime& first, const wire::DateTime& last, const wire::DateTime& start,
                  const wire::DateTime& end);

// Two closed windows share at least one instant (touching ends overlap). Written to hold
// for a window given with its ends either way round.
bool WindowsOverlap(const wire::DateTime& start, const wire::DateTime& end, const wire::DateTime& storedStart,
                    const wire::DateTime& storedEnd);

}  // namespace rules
