// Where the built binaries and the source tree are, for tests that start processes.
#pragma once
#include <string>

namespace testsupport {
std::string binDir();
std::string sourceDir();
}  // namespace testsupport
