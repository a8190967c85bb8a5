// The Portuguese texts of the server's own replies: its limits, internal failures and sign-in.
#pragma once
#include <cstddef>
#include <string>

#include "store/refusals.h"

namespace appserver::msg {

// Limits of the server itself.
inline std::string alteracoesDemais(std::size_t sent, std::size_t limit) {
    return "O envio tem " + std::to_string(sent) + " alterações; o limite é " + std::to_string(limit) + " por envio.";
}
inline std::string respostaGrandeDemais(std::size_t limit) {
    return "A resposta passaria do limite de " + std::to_string(limit) +
           " bytes de uma mensagem; peça menos dados de uma vez.";
}
inline std::string conexoesDemais(std::size_t limit) {
    return "Servidor ocupado: o limite de " + std::to_string(limit) +
           " conexões foi atingido. Tente novamente em instantes.";
}
inline std::string conexoesDemaisDoEndereco(std::size_t limit) {
    return "Servidor ocupado: o limite de " + std::to_string(limit) +
           " conexões de um mesmo endereço foi atingido. Feche outras telas ou tente novamente em instantes.";
}
inline constexpr const char* kSemMemoriaParaRequisicoes =
    "Servidor ocupado: não há memória para mais requisições incompletas. Tente novamente em instantes.";
inline constexpr const char* kEncerrando =
    "O servidor de aplicação está sendo encerrado e não atende mais requisições. Tente novamente em instantes.";
inline constexpr const char* kSemArquivos =
    "Servidor ocupado: não há recursos para abrir o banco de dados agora. Tente novamente em instantes.";
// An internal failure: the details go to the server's log under the same reference.
inline std::string erroInterno(unsigned long long reference) {
    return "Erro interno do servidor. Informe ao suporte a referência " + std::to_string(reference) + ".";
}

// Signing in and what a signed-in user may do.
inline constexpr const char* kEntreAntes = "Entre com seu usuário e senha antes de usar o servidor de aplicação.";
inline constexpr const char* kUsuarioOuSenha = "Usuário ou senha inválidos.";
inline constexpr const char* kSomenteConsulta = "Seu usuário só pode consultar: alterações não são permitidas.";
inline constexpr const char* kSomenteTls =
    "Este servidor de aplicação só aceita conexões seguras (TLS): configure o certificado da autoridade no cliente.";
inline constexpr const char* kSomenteLocal =
    "Este servidor de aplicação não tem usuários cadastrados e só atende conexões desta máquina.";
inline std::string bloqueado(long long minutes) {
    return "Tentativas de entrada demais sem sucesso deste endereço. Tente novamente em " + std::to_string(minutes) +
           (minutes == 1 ? " minuto." : " minutos.");
}
}  // namespace appserver::msg
