// Wait animation, search and find dialogs, and the host's settings.
#include <gtest/gtest.h>

#include "framework/dialogs.h"
#include "framework/host_services.h"
#include "framework_env.h"

namespace {

TEST(Showavi, HidingWhatIsNotShownDoesNothing) {
    fwtest::FrameworkEnv env;
    fw::Showavi::DeactiveShowAvi();
    fw::Showavi::ActiveShowAvi(nullptr, 6);
    fw::Showavi::DeactiveShowAvi();
    fw::Showavi::DeactiveShowAvi();  // the handler's way out hides once more
    fw::Showavi::ActiveShowAvi(nullptr, 1);
    fw::Showavi::DeactiveShowAvi();
    EXPECT_EQ(env.ui.log, (std::vector<std::string>{"wait 6", "wait hidden", "wait 1", "wait hidden"}));
}

TEST(Showavi, AScopesAnimationIsHiddenOnAFailedWayOut) {
    fwtest::FrameworkEnv env;
    try {
        fw::Showavi::WaitAnimation wait(1);
        throw std::runtime_error("falhou");
    } catch (const std::runtime_error&) {
        env.ui.log.push_back("failure handled");
    }
    EXPECT_EQ(env.ui.log, (std::vector<std::string>{"wait 1", "wait hidden", "failure handled"}));
}

TEST(Pesquisa, OpensAClosedSetAndShowsTheCaption) {
    fwtest::FrameworkEnv env;
    tk::TClientDataSet cds(nullptr, "cdsTeste");
    tk::TDataSource source(nullptr, "dtsTeste", &cds);
    EXPECT_TRUE(fw::Pesquisa::Pesquisar(source, "Tipo de evento|Nenhum tipo de evento", false, true));
    EXPECT_TRUE(cds.Active());
    env.ui.searchPicks = false;
    EXPECT_FALSE(fw::Pesquisa::Pesquisar(source, "Tipo de evento|Nenhum tipo de evento", false, true));
    EXPECT_EQ(env.ui.log, (std::vector<std::string>{"search cdsTeste 'Tipo de evento' rows=0",
                                                    "search cdsTeste 'Tipo de evento' rows=0"}));
}

TEST(Pesquisa, ASourceWithoutASetFindsNothing) {
    fwtest::FrameworkEnv env;
    tk::TDataSource source(nullptr, "dtsTeste");
    EXPECT_FALSE(fw::Pesquisa::Pesquisar(source, "Título", false, true));
    EXPECT_TRUE(env.ui.log.empty());
}

TEST(Procurar, AsksTheViewToFindInTheSet) {
    fwtest::FrameworkEnv env;
    tk::TClientDataSet cds(nullptr, "cdsCargo");
    fw::Procurar::Procura(cds);
    EXPECT_EQ(env.ui.log, (std::vector<std::string>{"find cdsCargo"}));
}

TEST(Velmora, ReadsTheInstalledHostSettings) {
    fwtest::FrameworkEnv env({"servidor.local", 5123, "0042", ""});
    EXPECT_EQ(fw::Velmora::WebURL(), "servidor.local");
    EXPECT_EQ(fw::Velmora::WebPort(), 5123);
    EXPECT_EQ(fw::Velmora::FiliProc(), "0042");
}

TEST(HostServices, NoInstalledHostIsAClearError) {
    fw::HostServices::SetInstance(nullptr);
    EXPECT_THROW(fw::HostServices::Instance(), std::logic_error);
    EXPECT_THROW(fw::Velmora::WebURL(), std::logic_error);
}

}  // namespace
