// The life every list shares after a post or a delete: send the change log, reload,
// stand again on the posted row. Written once; each list passes its own names.
#pragma once
#include <functional>
#include <string>

#include "framework/server_reply.h"
#include "server/rdm_comissao.h"
#include "toolkit/tclientdataset.h"

namespace rules {

class ComissaoForm;

using SetMethod = fw::TServerReply (server::RdmComissao::*)(const wire::ChangeLog&);

// When `list` has changes: wait animation (kind 1), Delta to `set`, result check, merge
// (when it logs changes), animation hidden. On any failure: animation hidden, every
// unsent change of the list undone, failure passed on.
void SendChanges(ComissaoForm& form, tk::TClientDataSet& list, SetMethod set);

// After a post: remembers the posted row's values of `keyFields` ("A;B"), sends the
// changes, fetches the list again through `reload` (also when nothing was sent) and
// stands on the row with the remembered values (case-insensitive); when none matches,
// the list stays where loading left it.
void SendReloadLocate(ComissaoForm& form, tk::TClientDataSet& list, SetMethod set,
                      const std::function<fw::TServerReply()>& reload, const std::string& keyFields);

// After a delete: sends the changes, then recomputes the enabled controls.
void SendAfterDelete(ComissaoForm& form, tk::TClientDataSet& list, SetMethod set);

}  // namespace rules
