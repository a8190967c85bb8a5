// Where and how the server listens: TLS offered only with forward secrecy and authenticated
// encryption, a certificate clients would refuse is refused at start, and an address it may not
// serve is refused before anything listens there.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "server_harness.h"
#include "support/test_paths.h"

using namespace harness;

namespace {

std::string tlsFile(const std::string& name) { return testsupport::sourceDir() + "/tests/support/tls/" + name; }

// True when OpenSSL's own client completes a handshake with these settings.
bool handshakes(unsigned short port, const std::string& settings) {
    const std::string command = "openssl s_client -connect 127.0.0.1:" + std::to_string(port) + " " + settings +
                                " </dev/null >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

}  // namespace

TEST(Listening, TlsOffersForwardSecrecyAndAuthenticatedEncryptionOnly) {
    TempDb db;
    ServerProcess server(db.path(), {"--tls-cert", tlsFile("server.pem"), "--tls-key", tlsFile("server.key")});
    EXPECT_TRUE(handshakes(server.port(), "-tls1_3"));
    EXPECT_TRUE(handshakes(server.port(), "-tls1_2 -cipher ECDHE-ECDSA-AES128-GCM-SHA256"));
    EXPECT_FALSE(handshakes(server.port(), "-tls1_2 -cipher ECDHE-ECDSA-AES128-SHA"));     // CBC with SHA-1
    EXPECT_FALSE(handshakes(server.port(), "-tls1_2 -cipher ECDHE-ECDSA-AES256-SHA384"));  // CBC
    EXPECT_FALSE(handshakes(server.port(), "-tls1_1"));
}

TEST(Listening, ACertificateOutOfItsDatesIsRefusedAtStart) {
    TempDb db;
    const Refused expired = runServer({"--listen", "127.0.0.1:0", "--db", db.path(), "--tls-cert", tlsFile("expired.pem"),
                                       "--tls-key", tlsFile("expired.key")});
    EXPECT_EQ(expired.status, 1);
    EXPECT_NE(expired.log.find("has expired"), std::string::npos) << expired.log;
}

TEST(Listening, AnAddressItMayNotServeIsRefusedBeforeItListens) {
    TempDb db;
    const Refused open = runServer({"--listen", "0.0.0.0:0", "--db", db.path()});
    EXPECT_EQ(open.status, 1);
    EXPECT_NE(open.log.find("without TLS"), std::string::npos) << open.log;
    EXPECT_EQ(open.log.find("listening on"), std::string::npos) << open.log;

    // An IPv4 loopback address written as IPv6 is still this machine.
    ServerProcess mapped(db.path(), {"--listen", "[::ffff:127.0.0.1]:0"});
    EXPECT_EQ(Client(mapped.port()).packet("GetComissao", nlohmann::json::array()).rows.size(), 0u);
}
