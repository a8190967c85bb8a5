// The script player and its view against a small screen built from the real toolkit:
// what each command does, what it prints, and which mistakes end the script.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "host/script_error.h"
#include "host/script_player.h"
#include "host/script_ui.h"
#include "toolkit/tapplication.h"
#include "toolkit/tclientdataset.h"
#include "toolkit/tdatasource.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tdbnavigator.h"
#include "toolkit/tfield.h"
#include "toolkit/tmenuitem.h"
#include "toolkit/tpagecontrol.h"
#include "toolkit/tspeedbutton.h"

namespace host {
namespace {

using wire::FieldType;

// A screen with the controls the player knows by name, and handlers that show, fail,
// abort, ask and search.
class FakeScreen : public tk::TForm {
public:
    FakeScreen(tk::TComponent* owner, bool& created) : tk::TForm(owner, "frmFake"), created_(created) {
        dbgItem.SetDataSource(&dtsItem);
        dbgItem.AddColumn("NR");
        dbgItem.AddColumn("NOME");
        dbgItem.AddColumn("DT").Visible = false;
        dbgItem.Columns()[1].PickList = {"Vendedor", "Gerente"};
        dbgOther.SetDataSource(&dtsItem);
        dbgOther.AddColumn("NR");
        dbnPadrao.DataSource = &dtsItem;

        sbtExcluir.SetEnabled(false);
        tshEvento.SetEnabled(false);
        mnuPromocao.SetEnabled(false);
        mnuFolhaDados.SetChecked(true);
        SetInitialActiveControl(&dbgItem);

        sbtIncluir.OnClick = [this](tk::TObject&) { ++inserts; };
        sbtExcluir.OnClick = [this](tk::TObject&) { ++inserts; };
        sbtAlterar.OnClick = [](tk::TObject&) { throw std::runtime_error("Falha no servidor"); };
        sbtCancelar.OnClick = [](tk::TObject&) { tk::Abort(); };
        sbtConfirmar.OnClick = [this](tk::TObject&) {
            if (tk::TApplication::Instance().UI().Confirm("Excl", "Confirma?")) ++confirmed;
        };
        sbtProcurar.OnClick = [this](tk::TObject&) {
            found = tk::TApplication::Instance().UI().Search(cdsItem, "Itens");
        };
        sbtVerificar.OnClick = [](tk::TObject&) {
            tk::TApplication::Instance().UI().ShowMessageError("Nome inválido");
            tk::Abort();
        };
        // Digits are dropped by the key filter; 'x' aborts in OnKeyDown.
        dbgItem.OnKeyPress = [](tk::TObject&, char32_t& key) {
            if (key >= U'0' && key <= U'9') key = 0;
        };
        dbgItem.OnKeyDown = [](tk::TObject&, std::uint16_t& key, tk::TShiftState) {
            if (key == tk::virtualKeyOf(U'x')) tk::Abort();
        };
        OnClose = [this](tk::TObject&, tk::TCloseAction& action) {
            action = tk::TCloseAction::caFree;
            created_ = false;
        };

        cdsItem.SetData(wire::DataPacket{
            {{"NR", FieldType::Float, 0}, {"NOME", FieldType::String, 10}, {"DT", FieldType::DateTime, 0}},
            {{1.0, std::string("Um"), wire::DateTime::fromYmd(2025, 1, 1)},
             {2.5, wire::Null{}, wire::DateTime::fromYmd(2025, 3, 4, 10, 20, 30)},
             {3.0, std::string("Três"), wire::Null{}}}});
    }

    int inserts = 0, confirmed = 0;
    bool found = false;

