// Fetching a scope page: its rules for the current commission table, then the bands of
// the rule the reloaded list stands on; and what a page holds that a move must not drop.
#pragma once
#include "toolkit/tpagecontrol.h"

class TfrmComissao;

namespace screen {

// Loads the rules of `page` (GetCargo, GetEvento or GetPromocao of the current table) and
// then the bands of the reloaded list's current rule, whose key reads 0 when the list is
// empty. What is being typed in the page's lists is posted first (PostPendingEdits), so a
// refused check stops the load. Each reply passes the result check; a failure ends the
// load with the lists reached so far holding their new data. Returns false, loading
// nothing, for a page that is not a scope page.
bool LoadScopePage(TfrmComissao& form, const tk::TTabSheet& page);

// The open scope page follows the current commission table: when the active page is a
// scope page it is loaded again for the table now current (none: nothing shown). True when
// it loaded a page.
bool FollowComissao(TfrmComissao& form);

// Before a move that would drop them (another page, another commission table, a reload):
// each list of the scope page `page` in edit or insert state, the band list first, is
// posted through its checks when something was typed, or cancelled when nothing was. A
// refused check has shown its message and put the focus on the row; its exception passes
// on and the move must not happen. Does nothing for the commission page, whose list
// cannot be left while it is edited.
void PostPendingEdits(TfrmComissao& form, const tk::TTabSheet& page);

}  // namespace screen
