// The framework's dialogs: wait animation, search, find.
#pragma once
#include <string>

#include "toolkit/tdatasource.h"
#include "toolkit/tform.h"

namespace fw {

namespace Showavi {
// Shows the wait animation of `kind` over `mainForm` (may be null).
void ActiveShowAvi(tk::TForm* mainForm, int kind);
// Hides it; does nothing when none is shown.
void DeactiveShowAvi();

// The one way screens show the animation: over the application's main form for the life
// of a scope, hidden on every way out of it.
class WaitAnimation {
public:
    explicit WaitAnimation(int kind);
    ~WaitAnimation();
    WaitAnimation(const WaitAnimation&) = delete;
    WaitAnimation& operator=(const WaitAnimation&) = delete;
};
}  // namespace Showavi

namespace Pesquisa {
// Search dialog over the data set of `source` (opened when closed). `title` is "caption|
// not-found text". True when a row was picked; the data set then stands on it.
bool Pesquisar(tk::TDataSource& source, const std::string& title, bool multiSelect, bool showAll);
}  // namespace Pesquisa

namespace Procurar {
// Find dialog over `data`.
void Procura(tk::TClientDataSet& data);
}  // namespace Procurar

}  // namespace fw
