// Message component: look-up by key and questions through the view.
#include <gtest/gtest.h>

#include "framework/tmessages.h"
#include "framework_env.h"

namespace {

TEST(TMessages, MsgGivesTheTextOfTheFirstRowWithTheExactKey) {
    fw::TMessages msg(nullptr, "msgTeste",
                      {"Vendedor|Vendedor", "DtIni>DtFin|Data Inicial deve ser menor ou igual a Data Final.",
                       "VALOR_<>|Intervalo de valores informado contempla um intervalo já cadastrado.",
                       "Dup|primeiro", "Dup|segundo", "Texto|com | barra"});
    EXPECT_EQ(msg.Msg("DtIni>DtFin"), "Data Inicial deve ser menor ou igual a Data Final.");
    EXPECT_EQ(msg.Msg("VALOR_<>"), "Intervalo de valores informado contempla um intervalo já cadastrado.");
    EXPECT_EQ(msg.Msg("Dup"), "primeiro");
    EXPECT_EQ(msg.Msg("Texto"), "com | barra");
}

TEST(TMessages, AMissingKeyGivesAVisibleText) {
    fw::TMessages msg(nullptr, "msgTeste", {"Vendedor|Vendedor"});
    EXPECT_EQ(msg.Msg("vendedor"), "Mensagem não cadastrada: vendedor");
    EXPECT_EQ(msg.Msg(""), "Mensagem não cadastrada: ");
}

TEST(TMessages, ShowMsgAsksAConfirmationAndGivesYesOrNo) {
    fwtest::FrameworkEnv env;
    fw::TMessages msg(nullptr, "msgGeral", {"Excl|Confirma a exclusão do registro?"});
    env.ui.answers = {true, false};
    using fw::TMsgDlgType;
    EXPECT_EQ(msg.ShowMsg("Excl", TMsgDlgType::mtConfirmation, fw::mbYes | fw::mbNo, 0), fw::mrYes);
    EXPECT_EQ(msg.ShowMsg("Excl", TMsgDlgType::mtConfirmation, fw::mbYes | fw::mbNo, 0), fw::mrNo);
    EXPECT_EQ(env.ui.log, (std::vector<std::string>{"confirm Excl: Confirma a exclusão do registro?",
                                                    "confirm Excl: Confirma a exclusão do registro?"}));
}

TEST(TMessages, ShowMsgOfAnotherTypeShowsTheText) {
    fwtest::FrameworkEnv env;
    fw::TMessages msg(nullptr, "msgTeste", {"PERC_N|Percentual deve ser informado."});
    EXPECT_EQ(msg.ShowMsg("PERC_N", fw::TMsgDlgType::mtError, fw::mbOK, 0), fw::mrOk);
    EXPECT_EQ(env.ui.log, (std::vector<std::string>{"message: Percentual deve ser informado."}));
}

}  // namespace
