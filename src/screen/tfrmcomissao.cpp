#include "screen/tfrmcomissao.h"

#include "toolkit/event_handler.h"

TfrmComissao::TfrmComissao(tk::TComponent* owner) : rules::ComissaoRules(owner, "frmComissao") {
    // The rules bound their own lists' events; these are the screen's.
    using F = TfrmComissao;
    OnActivate = tk::Handler(this, &F::FormActivate);
    NetComissao.BeforeConnect = tk::Handler(this, &F::NetComissaoBeforeConnect);

    // Enabling follows every state change and every entry into a scope grid.
    dtsPadrao.OnStateChange = tk::Handler(this, &F::dtsPadraoStateChange);
    dtsCargo.OnStateChange = tk::Handler(this, &F::dtsCargoStateChange);
    dtsEvento.OnStateChange = tk::Handler(this, &F::dtsEventoStateChange);
    dtsPromocao.OnStateChange = tk::Handler(this, &F::dtsPromocaoStateChange);
    dtsPercCargo.OnStateChange = tk::Handler(this, &F::dtsPercCargoStateChange);
    dtsPercEvento.OnStateChange = tk::Handler(this, &F::dtsPercEventoStateChange);
    dtsPercPromocao.OnStateChange = tk::Handler(this, &F::dtsPercPromocaoStateChange);
    dbgCargo.OnEnter = tk::Handler(this, &F::dbgCargoEnter);
    dbgPercCargo.OnEnter = tk::Handler(this, &F::dbgPercCargoEnter);
    dbgEvento.OnEnter = tk::Handler(this, &F::dbgEventoEnter);
    dbgPercEvento.OnEnter = tk::Handler(this, &F::dbgPercEventoEnter);
    dbgPromocao.OnEnter = tk::Handler(this, &F::dbgPromocaoEnter);
    dbgPercPromocao.OnEnter = tk::Handler(this, &F::dbgPercPromocaoEnter);
    pgcPadrao.OnChanging = tk::Handler(this, &F::pgcPadraoChanging);
    pgcPadrao.OnExit = tk::Handler(this, &F::pgcPadraoExit);
    mnuTipoEvento.OnClick = tk::Handler(this, &F::mnuTipoEventoClick);
    mnuPromocao.OnClick = tk::Handler(this, &F::mnuPromocaoClick);
    cdsComissao.BeforeScroll = tk::Handler(this, &F::cdsComissaoBeforeScroll);
    cdsComissao.AfterScroll = tk::Handler(this, &F::cdsComissaoAfterScroll);
    cdsComissao.AfterOpen = tk::Handler(this, &F::cdsComissaoAfterOpen);
    dbnPadrao.BeforeAction = tk::Handler(this, &F::dbnPadraoBeforeAction);
}

TfrmComissao::~TfrmComissao() = default;
