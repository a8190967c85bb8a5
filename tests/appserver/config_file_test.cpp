// The server's options from its configuration file: every value the command line leaves out,
// the command line winning, a misspelt key refused, and the file the packages install.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "appserver/messages.h"
#include "server_harness.h"
#include "support/e2e_support.h"
#include "support/test_paths.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;

namespace {

json twoTables() {
    return insertLog(ListKind::Comissao, {{wire::Null{}, str("A"), day(2100, 1, 1), day(2100, 12, 31), str("0001")},
                                          {wire::Null{}, str("B"), day(2101, 1, 1), day(2101, 12, 31), str("0001")}});
}

}  // namespace

TEST(ConfigFile, TheFileGivesWhatTheCommandLineLeavesOutAndTheCommandLineWins) {
    testsupport::TempDir dir;
    const std::string conf = dir.file("server.conf");
    // The harness gives --listen and --db on the command line: the file's are overridden.
    std::ofstream(conf) << "# a test's\nlisten = \"127.0.0.1:1\"\ndb = \"" << dir.file("unused.db") << "\"\n"
                        << "max-changes = 1\ndemo = true\n";
    {
        TempDb db;
        ServerProcess server(db.path(), {"--config", conf});
        Client c(server.port());
        EXPECT_EQ(c.packet("GetComissao", json::array()).rows.size(), 3u);  // demo, from the file
        EXPECT_EQ(c.set("SetComissao", twoTables()), appserver::msg::alteracoesDemais(2, 1));
        EXPECT_NE(server.log().find("options not on the command line from " + conf), std::string::npos) << server.log();
    }
    {
        TempDb db;
        ServerProcess server(db.path(), {"--config", conf, "--max-changes", "2"});
        Client c(server.port());
        EXPECT_EQ(c.set("SetComissao", twoTables()), "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("unused.db")));

    std::ofstream(conf) << "max-change = 1\n";
    const Refused misspelt = runServer({"--config", conf, "--listen", "127.0.0.1:0", "--db", dir.file("x.db")});
    EXPECT_EQ(misspelt.status, 2);
    EXPECT_NE(misspelt.log.find("max-change"), std::string::npos) << misspelt.log;
    EXPECT_EQ(runServer({"--config", dir.file("missing.conf"), "--db", dir.file("x.db")}).status, 2);
}

TEST(ConfigFile, TheInstalledDefaultServesTheEmbeddedStoreOnLoopback) {
    const std::string installed = testsupport::sourceDir() + "/packaging/server.conf";
    std::ifstream in(installed);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\nlisten = \"127.0.0.1:52300\"\n"), std::string::npos);
    EXPECT_NE(text.find("\ndb = \"/var/lib/ktr52300/comissao.db\"\n"), std::string::npos);
    // Every commented default is a key the server knows: uncommented, the file still starts it.
    testsupport::TempDir dir;
    std::string uncommented;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        uncommented += (std::regex_search(line, std::regex("^# [a-z-]+ = ")) ? line.substr(2) : line) + "\n";
    std::ofstream(dir.file("all.conf")) << uncommented;
    const std::string cert = testsupport::sourceDir() + "/tests/support/tls/server.pem";
    TempDb db;
    ServerProcess server(db.path(), {"--config", dir.file("all.conf"), "--tls-cert", cert, "--tls-key",
                                     testsupport::sourceDir() + "/tests/support/tls/server.key"});
    EXPECT_NE(server.log().find("starting on the database"), std::string::npos);
}
