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
#include "batch/program_start.h"

namespace {

constexpr int kDone = 0;
constexpr int kRefusedOrFailed = 1;

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
    auto start = batch::startProgram<batch::ApuracaoOptions>("backoffice-apuracao", argc, argv,
                                                             batch::parseApuracaoOptions, batch::apuracaoUsage);
    if (start.exitNow) return *start.exitNow;
    const batch::ApuracaoOptions& options = start.options;
    StopRequests stop;
    const batch::ServerAccount account(options, start.password);
    int status = kDone;
    try {
        std::unique_ptr<commission::Engine> engine;
        engine = std::make_unique<commission::Engine>(std::make_shared<const commission::Snapshot>(
            batch::snapshotFromReply(account.connect("Apuracao")->CallResult("GetRegrasComissao", {}))));
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
    return status;
}
