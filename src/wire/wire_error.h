// The error raised for malformed packets and messages; its text names what and where.
#pragma once
#include <stdexcept>
#include <string>

namespace wire {

class WireError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace wire
