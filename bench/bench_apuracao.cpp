// backoffice-apuracao's run beside its floor, on generated sales and tables of the size a
// chain's payroll has (the script bench/apuracao_side_by_side.sh puts PostgreSQL and DuckDB
// beside it):
//
//   bench_apuracao gen DIR N        N sales in DIR/vendas.csv; the tables, rules and bands as
//                                   plain CSV (DIR/tabelas.csv, regras.csv, faixas.csv) for the
//                                   databases to load
//   bench_apuracao run DIR THREADS  the run, as the program makes it once it holds the tables
//   bench_apuracao compare DIR THREADS N
//                                   the same run with every sale paid by table N too
//   bench_apuracao floor DIR        the file read and split into lines, nothing more
//
// Each prints one line: seconds, peak resident memory, and for `run` the commission summed over
// every line it wrote (to compare with the databases' own sums).
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "batch/apuracao.h"
#include "commission/engine.h"
#include "commission/money.h"
#include "wire/datetime.h"

namespace {

using commission::Band;
using commission::Rule;
using commission::Scope;
using commission::Snapshot;
using commission::Table;

long long dayOf(int y, int m, int d) { return wire::DateTime::fromYmd(y, m, d).days(); }

// Four quarterly tables of 2025; each: the three position rules, 100 event-type rules and 60
// promotions, each rule with 10 to 20 bands from 0 up, one band in seven leaving a gap.
Snapshot tables() {
    std::mt19937_64 rng(52300);
    Snapshot s;
    s.version = 1;
    const int starts[] = {1, 4, 7, 10};
    double ruleNumber[3] = {0, 0, 0}, bandNumber = 0;
    for (int q = 0; q < 4; ++q) {
        Table t;
        t.number = q + 1;
        t.description = "Comissão " + std::to_string(q + 1) + "º trimestre";
        t.firstDay = dayOf(2025, starts[q], 1);
        t.lastDay = (q == 3 ? dayOf(2026, 1, 1) : dayOf(2025, starts[q + 1], 1)) - 1;
        auto bandsOf = [&](Rule& r) {
            const int n = 10 + static_cast<int>(rng() % 11);
            long long at = 0;
            for (int k = 0; k < n; ++k) {
                const long long width = 50000 + static_cast<long long>(rng() % 500000);  // 500,00 to 5.500,00
                const long long pct = 50 + static_cast<long long>(rng() % 1000);          // 0,50 % to 10,49 %
                r.bands.push_back({++bandNumber, at, at + width, static_cast<double>(pct) / 100});
                at += width + (rng() % 7 == 0 ? 10000 : 1);
            }
        };
        const char* cargos[] = {"V", "S", "G"};
        for (const char* c : cargos) {
            Rule r;
            r.scope = Scope::Cargo;
            r.number = ++ruleNumber[0];
            r.cargo = c;
            bandsOf(r);
            t.of(Scope::Cargo).push_back(std::move(r));
        }
        for (int k = 0; k < 100; ++k) {
            Rule r;
            r.scope = Scope::TipoEvento;
            r.number = ++ruleNumber[1];
            r.cargo = cargos[k % 3];
            char tipo[4];
            std::snprintf(tipo, sizeof tipo, "%03d", 1 + k / 3 * 2 % 60);
            r.tipoEvento = tipo;
            bandsOf(r);
            t.of(Scope::TipoEvento).push_back(std::move(r));
        }
        std::vector<Rule> promos;
        for (int k = 0; k < 60; ++k) {
            Rule r;
            r.scope = Scope::Promocao;
            r.cargo = cargos[rng() % 3];
            char tipo[4];
            std::snprintf(tipo, sizeof tipo, "%03d", 1 + static_cast<int>(rng() % 40));
            r.tipoEvento = tipo;
            const long long length = t.lastDay - t.firstDay + 1;
            r.firstDay = t.firstDay + static_cast<long long>(rng() % static_cast<unsigned long long>(length - 10));
            r.lastDay = std::min(t.lastDay, r.firstDay + 3 + static_cast<long long>(rng() % 30));
            r.base = rng() % 2 ? "DATAEVENTO" : "DATAFECHAMENTO";
            bandsOf(r);
            promos.push_back(std::move(r));
        }
        std::stable_sort(promos.begin(), promos.end(), [](const Rule& a, const Rule& b) { return a.firstDay < b.firstDay; });
        for (Rule& r : promos) r.number = ++ruleNumber[2];
        t.of(Scope::Promocao) = std::move(promos);
        s.tables.push_back(std::move(t));
    }
    return s;
}

std::string iso(long long day) { return wire::DateTime::fromDays(day).iso().substr(0, 10); }
std::string br(long long day) { return wire::DateTime::fromDays(day).brazilianDate(); }
std::string dot(long long cents) {
    std::string t = commission::money::text(cents);
    std::erase(t, '.');
    std::replace(t.begin(), t.end(), ',', '.');
    return t;
}

void generate(const std::string& dir, long long n) {
    const Snapshot s = tables();
    {
        std::ofstream t(dir + "/tabelas.csv"), r(dir + "/regras.csv"), b(dir + "/faixas.csv");
        t << "nr,ini,fin\n";
        // prec: promotions first, then event types, then positions; ord: the list's order.
        r << "id,tabela,prec,ord,cargo,tipo,ini,fin,base\n";
        b << "regra,nr,ini,fin,pct\n";
        long long id = 0;
        for (const Table& table : s.tables) {
            t << table.number << ',' << iso(table.firstDay) << ',' << iso(table.lastDay) << '\n';
            const Scope order[] = {Scope::Promocao, Scope::TipoEvento, Scope::Cargo};
            for (int p = 0; p < 3; ++p) {
                int ord = 0;
                for (const Rule& rule : table.of(order[p])) {
                    ++id;
                    r << id << ',' << table.number << ',' << p + 1 << ',' << ++ord << ',' << rule.cargo << ','
                      << rule.tipoEvento << ',' << (p == 0 ? iso(rule.firstDay) : "") << ','
                      << (p == 0 ? iso(rule.lastDay) : "") << ',' << rule.base << '\n';
                    for (const Band& band : rule.bands)
                        b << id << ',' << band.number << ',' << dot(band.first) << ',' << dot(band.last) << ','
                          << dot(commission::money::nearestCents(band.percent)) << '\n';
                }
            }
        }
    }
    std::mt19937_64 rng(7);
    std::FILE* out = std::fopen((dir + "/vendas.csv").c_str(), "wb");
    std::string buf = "VENDA;VENDEDOR;IDCARGOVEND;CDTIPOEVENTO;DTEVENTO;DTFECHAMENTO;VRVENDA;LOJA\n";
    const long long first = dayOf(2025, 1, 1);
    const char* cargos[] = {"V", "S", "G"};
    for (long long i = 0; i < n; ++i) {
        const long long event = first + static_cast<long long>(rng() % 372);  // a week of 2026 without a table
        const long long closing = event + static_cast<long long>(rng() % 40);
        // 0,00 to 24.999,99, one in five hundred below zero: most sales meet a band, as on payday.
        long long value = static_cast<long long>(rng() % 2'500'000);
        if (rng() % 500 == 0) value = -value / 100;
        char tipo[4];
        std::snprintf(tipo, sizeof tipo, "%03d", 1 + static_cast<int>(rng() % 70));
        std::string v = commission::money::text(value);
        if (rng() % 2) std::erase(v, '.');
        buf += std::to_string(i + 1);
        buf += ';';
        buf += std::to_string(1000 + rng() % 5000);
        buf += ';';
        buf += cargos[rng() % 3];
        buf += ';';
        buf += tipo;
        buf += ';';
        buf += br(event);
        buf += ';';
        buf += br(closing);
        buf += ';';
        buf += v;
        buf += ";Loja ";
        buf += std::to_string(rng() % 100);
        buf += '\n';
        if (buf.size() > (1 << 20)) {
            std::fwrite(buf.data(), 1, buf.size(), out);
            buf.clear();
        }
    }
    std::fwrite(buf.data(), 1, buf.size(), out);
    std::fclose(out);
}

// Processor seconds of the process so far, both kinds: on a shared machine the wall time also
// holds the waits for a processor, which this leaves out.
double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double peakMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024;
}

