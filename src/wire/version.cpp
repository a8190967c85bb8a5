#include "wire/version.h"

namespace wire {

const char* version() { return KTR52300_VERSION; }

}  // namespace wire