    tk::TSpeedButton sbtIncluir{this, "sbtIncluir", this}, sbtAlterar{this, "sbtAlterar", this},
        sbtExcluir{this, "sbtExcluir", this}, sbtConfirmar{this, "sbtConfirmar", this},
        sbtCancelar{this, "sbtCancelar", this}, sbtProcurar{this, "sbtProcurar", this},
        sbtVerificar{this, "sbtVerificar", this};
    tk::TPageControl pgcPadrao{this, "pgcPadrao", this};
    tk::TTabSheet tshFolhaDados{this, "tshFolhaDados", pgcPadrao, "Folha"},
        tshFormulario{this, "tshFormulario", pgcPadrao, "Formulário"}, tshEvento{this, "tshEvento", pgcPadrao, "Evento"},
        tshPromocao{this, "tshPromocao", pgcPadrao, "Promoção"};
    tk::TMenuItem mnuOperacao{this, "mnuOperacao", nullptr, "Operação"},
        mnuFolhaDados{this, "mnuFolhaDados", &mnuOperacao, "Folha"},
        mnuFormulario{this, "mnuFormulario", &mnuOperacao, "Formulário"},
        mnuTipoEvento{this, "mnuTipoEvento", &mnuOperacao, "Evento"},
        mnuPromocao{this, "mnuPromocao", &mnuOperacao, "Promoção"};
    tk::TClientDataSet cdsItem{this, "cdsItem"};
    tk::TField cdsItemNR{cdsItem, "NR", FieldType::Float};
    tk::TField cdsItemNOME{cdsItem, "NOME", FieldType::String, 10};
    tk::TField cdsItemDT{cdsItem, "DT", FieldType::DateTime};
    tk::TClientDataSet cdsEmpty{this, "cdsEmpty"};
    tk::TDataSource dtsItem{this, "dtsItem", &cdsItem};
    tk::TDBGrid dbgItem{this, "dbgItem", &tshFolhaDados};
    tk::TDBGrid dbgOther{this, "dbgOther", &tshFormulario};
    tk::TDBNavigator dbnPadrao{this, "dbnPadrao", this};

private:
    bool& created_;
};

class ScriptPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { tk::TApplication::SetInstance(&app); }
    void TearDown() override { tk::TApplication::SetInstance(nullptr); }

    // Plays `script` and returns what it printed.
    std::string play(const std::string& script) {
        out.str("");
        std::istringstream in(script);
        player.play(in);
        return out.str();
    }
    // The script error a script ends with ("" when it plays through).
    std::string scriptError(const std::string& script) {
        try {
            play(script);
        } catch (const ScriptError& e) {
            return e.what();
        }
        return "";
    }
    FakeScreen& open() {
        play("open\n");
        return *screen;
    }

    std::ostringstream out;
    ScriptUserInterface ui{out};
    tk::TApplication app{ui};
    // Like the module's variable: still set after the screen closed.
    FakeScreen* screen = nullptr;
    bool created = false;
    int entries = 0;
    ScriptPlayer player{app, ui,
                        ScreenModule{[this] {
                                         ++entries;
                                         if (!created) {
                                             screen = &app.CreateForm<FakeScreen>(created);
                                             created = true;
                                         }
                                         screen->Show();
                                     },
                                     [this]() -> tk::TForm* { return screen; }, [this] { return created; }},
                        out};
};

TEST_F(ScriptPlayerTest, ShowRendersStateCursorAndEveryRow) {
    open();
    EXPECT_EQ(play("show cdsItem\n"),
              "cdsItem state=browse rows=3 current=1\n"
              "  [1] NR=1;NOME=Um;DT=2025-01-01\n"
              "  [2] NR=2.5;NOME=;DT=2025-03-04T10:20:30\n"
              "  [3] NR=3;NOME=Três;DT=\n");
    EXPECT_EQ(play("show cdsEmpty\n"), "cdsEmpty state=inactive rows=0 current=0\n");
}

TEST_F(ScriptPlayerTest, StateListsButtonsPagesMenusAndFocus) {
    open();
    EXPECT_EQ(play("state\n"),
              "sbtIncluir enabled\nsbtAlterar enabled\nsbtExcluir disabled\nsbtConfirmar enabled\n"
              "sbtCancelar enabled\nsbtProcurar enabled\nsbtVerificar enabled\n"
              "tshFolhaDados enabled active\ntshFormulario enabled\ntshEvento disabled\ntshPromocao enabled\n"
              "mnuFolhaDados enabled checked\nmnuFormulario enabled\nmnuTipoEvento enabled\n"
              "mnuPromocao disabled\n"
              "focus: dbgItem\n");
}

TEST_F(ScriptPlayerTest, DisabledControlsRefuseTheClick) {
    FakeScreen& s = open();
    EXPECT_EQ(play("click sbtExcluir\ntab tshEvento\nmenu mnuPromocao\n"),
              "refused: sbtExcluir disabled\nrefused: tshEvento disabled\nrefused: mnuPromocao disabled\n");
    EXPECT_EQ(s.inserts, 0);
    EXPECT_EQ(s.pgcPadrao.ActivePage(), &s.tshFolhaDados);
    s.dbnPadrao.SetEnabled(false);
    EXPECT_EQ(play("nav next\n"), "refused: dbnPadrao disabled\n");
    EXPECT_EQ(s.cdsItem.RecNo(), 1);
}

TEST_F(ScriptPlayerTest, EnabledControlsRunTheirHandlers) {
    FakeScreen& s = open();
    EXPECT_EQ(play("click sbtIncluir\ntab tshPromocao\nnav last\nnav prior\n"), "");
    EXPECT_EQ(s.inserts, 1);
    EXPECT_EQ(s.pgcPadrao.ActivePage(), &s.tshPromocao);
    EXPECT_EQ(s.cdsItem.RecNo(), 2);
}

TEST_F(ScriptPlayerTest, FailuresArePrintedAndTheScriptGoesOn) {
    FakeScreen& s = open();
    EXPECT_EQ(play("click sbtAlterar\nclick sbtCancelar\nclick sbtVerificar\nclick sbtIncluir\n"),
              "error: Falha no servidor\nmessage: Nome inválido\n");
    EXPECT_EQ(s.inserts, 1);
}

TEST_F(ScriptPlayerTest, QuestionsTakeTheQueuedAnswersInOrder) {
    FakeScreen& s = open();
    EXPECT_EQ(play("answer yes\nanswer no\nclick sbtConfirmar\nclick sbtConfirmar\n"),
              "question: Excl yes\nquestion: Excl no\n");
    EXPECT_EQ(s.confirmed, 1);
}

TEST_F(ScriptPlayerTest, AQuestionWithoutAnswerEndsTheScript) {
    FakeScreen& s = open();
    std::string error = scriptError("click sbtConfirmar\nclick sbtIncluir\n");
    EXPECT_NE(error.find("line 1:"), std::string::npos) << error;
    EXPECT_NE(error.find("Excl"), std::string::npos) << error;
    EXPECT_EQ(s.confirmed, 0);
    EXPECT_EQ(s.inserts, 0) << "nothing after the unanswered question runs";
}

TEST_F(ScriptPlayerTest, SearchPicksTheQueuedRowOrCancels) {
    FakeScreen& s = open();
    EXPECT_EQ(play("search 3\nclick sbtProcurar\n"), "search: Itens rows=3\n");
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.cdsItem.RecNo(), 3);
    EXPECT_EQ(play("search cancel\nclick sbtProcurar\n"), "search: Itens rows=3\n");
    EXPECT_FALSE(s.found);
    EXPECT_EQ(s.cdsItem.RecNo(), 3);
}

