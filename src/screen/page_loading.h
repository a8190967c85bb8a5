// Fetching a scope page: its rules for the current commission table, then the bands of
// the rule the reloaded list stands on.
#pragma once
#include "toolkit/tpagecontrol.h"

class TfrmComissao;

namespace screen {

// Loads the rules of `page` (GetCargo, GetEvento or GetPromocao of the current table) and
// then the bands of the reloaded list's current rule, whose key reads 0 when the list is
// empty. Each reply passes the result check; a failure ends the load with the lists
// reached so far holding their new data. Returns false, loading nothing, for a page that
// is not a scope page.
bool LoadScopePage(TfrmComissao& form, const tk::TTabSheet& page);

}  // namespace screen
