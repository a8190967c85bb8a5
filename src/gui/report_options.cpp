#include "gui/report_options.h"

#include <charconv>
#include <stdexcept>

namespace gui {
namespace {

int parsePort(const std::string& text) {
    int port = 0;
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(text.data(), last, port);
    if (ec != std::errc() || end != last || port < 1 || port > 65535) return 0;
    return port;
}

}  // namespace

ReportOptions ParseReportOptions(const std::vector<std::string>& args) {
    ReportOptions o;
    bool haveServer = false, haveTable = false, haveOut = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) throw std::invalid_argument("argumento inesperado '" + arg + "'");
        std::string name = arg, value;
        if (auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        } else {
            if (i + 1 >= args.size()) throw std::invalid_argument(arg + " precisa de um valor");
            value = args[++i];
        }
        if (name == "--server") {
            const auto colon = value.rfind(':');
            const int port = colon == std::string::npos ? 0 : parsePort(value.substr(colon + 1));
            if (colon == 0 || port == 0) throw std::invalid_argument("--server espera HOST:PORTA, não '" + value + "'");
            o.serverHost = value.substr(0, colon);
            o.serverPort = port;
            haveServer = true;
        } else if (name == "--table") {
            long long number = 0;
            const char* last = value.data() + value.size();
            auto [end, ec] = std::from_chars(value.data(), last, number);
            if (ec != std::errc() || end != last || number < 1)
                throw std::invalid_argument("--table espera o número da tabela de comissão, não '" + value + "'");
            o.table = static_cast<double>(number);
            haveTable = true;
        } else if (name == "--out") {
            if (value.empty()) throw std::invalid_argument("--out precisa do nome do arquivo");
            o.out = value;
            haveOut = true;
        } else if (name == "--format") {
            if (value == "pdf")
                o.format = ReportFormat::Pdf;
            else if (value == "csv")
                o.format = ReportFormat::Csv;
            else
                throw std::invalid_argument("--format espera pdf ou csv, não '" + value + "'");
        } else if (name == "--branch") {
            o.branch = value;
        } else {
            throw std::invalid_argument("opção desconhecida " + name);
        }
    }
    if (!haveServer) throw std::invalid_argument("falta --server HOST:PORTA");
    if (!haveTable) throw std::invalid_argument("falta --table N");
    if (!haveOut) throw std::invalid_argument("falta --out ARQUIVO");
    return o;
}

const char* ReportUsage() {
    return "uso: backoffice-report --server HOST:PORTA --table N --out ARQUIVO [--format pdf|csv] [--branch FILIAL]";
}

}  // namespace gui