// The commission column (the one before the last) summed over every line, in cents.
long long sumOfCommissions(const std::string& path, long long& lines) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    long long sum = 0;
    lines = 0;
    while (std::getline(in, line)) {
        ++lines;
        // Before MOTIVO, which holds no ';' here: no generated rule's text has one.
        const std::size_t end = line.rfind(';');
        const std::size_t start = line.rfind(';', end - 1) + 1;
        const std::string cell = line.substr(start, end - start);
        if (cell.empty()) continue;
        const bool negative = cell[0] == '-';
        const std::size_t comma = cell.find(',');
        long long c = std::stoll(cell.substr(negative, comma - negative)) * 100 + std::stoll(cell.substr(comma + 1));
        sum += negative ? -c : c;
    }
    return sum;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    const std::string dir = argc > 2 ? argv[2] : "";
    const auto started = std::chrono::steady_clock::now();
    auto seconds = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(); };
    if (mode == "gen" && argc == 4) {
        generate(dir, std::stoll(argv[3]));
        std::printf("gen seconds=%.2f\n", seconds());
    } else if (mode == "run" && argc == 4) {
        const commission::Engine engine(std::make_shared<const Snapshot>(tables()));
        batch::RunOptions o;
        o.sales = dir + "/vendas.csv";
        o.prefix = dir + "/ours" + argv[3];
        o.threads = std::stoi(argv[3]);
        const auto began = std::chrono::steady_clock::now();
        const double cpuBefore = cpuSeconds();
        const batch::Summary s = batch::apura(engine, o);
        const double runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        const double cpu = cpuSeconds() - cpuBefore;
        long long lines = 0;
        const long long sum = sumOfCommissions(o.prefix + "-vendas.csv", lines);
        std::printf("run threads=%s seconds=%.3f cpu=%.3f peak_mb=%.1f lines=%lld paid=%llu sum_cents=%lld summary_cents=%lld\n",
                    argv[3], runSeconds, cpu, peakMb(), lines, static_cast<unsigned long long>(s.paid), sum, s.commissionCents);
    } else if (mode == "compare" && argc == 5) {
        const commission::Engine engine(std::make_shared<const Snapshot>(tables()));
        batch::RunOptions o;
        o.sales = dir + "/vendas.csv";
        o.prefix = dir + "/compared" + argv[3];
        o.threads = std::stoi(argv[3]);
        o.compareTable = std::stoll(argv[4]);
        const auto began = std::chrono::steady_clock::now();
        const double cpuBefore = cpuSeconds();
        const batch::Summary s = batch::apura(engine, o);
        const double runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        const double cpu = cpuSeconds() - cpuBefore;
        std::printf("compare threads=%s seconds=%.3f cpu=%.3f peak_mb=%.1f paid=%llu summary_cents=%lld paid_b=%llu summary_cents_b=%lld "
                    "holes=%llu\n",
                    argv[3], runSeconds, cpu, peakMb(), static_cast<unsigned long long>(s.paid), s.commissionCents,
                    static_cast<unsigned long long>(s.paidB), s.commissionCentsB, static_cast<unsigned long long>(s.holes));
    } else if (mode == "floor" && argc == 3) {
        std::FILE* in = std::fopen((dir + "/vendas.csv").c_str(), "rb");
        std::vector<char> buf(4 << 20);
        long long lines = 0;
        for (std::size_t n; (n = std::fread(buf.data(), 1, buf.size(), in)) > 0;)
            for (const char* p = buf.data(); (p = static_cast<const char*>(std::memchr(p, '\n', buf.data() + n - p))); ++p)
                ++lines;
        std::fclose(in);
        std::printf("floor seconds=%.3f peak_mb=%.1f lines=%lld\n", seconds(), peakMb(), lines);
    } else {
        std::cerr << "usage: bench_apuracao gen DIR N | run DIR THREADS | compare DIR THREADS N | floor DIR\n";
        return 2;
    }
    return 0;
}
