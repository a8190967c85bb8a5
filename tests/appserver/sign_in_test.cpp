// Who may change what: users kept as Argon2id hashes, sign-in before any call, a fixed delay and
// a lockout for wrong passwords, viewers that only read, changes held to the user's branch.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "appserver/log.h"
#include "appserver/messages.h"
#include "appserver/sign_in.h"
#include "server_harness.h"
#include "support/e2e_support.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;
namespace msg = appserver::msg;

namespace {

using testsupport::userCommand;

std::string errorText(const json& reply) {
    return reply.contains("error") ? reply["error"]["message"].get<std::string>() : "";
}

class SignIn : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db_ = std::make_unique<TempDb>();
        ASSERT_EQ(userCommand(db_->path(), "add ana --role editor --branch 0001", "senha-da-ana\n"), 0);
        ASSERT_EQ(userCommand(db_->path(), "add vera --role viewer --branch 0001", "senha-da-vera\n"), 0);
        ASSERT_EQ(userCommand(db_->path(), "add rui --role editor --branch 0002", "senha-do-rui\n"), 0);
    }
    static void TearDownTestSuite() { db_.reset(); }
    static std::unique_ptr<TempDb> db_;
    ServerProcess server{db_->path(), {"--demo", "--demo-year", "2026", "--sign-in-delay", "300", "--sign-in-failures", "3", "--lockout", "60"}};
};
std::unique_ptr<TempDb> SignIn::db_;

}  // namespace

TEST_F(SignIn, UsersAreManagedFromTheCommandLineAndStoredAsHashes) {
    EXPECT_EQ(userCommand(db_->path(), "add ana --role editor --branch 0001", "outra-senha\n"), 1);  // taken
    EXPECT_EQ(userCommand(db_->path(), "add curta --role editor --branch 0001", "curta\n"), 1);
    EXPECT_EQ(userCommand(db_->path(), "passwd ninguem", "qualquer-senha\n"), 1);
    // On SQLite the whole file, journal included; on PostgreSQL the users' table.
    std::ifstream file(db_->path(), std::ios::binary);
    const std::string bytes = testsupport::onPostgres()
                                  ? testsupport::queryText(db_->path(), "SELECT * FROM USUARIO")
                                  : std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.find("senha-da-ana"), std::string::npos);
    EXPECT_NE(bytes.find("$argon2id$"), std::string::npos);
}

TEST_F(SignIn, EachUserMayDoWhatTheirRoleAndBranchAllow) {
    Client c(server.port());
    EXPECT_EQ(errorText(c.call("GetComissao", json::array())), msg::kEntreAntes);
    const json newTable = insertLog(ListKind::Comissao, {{wire::Null{}, str("Nova"), day(2030, 1, 1), day(2030, 12, 31), str("0001")}});
    EXPECT_EQ(c.set("SetComissao", newTable), msg::kEntreAntes);

    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(errorText(c.call("Login", {"ana", "senha-errada"})), msg::kUsuarioOuSenha);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(300));
    EXPECT_EQ(errorText(c.call("Login", {"ninguem", "senha-da-ana"})), msg::kUsuarioOuSenha);
    EXPECT_EQ(errorText(c.call("GetComissao", json::array())), msg::kEntreAntes);

    EXPECT_EQ(c.result("Login", {"vera", "senha-da-vera"}), json({{"branch", "0001"}, {"role", "viewer"}}));
    const auto tables = c.packet("GetComissao", json::array());
    // The read just kept is never given to a connection that has not signed in.
    EXPECT_EQ(errorText(Client(server.port()).call("GetComissao", json::array())), msg::kEntreAntes);
    EXPECT_EQ(c.set("SetComissao", newTable), msg::kSomenteConsulta);

    c.result("Login", {"rui", "senha-do-rui"});
    const wire::Row first = tables.rows.at(0);
    wire::Row renamed = first;
    renamed[1] = str("Renomeada");
    EXPECT_EQ(c.set("SetComissao", updateLog(ListKind::Comissao, first, renamed)), msg::filialAlheia("0001", "0002"));
    EXPECT_EQ(c.set("SetComissao", newTable), msg::filialAlheia("0001", "0002"));
    EXPECT_EQ(c.set("SetCargo", insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), first[0]}})),
              msg::filialAlheia("0001", "0002"));
    EXPECT_EQ(render(c.packet("GetComissao", json::array())), render(tables));  // nothing stored

    c.result("Login", {"ana", "senha-da-ana"});
    EXPECT_EQ(c.set("SetComissao", updateLog(ListKind::Comissao, first, renamed)), "");
    const auto history = c.packet("GetHistorico", {std::get<double>(first[0])});
    const auto& last = history.rows.back();
    EXPECT_EQ(last[3], str("ana"));
    EXPECT_EQ(last[5], str("ALTERACAO"));
}