TEST_F(ScriptPlayerTest, SearchWithoutAQueuedPickOrPastTheRowsEndsTheScript) {
    open();
    EXPECT_NE(scriptError("click sbtProcurar\n").find("no search queued"), std::string::npos);
}

TEST_F(ScriptPlayerTest, SearchPastTheLastRowEndsTheScript) {
    open();
    EXPECT_NE(scriptError("search 4\nclick sbtProcurar\n").find("3 row(s)"), std::string::npos);
}

TEST_F(ScriptPlayerTest, UnknownCommandsPlayNothing) {
    FakeScreen& s = open();
    EXPECT_EQ(scriptError("click sbtIncluir\npress sbtIncluir\n"), "line 2: unknown command 'press'");
    EXPECT_EQ(s.inserts, 0);
}

TEST_F(ScriptPlayerTest, UnknownNamesAndWrongKindsAreScriptErrors) {
    open();
    EXPECT_NE(scriptError("click sbtNada\n").find("no component named sbtNada"), std::string::npos);
    EXPECT_NE(scriptError("click dbgItem\n").find("dbgItem is not a toolbar button"), std::string::npos);
    EXPECT_NE(scriptError("show dbgItem\n").find("not a data set"), std::string::npos);
    EXPECT_NE(scriptError("column dbgItem VALOR\n").find("no column for VALOR"), std::string::npos);
    EXPECT_NE(scriptError("column dbgItem DT\n").find("hidden"), std::string::npos);
    EXPECT_NE(scriptError("row dbgItem 4\n").find("3 row(s)"), std::string::npos);
    EXPECT_NE(scriptError("column dbgItem NOME\npick dbgItem Diretor\n").find("pick list"), std::string::npos);
}

TEST_F(ScriptPlayerTest, CommandsNeedingTheScreenFailBeforeItIsOpen) {
    EXPECT_NE(scriptError("state\n").find("not open"), std::string::npos);
    EXPECT_NE(scriptError("click sbtIncluir\n").find("no component"), std::string::npos);
    EXPECT_EQ(play("module\n"), "module: boIdCriado=false forms=0 cursor=0\n");
}

