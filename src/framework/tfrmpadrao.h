// The base maintenance screen: toolbar, pages, main grid, navigator, menus, messages.
#pragma once
#include <cstdint>
#include <string>

#include "framework/tmessages.h"
#include "toolkit/tdatasource.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tdbnavigator.h"
#include "toolkit/tform.h"
#include "toolkit/tmenuitem.h"
#include "toolkit/tpagecontrol.h"
#include "toolkit/tspeedbutton.h"

namespace fw {

class TfrmPadrao : public tk::TForm {
public:
    TfrmPadrao(tk::TComponent* owner, std::string name);
    ~TfrmPadrao() override;

    // Toolbar: the seven commands and the print/listing button.
    tk::TPanel panMenu;
    tk::TSpeedButton sbtIncluir, sbtAlterar, sbtExcluir, sbtConfirmar, sbtCancelar, sbtProcurar,
        sbtVerificar, sbtImprimir;
    tk::TLabel lblCodTela;
    // Pages: the list page and the form page; screens add their own.
    tk::TPageControl pgcPadrao;
    tk::TTabSheet tshFolhaDados, tshFormulario;
    tk::TDataSource dtsPadrao;
    tk::TDBGrid dbgPadrao;
    tk::TPanel panNavigator;
    tk::TDBNavigator dbnPadrao;
    // Menus: pages under mnuOperacao, commands under mnuManutencao.
    tk::TMenuItem mnuMenu, mnuOperacao, mnuFolhaDados, mnuFormulario, mnuListagem,
        mnuConfigImpressora, mnuManutencao, mnuIncluir, mnuAlterar, mnuExcluir, mnuConfirmar,
        mnuCancelar, mnuProcurar, mnuVerificar;
    // msgPadrao: the screen's messages; msgGeral: the base screen's ("Excl", "Canc").
    TMessages msgPadrao, msgGeral;

    // The menu item that mirrors a toolbar command.
    tk::TMenuItem& MenuOf(const tk::TSpeedButton& button);
    // True while any data set of the screen is in edit or insert state.
    bool EditInProgress() const;

    // Handlers bound by the base screen; screens override and call these first.
    virtual void FormCreate(tk::TObject& sender);
    // Frees the screen; with an edit in progress it asks "Canc" first, and on No sets
    // caNone, keeping the screen and the edit.
    virtual void FormClose(tk::TObject& sender, tk::TCloseAction& action);
    virtual void pgcPadraoChange(tk::TObject& sender);
    virtual void dbgPadraoKeyDown(tk::TObject& sender, std::uint16_t& key, tk::TShiftState shift);
    virtual void sbtIncluirClick(tk::TObject& sender);
    virtual void sbtAlterarClick(tk::TObject& sender);
    virtual void sbtExcluirClick(tk::TObject& sender);
    virtual void sbtConfirmarClick(tk::TObject& sender);
    virtual void sbtCancelarClick(tk::TObject& sender);
    virtual void sbtProcurarClick(tk::TObject& sender);
    virtual void sbtVerificarClick(tk::TObject& sender);
    virtual void dbnPadraoClick(tk::TObject& sender, tk::TNavigateBtn button);
    virtual void mnuFolhaDadosClick(tk::TObject& sender);
    virtual void mnuFormularioClick(tk::TObject& sender);
};

}  // namespace fw
