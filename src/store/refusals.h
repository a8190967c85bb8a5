// The Portuguese texts of the store's refusals; the invariant ones are the screen's own check texts.
#pragma once
#include <cstddef>
#include <string>

#include "wire/texts.h"

namespace appserver::msg {

// The screen's check texts, word for word.
inline constexpr const char* kNomeDeve = wire::message("Nm_Deve");
inline constexpr const char* kDtFinDeve = wire::message("N_DtFin");
inline constexpr const char* kDtIniDeve = wire::message("N_DtIni");
inline constexpr const char* kCargoNaoInformado = wire::message("Cargo_NCad");
inline constexpr const char* kCargoCadastrado = wire::message("Cargo_cad");
inline constexpr const char* kTipoEventoNaoInformado = wire::message("TPEVEN_NINF");
inline constexpr const char* kDataBaseNaoInformada = wire::message("DtBase_NCad");
inline constexpr const char* kDtIniMaiorDtFin = wire::message("DtIni>DtFin");
inline constexpr const char* kVrIniNaoInformado = wire::message("VRINI_N");
inline constexpr const char* kVrFinNaoInformado = wire::message("VRFIN_N");
inline constexpr const char* kVrIniMaiorVrFin = wire::message("VRINI>VRFIN");
inline constexpr const char* kIntervaloContido = wire::message("INTER_N_CONT");
inline constexpr const char* kPercNaoInformado = wire::message("PERC_N");
inline constexpr const char* kDataContida = wire::message("DT_N_CONT");
inline constexpr const char* kTipoEventoCargoCadastrados = wire::message("TPEVENTO_CAD");
inline constexpr const char* kPromocaoForaDaComissao = wire::message("DTPROMO_COMI");
inline constexpr const char* kPromocaoSobreposta = wire::message("DTPROM_CAD");
inline constexpr const char* kValorContempla = wire::message("VALOR_<>");
inline constexpr const char* kDataContempla = wire::message("DATA_<>");
inline constexpr const char* kPercZero = wire::message("PERC_ZERO");

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
inline constexpr const char* kTipoEventoInvalido =
    "Tipo de evento inválido: use o código de três caracteres do cadastro, sem espaços no início ou no fim, como 001.";

// A band value with cents of cents, named by the column's label (beyond the grid's limits:
// wire::BandLimit::refusal).
inline std::string casasDecimais(const char* label) {
    return std::string(label) + " deve ter no máximo duas casas decimais.";
}

// The database behind the server.
inline constexpr const char* kBancoIndisponivel =
    "O banco de dados não está disponível no momento; nada foi gravado. Tente novamente em instantes.";
inline constexpr const char* kGravacaoIncerta =
    "A conexão com o banco de dados caiu ao gravar: atualize os dados para ver se a alteração foi gravada "
    "antes de repeti-la.";
inline constexpr const char* kConcorrenciaDemais =
    "Muitas alterações simultâneas nas mesmas comissões; nada foi gravado. Tente novamente.";

// A change to a table of another branch than the author's.
// Why a promotion window was not copied to a new table, after the rule's own words.
inline std::string promocaoNaoCopiada(const std::string& rule, const std::string& from, const std::string& to) {
    return rule + ": não copiada; iria de " + from + " a " + to + ", fora da vigência da nova tabela.";
}
// What the history of a copy's rows says before them.
inline std::string copiaDaTabela(long long source) { return "Cópia da tabela " + std::to_string(source); }
// What the history of an import's rows says before them.
inline std::string importacaoDaPlanilha(const std::string& file) {
    return file.empty() ? std::string("Importação de planilha") : "Importação da planilha " + file;
}
inline constexpr const char* kImportacaoTabelaComRegras =
    "A tabela já tem regras: importe numa tabela nova ou numa tabela ainda sem regras.";
inline std::string filialAlheia(const std::string& theirs, const std::string& yours) {
    return "A comissão é da filial " + (theirs.empty() ? std::string("(nenhuma)") : theirs) +
           "; seu usuário só pode alterar as da filial " + yours + ".";
}
}  // namespace appserver::msg
