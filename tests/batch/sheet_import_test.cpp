// backoffice-import against the real server: 0 when the file is stored, 1 with every refused
// line on standard error and nothing stored, 2 for options it cannot run with.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "server_harness.h"
#include "support/test_paths.h"

using namespace harness;
using nlohmann::json;

namespace {

struct ProgramRun {
    int status = -1;
    std::string out;  // standard output and error
};

ProgramRun runImport(unsigned short port, const std::string& args) {
    const std::string command = testsupport::binDir() + "/backoffice-import --server 127.0.0.1:" + std::to_string(port) +
                                " --branch 0001 " + args + " 2>&1";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(SheetImportProgram, StoresOrRefusesTheWholeFileAndSaysWhichLines) {
    TempDb db;
    ServerProcess server(db.path());
    Client c(server.port());
    const auto dir = std::filesystem::temp_directory_path() / ("ktr-import-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string header = "Escopo;Cargo;Valor Inicial;Valor Final;Percentual\n";
    const std::string bad = (dir / "ruim.csv").string(), good = (dir / "boa.csv").string();
    std::ofstream(bad) << header << "Cargo;V;0,00;100,00;0\nCargo;X;0,00;100,00;1\nCargo;S;0,00;100,00;1\n";
    std::ofstream(good) << header << "Cargo;V;0,00;100,00;1\n";

    ProgramRun r = runImport(server.port(), "--file '" + bad + "' --new 'Tabela 2026' 01/01/2026 31/12/2026");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("Linha 2, Percentual: Percentual de comissão deve ser maior que zero.\n"
                         "Linha 3, Cargo: Cargo inválido"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(c.packet("GetComissao", json::array()).rows.size(), 0u);

    r = runImport(server.port(), "--file '" + good + "' --new 'Tabela 2026' 01/01/2026 31/12/2026");
    EXPECT_EQ(r.status, 0) << r.out;
    const auto tables = c.packet("GetComissao", json::array());
    ASSERT_EQ(tables.rows.size(), 1u);
    // The refused import may have used a number up: some stores never give it again.
    const double nr = std::get<double>(tables.rows[0][0]);
    const std::string table = wire::render(nr);
    EXPECT_EQ(render(tables), table + "|Tabela 2026|2026-01-01|2026-12-31|0001\n");
    EXPECT_NE(r.out.find("Tabela " + table + " importada de boa.csv."), std::string::npos) << r.out;
    EXPECT_EQ(c.packet("GetCargo", {nr}).rows.size(), 1u);

    // The table has rules now: a failure of the request, named, and nothing changes.
    r = runImport(server.port(), "--file '" + good + "' --table " + table);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("A tabela já tem regras"), std::string::npos) << r.out;
    EXPECT_EQ(c.packet("GetCargo", {nr}).rows.size(), 1u);

    for (const std::string& args : {"--file '" + good + "'", "--file '" + good + "' --table 1 --new T 01/01/2027 31/12/2027",
                                    "--file '" + good + "' --new T 31/02/2027 31/12/2027", std::string("--table 1")}) {
        r = runImport(server.port(), args);
        EXPECT_EQ(r.status, 2) << args << "\n" << r.out;
    }
    std::filesystem::remove_all(dir);
}
