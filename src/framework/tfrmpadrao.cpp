#include "framework/tfrmpadrao.h"

#include <stdexcept>

#include "framework/dialogs.h"
#include "toolkit/tclientdataset.h"

namespace fw {

TfrmPadrao::TfrmPadrao(tk::TComponent* owner, std::string name)
    : tk::TForm(owner, std::move(name)),
      panMenu(this, "panMenu", this),
      sbtIncluir(this, "sbtIncluir", &panMenu),
      sbtAlterar(this, "sbtAlterar", &panMenu),
      sbtExcluir(this, "sbtExcluir", &panMenu),
      sbtConfirmar(this, "sbtConfirmar", &panMenu),
      sbtCancelar(this, "sbtCancelar", &panMenu),
      sbtProcurar(this, "sbtProcurar", &panMenu),
      sbtVerificar(this, "sbtVerificar", &panMenu),
      sbtImprimir(this, "sbtImprimir", &panMenu),
      lblCodTela(this, "lblCodTela", &panMenu),
      pgcPadrao(this, "pgcPadrao", this),
      tshFolhaDados(this, "tshFolhaDados", pgcPadrao, "Folha de Dados"),
      tshFormulario(this, "tshFormulario", pgcPadrao, "Formulário"),
      dtsPadrao(this, "dtsPadrao"),
      dbgPadrao(this, "dbgPadrao", &tshFolhaDados),
      panNavigator(this, "panNavigator", this),
      dbnPadrao(this, "dbnPadrao", &panNavigator),
      mnuMenu(this, "mnuMenu", nullptr, ""),
      mnuOperacao(this, "mnuOperacao", &mnuMenu, "&Operação"),
      mnuFolhaDados(this, "mnuFolhaDados", &mnuOperacao, "Folha de &Dados"),
      mnuFormulario(this, "mnuFormulario", &mnuOperacao, "&Formulário"),
      mnuListagem(this, "mnuListagem", &mnuOperacao, "&Listagem"),
      mnuConfigImpressora(this, "mnuConfigImpressora", &mnuOperacao, "Configurar &Impressora"),
      mnuManutencao(this, "mnuManutencao", &mnuMenu, "&Manutenção"),
      mnuIncluir(this, "mnuIncluir", &mnuManutencao, "&Incluir"),
      mnuAlterar(this, "mnuAlterar", &mnuManutencao, "&Alterar"),
      mnuExcluir(this, "mnuExcluir", &mnuManutencao, "&Excluir"),
      mnuConfirmar(this, "mnuConfirmar", &mnuManutencao, "C&onfirmar"),
      mnuCancelar(this, "mnuCancelar", &mnuManutencao, "&Cancelar"),
      mnuProcurar(this, "mnuProcurar", &mnuManutencao, "&Procurar"),
      mnuVerificar(this, "mnuVerificar", &mnuManutencao, "A&tualizar"),
      msgPadrao(this, "msgPadrao"),
      msgGeral(this, "msgGeral",
               {"Excl|Confirma a exclusão do registro?", "Canc|Confirma o cancelamento das alterações?"}) {
    FormStyle = tk::TFormStyle::fsMDIChild;

    const std::pair<tk::TSpeedButton*, const char*> captions[] = {
        {&sbtIncluir, "Incluir"},     {&sbtAlterar, "Alterar"},   {&sbtExcluir, "Excluir"},
        {&sbtConfirmar, "Confirmar"}, {&sbtCancelar, "Cancelar"}, {&sbtProcurar, "Procurar"},
        {&sbtVerificar, "Atualizar"}, {&sbtImprimir, "Imprimir"}};
    for (auto [button, caption] : captions) button->Caption = caption;
    // Shortcut keys of the commands and the first two pages; none collides with a grid key.
    const std::pair<tk::TMenuItem*, const char*> shortCuts[] = {
        {&mnuIncluir, "Ctrl+I"},   {&mnuAlterar, "Ctrl+A"},   {&mnuExcluir, "Ctrl+E"},
        {&mnuConfirmar, "Ctrl+S"}, {&mnuCancelar, "Ctrl+Z"},  {&mnuProcurar, "Ctrl+F"},
        {&mnuVerificar, "F5"},     {&mnuListagem, "Ctrl+P"},  {&mnuFolhaDados, "Ctrl+1"},
        {&mnuFormulario, "Ctrl+2"}};
    for (auto [item, keys] : shortCuts) item->ShortCut = keys;

    dbgPadrao.SetDataSource(&dtsPadrao);
    dbnPadrao.DataSource = &dtsPadrao;

    // Every event goes through a virtual handler, so a screen's override is what runs.
    OnCreate = [this](tk::TObject& s) { FormCreate(s); };
    OnClose = [this](tk::TObject& s, tk::TCloseAction& a) { FormClose(s, a); };
    pgcPadrao.OnChange = [this](tk::TObject& s) { pgcPadraoChange(s); };
    dbgPadrao.OnKeyDown = [this](tk::TObject& s, std::uint16_t& k, tk::TShiftState sh) { dbgPadraoKeyDown(s, k, sh); };
    sbtIncluir.OnClick = [this](tk::TObject& s) { sbtIncluirClick(s); };
    sbtAlterar.OnClick = [this](tk::TObject& s) { sbtAlterarClick(s); };
    sbtExcluir.OnClick = [this](tk::TObject& s) { sbtExcluirClick(s); };
    sbtConfirmar.OnClick = [this](tk::TObject& s) { sbtConfirmarClick(s); };
    sbtCancelar.OnClick = [this](tk::TObject& s) { sbtCancelarClick(s); };
    sbtProcurar.OnClick = [this](tk::TObject& s) { sbtProcurarClick(s); };
    sbtVerificar.OnClick = [this](tk::TObject& s) { sbtVerificarClick(s); };
    dbnPadrao.OnClick = [this](tk::TObject& s, tk::TNavigateBtn b) { dbnPadraoClick(s, b); };
    mnuFolhaDados.OnClick = [this](tk::TObject& s) { mnuFolhaDadosClick(s); };
    mnuFormulario.OnClick = [this](tk::TObject& s) { mnuFormularioClick(s); };

    // A command's menu item is the same command: it clicks its button, which refuses
    // when disabled.
    for (tk::TSpeedButton* button : {&sbtIncluir, &sbtAlterar, &sbtExcluir, &sbtConfirmar, &sbtCancelar,
                                     &sbtProcurar, &sbtVerificar, &sbtImprimir})
        MenuOf(*button).OnClick = [button](tk::TObject&) { button->UserClick(); };
}

TfrmPadrao::~TfrmPadrao() = default;

tk::TMenuItem& TfrmPadrao::MenuOf(const tk::TSpeedButton& button) {
    if (&button == &sbtIncluir) return mnuIncluir;
    if (&button == &sbtAlterar) return mnuAlterar;
    if (&button == &sbtExcluir) return mnuExcluir;
    if (&button == &sbtConfirmar) return mnuConfirmar;
    if (&button == &sbtCancelar) return mnuCancelar;
    if (&button == &sbtProcurar) return mnuProcurar;
    if (&button == &sbtVerificar) return mnuVerificar;
    if (&button == &sbtImprimir) return mnuListagem;
    throw std::invalid_argument("TfrmPadrao::MenuOf: " + button.Name() + " has no menu item");
}

void TfrmPadrao::FormCreate(tk::TObject& /*sender*/) { SetInitialActiveControl(&dbgPadrao); }

bool TfrmPadrao::EditInProgress() const {
    for (const tk::TComponent* c : Components())
        if (const auto* data = dynamic_cast<const tk::TClientDataSet*>(c); data && data->Editing()) return true;
    return false;
}

void TfrmPadrao::FormClose(tk::TObject& /*sender*/, tk::TCloseAction& action) {
    // Closing would drop what is being typed: the user is asked, as for a cancel.
    if (EditInProgress() && msgGeral.ShowMsg("Canc", TMsgDlgType::mtConfirmation, mbYes | mbNo, 0) != mrYes) {
        action = tk::TCloseAction::caNone;
        return;
    }
    action = tk::TCloseAction::caFree;
}

void TfrmPadrao::pgcPadraoChange(tk::TObject& /*sender*/) {
    if (pgcPadrao.ActivePage() == &tshFolhaDados && dbgPadrao.CanFocus()) dbgPadrao.SetFocus();
}

void TfrmPadrao::dbgPadraoKeyDown(tk::TObject& /*sender*/, std::uint16_t& /*key*/, tk::TShiftState /*shift*/) {}

void TfrmPadrao::sbtIncluirClick(tk::TObject& /*sender*/) {
    if (auto* data = dtsPadrao.DataSet()) data->Insert();
}

void TfrmPadrao::sbtAlterarClick(tk::TObject& /*sender*/) {
    auto* data = dtsPadrao.DataSet();
    if (data && data->Active() && !data->IsEmpty()) data->Edit();
}

void TfrmPadrao::sbtExcluirClick(tk::TObject& /*sender*/) {
    if (msgGeral.ShowMsg("Excl", TMsgDlgType::mtConfirmation, mbYes | mbNo, 0) != mrYes) return;
    auto* data = dtsPadrao.DataSet();
    if (data && data->Active() && !data->IsEmpty()) data->Delete();
}

void TfrmPadrao::sbtConfirmarClick(tk::TObject& /*sender*/) {
    auto* data = dtsPadrao.DataSet();
    if (data && data->Editing()) data->Post();
}

void TfrmPadrao::sbtCancelarClick(tk::TObject& /*sender*/) {
    if (msgGeral.ShowMsg("Canc", TMsgDlgType::mtConfirmation, mbYes | mbNo, 0) != mrYes) return;
    auto* data = dtsPadrao.DataSet();
    if (data && data->Editing()) data->Cancel();
}

void TfrmPadrao::sbtProcurarClick(tk::TObject& /*sender*/) {
    if (auto* data = dtsPadrao.DataSet()) Procurar::Procura(*data);
}

// The base screen holds no source of its own to reload from; screens that fetch their
// lists override this.
void TfrmPadrao::sbtVerificarClick(tk::TObject& /*sender*/) {}

void TfrmPadrao::dbnPadraoClick(tk::TObject& /*sender*/, tk::TNavigateBtn /*button*/) {}

void TfrmPadrao::mnuFolhaDadosClick(tk::TObject& /*sender*/) {
    pgcPadrao.SetActivePage(&tshFolhaDados);
    mnuFolhaDados.SetChecked(pgcPadrao.ActivePage() == &tshFolhaDados);
    mnuFormulario.SetChecked(pgcPadrao.ActivePage() == &tshFormulario);
}

void TfrmPadrao::mnuFormularioClick(tk::TObject& /*sender*/) {
    pgcPadrao.SetActivePage(&tshFormulario);
    mnuFolhaDados.SetChecked(pgcPadrao.ActivePage() == &tshFolhaDados);
    mnuFormulario.SetChecked(pgcPadrao.ActivePage() == &tshFormulario);
}

}  // namespace fw
