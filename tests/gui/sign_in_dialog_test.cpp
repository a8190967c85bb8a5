// The desktop host's sign-in dialog: a refusal shown under the fields, then the account's branch.
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "framework/host_services.h"
#include "gui/dialogs/sign_in_dialog.h"
#include "support/e2e_support.h"

TEST(SignInDialog, ShowsTheRefusalThenTakesTheBranchOfTheAccount) {
    testsupport::TempDir dir;
    const std::string db = dir.file("store.db");
    ASSERT_EQ(testsupport::userCommand(db, "add rui --role editor --branch 0002", "senha-do-rui\n"), 0);
    testsupport::ServerProcess server(db, {"--sign-in-delay", "0"});
    fw::HostServices services(fw::HostSettings{"127.0.0.1", server.port(), "", ""});
    fw::HostServices::SetInstance(&services);

    gui::SignInDialog dialog(services, "rui");
    dialog.passwordEdit()->setText(QStringLiteral("senha-errada"));
    EXPECT_FALSE(dialog.trySignIn());
    EXPECT_EQ(dialog.failureLabel()->text().toStdString(), "Usuário ou senha inválidos.");
    EXPECT_TRUE(dialog.passwordEdit()->text().isEmpty());

    dialog.passwordEdit()->setText(QStringLiteral("senha-do-rui"));
    EXPECT_TRUE(dialog.trySignIn());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(services.Settings().branch, "0002");
    fw::HostServices::SetInstance(nullptr);
}
