// The project's one version number (CMake's project VERSION): the packages carry it and every
// program's --version prints it.
#pragma once

namespace wire {

const char* version();

}  // namespace wire
