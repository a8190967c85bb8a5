// backoffice-apuracao: the commissions of a file of sales, for scheduled jobs. It needs no
// display: the tables are read from the server once, in one snapshot, and paid here.
#include <csignal>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sys/signalfd.h>
#include <thread>
#include <unistd.h>

#include "batch/apuracao.h"
#include "batch/apuracao_options.h"
#include "batch/rules_reply.h"
#include "framework/host_services.h"
#include "framework/tnetconnection.h"
#include "host/command_line.h"
#include "host/host_options.h"

namespace {

constexpr int kDone = 0;
constexpr int kRefusedOrFailed = 1;
constexpr int kUsageError = 2;

// Interrupt and terminate requests, taken as a question between chunks rather than a kill, so
// that the files beside are removed.
class StopRequests {
public:
    StopRequests() {
        sigset_t set;
        sigemptyset(&set);
        for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, s);
        pthread_sigmask(SIG_BLOCK, &set, nullptr);  // before any thread starts: they inherit it
        fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    }
    ~StopRequests() {
        if (fd_ >= 0) ::close(fd_);
    }
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    bool asked() {
        signalfd_siginfo info;
        if (!stopped_ && fd_ >= 0 && ::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) stopped_ = true;
        return stopped_;
    }

private:
    int fd_ = -1;
    bool stopped_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    batch::ApuracaoOptions options;
    std::string password;
    try {
        options = batch::parseApuracaoOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::cout << batch::apuracaoUsage();
            return kDone;
        }
        if (options.version) {
            std::cout << host::versionLine("backoffice-apuracao");
            return kDone;
        }
        if (!options.user.empty()) {
            host::HostOptions account;
            account.user = options.user;
            account.passwordFile = options.passwordFile;
            password = host::readPassword(account);
        }
    } catch (const std::invalid_argument& e) {
        std::cerr << "backoffice-apuracao: " << e.what() << "\nVeja as opções com backoffice-apuracao --help.\n";
        return kUsageError;
    }

    StopRequests stop;
    fw::HostServices services(fw::HostSettings{options.serverHost, options.serverPort, options.branch, "", options.user,
                                               password, options.tlsCa});
    fw::HostServices::SetInstance(&services);
    int status = kDone;
    try {
        std::unique_ptr<commission::Engine> engine;
        {
            fw::TNetConnection server(nullptr, "Apuracao");
            server.SetHost(options.serverHost);
            server.SetPort(options.serverPort);
            server.SetConnected(true);
            engine = std::make_unique<commission::Engine>(std::make_shared<const commission::Snapshot>(
                batch::snapshotFromReply(server.CallResult("GetRegrasComissao", {}))));
        }
        batch::RunOptions run;
        run.sales = options.sales;
        run.prefix = options.out;
        run.threads = options.threads > 0 ? options.threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        run.compareTable = options.compareTable;
        run.interrupted = [&stop] { return stop.asked(); };
        const bool terminal = ::isatty(STDERR_FILENO) == 1;
        if (terminal) run.progress = [](std::uint64_t lines) { std::cerr << "\rLinhas lidas: " << lines << std::flush; };
        const batch::Summary summary = batch::apura(*engine, run);
        if (terminal) std::cerr << '\n';
        std::cout << batch::summaryText(summary, options.sales);
        if (summary.refused > 0) status = kRefusedOrFailed;
    } catch (const std::exception& e) {
        std::cerr << "backoffice-apuracao: " << e.what() << '\n';
        status = kRefusedOrFailed;
    }
    fw::HostServices::SetInstance(nullptr);
    return status;
}
