// ImportaComissao of a file of 1,000 rules with 20 bands each (20,000 lines) into a new table,
// over one connection to the real server in this process, beside what its parts cost: the file
// read and checked alone, and the same import called in process without a socket.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "appserver/embedded_server.h"
#include "commission/sheet_checks.h"
#include "commission/table_sheet.h"
#include "store/open_store.h"
#include "store/table_import.h"
#include "support/bench_support.h"
#include "wire/datetime.h"
#include "wire/jsonrpc.h"

namespace {

using bench::Clock;

std::string money(long long cents) {
    std::string whole = std::to_string(cents / 100);
    for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(static_cast<std::size_t>(at), ".");
    const long long rest = cents % 100;
    return whole + "," + (rest < 10 ? "0" : "") + std::to_string(rest);
}

// As the report writes it: 3 position rules, 597 event-type rules and 400 promotions.
std::string largeFile(int year) {
    std::string out = "\xEF\xBB\xBF" "Escopo;Cargo;Cód. Tipo Evento;Tipo Evento;Validade Inicial;Validade Final;Data Base;"
                      "Valor Inicial;Valor Final;Percentual\r\n";
    const auto bands = [&](const std::string& rule) {
        for (int i = 0; i < 20; ++i)
            out += rule + money(i * 10000LL) + ";" + money(i * 10000LL + 9999) + ";" + money(100 + i * 10) + "\r\n";
    };
    char code[4];
    const char* cargos[] = {"Vendedor", "Supervisor", "Gerente"};
    for (const char* c : cargos) bands(std::string("Cargo;") + c + ";;;;;;");
    for (int t = 1; t <= 199; ++t)
        for (const char* c : cargos) {
            std::snprintf(code, sizeof code, "%03d", t);
            bands(std::string("Tipo de Evento;") + c + ";" + code + ";Tipo;;;;");
        }
    for (int t = 1; t <= 400; ++t) {
        std::snprintf(code, sizeof code, "%03d", t);
        const int month = 1 + t % 12;
        char window[64];
        std::snprintf(window, sizeof window, "01/%02d/%d;28/%02d/%d", month, year, month, year);
        bands(std::string("Promoção;Vendedor;") + code + ";Tipo;" + window + ";Data do Evento;");
    }
    return out;
}

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

}  // namespace

int main() {
    try {
        const bench::TempDir dir;
        const auto store = appserver::openStore((dir.path / "bench.db").string());
        appserver::ServerOptions options;
        options.port = 0;
        appserver::EmbeddedServer server(*store, options);
        bench::Socket s(server.port());

        std::vector<double> overSocket, inProcess, readAndCheck;
        for (int year = 2030; year < 2035; ++year) {
            const std::string file = largeFile(year);
            const std::string iso = std::to_string(year);
            auto t0 = Clock::now();
            const std::string reply = s.roundTrip(
                wire::rpc::toLine(wire::rpc::makeRequest(1, "ImportaComissao", {"grande.csv", file, "Importada " + iso,
                                                                                iso + "-01-01", iso + "-12-31", "0001"})) +
                "\n");
            overSocket.push_back(msSince(t0));
            if (reply.find("\"refused\":[]") == std::string::npos) throw std::runtime_error(reply.substr(0, 400));

            const std::string later = std::to_string(year + 10);
            const std::string laterFile = largeFile(year + 10);
            t0 = Clock::now();
            commission::TableSheet sheet = commission::readTableSheet(laterFile);
            commission::checkTableSheet(sheet, wire::DateTime::fromYmd(year + 10, 1, 1).days(),
                                        wire::DateTime::fromYmd(year + 10, 12, 31).days());
            readAndCheck.push_back(msSince(t0));
            if (!sheet.findings.empty() || sheet.rules.size() != 1000) throw std::runtime_error("the file does not read");

            appserver::TableImport request;
            request.fileName = "grande.csv";
            request.text = laterFile;
            request.description = "Em processo " + later;
            request.firstDay = wire::DateTime::fromYmd(year + 10, 1, 1).days();
            request.lastDay = wire::DateTime::fromYmd(year + 10, 12, 31).days();
            request.branch = "0001";
            t0 = Clock::now();
            const auto made = appserver::importTable(*store, request, {});
            inProcess.push_back(msSince(t0));
            if (!made.table) throw std::runtime_error("the import in process was refused");
        }
        for (auto* v : {&overSocket, &inProcess, &readAndCheck}) std::sort(v->begin(), v->end());
        const std::size_t mid = overSocket.size() / 2;
        std::printf("ImportaComissao (1,000 rules of 20 bands, %zu-byte file): p50 %.0f ms, max %.0f ms over %zu imports; "
                    "in process %.0f ms; of it the file read and checked %.0f ms\n",
                    largeFile(2030).size(), overSocket[mid], overSocket.back(), overSocket.size(), inProcess[mid],
                    readAndCheck[mid]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_import: %s\n", e.what());
        return 1;
    }
}
