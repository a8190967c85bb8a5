// Toolbar, menu, page and navigator commands, and the enabling step that follows every
// command, state change and entry into a scope grid.
#include <array>

#include "framework/consiste.h"
#include "framework/dialogs.h"
#include "screen/page_loading.h"
#include "screen/tfrmcomissao.h"

namespace Consiste = fw::Consiste;
namespace Showavi = fw::Showavi;

namespace {

// One page's lists: the upper list and, on a scope page, the band list under it.
struct PageLists {
    tk::TTabSheet* page;
    tk::TDBGrid* upperGrid;
    tk::TDataSource* upperSource;
    tk::TClientDataSet* upperSet;
    tk::TField* upperFirstField;  // the field an edit of the upper list starts on
    tk::TDBGrid* bandGrid;        // null on the commission page
    tk::TDataSource* bandSource;
    tk::TClientDataSet* bandSet;
    tk::TField* bandFirstField;
};

std::array<PageLists, 4> pageLists(TfrmComissao& f) {
    return {{
        {&f.tshFolhaDados, &f.dbgPadrao, &f.dtsPadrao, &f.cdsComissao, &f.cdsComissaoDSCOMISSAOOREV, nullptr,
         nullptr, nullptr, nullptr},
        {&f.tshFormulario, &f.dbgCargo, &f.dtsCargo, &f.cdsCargo, &f.cdsCargoIDCARGOVEND, &f.dbgPercCargo,
         &f.dtsPercCargo, &f.cdsPercCargo, &f.cdsPercCargoVRINICIAL},
        {&f.tshEvento, &f.dbgEvento, &f.dtsEvento, &f.cdsEvento, &f.cdsEventoCDTIPOEVENTO, &f.dbgPercEvento,
         &f.dtsPercEvento, &f.cdsPercEvento, &f.cdsPercEventoVRINICIAL},
        {&f.tshPromocao, &f.dbgPromocao, &f.dtsPromocao, &f.cdsPromocao, &f.cdsPromocaoDTVALINICOMISPROMO,
         &f.dbgPercPromocao, &f.dtsPercPromocao, &f.cdsPercPromocao, &f.cdsPercPromocaoVRINICIAL},
    }};
}

// The lists of the active page; the commission page's for any page not listed.
PageLists activeLists(TfrmComissao& f) {
    const auto all = pageLists(f);
    for (const PageLists& p : all)
        if (f.pgcPadrao.ActivePage() == p.page) return p;
    return all[0];
}

enum class FocusKind { none, upper, band };

struct FocusedGrid {
    FocusKind kind = FocusKind::none;
    PageLists lists{};  // for a band grid: the lists of the grid's own page
};

// The focused grid is the form's active control when that is one of the seven grids.
FocusedGrid focusedGrid(TfrmComissao& f) {
    const tk::TControl* active = f.ActiveControl();
    if (!active) return {};
    for (const PageLists& p : pageLists(f)) {
        if (active == p.upperGrid) return {FocusKind::upper, p};
        if (p.bandGrid && active == p.bandGrid) return {FocusKind::band, p};
    }
    return {};
}

// Each page menu item carries its check mark exactly when its page is the active one.
void checkActivePage(TfrmComissao& f) {
    const tk::TTabSheet* active = f.pgcPadrao.ActivePage();
    f.mnuFolhaDados.SetChecked(active == &f.tshFolhaDados);
    f.mnuFormulario.SetChecked(active == &f.tshFormulario);
    f.mnuTipoEvento.SetChecked(active == &f.tshEvento);
    f.mnuPromocao.SetChecked(active == &f.tshPromocao);
}

bool isEmpty(const tk::TClientDataSet* data) { return !data || data->IsEmpty(); }

}  // namespace

