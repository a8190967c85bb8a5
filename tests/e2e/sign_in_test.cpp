// The headless host signed in as a user: the branch and the right to change come from the
// account, and the history names who changed what.
#include <gtest/gtest.h>

#include <fstream>

#include "support/e2e_support.h"

namespace {

using testsupport::runScript;

class SignedInHost : public ::testing::Test {
protected:
    SignedInHost() {
        EXPECT_EQ(testsupport::userCommand(db, "add ana --role editor --branch 0001", "senha-da-ana\n"), 0);
        EXPECT_EQ(testsupport::userCommand(db, "add vera --role viewer --branch 0001", "senha-da-vera\n"), 0);
    }
    // The options that sign in as `user`, with `password` in a file.
    std::vector<std::string> as(const std::string& user, const std::string& password) {
        std::ofstream(dir.file(user)) << password << "\n";
        return {"--user", user, "--password-file", dir.file(user)};
    }
    testsupport::TempDir dir;
    std::string db = dir.file("store.db");
    testsupport::LocalCatalogue catalogue;
    testsupport::ServerProcess server{db, {"--demo"}};  // users count from each new connection on
};

constexpr const char* kRename = "open\nclick sbtAlterar\ntype dbgPadrao Renomeada\nclick sbtConfirmar\n";

}  // namespace

TEST_F(SignedInHost, AnEditorChangesAndTheHistoryNamesHerAViewerOnlyReads) {
    const auto viewer = runScript(server.port(), catalogue.path(), kRename, as("vera", "senha-da-vera"), "");
    EXPECT_NE(viewer.out.find("error: Seu usuário só pode consultar: alterações não são permitidas."),
              std::string::npos) << viewer.out;

    const auto editor =
        runScript(server.port(), catalogue.path(), std::string(kRename) + "history\n", as("ana", "senha-da-ana"), "");
    EXPECT_EQ(editor.exitCode, 0) << editor.err;
    const std::string last = editor.out.substr(editor.out.rfind("change: "));
    EXPECT_NE(last.find(" user=ana list=COMISSAO operation=ALTERACAO before="), std::string::npos) << last;
    EXPECT_NE(last.find(R"(after=NRCOMISSAOOREV=1; DSCOMISSAOOREV="Renomeada)"), std::string::npos) << last;

    const auto wrong = runScript(server.port(), catalogue.path(), "open\n", as("ana", "outra-senha"), "");
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.err, "backoffice-script: Usuário ou senha inválidos.\n");
}
