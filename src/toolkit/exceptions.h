// The toolkit's exceptions: EAbort stops an action silently; the others are shown.
#pragma once
#include <stdexcept>
#include <string>

namespace tk {

// Silent abort: unwinds the running action; hosts show nothing for it.
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// A data-set misuse or a value that does not convert ("'x' is not a valid date").
class EDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] inline void Abort() { throw EAbort(); }

}  // namespace tk

namespace tk {
// A text that does not convert to the number or date asked for.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
}  // namespace tk