void TfrmComissao::Habilita_Botoes() {
    const FocusedGrid focus = focusedGrid(*this);
    const bool noComissao = cdsComissao.IsEmpty();

    if (focus.kind != FocusKind::none) {
        tk::TDataSource* list;
        tk::TClientDataSet* data;
        bool canInsert;
        // The lists of the other pages whose editing shuts a page: the upper lists with the
        // focus on an upper grid, the band lists with the focus on a band grid; the
        // commission list shuts the scope pages in both cases.
        tk::TDataSource *cargo, *evento, *promocao;
        if (focus.kind == FocusKind::upper) {
            const PageLists page = activeLists(*this);
            list = page.upperSource;
            data = page.upperSet;
            canInsert = !list->Editing();
            cargo = &dtsCargo;
            evento = &dtsEvento;
            promocao = &dtsPromocao;
        } else {
            list = focus.lists.bandSource;
            data = focus.lists.bandSet;
            canInsert = !list->Editing() && !isEmpty(focus.lists.upperSet);
            cargo = &dtsPercCargo;
            evento = &dtsPercEvento;
            promocao = &dtsPercPromocao;
        }
        const bool editing = list->Editing();
        const bool canChange = !editing && !isEmpty(data);

        sbtIncluir.SetEnabled(canInsert);
        sbtAlterar.SetEnabled(canChange);
        sbtExcluir.SetEnabled(canChange);
        sbtProcurar.SetEnabled(sbtExcluir.Enabled());
        sbtVerificar.SetEnabled(sbtAlterar.Enabled());
        sbtConfirmar.SetEnabled(editing);
        sbtCancelar.SetEnabled(editing);

        const bool scopes = !noComissao && !dtsPadrao.Editing();
        tshFolhaDados.SetEnabled(!cargo->Editing() && !evento->Editing() && !promocao->Editing());
        tshFormulario.SetEnabled(scopes && !evento->Editing() && !promocao->Editing());
        tshEvento.SetEnabled(scopes && !cargo->Editing() && !promocao->Editing());
        tshPromocao.SetEnabled(scopes && !cargo->Editing() && !evento->Editing());
    }

    checkActivePage(*this);

    for (tk::TSpeedButton* b :
         {&sbtIncluir, &sbtAlterar, &sbtExcluir, &sbtConfirmar, &sbtCancelar, &sbtProcurar, &sbtVerificar})
        MenuOf(*b).SetEnabled(b->Enabled());

    mnuFolhaDados.SetEnabled(tshFolhaDados.Enabled());
    mnuFormulario.SetEnabled(tshFormulario.Enabled());
    mnuTipoEvento.SetEnabled(tshEvento.Enabled());
    mnuPromocao.SetEnabled(tshPromocao.Enabled());

    const auto eventTypeButton = [](tk::TDBGrid& grid, const tk::TDataSource& source) {
        const int col = Consiste::IndiceCol(grid, "CDTIPOEVENTO");
        if (col < 0) return;
        grid.Columns()[col].ButtonStyle =
            source.Editing() ? tk::TColumnButtonStyle::cbsEllipsis : tk::TColumnButtonStyle::cbsNone;
    };
    eventTypeButton(dbgEvento, dtsEvento);
    eventTypeButton(dbgPromocao, dtsPromocao);
}

void TfrmComissao::sbtIncluirClick(tk::TObject&) {
    const FocusedGrid focus = focusedGrid(*this);
    if (focus.kind == FocusKind::upper) {
        const PageLists page = activeLists(*this);
        if (page.page == &tshFolhaDados) cdsComissaoNRCOMISSAOOREV.FocusControl();
        page.upperSet->Insert();
    } else if (focus.kind == FocusKind::band) {
        if (!isEmpty(focus.lists.upperSet)) focus.lists.bandSet->Insert();
    }
    Habilita_Botoes();
}

