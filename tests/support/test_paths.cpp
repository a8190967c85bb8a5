#include "support/test_paths.h"

namespace testsupport {
std::string binDir() { return KTR_BIN_DIR; }
std::string sourceDir() { return KTR_SOURCE_DIR; }
}  // namespace testsupport
