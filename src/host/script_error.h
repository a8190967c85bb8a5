// Failures of the script itself (not of the screen): they end the run with status 2.
#pragma once
#include <stdexcept>
#include <string>

#include "toolkit/exceptions.h"

namespace host {

// A script that cannot be played: an unknown command or name, a malformed argument,
// a question or search dialog with no queued answer. The message names the line.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Unwinds the screen's running action when the script cannot answer a dialog. It is an
// EAbort so that every handler and the toolkit pass it on silently; the player then
// reports the failure recorded by the view as a ScriptError.
class ScriptAbort : public tk::EAbort {};

}  // namespace host