void TfrmComissao::sbtAlterarClick(tk::TObject&) {
    const FocusedGrid focus = focusedGrid(*this);
    if (focus.kind == FocusKind::upper) {
        const PageLists page = activeLists(*this);
        page.upperFirstField->FocusControl();
        page.upperSet->Edit();
    } else if (focus.kind == FocusKind::band) {
        focus.lists.bandFirstField->FocusControl();
        focus.lists.bandSet->Edit();
    }
    Habilita_Botoes();
}

void TfrmComissao::sbtExcluirClick(tk::TObject&) {
    if (msgGeral.ShowMsg("Excl", fw::TMsgDlgType::mtConfirmation, fw::mbYes | fw::mbNo, 0) == fw::mrYes) {
        const FocusedGrid focus = focusedGrid(*this);
        tk::TClientDataSet* data = nullptr;
        if (focus.kind == FocusKind::upper) data = activeLists(*this).upperSet;
        if (focus.kind == FocusKind::band) data = focus.lists.bandSet;
        // An empty list has no current row to delete (the toolkit would raise).
        if (!isEmpty(data)) data->Delete();
    }
    Habilita_Botoes();
}

void TfrmComissao::sbtCancelarClick(tk::TObject& Sender) {
    const PageLists page = activeLists(*this);
    if (page.page == &tshFolhaDados) {
        fw::TfrmPadrao::sbtCancelarClick(Sender);
    } else if (msgGeral.ShowMsg("Canc", fw::TMsgDlgType::mtConfirmation, fw::mbYes | fw::mbNo, 0) == fw::mrYes) {
        if (ActiveControl() == page.upperGrid && page.upperSet->Editing()) page.upperSet->Cancel();
        if (ActiveControl() == page.bandGrid && page.bandSet->Editing()) page.bandSet->Cancel();
    }
    Habilita_Botoes();
}

void TfrmComissao::sbtConfirmarClick(tk::TObject& Sender) {
    const PageLists page = activeLists(*this);
    if (page.page == &tshFolhaDados) {
        fw::TfrmPadrao::sbtConfirmarClick(Sender);
    } else {
        // A value still being typed reaches its field before anything is posted.
        Consiste::RefreshGrid(*this);
        if (page.upperSource->DataSet() && page.upperSource->Editing()) page.upperSet->Post();
        if (page.bandSource->DataSet() && page.bandSource->Editing()) page.bandSet->Post();
    }
    Habilita_Botoes();
}

void TfrmComissao::sbtProcurarClick(tk::TObject& Sender) {
    const PageLists page = activeLists(*this);
    if (page.page == &tshFolhaDados) {
        fw::TfrmPadrao::sbtProcurarClick(Sender);
        return;
    }
    fw::Procurar::Procura(ActiveControl() == page.upperGrid ? *page.upperSet : *page.bandSet);
}

void TfrmComissao::sbtVerificarClick(tk::TObject&) {
    Showavi::WaitAnimation wait(6);
    tk::TTabSheet* active = pgcPadrao.ActivePage();
    if (active == &tshFolhaDados) {
        cdsComissao.SetData(Consiste::CheckResultServ(rdmComissao.GetComissao(), true, 0));
    } else if (active) {
        screen::LoadScopePage(*this, *active);
    }
}

void TfrmComissao::dtsPadraoStateChange(tk::TObject&) {
    TravaDatasComissao();
    Habilita_Botoes();
}
void TfrmComissao::dtsCargoStateChange(tk::TObject&) { Habilita_Botoes(); }
void TfrmComissao::dtsEventoStateChange(tk::TObject&) { Habilita_Botoes(); }
void TfrmComissao::dtsPromocaoStateChange(tk::TObject&) { Habilita_Botoes(); }
void TfrmComissao::dtsPercCargoStateChange(tk::TObject&) { Habilita_Botoes(); }
void TfrmComissao::dtsPercEventoStateChange(tk::TObject&) { Habilita_Botoes(); }
void TfrmComissao::dtsPercPromocaoStateChange(tk::TObject&) { Habilita_Botoes(); }

