#include "gui/report/report_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <memory>
#include <stdexcept>

#include "host/command_line.h"

namespace gui {
namespace {

std::string checkTable(const std::string& value) {
    long long number = 0;
    const char* last = value.data() + value.size();
    const auto [end, ec] = std::from_chars(value.data(), last, number);
    if (ec != std::errc() || end != last || number < 1)
        return "espera o número da tabela de comissão, não '" + value + "'";
    return {};
}

struct Raw {
    host::ServerAddress server;
    std::string table;
    std::string format = "pdf";
};

std::unique_ptr<CLI::App> makeApp(ReportOptions& o, Raw& raw) {
    auto app = std::make_unique<CLI::App>("O relatório de uma tabela de comissão, em PDF ou CSV.", "backoffice-report");
    app->set_help_flag("--help", "mostra as opções");
    host::addVersionFlag(*app, "mostra a versão");
    app->allow_extras();  // refused below, in Portuguese
    host::addServerOption(*app, raw.server, "o servidor de aplicação, HOST:PORTA (um nome, um endereço IPv4 ou [IPv6])",
                          [](const std::string& text, const std::string&) {
        return "espera HOST:PORTA, não '" + text + "'";
    });
    app->add_option("--table", raw.table, "o número da tabela (NRCOMISSAOOREV)")->type_name("N")->check(checkTable);
    app->add_option("--out", o.out, "o arquivo gravado")->type_name("ARQUIVO")->check([](const std::string& value) {
        return value.empty() ? std::string("precisa do nome do arquivo") : std::string();
    });
    app->add_option("--format", raw.format, "pdf (o padrão) ou csv")->type_name("FORMATO")->check([](const std::string& value) {
        return value == "pdf" || value == "csv" ? std::string() : "espera pdf ou csv, não '" + value + "'";
    });
    app->add_option("--branch", o.branch, "a filial impressa (sem ela, a da tabela)")->type_name("FILIAL");
    return app;
}

}  // namespace

ReportOptions ParseReportOptions(const std::vector<std::string>& args) {
    ReportOptions o;
    Raw raw;
    const auto app = makeApp(o, raw);
    try {
        const host::Asked asked = host::parseArguments(*app, args);
        o.help = asked == host::Asked::Help;
        o.version = asked == host::Asked::Version;
    } catch (const CLI::ArgumentMismatch& e) {
        const std::string what = e.what();
        throw std::invalid_argument(what.substr(0, what.find(':')) + " precisa de um valor");
    } catch (const CLI::ParseError& e) {
        throw std::invalid_argument(e.what());  // the checks above, already in Portuguese
    }
    if (o.help || o.version) return o;
    host::refuseRemaining(*app);
    if (app->count("--server") == 0) throw std::invalid_argument("falta --server HOST:PORTA");
    if (app->count("--table") == 0) throw std::invalid_argument("falta --table N");
    if (app->count("--out") == 0) throw std::invalid_argument("falta --out ARQUIVO");
    o.serverHost = raw.server.host;
    o.serverPort = raw.server.port;
    o.table = static_cast<double>(std::stoll(raw.table));
    o.format = raw.format == "csv" ? ReportFormat::Csv : ReportFormat::Pdf;
    return o;
}

std::string ReportUsage() {
    ReportOptions o;
    Raw raw;
    return makeApp(o, raw)->help();
}

}  // namespace gui
