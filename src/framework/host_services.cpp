#include "framework/host_services.h"

#include <stdexcept>

#include "framework/tlocaldatabase.h"

namespace fw {

namespace {
// The host installs its services once before loading any module; modules find them here
// because their entries take no arguments.
HostServices* installed = nullptr;
}  // namespace

HostServices::HostServices(HostSettings settings) : settings_(std::move(settings)) {}

HostServices::~HostServices() {
    if (installed == this) installed = nullptr;
}

HostServices& HostServices::Instance() {
    if (!installed) throw std::logic_error("HostServices: the host installed no services");
    return *installed;
}

HostServices* HostServices::Current() { return installed; }

void HostServices::SetInstance(HostServices* services) { installed = services; }

TLocalDatabase& HostServices::LocalDatabase() {
    if (!localDb_) localDb_ = std::make_unique<TLocalDatabase>(settings_.localDbPath);
    return *localDb_;
}

namespace Velmora {
std::string WebURL() { return HostServices::Instance().Settings().webUrl; }
int WebPort() { return HostServices::Instance().Settings().webPort; }
std::string FiliProc() { return HostServices::Instance().Settings().branch; }
}  // namespace Velmora

}  // namespace fw
