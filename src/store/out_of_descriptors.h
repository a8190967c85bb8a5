// The process has no file descriptor left to open the store with: nothing was done, and the same
// request may succeed once other connections close.
#pragma once
#include <stdexcept>

namespace appserver {

class OutOfDescriptors : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace appserver
