// The Portuguese texts of the server's refusals; the invariant ones match the screen's checks word for word.
#pragma once

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

}  // namespace appserver::msg
