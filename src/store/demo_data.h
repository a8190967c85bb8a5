// A small demonstration data set, stored through the same checks as any client's changes.
#pragma once
#include "store/store.h"

namespace appserver {

// Stores three commission tables, of `year` and the years before and after it, with a few rules
// of each kind and their bands, when the store holds no table; true when it did.
bool seedDemo(Store& store, int year);

// The year of today's date on this machine's clock, the demonstration's present by default.
int currentYear();

}  // namespace appserver
