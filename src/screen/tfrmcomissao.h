// The commission-table maintenance screen ("Comissão dos Vendedores", KTR52300).
//
// One class, built in layers, each in the folder that owns it: framework/ the base screen,
// model/ the components (rules::ComissaoForm joins the two into what the rules see),
// rules/ the handlers and checks of every list (rules::ComissaoRules), and here the
// lifecycle, the commands and the enabling step Habilita_Botoes.
#pragma once
#include "rules/comissao_rules.h"

class TfrmComissao : public rules::ComissaoRules {
public:
    explicit TfrmComissao(tk::TComponent* owner);
    ~TfrmComissao() override;

    // Lifecycle (screen/lifecycle.cpp).
    void FormCreate(tk::TObject& Sender) override;
    void FormClose(tk::TObject& Sender, tk::TCloseAction& Action) override;
    void FormActivate(tk::TObject& Sender);
    void NetComissaoBeforeConnect(tk::TObject& Sender);

    // Commands and edit state (screen/commands.cpp).
    void Habilita_Botoes() override;
    void sbtIncluirClick(tk::TObject& Sender) override;
    void sbtAlterarClick(tk::TObject& Sender) override;
    void sbtExcluirClick(tk::TObject& Sender) override;
    void sbtConfirmarClick(tk::TObject& Sender) override;
    void sbtCancelarClick(tk::TObject& Sender) override;
    void sbtProcurarClick(tk::TObject& Sender) override;
    void sbtVerificarClick(tk::TObject& Sender) override;
    void dtsPadraoStateChange(tk::TObject& Sender);
    void dtsCargoStateChange(tk::TObject& Sender);
    void dtsEventoStateChange(tk::TObject& Sender);
    void dtsPromocaoStateChange(tk::TObject& Sender);
    void dtsPercCargoStateChange(tk::TObject& Sender);
    void dtsPercEventoStateChange(tk::TObject& Sender);
    void dtsPercPromocaoStateChange(tk::TObject& Sender);
    void dbgCargoEnter(tk::TObject& Sender);
    void dbgPercCargoEnter(tk::TObject& Sender);
    void dbgEventoEnter(tk::TObject& Sender);
    void dbgPercEventoEnter(tk::TObject& Sender);
    void dbgPromocaoEnter(tk::TObject& Sender);
    void dbgPercPromocaoEnter(tk::TObject& Sender);
    void pgcPadraoChanging(tk::TObject& Sender);
    void pgcPadraoChange(tk::TObject& Sender) override;
    void pgcPadraoExit(tk::TObject& Sender);
    // The open scope page follows the current commission table.
    void cdsComissaoBeforeScroll(tk::TClientDataSet& DataSet);
    void cdsComissaoAfterScroll(tk::TClientDataSet& DataSet);
    void cdsComissaoAfterOpen(tk::TClientDataSet& DataSet);
    void dbnPadraoBeforeAction(tk::TObject& Sender, tk::TNavigateBtn Button);
    void dbnPadraoClick(tk::TObject& Sender, tk::TNavigateBtn Button) override;
    void mnuTipoEventoClick(tk::TObject& Sender);
    void mnuPromocaoClick(tk::TObject& Sender);

private:
    // During a navigator click: its move has loaded the open scope page for the table it
    // moved to.
    bool pageFollowedNavigator_ = false;
};
