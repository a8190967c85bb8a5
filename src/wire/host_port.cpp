#include "wire/host_port.h"

#include <charconv>
#include <stdexcept>

namespace wire {

namespace {

[[noreturn]] void bad(std::string_view text, const std::string& why) {
    throw std::invalid_argument("\"" + std::string(text) + "\" is not HOST:PORT: " + why);
}

}  // namespace

HostPort parseHostPort(std::string_view text, bool allowPortZero) {
    HostPort out;
    std::string_view rest;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) bad(text, "the IPv6 address has no closing ']'");
        out.host = text.substr(1, close - 1);
        rest = text.substr(close + 1);
        if (!rest.starts_with(':')) bad(text, "a ':' and the port must follow the ']'");
        rest.remove_prefix(1);
    } else {
        const auto colon = text.rfind(':');
        if (colon == std::string_view::npos) bad(text, "the port is missing");
        out.host = text.substr(0, colon);
        if (out.host.find(':') != std::string::npos) bad(text, "write an IPv6 address in brackets, as [::1]:52300");
        rest = text.substr(colon + 1);
    }
    if (out.host.empty()) bad(text, "the host is missing");
    unsigned value = 0;
    const auto res = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (rest.empty() || res.ec != std::errc() || res.ptr != rest.data() + rest.size() || value > 65535 ||
        (value == 0 && !allowPortZero))
        bad(text, allowPortZero ? "the port must be a number from 0 to 65535" : "the port must be a number from 1 to 65535");
    out.port = static_cast<unsigned short>(value);
    return out;
}

std::string formatHostPort(const HostPort& address) {
    const bool v6 = address.host.find(':') != std::string::npos;
    return (v6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

}  // namespace wire
