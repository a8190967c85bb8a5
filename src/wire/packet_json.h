// JSON form of data packets and change logs (the fixed wire format).
#pragma once
#include <nlohmann/json_fwd.hpp>

#include "wire/packet.h"

namespace wire {

nlohmann::json toJson(const DataPacket& packet);
nlohmann::json toJson(const ChangeLog& log);

// Both throw WireError naming the offending place ("rows[2][1]: ...") for anything
// malformed: wrong shape, unknown type, a value that does not fit its field, a row of
// the wrong width. Strings longer than their size are an error, never cut silently.
DataPacket packetFromJson(const nlohmann::json& j);
ChangeLog changeLogFromJson(const nlohmann::json& j);

}  // namespace wire
