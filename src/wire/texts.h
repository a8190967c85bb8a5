// The words client and server share: the screen's message table, whose check texts the
// server's refusals repeat word for word, the codes stored for positions and base dates, and
// the form of an event-type code.
#pragma once
#include <span>
#include <stdexcept>
#include <string_view>

#include "wire/utf8.h"

namespace wire {

struct MessageRow {
    const char* key;
    const char* text;
};

// The screen's message table, in order.
inline constexpr MessageRow kMessages[] = {
    {"Vendedor", "Vendedor"},
    {"Supervisor", "Supervisor"},
    {"Gerente", "Gerente"},
    {"DATAEVENTO", "Data do Evento"},
    {"DATAFECHAMENTO", "Data de Fechamento"},
    {"CdCom_Deve", "Código da comissão deve ser informado."},
    {"Nm_Deve", "Descrição da Comissão deve ser informada."},
    {"N_DtFin", "Data Final deve ser informada."},
    {"N_DtIni", "Data Inicial deve ser informada."},
    {"Cargo_NCad", "Cargo deve ser informado."},
    {"Cargo_cad", "Cargo já cadastrado."},
    {"TIPOEVENTO", "Tipo de evento"},
    {"EVEN_N_CAD", "Tipo de evento não cadastrado."},
    {"TPEVEN_NINF", "Tipo de evento deve ser informado."},
    {"DtBase_NCad", "Data Base deve ser informada."},
    {"DtIni>DtFin", "Data Inicial deve ser menor ou igual a Data Final."},
    {"VRINI_N", "Valor Inicial deve ser cadastrado."},
    {"VRFIN_N", "Valor Final deve ser cadastrado."},
    {"VRINI>VRFIN", "Valor Inicial deve ser menor ou igual ao Valor Final."},
    {"INTER_N_CONT", "Intervalo de valores está contido parcial ou totalmente em outro já cadastrado."},
    {"PERC_N", "Percentual deve ser informado."},
    {"DT_N_CONT", "Intervalo de data está contido parcial ou totalmente em outra já cadastrada."},
    {"TPEVENTO_CAD", "Tipo de Evento e cargo já cadastrados."},
    {"DTPROMO_COMI", "Data Inicial e Final da Promoção deve estar entre a data Inicial e Final da Comissão."},
    {"PROMO_CAD", "Data Base, Tipo de Evento e Cargo já cadastrados para o período informado."},
    {"DTPROM_CAD", "Intervalo de data está contido parcial em uma já cadastrada."},
    {"VALOR_<>", "Intervalo de valores informado contempla um intervalo já cadastrado."},
    {"DATA_<>", "Intervalo de datas informado contempla um intervalo já cadastrado."},
    {"PERC_ZERO", "Percentual de comissão deve ser maior que zero."},
};

// The text of `key`; in a constant expression an unknown key does not compile.
constexpr const char* message(std::string_view key) {
    for (const MessageRow& row : kMessages)
        if (key == row.key) return row.text;
    throw std::out_of_range("no message of that key");
}

// A stored code and the key of the message text the user sees for it.
struct CodeEntry {
    const char* code;
    const char* messageKey;
};

inline constexpr CodeEntry kCargoCodes[] = {{"V", "Vendedor"}, {"S", "Supervisor"}, {"G", "Gerente"}};
// A promotion's base date: the sale's event date or its closing date.
inline constexpr const char* kDataEvento = "DATAEVENTO";
inline constexpr const char* kDataFechamento = "DATAFECHAMENTO";
inline constexpr CodeEntry kDataBaseCodes[] = {{kDataEvento, "DATAEVENTO"}, {kDataFechamento, "DATAFECHAMENTO"}};

// An event-type code as the catalogue holds it: exactly three characters, not always digits
// ("001", "A01"), with no blank at either end, so that "1" and " 1" cannot become codes of
// their own beside "001".
inline bool isEventTypeCode(std::string_view code) {
    constexpr std::string_view blanks = " \t\r\n";
    return utf8::length(code) == 3 && blanks.find(code.front()) == std::string_view::npos &&
           blanks.find(code.back()) == std::string_view::npos;
}

// The entry of `code` in `table` (exact, case-sensitive); nullptr when it has none.
constexpr const CodeEntry* findCode(std::span<const CodeEntry> table, std::string_view code) {
    for (const CodeEntry& e : table)
        if (code == e.code) return &e;
    return nullptr;
}

}  // namespace wire
