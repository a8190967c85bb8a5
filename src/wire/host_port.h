// The one spelling of a TCP address on command lines: HOST:PORT.
#pragma once
#include <string>
#include <string_view>

namespace wire {

// HOST is a name (resolved by whoever connects or listens), an IPv4 address or an IPv6 address in
// brackets ("[::1]:52300"); PORT is a decimal number.
struct HostPort {
    std::string host;  // without the brackets
    unsigned short port = 0;
};

// Throws std::invalid_argument saying what is wrong. Port 0 ("any free port") only when
// `allowPortZero`, for a listener.
HostPort parseHostPort(std::string_view text, bool allowPortZero);
// "host:port", with an IPv6 address in brackets.
std::string formatHostPort(const HostPort& address);

}  // namespace wire