// What the screen posts when an editor renames a table and types their own branch in it: the
// stored row's branch decides, not the one the change brings.
TEST_F(SignIn, AnotherBranchsTableCannotBeMovedToOnesOwn) {
    Client c(server.port());
    c.result("Login", {"rui", "senha-do-rui"});
    const auto tables = c.packet("GetComissao", json::array());
    const wire::Row first = tables.rows.at(0);
    ASSERT_EQ(first[4], str("0001"));
    wire::Row moved = first;
    moved[1] = str("Agora é minha");
    moved[4] = str("0002");
    EXPECT_EQ(c.set("SetComissao", updateLog(ListKind::Comissao, first, moved)), msg::filialAlheia("0001", "0002"));
    EXPECT_EQ(render(c.packet("GetComissao", json::array())), render(tables));
}

TEST_F(SignIn, AnAddressThatKeepsFailingIsShutOutAlone) {
    Client failing(server.port(), "127.0.0.2");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(errorText(failing.call("Login", {"ana", "senha-errada"})), msg::kUsuarioOuSenha);
    EXPECT_EQ(errorText(failing.call("Login", {"ana", "senha-da-ana"})), msg::bloqueado(1));
    Client other(server.port());
    EXPECT_EQ(other.result("Login", {"ana", "senha-da-ana"})["role"], "editor");
}

// Sixty connections from one address, all asking at once, the right password last: no more
// than the allowed failures are ever tried, and the address ends up shut out.
TEST_F(SignIn, ParallelAttemptsCountBeforeTheyAreKnown) {
    std::vector<std::unique_ptr<Client>> crowd;
    for (int i = 0; i < 60; ++i) {
        crowd.push_back(std::make_unique<Client>(server.port(), "127.0.0.3"));
        const char* password = i == 59 ? "senha-da-ana" : "senha-errada";
        crowd.back()->sendRaw(json({{"jsonrpc", "2.0"}, {"id", i}, {"method", "Login"}, {"params", {"ana", password}}}).dump() + "\n");
    }
    int tried = 0;
    for (auto& c : crowd) {
        const std::string error = errorText(json::parse(c->readLine()));
        if (error == msg::kUsuarioOuSenha) ++tried;
        else EXPECT_EQ(error, msg::bloqueado(1));
    }
    EXPECT_LE(tried, 3);
    EXPECT_EQ(errorText(Client(server.port(), "127.0.0.3").call("Login", {"ana", "senha-da-ana"})), msg::bloqueado(1));
}

// Wrong passwords queued from four addresses: a right one from a quiet address goes before
// them, not behind them.
TEST_F(SignIn, AQuietAddressIsCheckedBeforeACrowdOfWrongPasswords) {
    std::vector<std::unique_ptr<Client>> crowd;
    for (int i = 0; i < 8; ++i) {
        crowd.push_back(std::make_unique<Client>(server.port(), ("127.0.0." + std::to_string(10 + i % 4)).c_str()));
        crowd.back()->sendRaw(json({{"jsonrpc", "2.0"}, {"id", i}, {"method", "Login"}, {"params", {"ana", "senha-errada"}}}).dump() + "\n");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the crowd is queued first
    Client quiet(server.port(), "127.0.1.1");
    EXPECT_EQ(quiet.result("Login", {"ana", "senha-da-ana"})["role"], "editor");
    for (auto& c : crowd) EXPECT_EQ(errorText(json::parse(c->readLine())), msg::kUsuarioOuSenha);
    const std::string log = server.log();
    const auto signedIn = log.find("signed in from 127.0.1.1");
    ASSERT_NE(signedIn, std::string::npos);
    int before = 0;
    for (auto at = log.find("wrong name or password"); at < signedIn; at = log.find("wrong name or password", at + 1)) ++before;
    EXPECT_LE(before, 3) << log;
}

TEST(SignInWithoutUsers, ServesThisMachineOnly) {
    TempDb db;
    appserver::Users users(db.path());
    const auto log = appserver::makeSilentLogger();
    appserver::SignIn signIn(users, {}, *log);
    using Access = appserver::Session::Access;
    EXPECT_EQ(signIn.open(asio::ip::make_address("127.0.0.1")).access, Access::Open);
    EXPECT_EQ(signIn.open(asio::ip::make_address("::1")).access, Access::Open);
    EXPECT_EQ(signIn.open(asio::ip::make_address("192.0.2.7")).access, Access::LocalOnly);

    const Refused open = runServer({"--listen", "0.0.0.0:0", "--db", db.path()});
    EXPECT_EQ(open.status, 1);
    EXPECT_NE(open.log.find("--insecure"), std::string::npos);
}
