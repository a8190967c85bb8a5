// The framework's check and conversion routines shared by every screen.
#pragma once
#include <string>
#include <string_view>

#include "framework/server_reply.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tfield.h"
#include "toolkit/tform.h"
#include "wire/packet.h"

namespace fw::Consiste {

// Shows `text` as an error; with `stop` true then aborts the running action silently.
void MensErro(const std::string& text, bool stop);
// The data of a reply (an empty packet when it carries none). A failed call never comes
// back as a reply: it raised EServerError, which ends the action and is shown once where
// the action ends. `raise` and `kind` are the screens' calling convention, (true, 0).
wire::DataPacket CheckResultServ(const TServerReply& reply, bool raise, int kind);
// True for an empty text or one of blanks only.
bool EmptyString(std::string_view text);
// Index in grid.Columns() of the column bound to `fieldName`; -1 when there is none.
int IndiceCol(const tk::TDBGrid& grid, std::string_view fieldName);
// The edit mask of date fields: "!99/99/9999;1; " (blanks where nothing was typed).
std::string DateMask();
// Stores a typed "dd/mm/yyyy" into a date field. A text that is not a real date
// (31/02/2025) is refused with a clear message and an abort; the field keeps its value.
void DateSetText(tk::TField& field, const std::string& text);
// The text of the grid's cell for `fieldName` in the current row: with `typing` false the
// cell's current text; with true the text a character being typed now joins (empty when
// the keystroke replaces the whole cell).
std::string GridText(const tk::TDBGrid& grid, std::string_view fieldName, bool typing);
// Writes what is being typed in the focused grid of `form` into its field.
void RefreshGrid(tk::TForm& form);
// `value` rounded to `places` decimals, half away from zero on the decimal value
// (2,675 gives 2,68).
double RoundDec(double value, int places);
// A code fitted to `width` characters: zeros on the left ("7" gives "007"); a longer
// text keeps its last `width` characters; blanks around it are dropped; an empty text
// stays empty.
std::string Ajusta(std::string_view text, int width);

}  // namespace fw::Consiste
