// What a user waits for: the screen's own actions, played as backoffice-script plays them (the
// real module, the script player), against the real server over loopback, each timed alone
// with the round trips it makes, beside the floors of the same run: a TCP echo round trip of
// a reply's size and one SQLite commit.
//
//   bench_screen [--rounds N]      (default 200 of each action)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "appserver/embedded_server.h"
#include "store/sqlite_db.h"
#include "store/sqlite_store.h"
#include "framework/host_services.h"
#include "host/module_loader.h"
#include "host/script_command.h"
#include "host/script_player.h"
#include "host/script_ui.h"
#include "support/bench_support.h"
#include "toolkit/tapplication.h"

namespace {

using appserver::ListKind;
using bench::Clock;

void insert(appserver::Store& store, ListKind list, wire::Row row) {
    wire::ChangeLog log;
    log.fields = appserver::datasets::of(list);
    log.changes.push_back({wire::ChangeOp::Insert, {}, std::move(row)});
    store.apply(list, log);
}

// Two commission tables (2025 and 2026), table N with a seller rule N of 20 bands.
void seed(appserver::Store& store) {
    store.inOneTransaction([&store] {
        for (int nr = 1; nr <= 2; ++nr) {
            insert(store, ListKind::Comissao,
                   {wire::Null{}, "Tabela " + std::to_string(2024 + nr), wire::DateTime::fromYmd(2024 + nr, 1, 1),
                    wire::DateTime::fromYmd(2024 + nr, 12, 31), std::string("0001")});
            insert(store, ListKind::Cargo, {wire::Null{}, std::string("V"), static_cast<double>(nr)});
            for (int b = 0; b < 20; ++b)
                insert(store, ListKind::PercCargo,
                       {wire::Null{}, static_cast<double>(nr), std::string("CARGO"), static_cast<double>(nr), wire::Null{},
                        wire::Null{}, b * 100.0, (b * 10000 + 9999) / 100.0, (10 + b) / 10.0});
        }
    });
}

void createCatalogue(const std::string& path) {
    appserver::sqlite::Database db(path);
    db.exec("CREATE TABLE TIPOEVENTO (CDTIPOEVENTO VARCHAR(3) NOT NULL PRIMARY KEY, NMTIPOEVENTO VARCHAR(30));"
            "INSERT INTO TIPOEVENTO VALUES ('001', 'Venda');");
}

// The screen as backoffice-script plays it; a line the screen answers with a message or an
// error stops the benchmark, since its timing would mean something else.
class Screen {
public:
    Screen(unsigned short port, const std::string& catalogue)
        : services_(fw::HostSettings{"127.0.0.1", port, "0001", catalogue}),
          installed_(services_),
          module_(host::defaultModulePath()),
          ui_(shown_),
          app_(ui_),
          player_(app_, ui_, module_.bindings(), shown_) {
        tk::TApplication::SetInstance(&app_);
    }
    ~Screen() { tk::TApplication::SetInstance(nullptr); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    void play(const std::string& lines) {
        std::istringstream in(lines);
        int n = 0;
        for (std::string line; std::getline(in, line);)
            if (auto command = host::parseScriptLine(line, ++n)) player_.run(*command);
        const std::string out = shown_.str();
        if (out.find("error: ") != std::string::npos || out.find("message: ") != std::string::npos)
            throw std::runtime_error("the screen answered \"" + lines + "\" with:\n" + out);
        shown_.str("");
    }

private:
    // Installs the host's services for the module while the screen lives.
    struct Installed {
        explicit Installed(fw::HostServices& s) { fw::HostServices::SetInstance(&s); }
        ~Installed() { fw::HostServices::SetInstance(nullptr); }
    };
    fw::HostServices services_;
    Installed installed_;
    host::LoadedModule module_;  // outlives the application and the forms it owns
    std::ostringstream shown_;
    host::ScriptUserInterface ui_;
    tk::TApplication app_;
    host::ScriptPlayer player_;
};

struct Timing {
    double p50us, p99us;
    std::uint64_t tripsLow, tripsHigh;  // round trips, fewest and most over the rounds
};

}  // namespace

int main(int argc, char** argv) {
    int rounds = 200;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--rounds" && i + 1 < argc) rounds = std::max(1, std::stoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: bench_screen [--rounds N]\n");
            return 2;
        }
    }
    const bench::TempDir dir;
    appserver::SqliteStore store((dir.path / "screen.db").string());
    seed(store);
    createCatalogue((dir.path / "local.db").string());
    appserver::ServerOptions options;
    options.port = 0;
    appserver::EmbeddedServer server(store, options);

    // The floors, in the same run: a round trip of a 20-band reply's size, one commit.
    {
        bench::EchoServer echo;
        const std::string line = std::string(1448, 'x') + "\n";
        bench::report("TCP echo (1448 bytes)", 1,
                      bench::measure(1, echo.port(), [&](bench::Socket& s, int, long) { s.roundTrip(line); }));
        bench::report("SQLite commit (WAL, synchronous=FULL)", 1, bench::measureCommit((dir.path / "commit.db").string()));
    }

    Screen screen(server.port(), (dir.path / "local.db").string());
    // `timed` alone is measured; `before` and `after` set each round up and take it down.
    auto time = [&](const std::string& before, const std::string& timed, const std::string& after) {
        std::vector<double> us;
        Timing t{0, 0, ~std::uint64_t{0}, 0};
        for (int i = 0; i < rounds; ++i) {
            screen.play(before);
            const auto lines = server.handler().linesHandled();
            const auto t0 = Clock::now();
            screen.play(timed);
            us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
            const auto trips = server.handler().linesHandled() - lines;
            t.tripsLow = std::min(t.tripsLow, trips);
            t.tripsHigh = std::max(t.tripsHigh, trips);
            screen.play(after);
        }
        std::sort(us.begin(), us.end());
        t.p50us = us[us.size() / 2];
        t.p99us = us[us.size() * 99 / 100];
        return t;
    };
    auto print = [](const char* what, const Timing& t) {
        std::printf("%-52s p50 %8.1f us  p99 %8.1f us  round trips %llu", what, t.p50us, t.p99us,
                    static_cast<unsigned long long>(t.tripsLow));
        if (t.tripsHigh != t.tripsLow) std::printf("-%llu", static_cast<unsigned long long>(t.tripsHigh));
        std::printf("\n");
    };

    screen.play("open\n");
    print("activate the screen (commission page)", time("", "activate\n", ""));
    const Timing page = time("", "tab tshFormulario\n", "tab tshFolhaDados\n");
    print("open a scope page (tab tshFormulario)", page);
    screen.play("tab tshFormulario\n");
    print("activate the screen (scope page)", time("", "activate\n", ""));
    const Timing nav = time("", "nav next\n", "nav prior\n");
    print("navigator click on a scope page (nav next)", nav);
    // Typed into a new band; the timed confirm checks, sends, reloads and stands on it; the
    // band is deleted again after each round.
    print("post a band (click sbtConfirmar)",
          time("focus dbgPercCargo\nclick sbtIncluir\ncolumn dbgPercCargo VRINICIAL\ntype dbgPercCargo 5000\n"
               "key dbgPercCargo Tab\ntype dbgPercCargo 5100\nkey dbgPercCargo Tab\ntype dbgPercCargo 1\n",
               "click sbtConfirmar\n", "answer yes\nclick sbtExcluir\n"));
    std::printf("navigator click / scope page load, p50: %.2f\n", nav.p50us / page.p50us);
    screen.play("close\n");
    return 0;
}
