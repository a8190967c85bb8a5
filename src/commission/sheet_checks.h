// The checks the screen makes as a person types a table's rules, run over a whole file at once.
#pragma once
#include "commission/table_sheet.h"

namespace commission {

// Adds to `sheet.findings`, in the screen's own texts, every rule that repeats a position rule
// or an event-type rule before it, every promotion window outside [firstDay, lastDay] or
// sharing a day with another of the same base date, event type and position, and every band
// sharing a value with another of its rule (both lines named). Then orders the findings by line.
void checkTableSheet(TableSheet& sheet, long long firstDay, long long lastDay);

}  // namespace commission
