#include "framework/dialogs.h"

#include "framework/host_services.h"
#include "toolkit/tapplication.h"

namespace fw {

namespace Showavi {

void ActiveShowAvi(tk::TForm* /*mainForm*/, int kind) {
    auto& host = HostServices::Instance();
    tk::TApplication::Instance().UI().WaitShow(kind);
    host.SetWaitShown(true);
}

void DeactiveShowAvi() {
    auto& host = HostServices::Instance();
    if (!host.WaitShown()) return;
    host.SetWaitShown(false);
    tk::TApplication::Instance().UI().WaitHide();
}

WaitAnimation::WaitAnimation(int kind) { ActiveShowAvi(tk::TApplication::Instance().MainForm, kind); }

WaitAnimation::~WaitAnimation() { DeactiveShowAvi(); }

}  // namespace Showavi

namespace Pesquisa {

bool Pesquisar(tk::TDataSource& source, const std::string& title, bool /*multiSelect*/, bool /*showAll*/) {
    tk::TClientDataSet* data = source.DataSet();
    if (!data) return false;
    if (!data->Active()) data->Open();
    // The title is "caption|not-found text"; the dialog shows the caption.
    const std::string caption = title.substr(0, title.find('|'));
    return tk::TApplication::Instance().UI().Search(*data, caption);
}

}  // namespace Pesquisa

namespace Procurar {
void Procura(tk::TClientDataSet& data) { tk::TApplication::Instance().UI().Find(data); }
}  // namespace Procurar

}  // namespace fw
