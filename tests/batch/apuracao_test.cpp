// backoffice-apuracao against the real server: a generated file of sales on every edge the
// rule has, paid as SimulaComissao pays each one; refused lines, totals, threads and a store
// changed while the run goes on.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "commission/money.h"
#include "commission/period_shift.h"
#include "server_harness.h"
#include "support/e2e_support.h"
#include "support/test_paths.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;

namespace {

struct ProgramRun {
    int status = -1;
    std::string out;  // standard output and error
};

ProgramRun apuracao(unsigned short port, const std::string& sales, const std::string& prefix, int threads,
                    const std::string& more = "") {
    const std::string command = testsupport::binDir() + "/backoffice-apuracao --server 127.0.0.1:" + std::to_string(port) +
                                " --branch 0001 --sales '" + sales + "' --out '" + prefix + "' --threads " +
                                std::to_string(threads) + " " + more + " 2>&1";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// Cells split at ';', quotes taken off (no test cell holds a separator inside quotes but MOTIVO).
std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                out.back() += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == ';' && !quoted) {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

long long cents(std::string text) {
    std::erase(text, '.');
    const bool negative = text.starts_with('-');
    if (negative) text.erase(0, 1);
    const auto comma = text.find(',');
    long long c = std::stoll(text.substr(0, comma)) * 100;
    if (comma != std::string::npos) {
        std::string f = text.substr(comma + 1);
        f.resize(2, '0');
        c += std::stoll(f);
    }
    return negative ? -c : c;
}

std::string commaCents(long long c) {
    const long long a = c < 0 ? -c : c;
    return std::string(c < 0 ? "-" : "") + std::to_string(a / 100) + "," + (a % 100 < 10 ? "0" : "") + std::to_string(a % 100);
}

// What SimulaComissao's answer gives for the result columns of a line of PREFIX-vendas.csv.
std::string expected(const json& a) {
    auto number = [](const json& v) { return v.is_null() ? std::string() : std::to_string(v.get<long long>()); };
    auto cent = [](const json& v) {
        return v.is_null() ? std::string() : commaCents(std::llround(v.get<double>() * 100));
    };
    std::string reasons;
    if (a.at("commission").is_null())
        for (const auto& r : a.at("reasons")) reasons += (reasons.empty() ? "" : " | ") + r.get<std::string>();
    return number(a.at("table")) + ";" + (a.at("scope").is_null() ? "" : a.at("scope").get<std::string>()) + ";" +
           number(a.at("rule")) + ";" + number(a.at("band")) + ";" + cent(a.at("percent")) + ";" + cent(a.at("commission")) +
           ";" + reasons;
}

class Apuracao : public ::testing::Test {
protected:
    TempDb db;
    ServerProcess server{db.path()};
    Client client{server.port()};
    testsupport::TempDir dir;
    double nr = 0, vendedor = 0;

    void bands(ListKind list, double table, double rule, const std::vector<std::array<double, 3>>& rows) {
        for (const auto& [ini, fin, perc] : rows) ASSERT_EQ(tryBand(client, list, table, rule, ini, fin, perc), "");
    }

    // Two tables with July between them, rules of every scope; bands ending on whole values.
    void tables() {
        nr = addComissao(client, "Comissão 1º semestre", day(2025, 1, 1), day(2025, 6, 30));
        const double segundo = addComissao(client, "Comissão 2º semestre", day(2025, 8, 1), day(2025, 12, 31));
        vendedor = addCargo(client, nr, "V");
        bands(ListKind::PercCargo, nr, vendedor, {{0, 1000, 1}, {1000.01, 5000, 5}});
        bands(ListKind::PercCargo, nr, addCargo(client, nr, "S"), {{100, 200, 2.5}});
        bands(ListKind::PercEvento, nr, addEvento(client, nr, "001", "V"), {{0, 1000, 3}});
        bands(ListKind::PercEvento, nr, addEvento(client, nr, "002", "S"), {{0.01, 100, 7}});
        addEvento(client, nr, "003", "G");  // without bands
        bands(ListKind::PercPromocao, nr, addPromocao(client, nr, day(2025, 3, 1), day(2025, 3, 31), "DATAEVENTO", "001", "V"),
              {{0, 500, 5}});
        bands(ListKind::PercPromocao, nr,
              addPromocao(client, nr, day(2025, 6, 1), day(2025, 6, 30), "DATAFECHAMENTO", "001", "V"), {{0, 10000, 7}});
        bands(ListKind::PercCargo, segundo, addCargo(client, segundo, "G"), {{0, 999999, 1.5}});
    }

    // Every combination of the days around the periods' and windows' ends, positions, event
    // types and values on band ends, a cent either side, halves of a cent and below zero.
    std::vector<json> sales() {
        const char* days[] = {"2024-12-31", "2025-01-01", "2025-02-28", "2025-03-01", "2025-03-31", "2025-04-01",
                              "2025-05-31", "2025-06-01", "2025-06-30", "2025-07-01", "2025-07-31", "2025-08-01"};
        const char* closings[] = {"2025-01-01", "2025-03-31", "2025-05-31", "2025-06-01", "2025-06-30", "2025-07-01"};
        const char* tipos[] = {"001", "002", "003"};
        const char* cargos[] = {"V", "S", "G"};
        const double values[] = {-1000, -14.5, -0.01, 0, 0.01, 14.5, 14.49, 99.99, 100, 100.01,
                                 200, 200.01, 500, 500.01, 1000, 1000.01, 1281.7, 5000, 5000.01, 10000.01};
        std::vector<json> out;
        for (const char* d : days)
            for (const char* c : closings)
                for (const char* t : tipos)
                    for (const char* g : cargos)
                        for (double v : values) out.push_back(json::array({d, c, t, g, v}));
        return out;
    }

    static std::string brDate(const std::string& isoDay) {
        return isoDay.substr(8, 2) + "/" + isoDay.substr(5, 2) + "/" + isoDay.substr(0, 4);
    }
    static std::string brValue(double v) { return commaCents(std::llround(v * 100)); }

    // The file: an extra column before the required ones, in an order of its own.
    std::string file(const std::vector<json>& sales, const std::map<std::size_t, std::string>& bad = {}) {
        std::string text = "\xEF\xBB\xBFLOJA;VRVENDA;VENDA;DTEVENTO;VENDEDOR;CDTIPOEVENTO;IDCARGOVEND;DTFECHAMENTO\r\n";
        for (std::size_t i = 0; i < sales.size(); ++i) {
            if (const auto b = bad.find(i); b != bad.end()) text += b->second + "\r\n";
            const json& s = sales[i];
            std::string value = brValue(s[4].get<double>());
            if (i % 3 == 0 && std::llabs(std::llround(s[4].get<double>() * 100)) >= 100000) value.insert(value.size() - 6, ".");
            text += "\"Loja; " + std::to_string(i % 5) + "\";" + value + ";V" + std::to_string(i) + ";" +
                    brDate(s[0].get<std::string>()) + ";" + std::to_string(i % 37) + ";" + s[2].get<std::string>() + ";" +
                    s[3].get<std::string>() + ";" + brDate(s[1].get<std::string>()) + "\r\n";
        }
        const std::string path = dir.file("vendas-entrada.csv");
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

}  // namespace

TEST_F(Apuracao, EverySaleIsPaidAsSimulaComissaoPaysItAndTotalsAreTheSumOfTheLines) {
    tables();
    const std::vector<json> all = sales();
    ASSERT_GE(all.size(), 10000u);
    // Bad lines between good ones: none of them may shift the lines after it.
    const std::map<std::size_t, std::string> bad = {
        {0, "L;10,00;B1;31/02/2025;1;001;V;01/03/2025"},
        {17, "L;1,234;B2;01/03/2025;1;001;V;01/03/2025"},
        {4000, "L;10,00;B3;01/03/2025;1;001;X;01/03/2025"},
        {5000, "L;10,00;B4;01/03/2025;1;001;V"},
        {6000, "\"L;10,00;B5;01/03/2025;1;001;V;01/03/2025"},
        {7000, "L\xC3(;10,00;B6;01/03/2025;1;001;V;01/03/2025"},
        {8000, "L;1.2345,00;B7;01/03/2025;1;001;V;01/03/2025"}};
    const std::string in = file(all, bad);

    const ProgramRun one = apuracao(server.port(), in, dir.file("um"), 1);
    ASSERT_EQ(one.status, 1) << one.out;  // some lines refused
    EXPECT_NE(one.out.find("Linhas lidas: " + std::to_string(all.size() + bad.size()).insert(2, ".")), std::string::npos)
        << one.out;
    EXPECT_NE(one.out.find("Recusadas: 7"), std::string::npos) << one.out;

    // Each bad line named by its line in the file (the header is line 1), column and reason.
    EXPECT_EQ(slurp(dir.file("um-recusadas.csv")),
              "\xEF\xBB\xBFLINHA;COLUNA;MOTIVO\n"
              "2;DTEVENTO;a data 31/02/2025 não existe\n"
              "20;VRVENDA;o valor '1,234' tem mais de duas casas decimais\n"
              "4004;IDCARGOVEND;cargo desconhecido 'X': use V, S ou G\n"
              "5005;DTFECHAMENTO;faltam células: a linha tem 7, o cabeçalho 8\n"
              "6006;LOJA;aspas sem fechamento ou mal colocadas\n"
              "7007;LOJA;o texto não é UTF-8 válido\n"
              "8008;VRVENDA;valor inválido '1.2345,00': use vírgula decimal, como 1.234,56\n");

    const std::vector<std::string> out = lines(slurp(dir.file("um-vendas.csv")));
    ASSERT_EQ(out.size(), all.size() + 1);
    EXPECT_EQ(out[0], "\xEF\xBB\xBFLOJA;VRVENDA;VENDA;DTEVENTO;VENDEDOR;CDTIPOEVENTO;IDCARGOVEND;DTFECHAMENTO;"
                      "NRCOMISSAOOREV;IDTIPOCOMISSAO;NRREGRA;NRFAIXACOMISSAOOREV;VRCOMISSAO;VRCOMISSAOVENDA;MOTIVO");
    std::map<std::string, std::array<long long, 4>> bySeller;  // count, sales, commission, unpaid
    std::size_t differ = 0;
    for (std::size_t from = 0; from < all.size(); from += 1000) {
        const std::vector<json> batch(all.begin() + static_cast<long>(from),
                                      all.begin() + static_cast<long>(std::min(all.size(), from + 1000)));
        const json answers = client.result("ApuraComissao", json::array({json(batch)}));
        for (std::size_t k = 0; k < batch.size(); ++k) {
            const std::size_t i = from + k;
            std::string line = out[i + 1];
            if (line.ends_with('\r')) line.pop_back();
            const std::vector<std::string> c = cells(line);
            ASSERT_EQ(c.size(), 15u) << line;
            ASSERT_EQ(c[2], "V" + std::to_string(i)) << "line for sale " << i << " is " << line;
            EXPECT_EQ(c[0], "Loja; " + std::to_string(i % 5));
            std::string got = c[8];
            for (std::size_t j = 9; j < 15; ++j) got += ";" + c[j];
            if (got != expected(answers[k]) && ++differ <= 5)
                ADD_FAILURE() << "sale " << batch[k].dump() << "\n got " << got << "\nwant " << expected(answers[k]);
            auto& s = bySeller[c[4]];
            ++s[0];
            s[1] += cents(c[1]);
            s[2] += c[13].empty() ? 0 : cents(c[13]);
            s[3] += c[13].empty() ? 1 : 0;
        }
    }
    EXPECT_EQ(differ, 0u);

    std::string want = "\xEF\xBB\xBFVENDEDOR;QTVENDAS;VRVENDAS;VRCOMISSAOVENDA;QTSEMCOMISSAO\n";
    for (int code = 0; code < 37; ++code) {
        const auto& s = bySeller[std::to_string(code)];
        want += std::to_string(code) + ";" + std::to_string(s[0]) + ";" + commaCents(s[1]) + ";" + commaCents(s[2]) + ";" +
                std::to_string(s[3]) + "\n";
    }
    EXPECT_EQ(slurp(dir.file("um-vendedores.csv")), want);

    // Two threads write the very bytes one does.
    const ProgramRun two = apuracao(server.port(), in, dir.file("dois"), 2);
    ASSERT_EQ(two.status, 1) << two.out;
    for (const char* name : {"-vendas.csv", "-vendedores.csv", "-recusadas.csv"})
        EXPECT_TRUE(slurp(dir.file(std::string("um") + name)) == slurp(dir.file(std::string("dois") + name))) << name;
}

TEST_F(Apuracao, AFileWithoutARequiredColumnWritesNothingAndAGoodRunReplacesTheFilesWhole) {
    tables();
    const std::string in = dir.file("sem-coluna.csv");
    std::ofstream(in, std::ios::binary) << "VENDA;VENDEDOR;IDCARGOVEND;CDTIPOEVENTO;DTEVENTO;VRVENDA\n1;1;V;001;01/03/2025;10,00\n";
    std::ofstream(dir.file("r-vendas.csv")) << "a good file";
    const ProgramRun refused = apuracao(server.port(), in, dir.file("r"), 2);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("O arquivo não tem a coluna DTFECHAMENTO."), std::string::npos) << refused.out;
    EXPECT_EQ(slurp(dir.file("r-vendas.csv")), "a good file");
    EXPECT_FALSE(std::ifstream(dir.file("r-vendedores.csv")).good());

    std::ofstream(in, std::ios::binary) << "VENDA;VENDEDOR;IDCARGOVEND;CDTIPOEVENTO;DTEVENTO;DTFECHAMENTO;VRVENDA\n"
                                           "1;1;V;001;01/03/2025;01/03/2025;1.281,70\n";
    const ProgramRun good = apuracao(server.port(), in, dir.file("r"), 2);
    EXPECT_EQ(good.status, 0) << good.out;
    EXPECT_EQ(slurp(dir.file("r-vendas.csv")),
              "VENDA;VENDEDOR;IDCARGOVEND;CDTIPOEVENTO;DTEVENTO;DTFECHAMENTO;VRVENDA;NRCOMISSAOOREV;IDTIPOCOMISSAO;"
              "NRREGRA;NRFAIXACOMISSAOOREV;VRCOMISSAO;VRCOMISSAOVENDA;MOTIVO\n"
              "1;1;V;001;01/03/2025;01/03/2025;1.281,70;1;CARGO;1;2;5,00;64,09;\n");
    EXPECT_EQ(slurp(dir.file("r-vendedores.csv")),
              "VENDEDOR;QTVENDAS;VRVENDAS;VRCOMISSAOVENDA;QTSEMCOMISSAO\n1;1;1281,70;64,09;0\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 4)
        << "no file beside is left";
}

TEST_F(Apuracao, ARunAgainstAStoreChangedMidwayPaysEveryLineByOneVersion) {
    tables();
    std::vector<json> many;
    for (int i = 0; i < 60000; ++i) many.push_back(json::array({"2025-02-10", "2025-02-10", "009", "V", 100 + i % 50}));
    const std::string in = file(many);
    ProgramRun run;
    std::thread program([&] { run = apuracao(server.port(), in, dir.file("m"), 2); });
    // The band of the position rule changes its percentage over and over while the run goes on.
    wire::Row band = client.packet("GetPercentual", {nr, vendedor, "CARGO"}).rows.at(0);
    for (int k = 0; k < 20; ++k) {
        wire::Row changed = band;
        changed[8] = 2.0 + k;
        ASSERT_EQ(client.set("SetPercCargo", updateLog(ListKind::PercCargo, band, changed)), "");
        band = changed;
    }
    program.join();
    ASSERT_EQ(run.status, 0) << run.out;
    std::set<std::string> percents;
    const std::vector<std::string> out = lines(slurp(dir.file("m-vendas.csv")));
    for (std::size_t i = 1; i < out.size(); ++i) percents.insert(cells(out[i]).at(12));
    EXPECT_EQ(percents.size(), 1u) << "paid by more than one version of the band";
    EXPECT_EQ(out.size(), many.size() + 1);
}

namespace {

long long dayOf(const std::string& iso) { return wire::DateTime::parseIso(iso + "T00:00:00")->days(); }
std::string isoOf(long long day) { return wire::DateTime::fromDays(day).iso().substr(0, 10); }

// value × percent, rounded half away from zero to the cent; the percentage in hundredths.
long long commissionOf(long long cents, long long percent) {
    const long long n = cents * percent, q = (std::llabs(n) + 5000) / 10000;
    return n < 0 ? -q : q;
}

long long centsOr0(const std::string& cell) { return cell.empty() ? 0 : cents(cell); }

}  // namespace

TEST_F(Apuracao, ACopyComparedWithItsTableDiffersOnlyWhereTheCopyWasEditedByTheRightCents) {
    tables();
    const std::vector<json> all = sales();
    const std::string in = file(all);
    const ProgramRun unknown = apuracao(server.port(), in, dir.file("x"), 2, "--compare-table 999");
    EXPECT_EQ(unknown.status, 1) << unknown.out;
    EXPECT_NE(unknown.out.find("Tabela de comissão 999 não encontrada: nenhum arquivo gravado."), std::string::npos)
        << unknown.out;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1)
        << "nothing but the sales file";

    // Next year's first half, copied from this year's: its dates a year on, its rules numbered anew.
    const double copia = client.result("CopiaComissao", {nr, "Comissão 2026", "2026-01-01", "2026-06-30"}).at("table");
    const std::string copiaText = std::to_string(static_cast<long long>(copia));
    const std::string own = std::to_string(static_cast<long long>(nr));
    const commission::PeriodShift fromFirst(dayOf("2025-01-01"), dayOf("2026-01-01"));
    const commission::PeriodShift fromSecond(dayOf("2025-08-01"), dayOf("2026-01-01"));

    // What every line must hold: B as SimulaComissao pays the sale with its dates moved from its
    // own table onto the copy; DIFERENCA is B minus A; PREFIX-lacunas.csv the lines A pays and B not.
    auto read = [&](const std::string& prefix) {
        std::vector<std::vector<std::string>> rows;
        for (const std::string& line : lines(slurp(dir.file(prefix + "-vendas.csv")))) rows.push_back(cells(line));
        EXPECT_EQ(rows.at(0).size(), 23u);
        std::string header = rows[0][15];
        for (std::size_t j = 16; j < rows[0].size(); ++j) header += ";" + rows[0][j];
        EXPECT_EQ(header, "NRCOMISSAOOREV_B;IDTIPOCOMISSAO_B;NRREGRA_B;NRFAIXACOMISSAOOREV_B;VRCOMISSAO_B;VRCOMISSAOVENDA_B;"
                          "DIFERENCA;MOTIVO_B");
        rows.erase(rows.begin());
        EXPECT_EQ(rows.size(), all.size());
        std::vector<json> moved;
        for (std::size_t i = 0; i < rows.size() && i < all.size(); ++i) {
            json m = all[i];
            if (!rows[i][8].empty()) {
                const commission::PeriodShift& shift = rows[i][8] == own ? fromFirst : fromSecond;
                m[0] = isoOf(shift.apply(dayOf(m[0])));
                m[1] = isoOf(shift.apply(dayOf(m[1])));
            }
            moved.push_back(m);
        }
        std::string holes = "\xEF\xBB\xBFLINHA;VENDA;VENDEDOR;NRCOMISSAOOREV;IDTIPOCOMISSAO;NRREGRA;NRFAIXACOMISSAOOREV;"
                            "VRCOMISSAO;VRCOMISSAOVENDA;MOTIVO_B\n";
        std::size_t differ = 0;
        for (std::size_t from = 0; from < moved.size(); from += 1000) {
            const std::vector<json> batch(moved.begin() + static_cast<long>(from),
                                          moved.begin() + static_cast<long>(std::min(moved.size(), from + 1000)));
            const json answers = client.result("ApuraComissao", json::array({json(batch)}));
            for (std::size_t k = 0; k < batch.size(); ++k) {
                const auto& c = rows[from + k];
                std::string got = c[15];
                for (std::size_t j = 16; j < 21; ++j) got += ";" + c[j];
                got += ";" + c[22];
                std::string want = expected(answers[k]);
                if (answers[k].at("table").is_null()) {
                    // A sale of no table is not moved, and falls outside the copy, which says so.
                    want = ";;;;;;";
                    got.resize(got.size() - c[22].size());
                    EXPECT_NE(c[22].find("Comissão 2026 (01/01/2026 a 30/06/2026) não vale na Data do Evento"),
                              std::string::npos) << c[22];
                }
                if (got != want && ++differ <= 5)
                    ADD_FAILURE() << "sale " << all[from + k].dump() << " moved to " << batch[k].dump() << "\n got " << got
                                  << "\nwant " << want;
                EXPECT_EQ(c[21], commaCents(centsOr0(c[20]) - centsOr0(c[13])));
                if (!c[13].empty() && c[20].empty())
                    holes += std::to_string(from + k + 2) + ";" + c[2] + ";" + c[4] + ";" + c[8] + ";" + c[9] + ";" + c[10] +
                             ";" + c[11] + ";" + c[12] + ";" + c[13] + ";" + c[22] + "\n";
            }
        }
        EXPECT_EQ(differ, 0u);
        EXPECT_EQ(slurp(dir.file(prefix + "-lacunas.csv")), holes);
        return rows;
    };

    // The copy as it came: nothing differs on any sale of the table copied.
    const ProgramRun same = apuracao(server.port(), in, dir.file("igual"), 2, "--compare-table " + copiaText);
    ASSERT_EQ(same.status, 0) << same.out;
    std::size_t paid = 0;
    for (const auto& c : read("igual")) {
        if (c[8] != own) continue;
        paid += !c[13].empty();
        EXPECT_EQ(c[21], "0,00");
        EXPECT_EQ(c[9] + ";" + c[12] + ";" + c[13], c[16] + ";" + c[19] + ";" + c[20]);
    }
    EXPECT_GT(paid, 1000u);

    // One band of the copy pays 6 % where it paid 5 %; another is gone.
    auto positionRule = [&](double table, const char* cargo) {
        for (const wire::Row& r : client.packet("GetCargo", {table}).rows)
            if (std::get<std::string>(r.at(1)) == cargo) return std::get<double>(r.at(0));
        throw std::runtime_error("no position rule");
    };
    const wire::DataPacket vBands = client.packet("GetPercentual", {copia, positionRule(copia, "V"), "CARGO"});
    wire::Row six = vBands.rows.at(1);
    six[static_cast<std::size_t>(vBands.fieldIndex("VRCOMISSAO"))] = 6.0;
    ASSERT_EQ(client.set("SetPercCargo", updateLog(ListKind::PercCargo, vBands.rows.at(1), six)), "");
    const wire::DataPacket sBands = client.packet("GetPercentual", {copia, positionRule(copia, "S"), "CARGO"});
    ASSERT_EQ(client.set("SetPercCargo", deleteLog(ListKind::PercCargo, sBands.rows.at(0))), "");
    const wire::DataPacket ownBands = client.packet("GetPercentual", {nr, vendedor, "CARGO"});
    const std::string fivePercentBand = std::to_string(static_cast<long long>(
        std::get<double>(ownBands.rows.at(1).at(static_cast<std::size_t>(ownBands.fieldIndex("NRFAIXACOMISSAOOREV"))))));

    const ProgramRun one = apuracao(server.port(), in, dir.file("e1"), 1, "--compare-table " + copiaText);
    ASSERT_EQ(one.status, 0) << one.out;
    std::size_t changed = 0, gone = 0;
    std::map<std::string, std::array<long long, 2>> bySeller;
    for (const auto& c : read("e1")) {
        bySeller[c[4]][0] += centsOr0(c[13]);
        bySeller[c[4]][1] += centsOr0(c[20]);
        if (c[8] != own) continue;
        const long long v = cents(c[1]);
        if (c[9] == "CARGO" && c[11] == fivePercentBand) {
            ++changed;
            EXPECT_EQ(c[21], commaCents(commissionOf(v, 600) - commissionOf(v, 500))) << c[1];
        } else if (c[9] == "CARGO" && c[12] == "2,50") {
            ++gone;
            EXPECT_EQ(c[20], "");
        } else {
            EXPECT_EQ(c[21], "0,00") << c[1] << " paid by " << c[9] << " " << c[10] << " " << c[11];
        }
    }
    EXPECT_GT(changed, 100u);
    EXPECT_GT(gone, 10u);

    // Each salesperson's totals are the sums of their lines; the summary's total and list theirs.
    const std::vector<std::string> sellers = lines(slurp(dir.file("e1-vendedores.csv")));
    ASSERT_EQ(sellers.size(), 38u);
    EXPECT_EQ(sellers[0], "\xEF\xBB\xBFVENDEDOR;QTVENDAS;VRVENDAS;VRCOMISSAOVENDA;QTSEMCOMISSAO;VRCOMISSAOVENDA_B;DIFERENCA");
    std::vector<std::pair<long long, std::string>> gains;
    long long totalA = 0, totalB = 0;
    for (std::size_t i = 1; i < sellers.size(); ++i) {
        const std::vector<std::string> c = cells(sellers[i]);
        ASSERT_EQ(c.size(), 7u) << sellers[i];
        const auto& [a, b] = bySeller[c[0]];
        EXPECT_EQ(c[3] + ";" + c[5] + ";" + c[6], commaCents(a) + ";" + commaCents(b) + ";" + commaCents(b - a)) << c[0];
        gains.push_back({b - a, c[0]});
        totalA += a;
        totalB += b;
    }
    EXPECT_NE(one.out.find("Diferença (tabela " + copiaText + " menos a atual): " + (totalB > totalA ? "+" : "") +
                           commission::money::text(totalB - totalA) + "\n"),
              std::string::npos)
        << one.out;
    // The ten who gain most and the ten who lose most, the largest first, a tie in code order.
    auto top = [&](const char* title, bool gain) {
        std::vector<std::pair<long long, std::string>> who;
        for (const auto& g : gains)
            if (gain ? g.first > 0 : g.first < 0) who.push_back(g);
        std::stable_sort(who.begin(), who.end(), [&](const auto& x, const auto& y) { return gain ? x.first > y.first : x.first < y.first; });
        std::string text = std::string(title) + "\n";
        for (std::size_t i = 0; i < who.size() && i < 10; ++i) text += "  " + who[i].second + ": ";
        return text;
    };
    const std::size_t from = one.out.find("Quem mais ganha:"), to = one.out.find("Lacunas");
    ASSERT_NE(from, std::string::npos) << one.out;
    std::string listed;
    for (const std::string& line : lines(one.out.substr(from, to - from)))
        listed += line.substr(0, line.find(':') + 1) + (line.starts_with("  ") ? " " : "\n");
    EXPECT_EQ(listed, top("Quem mais ganha:", true) + top("Quem mais perde:", false)) << one.out;

    // Two threads write the very bytes one does, the holes included.
    const ProgramRun two = apuracao(server.port(), in, dir.file("e2"), 2, "--compare-table " + copiaText);
    ASSERT_EQ(two.status, 0) << two.out;
    for (const char* name : {"-vendas.csv", "-vendedores.csv", "-recusadas.csv", "-lacunas.csv"})
        EXPECT_TRUE(slurp(dir.file(std::string("e1") + name)) == slurp(dir.file(std::string("e2") + name))) << name;
}
