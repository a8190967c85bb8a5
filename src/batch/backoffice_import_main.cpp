// backoffice-import: a commission table's rules and bands from a spreadsheet file, for
// scheduled jobs. Every line is checked by the server; one refused line stores nothing.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "batch/import_options.h"
#include "framework/host_services.h"
#include "framework/tnetconnection.h"
#include "host/command_line.h"
#include "host/host_options.h"
#include "host/sheet_import.h"

namespace {

constexpr int kStored = 0;
constexpr int kRefusedOrFailed = 1;
constexpr int kUsageError = 2;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("não foi possível ler " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    batch::ImportOptions options;
    std::string password;
    try {
        options = batch::parseImportOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::cout << batch::importUsage();
            return kStored;
        }
        if (options.version) {
            std::cout << host::versionLine("backoffice-import");
            return kStored;
        }
        if (!options.user.empty()) {
            host::HostOptions account;
            account.user = options.user;
            account.passwordFile = options.passwordFile;
            password = host::readPassword(account);
        }
    } catch (const std::invalid_argument& e) {
        std::cerr << "backoffice-import: " << e.what() << "\nVeja as opções com backoffice-import --help.\n";
        return kUsageError;
    }

    fw::HostServices services(fw::HostSettings{options.serverHost, options.serverPort, options.branch, "", options.user,
                                               password, options.tlsCa});
    fw::HostServices::SetInstance(&services);
    int status = kStored;
    try {
        host::SheetImportRequest request;
        request.fileName = std::filesystem::path(options.file).filename().string();
        request.text = readFile(options.file);
        if (options.table > 0) request.table = options.table;
        request.description = options.description;
        request.start = options.start;
        request.end = options.end;
        request.branch = options.branch;
        fw::TNetConnection server(nullptr, "Importacao");
        server.SetHost(options.serverHost);
        server.SetPort(options.serverPort);
        server.SetConnected(true);
        const host::SheetImportAnswer answer = host::AskSheetImport(server, request);
        if (answer.table) {
            std::cout << "Tabela " << static_cast<long long>(*answer.table) << " importada de " << request.fileName << ".\n";
        } else {
            for (const host::RefusedLine& line : answer.refused) std::cerr << host::RefusedLineText(line) << '\n';
            std::cerr << "backoffice-import: " << answer.refused.size()
                      << (answer.refused.size() == 1 ? " recusa" : " recusas") << "; nada foi gravado.\n";
            status = kRefusedOrFailed;
        }
    } catch (const std::exception& e) {
        std::cerr << "backoffice-import: " << e.what() << " Nada foi gravado.\n";
        status = kRefusedOrFailed;
    }
    fw::HostServices::SetInstance(nullptr);
    return status;
}
