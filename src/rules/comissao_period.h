// How a new commission table's validity period meets a stored one.
#pragma once
#include "wire/datetime.h"

namespace rules {

// A validity period; both days belong to it.
struct Period {
    wire::DateTime ini;
    wire::DateTime fin;
};

enum class PeriodClash {
    none,    // no day in common (periods that only touch do share that day)
    spans,   // the new period reaches past the stored one at both ends ("DATA_<>")
    shares,  // any other shared day: same start or end, partial, or inside ("DT_N_CONT")
};

inline PeriodClash ComparePeriods(const Period& novo, const Period& stored) {
    if (stored.ini > novo.ini && stored.ini > novo.fin) return PeriodClash::none;
    if (stored.fin < novo.ini && stored.fin < novo.fin) return PeriodClash::none;
    if (stored.ini > novo.ini && stored.fin < novo.fin) return PeriodClash::spans;
    return PeriodClash::shares;
}

}  // namespace rules
