// The base maintenance screen: its parts, its bindings and its first-page commands.
#include <gtest/gtest.h>

#include "framework/tfrmpadrao.h"
#include "framework_env.h"

namespace {

// A screen that counts the handlers reached through the base screen's bindings.
class TfrmContador : public fw::TfrmPadrao {
public:
    using TfrmPadrao::TfrmPadrao;
    std::vector<std::string> calls;
    void sbtIncluirClick(tk::TObject& sender) override {
        calls.push_back("sbtIncluirClick");
        TfrmPadrao::sbtIncluirClick(sender);
    }
    void sbtVerificarClick(tk::TObject&) override { calls.push_back("sbtVerificarClick"); }
    void pgcPadraoChange(tk::TObject& sender) override {
        calls.push_back("pgcPadraoChange");
        TfrmPadrao::pgcPadraoChange(sender);
    }
    void dbnPadraoClick(tk::TObject&, tk::TNavigateBtn) override { calls.push_back("dbnPadraoClick"); }
};

class BaseScreenTest : public ::testing::Test {
protected:
    BaseScreenTest() {
        form.dtsPadrao.SetDataSet(&cds);
        cds.SetData(wire::DataPacket{{nome.Def()}, {{std::string("Tabela A")}, {std::string("Tabela B")}}});
        form.DoCreate();
        form.FocusControl(form.ActiveControl());
    }
    fwtest::FrameworkEnv env;
    TfrmContador form{nullptr, "frmTeste"};
    tk::TClientDataSet cds{&form, "cdsTeste"};
    tk::TField nome{cds, "DSNOME", wire::FieldType::String, 30};
};

TEST_F(BaseScreenTest, HasItsPartsInPlace) {
    EXPECT_EQ(form.FormStyle, tk::TFormStyle::fsMDIChild);
    for (tk::TSpeedButton* b : {&form.sbtIncluir, &form.sbtAlterar, &form.sbtExcluir, &form.sbtConfirmar,
                                &form.sbtCancelar, &form.sbtProcurar, &form.sbtVerificar, &form.sbtImprimir})
        EXPECT_EQ(b->Parent(), &form.panMenu) << b->Name();
    EXPECT_EQ(form.sbtVerificar.Caption, "Atualizar");
    EXPECT_EQ(form.dbgPadrao.Parent(), &form.tshFolhaDados);
    EXPECT_EQ(form.dbgPadrao.DataSource(), &form.dtsPadrao);
    EXPECT_EQ(form.dbnPadrao.Parent(), &form.panNavigator);
    EXPECT_EQ(form.dbnPadrao.DataSource, &form.dtsPadrao);
    EXPECT_EQ(form.pgcPadrao.ActivePage(), &form.tshFolhaDados);
    EXPECT_EQ(form.mnuFolhaDados.Parent(), &form.mnuOperacao);
    EXPECT_EQ(form.mnuVerificar.Parent(), &form.mnuManutencao);
    EXPECT_EQ(&form.MenuOf(form.sbtExcluir), &form.mnuExcluir);
    EXPECT_EQ(form.msgGeral.Msg("Excl"), "Confirma a exclusão do registro?");
    EXPECT_EQ(form.msgGeral.Msg("Canc"), "Confirma o cancelamento das alterações?");
    EXPECT_EQ(form.FindComponent("sbtImprimir"), &form.sbtImprimir);
}

TEST_F(BaseScreenTest, CreatingFocusesTheGridAndClosingFreesTheScreen) {
    EXPECT_EQ(form.ActiveControl(), &form.dbgPadrao);
    tk::TCloseAction action = tk::TCloseAction::caHide;
    form.OnClose(form, action);
    EXPECT_EQ(action, tk::TCloseAction::caFree);
}

TEST_F(BaseScreenTest, EventsReachTheScreensOverrides) {
    EXPECT_TRUE(form.sbtIncluir.UserClick());
    EXPECT_EQ(cds.State(), tk::TDataSetState::dsInsert);
    cds.Cancel();
    EXPECT_TRUE(form.mnuVerificar.UserClick());
    form.dbnPadrao.UserClick(tk::TNavigateBtn::nbNext);
    EXPECT_EQ(form.calls, (std::vector<std::string>{"sbtIncluirClick", "sbtVerificarClick", "dbnPadraoClick"}));
}

TEST_F(BaseScreenTest, ACommandMenuItemIsRefusedWhileItsButtonIsDisabled) {
    form.sbtIncluir.SetEnabled(false);
    form.mnuIncluir.UserClick();
    EXPECT_TRUE(form.calls.empty());
    EXPECT_EQ(cds.State(), tk::TDataSetState::dsBrowse);
}

TEST_F(BaseScreenTest, PageMenuItemsTurnThePageAndMoveTheCheckMark) {
    form.mnuFormulario.UserClick();
    EXPECT_EQ(form.pgcPadrao.ActivePage(), &form.tshFormulario);
    EXPECT_TRUE(form.mnuFormulario.Checked());
    EXPECT_FALSE(form.mnuFolhaDados.Checked());
    form.mnuFolhaDados.UserClick();
    EXPECT_EQ(form.pgcPadrao.ActivePage(), &form.tshFolhaDados);
    EXPECT_TRUE(form.mnuFolhaDados.Checked());
    EXPECT_FALSE(form.mnuFormulario.Checked());
    EXPECT_EQ(form.calls, (std::vector<std::string>{"pgcPadraoChange", "pgcPadraoChange"}));
    // Back on the list page the grid has the focus again.
    EXPECT_EQ(form.ActiveControl(), &form.dbgPadrao);
}

TEST_F(BaseScreenTest, ConfirmPostsTheListBeingEdited) {
    form.sbtAlterar.UserClick();
    ASSERT_EQ(cds.State(), tk::TDataSetState::dsEdit);
    nome.SetAsString("Tabela A2");
    form.sbtConfirmar.UserClick();
    EXPECT_EQ(cds.State(), tk::TDataSetState::dsBrowse);
    EXPECT_EQ(nome.AsString(), "Tabela A2");
    form.sbtConfirmar.UserClick();  // nothing to post: no failure
    EXPECT_TRUE(env.ui.log.empty());
}

TEST_F(BaseScreenTest, CancelAsksFirstAndOnlyYesCancels) {
    form.sbtAlterar.UserClick();
    nome.SetAsString("Outro nome");
    env.ui.answers = {false, true};
    form.sbtCancelar.UserClick();
    EXPECT_EQ(cds.State(), tk::TDataSetState::dsEdit);
    form.sbtCancelar.UserClick();
    EXPECT_EQ(cds.State(), tk::TDataSetState::dsBrowse);
    EXPECT_EQ(nome.AsString(), "Tabela A");
    EXPECT_EQ(env.ui.log, (std::vector<std::string>{"confirm Canc: Confirma o cancelamento das alterações?",
                                                    "confirm Canc: Confirma o cancelamento das alterações?"}));
}

TEST_F(BaseScreenTest, DeleteAsksFirstAndOnlyYesDeletes) {
    env.ui.answers = {false, true};
    form.sbtExcluir.UserClick();
    EXPECT_EQ(cds.RecordCount(), 2);
    form.sbtExcluir.UserClick();
    EXPECT_EQ(cds.RecordCount(), 1);
    EXPECT_EQ(nome.AsString(), "Tabela B");
    EXPECT_EQ(env.ui.log.size(), 2u);
    EXPECT_EQ(env.ui.log[0], "confirm Excl: Confirma a exclusão do registro?");
}

TEST_F(BaseScreenTest, DeleteOnAnEmptyListStillAsksAndDeletesNothing) {
    cds.SetData(wire::DataPacket{{nome.Def()}, {}});
    env.ui.answers = {true};
    EXPECT_NO_THROW(form.sbtExcluir.UserClick());
    EXPECT_EQ(env.ui.log, (std::vector<std::string>{"confirm Excl: Confirma a exclusão do registro?"}));
}

TEST_F(BaseScreenTest, FindSearchesTheListOfThePage) {
    form.sbtProcurar.UserClick();
    EXPECT_EQ(env.ui.log, (std::vector<std::string>{"find cdsTeste"}));
}

}  // namespace
