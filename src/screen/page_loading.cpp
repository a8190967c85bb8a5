#include "screen/page_loading.h"

#include "framework/consiste.h"
#include "screen/tfrmcomissao.h"

namespace screen {

bool LoadScopePage(TfrmComissao& form, const tk::TTabSheet& page) {
    const rules::Scope* scope = form.ScopeOfPage(page);
    if (!scope) return false;
    PostPendingEdits(form, page);
    const double nr = form.NrComissao();
    scope->rules.SetData(fw::Consiste::CheckResultServ((form.rdmComissao.*scope->get)(nr), true, 0));
    // Then the bands of the rule the list now stands on: a list loaded with rows has fetched
    // them already in its scroll handler; an empty one runs none, and shows those of rule 0.
    if (scope->rules.IsEmpty()) rules::ReloadBands(form, *scope);
    return true;
}

bool FollowComissao(TfrmComissao& form) {
    const tk::TTabSheet* active = form.pgcPadrao.ActivePage();
    return active && LoadScopePage(form, *active);
}

void PostPendingEdits(TfrmComissao& form, const tk::TTabSheet& page) {
    const rules::Scope* scope = form.ScopeOfPage(page);
    if (!scope) return;
    // Bands first: posting a rule reloads the rule list, and with it the band list.
    for (tk::TClientDataSet* list : {&scope->bands, &scope->rules})
        if (list->Editing()) list->CheckBrowseMode();
}

}  // namespace screen
