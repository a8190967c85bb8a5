// What the three rule lists (position, event type, promotion) share: the send and reload
// after a post, the send after a delete, the cancel, the band reload on every move (and
// the pending band posted before it), the event-type code check and search, the
// required-choice checks and date text entry.
#pragma once
#include <string>
#include <string_view>

#include "framework/server_reply.h"
#include "rules/list_sync.h"
#include "toolkit/tclientdataset.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tfield.h"
#include "toolkit/tpagecontrol.h"

namespace rules {

class ComissaoForm;

using GetMethod = fw::TServerReply (server::RdmComissao::*)(double);

// The names that tell one scope's rule list from another's.
struct Scope {
    const tk::TTabSheet& page;  // the rules above, the bands of the current rule below
    tk::TClientDataSet& rules;
    tk::TField& ruleNumber;     // the rule's own number; 0 while it is not stored
    tk::TClientDataSet& bands;  // the value bands of the current rule
    const char* kind;           // scope kind of the band request ("CARGO", ...)
    SetMethod set;
    GetMethod get;              // the rules of one commission table
    const char* keyFields;      // the values a posted rule is found again by ("A;B")
};

// After a post: sends the change log, fetches the rules of the current commission table
// again and stands on the posted rule.
void SendAndReload(ComissaoForm& form, const Scope& scope);
// After a delete: sends the change log, then recomputes the enabled controls.
void SendDelete(ComissaoForm& form, const Scope& scope);
// After a cancel: every change of the list not yet sent is dropped.
void DropChanges(const Scope& scope);
// Fetches the bands of the current rule (0 for a rule not yet stored) into the band list.
void ReloadBands(ComissaoForm& form, const Scope& scope);
// Before the rule list moves (which reloads the band list) or goes into edit (whose post
// reloads it): a band being typed under the current rule is posted first through its
// checks, or cancelled when nothing was typed. A refusal has shown its message and put
// the focus on the band; its exception stops the move or the edit.
void PostPendingBands(const Scope& scope);

// The edit text of `fieldName`'s field as `grid` shows it (its column found by name).
std::string ColumnText(const tk::TDBGrid& grid, std::string_view fieldName);
// True when the grid's selected column shows `fieldName`.
bool SelectedIs(const tk::TDBGrid& grid, std::string_view fieldName);

// Key filters: a pick-list column takes Enter only; a code column digits and Backspace.
// Tab and Escape always pass: they move between cells and cancel, they enter nothing.
void KeepPickListKey(char32_t& key);
void KeepDigitKey(char32_t& key);

// Shows the text of `messageKey` as an error and aborts; the focus goes to `field` after.
[[noreturn]] void FailFocusAfter(ComissaoForm& form, tk::TField& field, const char* messageKey);

// A choice that must be made: while `rules` is editing, an empty text in `field`'s column
// fails with `messageKey` when `obrigatorio`; the focus goes to the field afterwards.
void RequireChoice(ComissaoForm& form, const tk::TDBGrid& grid, const tk::TClientDataSet& rules,
                   tk::TField& field, const char* messageKey, bool obrigatorio);

// The event-type columns of a rule grid (event-type and promotion rules).
struct EventTypeColumn {
    const tk::TDBGrid& grid;
    tk::TClientDataSet& rules;
    tk::TField& code;  // CDTIPOEVENTO
    tk::TField& name;  // NMTIPOEVENTO
};

// While the rule is editing: an empty code fails ("TPEVEN_NINF") when `obrigatorio`,
// else passes; a code is fitted to three characters, looked up in the catalogue and
// named from it, or fails ("EVEN_N_CAD") keeping the fitted code and the former name.
// The focus goes to the code after a failure.
void CheckEventTypeCode(ComissaoForm& form, const EventTypeColumn& column, bool obrigatorio);
// On the code column only: the catalogue search; a picked row puts a browsing rule into
// edit and gives the rule its code and name. Runs no check.
void SearchEventType(ComissaoForm& form, const EventTypeColumn& column);

// A date typed into `field`: a text of separators and blanks only empties the date; any
// other goes to the framework's date entry.
void DateEntry(tk::TField& field, const std::string& text);

}  // namespace rules
