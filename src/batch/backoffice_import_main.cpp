// backoffice-import: a commission table's rules and bands from a spreadsheet file, for
// scheduled jobs. Every line is checked by the server; one refused line stores nothing.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "batch/import_options.h"
#include "batch/program_start.h"
#include "host/sheet_import.h"

namespace {

constexpr int kStored = 0;
constexpr int kRefusedOrFailed = 1;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("não foi possível ler " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    auto start = batch::startProgram<batch::ImportOptions>("backoffice-import", argc, argv, batch::parseImportOptions,
                                                           batch::importUsage);
    if (start.exitNow) return *start.exitNow;
    const batch::ImportOptions& options = start.options;
    const batch::ServerAccount account(options, start.password);
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
        const host::SheetImportAnswer answer = host::AskSheetImport(*account.connect("Importacao"), request);
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
    return status;
}
