// The Portuguese texts of the server's refusals; the invariant ones match the screen's checks word for word.
#pragma once
#include <cstddef>
#include <string>

namespace appserver::msg {

inline constexpr const char* kNomeDeve = "Descrição da Comissão deve ser informada.";
inline constexpr const char* kDtFinDeve = "Data Final deve ser informada.";
inline constexpr const char* kDtIniDeve = "Data Inicial deve ser informada.";
inline constexpr const char* kCargoNaoInformado = "Cargo deve ser informado.";
inline constexpr const char* kCargoCadastrado = "Cargo já cadastrado.";
inline constexpr const char* kTipoEventoNaoInformado = "Tipo de evento deve ser informado.";
inline constexpr const char* kDataBaseNaoInformada = "Data Base deve ser informada.";
inline constexpr const char* kDtIniMaiorDtFin = "Data Inicial deve ser menor ou igual a Data Final.";
inline constexpr const char* kVrIniNaoInformado = "Valor Inicial deve ser cadastrado.";
inline constexpr const char* kVrFinNaoInformado = "Valor Final deve ser cadastrado.";
inline constexpr const char* kVrIniMaiorVrFin = "Valor Inicial deve ser menor ou igual ao Valor Final.";
inline constexpr const char* kIntervaloContido =
    "Intervalo de valores está contido parcial ou totalmente em outro já cadastrado.";
inline constexpr const char* kPercNaoInformado = "Percentual deve ser informado.";
inline constexpr const char* kDataContida = "Intervalo de data está contido parcial ou totalmente em outra já cadastrada.";
inline constexpr const char* kTipoEventoCargoCadastrados = "Tipo de Evento e cargo já cadastrados.";
inline constexpr const char* kPromocaoForaDaComissao =
    "Data Inicial e Final da Promoção deve estar entre a data Inicial e Final da Comissão.";
inline constexpr const char* kPromocaoSobreposta = "Intervalo de data está contido parcial em uma já cadastrada.";
inline constexpr const char* kValorContempla = "Intervalo de valores informado contempla um intervalo já cadastrado.";
inline constexpr const char* kDataContempla = "Intervalo de datas informado contempla um intervalo já cadastrado.";
inline constexpr const char* kPercZero = "Percentual de comissão deve ser maior que zero.";

// Refusals that only the server gives.
inline constexpr const char* kRegistroAlterado =
    "O registro foi alterado por outro usuário desde a última leitura. Atualize os dados e tente novamente.";
inline constexpr const char* kRegistroExcluido =
    "O registro foi excluído por outro usuário desde a última leitura. Atualize os dados e tente novamente.";
inline constexpr const char* kRegistroSemNumero = "O registro alterado ou excluído não informa o seu número.";
inline constexpr const char* kComissaoNaoCadastrada = "Comissão não cadastrada.";
inline constexpr const char* kRegraNaoCadastrada = "A regra da faixa de valores não está cadastrada nesta comissão.";
inline constexpr const char* kCargoInvalido = "Cargo inválido: use V, S ou G.";
inline constexpr const char* kDataBaseInvalida = "Data Base inválida: use DATAEVENTO ou DATAFECHAMENTO.";
inline constexpr const char* kRegraMudaComissao = "Uma regra não pode passar para outra comissão.";
inline constexpr const char* kFaixaUmaRegra = "A faixa de valores deve pertencer a uma única regra.";
inline constexpr const char* kTipoComissaoInvalido = "Tipo de comissão da faixa de valores não corresponde à lista enviada.";
inline constexpr const char* kTipoEventoInvalido = "Tipo de evento inválido: use o código de três dígitos, como 001.";

// A value the band grid's entry would never let through, named by the column's label.
inline std::string foraDoLimite(const char* label, const char* lo, const char* hi) {
    return std::string(label) + " fora do limite: use de " + lo + " a " + hi + ".";
}
inline std::string casasDecimais(const char* label) {
    return std::string(label) + " deve ter no máximo duas casas decimais.";
}

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
// An internal failure: the details go to the server's log under the same reference.
inline std::string erroInterno(unsigned long long reference) {
    return "Erro interno do servidor. Informe ao suporte a referência " + std::to_string(reference) + ".";
}

}  // namespace appserver::msg
