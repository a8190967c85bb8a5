// The lists client and server exchange, each declared once: its fields in the order of the
// client data set that receives it, and how a store keeps each of them. The screen's data
// sets, the server's packets and change logs, and every store's schema are built from here.
#pragma once
#include <cstddef>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "wire/value.h"

namespace wire {

// How a store keeps a field; each store maps it to a column type of its own.
enum class Stored {
    Key,     // the row's number: given by the store on insert, never reused
    Parent,  // the number of the row of another list this row belongs to: it goes with that row
    Number,  // a decimal number
    Text,    // at most `size` characters
    Date,    // a date and time to the second, local time
};

struct ListField {
    const char* name;
    Stored stored;
    int size = 0;                 // Text: characters
    bool required = false;        // never null in a stored row
    const char* parent = nullptr; // Parent: the table of the list it belongs to
    std::span<const char* const> oneOf = {};  // Text: the only values a store takes, when given

    constexpr FieldType type() const {
        switch (stored) {
            case Stored::Key:
            case Stored::Parent:
            case Stored::Number: return FieldType::Float;
            case Stored::Text: return FieldType::String;
            case Stored::Date: return FieldType::DateTime;
        }
        return FieldType::Float;
    }
    FieldDef def() const { return {name, type(), size}; }
};

// A stored list: its table and its fields, the first one its key.
struct List {
    const char* table;
    std::span<const ListField> fields;

    // Position of the field `name`; in a constant expression an unknown name does not compile.
    constexpr std::size_t at(std::string_view name) const {
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (name == fields[i].name) return i;
        throw std::out_of_range("no field of that name in the list");
    }
    constexpr const ListField& key() const { return fields[0]; }
    std::vector<FieldDef> defs() const;
};

// Some fields of a list, in an order of their own: what a check method answers.
struct ListView {
    const List& list;
    std::span<const char* const> names;

