#include "appserver/tls.h"

#include <openssl/bio.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <memory>
#include <stdexcept>

namespace appserver {

namespace {

// TLS 1.2 with forward secrecy and authenticated encryption only; TLS 1.3 has nothing else.
constexpr const char* kTls12Ciphers =
    "ECDHE-ECDSA-AES128-GCM-SHA256:ECDHE-RSA-AES128-GCM-SHA256:ECDHE-ECDSA-AES256-GCM-SHA384:"
    "ECDHE-RSA-AES256-GCM-SHA384:ECDHE-ECDSA-CHACHA20-POLY1305:ECDHE-RSA-CHACHA20-POLY1305";

std::string shownTime(const ASN1_TIME* time) {
    std::unique_ptr<BIO, decltype(&BIO_free)> out(BIO_new(BIO_s_mem()), &BIO_free);
    if (!out || ASN1_TIME_print(out.get(), time) != 1) return "?";
    char* text = nullptr;
    const long n = BIO_get_mem_data(out.get(), &text);
    return std::string(text, static_cast<std::size_t>(n));
}

// A certificate clients would refuse today is refused at start, not at each handshake.
void requireValidNow(SSL_CTX* ctx, const std::string& certFile) {
    const X509* cert = SSL_CTX_get0_certificate(ctx);
    if (!cert) throw std::runtime_error("cannot use the TLS certificate " + certFile + ": none found");
    if (X509_cmp_current_time(X509_get0_notBefore(cert)) > 0)
        throw std::runtime_error("the TLS certificate " + certFile + " is not valid yet: it is valid from " +
                                 shownTime(X509_get0_notBefore(cert)));
    if (X509_cmp_current_time(X509_get0_notAfter(cert)) < 0)
        throw std::runtime_error("the TLS certificate " + certFile + " has expired: it was valid until " +
                                 shownTime(X509_get0_notAfter(cert)));
}

}  // namespace

std::unique_ptr<asio::ssl::context> makeServerTls(const std::string& certFile, const std::string& keyFile) {
    auto tls = std::make_unique<asio::ssl::context>(asio::ssl::context::tls_server);
    tls->set_options(asio::ssl::context::default_workarounds | asio::ssl::context::no_sslv2 |
                     asio::ssl::context::no_sslv3 | asio::ssl::context::no_tlsv1 | asio::ssl::context::no_tlsv1_1 |
                     asio::ssl::context::single_dh_use);
    // No session tickets: nothing arrives on a connection that the client did not ask for, which
    // is how the hosts tell a connection the server has closed.
    SSL_CTX_set_num_tickets(tls->native_handle(), 0);
    SSL_CTX_set_min_proto_version(tls->native_handle(), TLS1_2_VERSION);
    if (SSL_CTX_set_cipher_list(tls->native_handle(), kTls12Ciphers) != 1)
        throw std::runtime_error("this OpenSSL offers none of the TLS 1.2 ciphers with forward secrecy");
    SSL_CTX_set_options(tls->native_handle(), SSL_OP_CIPHER_SERVER_PREFERENCE);
    try {
        tls->use_certificate_chain_file(certFile);
    } catch (const std::system_error& e) {
        throw std::runtime_error("cannot use the TLS certificate " + certFile + ": " + e.what());
    }
    requireValidNow(tls->native_handle(), certFile);
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
