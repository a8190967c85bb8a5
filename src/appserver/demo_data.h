// A small demonstration data set, stored through the same checks as any client's changes.
#pragma once
#include "appserver/store.h"

namespace appserver {

// Stores two commission tables (2025 and 2026) with a few rules of each kind and their bands.
// Meant for an empty store; throws Refusal if it collides with what is there.
void seedDemo(Store& store);

}  // namespace appserver
