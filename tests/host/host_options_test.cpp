// The command lines of backoffice-script and backoffice.
#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "host/command_line.h"
#include "host/host_options.h"

namespace host {
namespace {

TEST(HostOptionsTest, ReadsEveryOptionAndTheScript) {
    auto o = parseHostOptions({"--server", "127.0.0.1:4100", "--branch", "0001", "--local-db", "/tmp/l.db",
                               "--module", "/x/libm.so", "--verbose", "s.txt"});
    EXPECT_EQ(o.serverHost, "127.0.0.1");
    EXPECT_EQ(o.serverPort, 4100);
    EXPECT_EQ(o.branch, "0001");
    EXPECT_EQ(o.localDb, "/tmp/l.db");
    EXPECT_EQ(o.modulePath, "/x/libm.so");
    EXPECT_TRUE(o.verbose);
    EXPECT_EQ(o.scriptPath, "s.txt");
}

TEST(HostOptionsTest, ScriptAndModuleAreOptionalAndEqualsFormWorks) {
    auto o = parseHostOptions({"--server=localhost:9", "--branch=7", "--local-db=l.db"});
    EXPECT_EQ(o.serverHost, "localhost");
    EXPECT_EQ(o.serverPort, 9);
    EXPECT_EQ(o.branch, "7");
    EXPECT_TRUE(o.scriptPath.empty());
    EXPECT_TRUE(o.modulePath.empty());
    EXPECT_FALSE(o.verbose);
    EXPECT_EQ(parseHostOptions({"--server=[::1]:52300", "--branch=7", "--local-db=l.db"}).serverHost, "::1");
    const auto signedIn = parseHostOptions(
        {"--server=h:1", "--user=ana", "--password-file=p.txt", "--tls-ca=ca.pem", "--local-db=l.db"});
    EXPECT_EQ(signedIn.user, "ana");
    EXPECT_EQ(signedIn.passwordFile, "p.txt");
    EXPECT_EQ(signedIn.tlsCa, "ca.pem");
    EXPECT_TRUE(signedIn.branch.empty());
}

TEST(HostOptionsTest, MissingOrMalformedOptionsAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--branch", "1", "--local-db", "l.db"},                                   // no server
        {"--server", "h:1", "--local-db", "l.db"},                                 // no branch nor user
        {"--server", "h:1", "--branch", "1", "--user", "ana", "--local-db", "l.db"},  // the branch is the user's
        {"--server", "h:1", "--branch", "1", "--password-file", "p", "--local-db", "l.db"},  // no user
        {"--server", "h:1", "--branch", "1"},                                      // no local db
        {"--server", "h", "--branch", "1", "--local-db", "l.db"},                  // no port
        {"--server", "h:0", "--branch", "1", "--local-db", "l.db"},                // port 0
        {"--server", "h:70000", "--branch", "1", "--local-db", "l.db"},            // port too big
        {"--server", "h:12x", "--branch", "1", "--local-db", "l.db"},              // not a number
        {"--server", "h:1", "--branch", "1", "--local-db", "l.db", "--color", "x"},  // unknown
        {"--server", "h:1", "--branch", "1", "--local-db"},                         // no value
        {"--server", "h:1", "--branch", "1", "--local-db", "l.db", "a", "b"},       // two scripts
    };
    for (const auto& args : bad) EXPECT_THROW(parseHostOptions(args), std::invalid_argument);
}

TEST(HostOptionsTest, TheDesktopTakesWhatItsCommandLineLacksFromItsConfigurationFile) {
    const std::string file = ::testing::TempDir() + "backoffice_options.conf";
    std::ofstream(file) << "# the machine's server\nserver = \"10.0.0.5:52300\"\nlocal-db = \"/var/lib/backoffice/catalogo.db\"\n";
    const auto fromFile = parseHostOptions({"--config", file, "--branch", "0001"}, HostProgram::Desktop);
    EXPECT_EQ(fromFile.serverHost, "10.0.0.5");
    EXPECT_EQ(fromFile.localDb, "/var/lib/backoffice/catalogo.db");
    const auto overridden = parseHostOptions({"--config", file, "--branch", "0001", "--server", "h:1"}, HostProgram::Desktop);
    EXPECT_EQ(overridden.serverHost, "h");
    EXPECT_EQ(overridden.localDb, "/var/lib/backoffice/catalogo.db");
    std::ofstream(file) << "servr = \"h:1\"\n";  // a misspelt key is refused, not passed over
    EXPECT_THROW(parseHostOptions({"--config", file, "--server", "h:1", "--branch", "1", "--local-db", "l.db"},
                                  HostProgram::Desktop),
                 std::invalid_argument);
    std::remove(file.c_str());
}

}  // namespace
}  // namespace host

// The batch programs let CLI11 keep what it does not know and refuse it in Portuguese.
TEST(CommandLineTest, WhatIsLeftUnreadIsRefusedByName) {
    auto refusal = [](std::vector<std::string> args) {
        CLI::App app;
        app.allow_extras();
        host::parseArguments(app, args);
        try {
            host::refuseRemaining(app);
        } catch (const std::invalid_argument& e) {
            return std::string(e.what());
        }
        return std::string("<accepted>");
    };
    EXPECT_EQ(refusal({"--bogus"}), "opção desconhecida --bogus");
    EXPECT_EQ(refusal({"x"}), "argumento inesperado 'x'");
    EXPECT_EQ(refusal({}), "<accepted>");
}
