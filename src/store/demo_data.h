// A small demonstration data set, stored through the same checks as any client's changes.
#pragma once
#include "store/store.h"

namespace appserver {

// Stores two commission tables (2025 and 2026) with a few rules of each kind and their bands
// when the store holds no table; true when it did.
bool seedDemo(Store& store);

}  // namespace appserver
