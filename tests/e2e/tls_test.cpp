// The encrypted link: the headless host takes only a server whose certificate the configured
// authority signed, still valid, for the address it reached; a plain client is told what is wrong.
#include <gtest/gtest.h>

#include <stdexcept>

#include "support/e2e_support.h"
#include "support/test_paths.h"

namespace {

std::string tlsFile(const char* name) { return testsupport::sourceDir() + "/tests/support/tls/" + name; }

std::vector<std::string> tlsServer(const char* cert) {
    return {"--demo", "--tls-cert", tlsFile((std::string(cert) + ".pem").c_str()), "--tls-key",
            tlsFile((std::string(cert) + ".key").c_str())};
}


}  // namespace

TEST(Tls, OnlyAServerTheAuthorityVouchesForIsTaken) {
    testsupport::LocalCatalogue catalogue;
    testsupport::ServerProcess good("", tlsServer("server"));
    const auto ok = testsupport::runScript(good.port(), catalogue.path(), "open\nshow cdsComissao\n",
                                           {"--tls-ca", tlsFile("ca.pem")});
    EXPECT_EQ(ok.exitCode, 0) << ok.err;
    EXPECT_NE(ok.out.find("cdsComissao state=browse rows=3"), std::string::npos) << ok.out;

    // The server's own certificate is no authority.
    const auto untrusted =
        testsupport::runScript(good.port(), catalogue.path(), "open\n", {"--tls-ca", tlsFile("server.pem")});
    EXPECT_NE(untrusted.out.find("o certificado do servidor não é da autoridade configurada."), std::string::npos)
        << untrusted.out << untrusted.err;

    const auto plain = testsupport::rpcRequest(good.port(), "GetComissao", nlohmann::json::array());
    EXPECT_EQ(plain["error"]["message"],
              "Este servidor de aplicação só aceita conexões seguras (TLS): configure o certificado da autoridade no cliente.");

    // A certificate that has expired never reaches a client: the server refuses to start with it.
    EXPECT_THROW(testsupport::ServerProcess("", tlsServer("expired")), std::runtime_error);

    testsupport::ServerProcess noTls;
    const auto notTls = testsupport::runScript(noTls.port(), catalogue.path(), "open\n", {"--tls-ca", tlsFile("ca.pem")});
    EXPECT_NE(notTls.out.find("o servidor não respondeu com TLS."), std::string::npos) << notTls.out << notTls.err;
}
