// Creation, activation and closing of the screen.
#include "framework/consiste.h"
#include "framework/dialogs.h"
#include "framework/host_services.h"
#include "screen/module_exports.h"
#include "screen/tfrmcomissao.h"

namespace Consiste = fw::Consiste;
namespace Showavi = fw::Showavi;

void TfrmComissao::FormCreate(tk::TObject& Sender) {
    fw::TfrmPadrao::FormCreate(Sender);
    NetComissao.SetConnected(true);
}

void TfrmComissao::NetComissaoBeforeConnect(tk::TObject&) {
    NetComissao.SetHost(fw::Velmora::WebURL());
    NetComissao.SetPort(fw::Velmora::WebPort());
}

void TfrmComissao::FormActivate(tk::TObject&) {
    // A reload would drop an edit in progress: the user comes back to it as it was left.
    if (!EditInProgress()) {
        Showavi::WaitAnimation wait(6);
        cdsComissao.SetData(Consiste::CheckResultServ(rdmComissao.GetComissao(), true, 0));
    }

    for (tk::TField* f : {&cdsComissaoDTVALIDADEINI, &cdsComissaoDTVALIDADEFIN, &cdsPromocaoDTVALINICOMISPROMO,
                          &cdsPromocaoDTVALFINCOMISPROMO})
        f->EditMask = Consiste::DateMask();
    sbtImprimir.SetEnabled(false);
}

void TfrmComissao::FormClose(tk::TObject& Sender, tk::TCloseAction& Action) {
    fw::TfrmPadrao::FormClose(Sender, Action);
    if (Action == tk::TCloseAction::caNone) return;  // the user kept the screen and its edit
    boIdCriado = false;
    NetComissao.SetConnected(false);
}