    std::vector<FieldDef> defs() const;
};

// The scope a rule and its bands belong to, and the word that names it on the wire and in
// the store.
enum class Scope { Cargo, TipoEvento, Promocao };
inline constexpr Scope kScopes[] = {Scope::Cargo, Scope::TipoEvento, Scope::Promocao};
inline constexpr const char* kScopeWords[] = {"CARGO", "TIPOEVENTO", "PROMOCAO"};  // in Scope's order
constexpr const char* scopeWord(Scope s) { return kScopeWords[static_cast<std::size_t>(s)]; }
// The scope a word names; throws std::invalid_argument for any other word.
Scope scopeFromWord(std::string_view word);

namespace lists {

inline constexpr ListField kComissao[] = {
    {"NRCOMISSAOOREV", Stored::Key},
    {"DSCOMISSAOOREV", Stored::Text, 30, true},
    {"DTVALIDADEINI", Stored::Date, 0, true},
    {"DTVALIDADEFIN", Stored::Date, 0, true},
    {"CDFILIAL", Stored::Text, 4},
};
inline constexpr List comissao{"COMISSAO", kComissao};

inline constexpr ListField kCargo[] = {
    {"NRCOMISSAOCARGOOREV", Stored::Key},
    {"IDCARGOVEND", Stored::Text, 1, true},
    {"NRCOMISSAOOREV", Stored::Parent, 0, true, "COMISSAO"},
};
inline constexpr List cargo{"COMISSAOCARGO", kCargo};

inline constexpr ListField kEvento[] = {
    {"NRCOMISSAOTPEVENTOREV", Stored::Key},
    {"NRCOMISSAOOREV", Stored::Parent, 0, true, "COMISSAO"},
    {"CDTIPOEVENTO", Stored::Text, 3, true},
    {"NMTIPOEVENTO", Stored::Text, 30},
    {"IDCARGOVEND", Stored::Text, 1, true},
};
inline constexpr List evento{"COMISSAOTPEVENTO", kEvento};

inline constexpr ListField kPromocao[] = {
    {"NRCOMISSAOPROMOREV", Stored::Key},
    {"NRCOMISSAOOREV", Stored::Parent, 0, true, "COMISSAO"},
    {"DTVALINICOMISPROMO", Stored::Date, 0, true},
    {"DTVALFINCOMISPROMO", Stored::Date, 0, true},
    {"IDDTBASECOMISPROMO", Stored::Text, 30, true},
    {"CDTIPOEVENTO", Stored::Text, 3, true},
    {"NMTIPOEVENTO", Stored::Text, 30},
    {"IDCARGOVEND", Stored::Text, 1, true},
    {"DTINCLUSAOCOMISSAO", Stored::Date},  // set by the store on insert
};
inline constexpr List promocao{"COMISSAOPROMO", kPromocao};

// The value bands of every rule of the three scopes: the scope word and the number of the
// owning rule say whose they are (the other two rule numbers stay null).
inline constexpr ListField kFaixa[] = {
    {"NRFAIXACOMISSAOOREV", Stored::Key},
    {"NRCOMISSAOOREV", Stored::Parent, 0, true, "COMISSAO"},
    {"IDTIPOCOMISSAO", Stored::Text, 30, true, nullptr, kScopeWords},
    {"NRCOMISSAOCARGOOREV", Stored::Parent, 0, false, "COMISSAOCARGO"},
    {"NRCOMISSAOTPEVENTOREV", Stored::Parent, 0, false, "COMISSAOTPEVENTO"},
    {"NRCOMISSAOPROMOREV", Stored::Parent, 0, false, "COMISSAOPROMO"},
    {"VRINICIAL", Stored::Number, 0, true},
    {"VRFINAL", Stored::Number, 0, true},
    {"VRCOMISSAO", Stored::Number, 0, true},
};
inline constexpr List faixa{"FAIXACOMISSAO", kFaixa};

// The changes applied to a table and everything under it, as GetHistorico answers them. Only
// the store appends to it, in the transaction of each change; it outlives a deleted table.
inline constexpr ListField kHistorico[] = {
    {"NRHISTORICO", Stored::Key},
    {"NRCOMISSAOOREV", Stored::Number, 0, true},  // no Parent: the history stays when the table goes
    {"DTHISTORICO", Stored::Date, 0, true},       // the server's clock, UTC
    {"NMUSUARIO", Stored::Text, 40, true},
    {"IDLISTA", Stored::Text, 20, true},
    {"IDOPERACAO", Stored::Text, 10, true},
    {"DSANTES", Stored::Text, 4000, true},
    {"DSDEPOIS", Stored::Text, 4000, true},
};
inline constexpr List historico{"HISTORICO", kHistorico};

// Every stored list, each after the lists it belongs to: the order to create them in.
inline constexpr const List* kAll[] = {&comissao, &cargo, &evento, &promocao, &faixa};

// The rules of a scope; their key names a band's owning rule.
constexpr const List& rulesOf(Scope s) {
    switch (s) {
        case Scope::Cargo: return cargo;
        case Scope::TipoEvento: return evento;
        case Scope::Promocao: return promocao;
    }
    return cargo;
}

// What the check methods answer.
inline constexpr const char* kVdCargo[] = {"IDCARGOVEND"};
inline constexpr ListView vdCargo{cargo, kVdCargo};
inline constexpr const char* kVdEventoCad[] = {"NRCOMISSAOTPEVENTOREV"};
inline constexpr ListView vdEventoCad{evento, kVdEventoCad};
inline constexpr const char* kVdDtPromo[] = {"DTVALINICOMISPROMO", "DTVALFINCOMISPROMO", "NRCOMISSAOPROMOREV",
                                                  "IDDTBASECOMISPROMO", "CDTIPOEVENTO",       "IDCARGOVEND"};
inline constexpr ListView vdDtPromo{promocao, kVdDtPromo};
inline constexpr const char* kVdVrPercentual[] = {"VRINICIAL", "VRFINAL", "NRFAIXACOMISSAOOREV"};
inline constexpr ListView vdVrPercentual{faixa, kVdVrPercentual};

}  // namespace lists
}  // namespace wire
