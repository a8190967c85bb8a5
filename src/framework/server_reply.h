// The answer of one remote call: a data packet (or nothing, for Set methods) or a failure.
#pragma once
#include <optional>
#include <string>

#include "wire/packet.h"

namespace fw {

struct TServerReply {
    bool ok = false;
    std::optional<wire::DataPacket> data;  // absent when the method returns nothing
    std::string message;                    // the failure's text
};

}  // namespace fw
