// What the host application gives every screen: server address, branch, local database.
#pragma once
#include <memory>
#include <string>

namespace fw {

class TLocalDatabase;

struct HostSettings {
    std::string webUrl = "127.0.0.1";  // application server host
    int webPort = 0;                    // application server port
    std::string branch;                 // the user's branch code (CDFILIAL)
    std::string localDbPath;            // the host's local SQLite database
};

class HostServices {
public:
    explicit HostServices(HostSettings settings);
    ~HostServices();

    // The host's one instance, installed before any module runs (the entry takes no
    // arguments). Throws std::logic_error when no host installed one.
    static HostServices& Instance();
    static void SetInstance(HostServices* services);

    const HostSettings& Settings() const { return settings_; }
    // The shared local database module (dtmDBGeral); opened on first use.
    TLocalDatabase& LocalDatabase();

    // Whether the wait animation is up, so that hiding it twice does nothing.
    bool WaitShown() const { return waitShown_; }
    void SetWaitShown(bool shown) { waitShown_ = shown; }

private:
    HostSettings settings_;
    std::unique_ptr<TLocalDatabase> localDb_;
    bool waitShown_ = false;
};

// The host application's shared unit: where the server is and who the user is.
namespace Velmora {
std::string WebURL();
int WebPort();
std::string FiliProc();
}  // namespace Velmora

}  // namespace fw
