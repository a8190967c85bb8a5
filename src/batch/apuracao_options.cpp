#include "batch/apuracao_options.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <stdexcept>

#include "host/command_line.h"

namespace batch {
namespace {

std::string notEmpty(const std::string& value) {
    return value.empty() ? std::string("precisa de um valor") : std::string();
}

std::unique_ptr<CLI::App> makeApp(ApuracaoOptions& o, host::ServerAddress& server) {
    auto app = std::make_unique<CLI::App>(
        "A apuração das comissões de um arquivo de vendas: cada venda, o total de cada vendedor e as linhas recusadas.",
        "backoffice-apuracao");
    app->set_help_flag("--help", "mostra as opções");
    host::addVersionFlag(*app, "mostra a versão");
    app->allow_extras();  // refused below, in Portuguese
    host::addServerOption(*app, server, "o servidor de aplicação, HOST:PORTA (um nome, um endereço IPv4 ou [IPv6])",
                          [](const std::string& text, const std::string&) {
        return "espera HOST:PORTA, não '" + text + "'";
    });
    auto* branch = app->add_option("--branch", o.branch, "a filial (um servidor sem usuários)")->type_name("FILIAL")->check(notEmpty);
    auto* user = app->add_option("--user", o.user, "entra como este usuário")->type_name("NOME")->check(notEmpty)->excludes(branch);
    app->add_option("--password-file", o.passwordFile, "a senha de --user é a primeira linha deste arquivo (sem ele, $KTR52300_PASSWORD)")
        ->type_name("ARQUIVO")
        ->needs(user);
    app->add_option("--tls-ca", o.tlsCa, "fala TLS e confere o servidor com esta autoridade")->type_name("ARQUIVO");
    app->add_option("--sales", o.sales, "o arquivo de vendas (CSV com ';')")->type_name("ARQUIVO")->check(notEmpty);
    app->add_option("--out", o.out, "grava PREFIXO-vendas.csv, PREFIXO-vendedores.csv e PREFIXO-recusadas.csv")
        ->type_name("PREFIXO")
        ->check(notEmpty);
    app->add_option("--threads", o.threads, "linhas pagas em N linhas de execução (sem ela, uma por núcleo)")
        ->type_name("N")
        ->check([](const std::string& v) {
            std::size_t used = 0;
            int n = 0;
            try {
                n = std::stoi(v, &used);
            } catch (const std::exception&) {
                used = 0;
            }
            return used == v.size() && n >= 1 && n <= 64 ? std::string() : "espera de 1 a 64, não '" + v + "'";
        });
    app->add_option_function<std::string>(
           "--compare-table", [&o](const std::string& v) { o.compareTable = std::stoll(v); },
           "paga cada venda também pela tabela N, nas datas movidas como numa cópia da sua tabela para ela, e grava "
           "PREFIXO-lacunas.csv")
        ->type_name("N")
        ->check([](const std::string& v) {
            const bool whole = !v.empty() && v.size() <= 15 && v.find_first_not_of("0123456789") == std::string::npos &&
                               v.find_first_not_of('0') != std::string::npos;
            return whole ? std::string() : "espera o número de uma tabela, não '" + v + "'";
        });
    return app;
}

}  // namespace

ApuracaoOptions parseApuracaoOptions(const std::vector<std::string>& args) {
    ApuracaoOptions o;
    host::ServerAddress server;
    const auto app = makeApp(o, server);
    try {
        const host::Asked asked = host::parseArguments(*app, args);
        o.help = asked == host::Asked::Help;
        o.version = asked == host::Asked::Version;
    } catch (const CLI::ArgumentMismatch& e) {
        const std::string what = e.what();
        throw std::invalid_argument(what.substr(0, what.find(':')) + " precisa de um valor");
    } catch (const CLI::ExcludesError&) {
        throw std::invalid_argument("use --branch ou --user, não os dois");
    } catch (const CLI::RequiresError&) {
        throw std::invalid_argument("--password-file precisa de --user");
    } catch (const CLI::ParseError& e) {
        throw std::invalid_argument(e.what());  // the checks above, already in Portuguese
    }
    if (o.help || o.version) return o;
    host::refuseRemaining(*app);
    if (app->count("--server") == 0) throw std::invalid_argument("falta --server HOST:PORTA");
    if (o.branch.empty() && o.user.empty()) throw std::invalid_argument("falta --branch FILIAL ou --user NOME");
    if (o.sales.empty()) throw std::invalid_argument("falta --sales ARQUIVO");
    if (o.out.empty()) throw std::invalid_argument("falta --out PREFIXO");
    o.serverHost = server.host;
    o.serverPort = server.port;
    return o;
}

std::string apuracaoUsage() {
    ApuracaoOptions o;
    host::ServerAddress server;
    return makeApp(o, server)->help();
}

}  // namespace batch
