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
    std::string user{};                 // empty: the server is used without signing in
    std::string password{};             // the user's, for the Login of every connection
    std::string tlsCa{};                // empty: plain TCP; else TLS, the server's certificate checked against it
};

class HostServices {
public:
    explicit HostServices(HostSettings settings);
    ~HostServices();

    // The host's one instance, installed before any module runs (the entry takes no
    // arguments). Throws std::logic_error when no host installed one.
    static HostServices& Instance();
    // The installed services, or null.
    static HostServices* Current();
    static void SetInstance(HostServices* services);

    const HostSettings& Settings() const { return settings_; }
    // The branch, once the sign-in has named the user's.
    void SetBranch(std::string branch) { settings_.branch = std::move(branch); }
    // Who signs in on the connections opened from now on.
    void SetCredentials(std::string user, std::string password) {
        settings_.user = std::move(user);
        settings_.password = std::move(password);
    }
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
