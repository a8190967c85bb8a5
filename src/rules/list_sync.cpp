#include "rules/list_sync.h"

#include <exception>
#include <sstream>
#include <vector>

#include "framework/consiste.h"
#include "framework/dialogs.h"
#include "rules/comissao_form.h"
#include "toolkit/tapplication.h"

namespace rules {

namespace {

std::vector<std::string> splitFields(const std::string& keyFields) {
    std::vector<std::string> names;
    std::stringstream in(keyFields);
    for (std::string name; std::getline(in, name, ';');) names.push_back(name);
    return names;
}

}  // namespace

void SendChanges(ComissaoForm& form, tk::TClientDataSet& list, SetMethod set) {
    if (list.ChangeCount() <= 0) return;
    try {
        fw::Showavi::WaitAnimation wait(1);
        fw::Consiste::CheckResultServ((form.rdmComissao.*set)(list.Delta()), true, 0);
        if (list.LogChanges) list.MergeChangeLog();
    } catch (...) {
        // The animation is down by now; what follows runs without it.
        const std::exception_ptr failure = std::current_exception();
        try {
            // Undoing moves the cursor, and what follows it (the band list) reloads. The
            // send's own failure is what ends the action; one here is shown after it.
            list.CancelUpdates();
        } catch (...) {
            tk::TApplication::Instance().NoteFailure(std::current_exception());
        }
        std::rethrow_exception(failure);
    }
}

void SendReloadLocate(ComissaoForm& form, tk::TClientDataSet& list, SetMethod set,
                      const std::function<fw::TServerReply()>& reload, const std::string& keyFields) {
    std::vector<wire::Value> keys;
    for (const auto& name : splitFields(keyFields)) keys.push_back(list.FieldByName(name).Value());
    SendChanges(form, list, set);
    list.SetData(fw::Consiste::CheckResultServ(reload(), true, 0));
    list.Locate(keyFields, keys, tk::loCaseInsensitive);
}

void SendAfterDelete(ComissaoForm& form, tk::TClientDataSet& list, SetMethod set) {
    try {
        SendChanges(form, list, set);
        form.Habilita_Botoes();
    } catch (...) {
        // SendChanges has undone the list already when the send failed; a failure of the
        // enabling step must bring the deleted row back just the same.
        if (list.ChangeCount() > 0) list.CancelUpdates();
        throw;
    }
}

}  // namespace rules
