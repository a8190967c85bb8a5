// The reply of GetRegrasComissao read back into the commission tables as plain values.
#pragma once
#include <nlohmann/json_fwd.hpp>

#include "commission/snapshot.h"

namespace batch {

// Throws std::runtime_error (in Portuguese) when the reply is not the shape docs/protocol.md gives.
commission::Snapshot snapshotFromReply(const nlohmann::json& reply);

}  // namespace batch
