#include "batch/import_options.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <stdexcept>

#include "host/command_line.h"
#include "host/commission_questions.h"

namespace batch {
namespace {

std::string notEmpty(const std::string& value) {
    return value.empty() ? std::string("precisa de um valor") : std::string();
}

struct Parsed {
    ImportOptions options;
    host::ServerAddress server;
    std::vector<std::string> newTable;
};

std::unique_ptr<CLI::App> makeApp(Parsed& p) {
    ImportOptions& o = p.options;
    auto app = std::make_unique<CLI::App>(
        "Importa as regras e faixas de uma tabela de comissão de uma planilha (o CSV do relatório): tudo ou nada.",
        "backoffice-import");
    app->set_help_flag("--help", "mostra as opções");
    host::addVersionFlag(*app, "mostra a versão");
    app->allow_extras();  // refused below, in Portuguese
    host::addServerOption(*app, p.server, "o servidor de aplicação, HOST:PORTA (um nome, um endereço IPv4 ou [IPv6])",
                          [](const std::string& text, const std::string&) {
        return "espera HOST:PORTA, não '" + text + "'";
    });
    auto* branch = app->add_option("--branch", o.branch, "a filial (um servidor sem usuários)")->type_name("FILIAL")->check(notEmpty);
    auto* user = app->add_option("--user", o.user, "entra como este usuário")->type_name("NOME")->check(notEmpty)->excludes(branch);
    app->add_option("--password-file", o.passwordFile, "a senha de --user é a primeira linha deste arquivo (sem ele, $KTR52300_PASSWORD)")
        ->type_name("ARQUIVO")
        ->needs(user);
    app->add_option("--tls-ca", o.tlsCa, "fala TLS e confere o servidor com esta autoridade")->type_name("ARQUIVO");
    app->add_option("--file", o.file, "a planilha (CSV com ';', como o relatório a grava)")->type_name("ARQUIVO")->check(notEmpty);
    auto* table = app->add_option("--table", o.table, "importa nesta tabela, que ainda não tem regras")
                      ->type_name("N")
                      ->check([](const std::string& v) {
                          std::size_t used = 0;
                          long long n = 0;
                          try {
                              n = std::stoll(v, &used);
                          } catch (const std::exception&) {
                              used = 0;
                          }
                          return used == v.size() && n >= 1 ? std::string() : "espera o número de uma tabela, não '" + v + "'";
                      });
    app->add_option("--new", p.newTable, "cria a tabela: a descrição, a data inicial e a data final (dd/mm/aaaa)")
        ->type_name("DESCRIÇÃO INÍCIO FIM")
        ->expected(3)
        ->excludes(table);
    return app;
}

}  // namespace

ImportOptions parseImportOptions(const std::vector<std::string>& args) {
    Parsed p;
    const auto app = makeApp(p);
    ImportOptions& o = p.options;
    try {
        const host::Asked asked = host::parseArguments(*app, args);
        o.help = asked == host::Asked::Help;
        o.version = asked == host::Asked::Version;
    } catch (const CLI::ArgumentMismatch& e) {
        const std::string what = e.what();
        const std::string option = what.substr(0, what.find(':'));
        throw std::invalid_argument(option.find("--new") != std::string::npos
                                        ? std::string("--new precisa de três valores: DESCRIÇÃO INÍCIO FIM")
                                        : option + " precisa de um valor");
    } catch (const CLI::ExcludesError& e) {
        throw std::invalid_argument(std::string(e.what()).find("--new") != std::string::npos
                                        ? "use --table ou --new, não os dois"
                                        : "use --branch ou --user, não os dois");
    } catch (const CLI::RequiresError&) {
        throw std::invalid_argument("--password-file precisa de --user");
    } catch (const CLI::ParseError& e) {
        throw std::invalid_argument(e.what());  // the checks above, already in Portuguese
    }
    if (o.help || o.version) return o;
    host::refuseRemaining(*app);
    if (app->count("--server") == 0) throw std::invalid_argument("falta --server HOST:PORTA");
    if (o.branch.empty() && o.user.empty()) throw std::invalid_argument("falta --branch FILIAL ou --user NOME");
    if (o.file.empty()) throw std::invalid_argument("falta --file ARQUIVO");
    if (o.table == 0 && p.newTable.empty()) throw std::invalid_argument("falta --table N ou --new DESCRIÇÃO INÍCIO FIM");
    if (!p.newTable.empty()) {
        try {
            const host::TableCopyRequest read = host::ReadTableCopy(0, p.newTable[1], p.newTable[2], p.newTable[0]);
            o.description = read.description;
            o.start = read.start;
            o.end = read.end;
        } catch (const host::InputError& e) {
            throw std::invalid_argument(std::string("--new: ") + e.what());
        }
    }
    o.serverHost = p.server.host;
    o.serverPort = p.server.port;
    return o;
}

std::string importUsage() {
    Parsed p;
    return makeApp(p)->help();
}

}  // namespace batch