void TfrmComissao::dbgCargoEnter(tk::TObject&) { Habilita_Botoes(); }
void TfrmComissao::dbgPercCargoEnter(tk::TObject&) { Habilita_Botoes(); }
void TfrmComissao::dbgEventoEnter(tk::TObject&) { Habilita_Botoes(); }
void TfrmComissao::dbgPercEventoEnter(tk::TObject&) { Habilita_Botoes(); }
void TfrmComissao::dbgPromocaoEnter(tk::TObject&) { Habilita_Botoes(); }
void TfrmComissao::dbgPercPromocaoEnter(tk::TObject&) { Habilita_Botoes(); }

void TfrmComissao::pgcPadraoChange(tk::TObject& Sender) {
    fw::TfrmPadrao::pgcPadraoChange(Sender);
    tk::TTabSheet* active = pgcPadrao.ActivePage();
    if (active == &tshFolhaDados) {
        Habilita_Botoes();
        return;
    }
    for (const PageLists& p : pageLists(*this)) {
        if (p.page != active) continue;
        p.upperFirstField->FocusControl();
        screen::LoadScopePage(*this, *active);
    }
}

// Leaving a page leaves its lists unseen until the page is loaded again, which replaces
// them: what is being typed there is posted first, or the page is kept.
void TfrmComissao::pgcPadraoChanging(tk::TObject&) {
    if (const tk::TTabSheet* active = pgcPadrao.ActivePage()) screen::PostPendingEdits(*this, *active);
}

void TfrmComissao::pgcPadraoExit(tk::TObject&) {
    if (cdsEvento.Editing()) cdsEvento.Post();
}

void TfrmComissao::dbnPadraoBeforeAction(tk::TObject&, tk::TNavigateBtn) { pageFollowedNavigator_ = false; }

void TfrmComissao::dbnPadraoClick(tk::TObject& Sender, tk::TNavigateBtn) {
    // A move has loaded the open scope page for the table now current (the scroll handler
    // below): the refresh would only ask the same two questions again.
    if (pageFollowedNavigator_) return;
    // The refresh reloads the commission list whole; on the commission page the cursor then
    // goes back to the table the navigator moved to, or the navigator could never leave the
    // first row.
    const bool onComissao = pgcPadrao.ActivePage() == &tshFolhaDados;
    const wire::Value chosen = cdsComissaoNRCOMISSAOOREV.Value();
    sbtVerificarClick(Sender);
    if (onComissao && !wire::isNull(chosen)) cdsComissao.Locate("NRCOMISSAOOREV", {chosen}, tk::loCaseInsensitive);
}

// The lists of the open scope page belong to the current commission table: a rule typed
// there is posted under the table it was typed among before the cursor leaves it, and
// once the cursor stands elsewhere (navigator, activation, refresh, search) the page
// shows the rules of the table now current, so that a new rule goes where it is seen.
void TfrmComissao::cdsComissaoBeforeScroll(tk::TClientDataSet&) {
    if (const tk::TTabSheet* active = pgcPadrao.ActivePage()) screen::PostPendingEdits(*this, *active);
}

void TfrmComissao::cdsComissaoAfterScroll(tk::TClientDataSet&) { pageFollowedNavigator_ = screen::FollowComissao(*this); }

// A reload that leaves no table runs no scroll; the open page then empties all the same.
void TfrmComissao::cdsComissaoAfterOpen(tk::TClientDataSet&) {
    if (cdsComissao.IsEmpty()) screen::FollowComissao(*this);
}

void TfrmComissao::mnuTipoEventoClick(tk::TObject&) {
    pgcPadrao.SetActivePage(&tshEvento);
    checkActivePage(*this);
}

void TfrmComissao::mnuPromocaoClick(tk::TObject&) {
    pgcPadrao.SetActivePage(&tshPromocao);
    checkActivePage(*this);
}
