// The value-band lists of the three scopes: what differs between them, and their shared life.
//
// The three band lists (position, event type, promotion) behave alike; a BandList names the
// components and server methods of one of them, and the functions below are the behaviour
// written once. The named handlers (bands.cpp) pass the BandList of their own list, which
// ComissaoRules builds once.
#pragma once
#include <string>

#include "framework/server_reply.h"
#include "rules/list_sync.h"
#include "toolkit/tclientdataset.h"
#include "toolkit/tdbgrid.h"

namespace tk {
class TControl;
class TTabSheet;
}  // namespace tk

namespace rules {

class ComissaoForm;

using OverlapMethod = fw::TServerReply (server::RdmComissao::*)(double nrComissao, double ruleNumber);

struct BandList {
    tk::TDBGrid& grid;             // the band grid on the scope's page
    tk::TClientDataSet& bands;     // the band list
    tk::TClientDataSet& ruleList;  // the owning rule list
    std::string ruleField;         // the rule-number field, the same name in rules and bands
    std::string scopeKind;         // "CARGO", "TIPOEVENTO", "PROMOCAO"
    OverlapMethod overlapCheck;    // stored bands of a rule, for the overlap check
    // Where the overlap check reads the rule number: the current rule, or (promotions) the
    // band being posted.
    tk::TClientDataSet& overlapRuleSource;
    SetMethod set;  // change-log send
};

// The band list shown in `grid` when it is one of the three band grids; nullptr otherwise.
tk::TClientDataSet* BandsOfGrid(ComissaoForm& form, const tk::TControl* grid);
// The band grid of a scope page; nullptr for any other page.
tk::TDBGrid* BandGridOfPage(ComissaoForm& form, const tk::TTabSheet* page);

// Data-set events.
void NewBand(ComissaoForm& form, const BandList& b);     // keys and scope kind of an inserted band
// Selects the initial-value column; refuses (tk::EAbort) while no stored rule is current.
void BeforeInsertBand(const BandList& b);
void AfterInsertBand(const BandList& b);                 // focus to the initial value
void BeforePostBand(ComissaoForm& form, const BandList& b);  // rounding, then every check
void AfterPostBand(ComissaoForm& form, const BandList& b);   // send, reload, stand on the band
void AfterCancelBand(const BandList& b);                 // drops the unsent changes
void AfterDeleteBand(ComissaoForm& form, const BandList& b);  // send, then the enabling step

// Field checks; each failure shows its message and aborts (tk::EAbort).
void CheckVrIni(ComissaoForm& form, const BandList& b, bool obrigatorio);   // "VRINI_N"
void CheckVrFin(ComissaoForm& form, const BandList& b, bool obrigatorio);   // "VRINI>VRFIN", "VRFIN_N"
void CheckVrPerc(ComissaoForm& form, const BandList& b, bool obrigatorio);  // "PERC_N"
// A value beyond what the band grid's entry lets through (a value below -999999999, say, as
// the entry has no lower limit, or one that rounds past a limit), in the server's words,
// so that the server never refuses and drops a band the screen took. Focus to that value.
void CheckLimits(const BandList& b);
// "PERC_ZERO" when the percentage is 0, the focus put on it first. The list tested is the
// one of the focused band grid; with no band grid focused, `posted` (when given), so that
// a band posted from elsewhere (focus on the rule grid, say) cannot store a zero.
void CheckPercZero(ComissaoForm& form, tk::TClientDataSet* posted);
// The posted band against the stored bands of its rule: "VALOR_<>" for a stored band
// strictly inside it, "INTER_N_CONT" for any other shared value. Any failure, a failed
// server call included, ends with the focus on the initial value.
void CheckOverlap(ComissaoForm& form, const BandList& b);

}  // namespace rules