TEST_F(ScriptPlayerTest, CloseReleasesTheScreenAndOpenMakesANewOne) {
    open();
    EXPECT_EQ(play("open\nmodule\n"), "module: boIdCriado=true forms=1 cursor=0\n");
    EXPECT_EQ(play("close\nmodule\n"), "module: boIdCriado=false forms=0 cursor=0\n");
    // The module's variable still points at the destroyed screen: the player must not use it.
    EXPECT_EQ(player.screen(), nullptr);
    EXPECT_NE(scriptError("state\n").find("not open"), std::string::npos);
    EXPECT_NE(scriptError("click sbtIncluir\n").find("no component"), std::string::npos);
    play("open\n");
    EXPECT_EQ(entries, 3);
    EXPECT_EQ(player.screen(), screen);
}

TEST_F(ScriptPlayerTest, WindowCommandsReportAndChangeTheState) {
    open();
    EXPECT_EQ(play("window\nminimize\nwindow\nactivate\nwindow\n"),
              "window: frmFake normal active\nwindow: frmFake minimized active\nwindow: frmFake minimized active\n");
    EXPECT_EQ(play("open\nwindow\n"), "window: frmFake normal active\n");
}

TEST_F(ScriptPlayerTest, TypingGoesThroughTheKeyFiltersOneKeystrokeAtATime) {
    FakeScreen& s = open();
    // '1' is dropped by OnKeyPress and 'x' aborted by OnKeyDown; the rest still arrive.
    EXPECT_EQ(play("column dbgItem NOME\ntype dbgItem Z1xé\ngrid dbgItem\n"), "grid: dbgItem column=NOME editor=Zé\n");
    EXPECT_EQ(s.cdsItem.State(), tk::TDataSetState::dsEdit);
    play("key dbgItem Backspace\ntype dbgItem e\nkey dbgItem Enter\n");
    EXPECT_EQ(s.cdsItemNOME.AsString(), "Ze");
}

TEST_F(ScriptPlayerTest, PickAndRowActOnTheGrid) {
    FakeScreen& s = open();
    play("column dbgItem NOME\npick dbgItem Gerente\nrow dbgItem 3\n");
    EXPECT_EQ(s.cdsItem.RecNo(), 3);
    EXPECT_EQ(s.cdsItem.State(), tk::TDataSetState::dsBrowse);
    EXPECT_EQ(play("show cdsItem\n"),
              "cdsItem state=browse rows=3 current=3\n"
              "  [1] NR=1;NOME=Gerente;DT=2025-01-01\n"
              "  [2] NR=2.5;NOME=;DT=2025-03-04T10:20:30\n"
              "  [3] NR=3;NOME=Três;DT=\n");
}

TEST_F(ScriptPlayerTest, AGridOffTheActivePageCannotBeClicked) {
    FakeScreen& s = open();
    EXPECT_EQ(play("focus dbgOther\ntype dbgOther 7\n"), "refused: dbgOther hidden\nrefused: dbgOther hidden\n");
    EXPECT_EQ(s.ActiveControl(), &s.dbgItem);
    EXPECT_EQ(s.cdsItem.State(), tk::TDataSetState::dsBrowse);
}

TEST_F(ScriptPlayerTest, TheEditButtonOnlyWorksWhereItShows) {
    open();
    EXPECT_EQ(play("button dbgItem\n"), "refused: dbgItem no button\n");
}

TEST(ScriptUserInterfaceTest, PrintsMessagesOnOneLineAndWaitsOnlyWhenVerbose) {
    std::ostringstream quiet, verbose;
    ScriptUserInterface q(quiet), v(verbose, true);
    for (ScriptUserInterface* ui : {&q, &v}) {
        ui->ShowMessageError("Data\ninválida");
        ui->WaitShow(6);
        ui->WaitHide();
        ui->ShowException("Falha");
    }
    EXPECT_EQ(quiet.str(), "message: Data\\ninválida\nerror: Falha\n");
    EXPECT_EQ(verbose.str(), "message: Data\\ninválida\nwait: show 6\nwait: hide\nerror: Falha\n");
}

TEST(ScriptUserInterfaceTest, AnUnansweredQuestionAbortsSilentlyAndRecordsTheFailure) {
    std::ostringstream out;
    ScriptUserInterface ui(out);
    EXPECT_THROW(ui.Confirm("Canc", "Cancela?"), tk::EAbort);
    ASSERT_TRUE(ui.failure());
    EXPECT_NE(ui.failure()->find("Canc"), std::string::npos);
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace host
