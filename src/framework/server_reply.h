// The answer of one remote call, and the failure that takes its place.
#pragma once
#include <optional>
#include <stdexcept>
#include <string>

#include "wire/packet.h"

namespace fw {

// What a call that worked brings back: a data packet, or nothing (Set methods).
struct TServerReply {
    std::optional<wire::DataPacket> data;
};

// A remote call that did not work: the server refused it, or the connection failed or
// answered nonsense. The text is the one the user sees; nothing shows it on the way up:
// it ends the user's action, and the host shows it there, once.
class EServerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace fw
