#include "appserver/tls.h"

#include <openssl/ssl.h>

#include <stdexcept>

namespace appserver {

std::unique_ptr<asio::ssl::context> makeServerTls(const std::string& certFile, const std::string& keyFile) {
    auto tls = std::make_unique<asio::ssl::context>(asio::ssl::context::tls_server);
    tls->set_options(asio::ssl::context::default_workarounds | asio::ssl::context::no_sslv2 |
                     asio::ssl::context::no_sslv3 | asio::ssl::context::no_tlsv1 | asio::ssl::context::no_tlsv1_1 |
                     asio::ssl::context::single_dh_use);
    // No session tickets: nothing arrives on a connection that the client did not ask for, which
    // is how the hosts tell a connection the server has closed.
    SSL_CTX_set_num_tickets(tls->native_handle(), 0);
    try {
        tls->use_certificate_chain_file(certFile);
    } catch (const std::system_error& e) {
        throw std::runtime_error("cannot use the TLS certificate " + certFile + ": " + e.what());
    }
    try {
        tls->use_private_key_file(keyFile, asio::ssl::context::pem);
    } catch (const std::system_error& e) {
        throw std::runtime_error("cannot use the TLS key " + keyFile + ": " + e.what());
    }
    if (SSL_CTX_check_private_key(tls->native_handle()) != 1)
        throw std::runtime_error("the TLS key " + keyFile + " does not belong to the certificate " + certFile);
    return tls;
}

}  // namespace appserver
