#include "framework/tls_client.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cerrno>

#include "framework/server_reply.h"

namespace fw {

struct TlsSession::Handles {
    std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> ctx{nullptr, &SSL_CTX_free};
    std::unique_ptr<SSL, decltype(&SSL_free)> ssl{nullptr, &SSL_free};
};

namespace {

// Why the server's certificate was not taken, as the user reads it.
std::string refusalOf(long verifyResult) {
    switch (verifyResult) {
        case X509_V_ERR_CERT_HAS_EXPIRED: return "o certificado do servidor expirou";
        case X509_V_ERR_CERT_NOT_YET_VALID: return "o certificado do servidor ainda não é válido";
        case X509_V_ERR_HOSTNAME_MISMATCH:
        case X509_V_ERR_IP_ADDRESS_MISMATCH: return "o certificado não é deste servidor";
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT: return "o certificado do servidor não é da autoridade configurada";
        default: return std::string("o certificado do servidor foi recusado (") + X509_verify_cert_error_string(verifyResult) + ")";
    }
}

}  // namespace

TlsSession::TlsSession(int fd, const std::string& caFile, const std::string& host, const std::string& where)
    : h_(std::make_unique<Handles>()) {
    const std::string failure = "Não foi possível estabelecer uma conexão segura com o servidor de aplicação " + where + ": ";
    h_->ctx.reset(SSL_CTX_new(TLS_client_method()));
    if (!h_->ctx) throw EServerError(failure + "o TLS não pôde ser iniciado.");
    SSL_CTX_set_min_proto_version(h_->ctx.get(), TLS1_2_VERSION);
    if (SSL_CTX_load_verify_locations(h_->ctx.get(), caFile.c_str(), nullptr) != 1)
        throw EServerError(failure + "o certificado da autoridade " + caFile + " não pôde ser lido.");
    SSL_CTX_set_verify(h_->ctx.get(), SSL_VERIFY_PEER, nullptr);
    h_->ssl.reset(SSL_new(h_->ctx.get()));
    SSL* ssl = h_->ssl.get();
    if (!ssl || SSL_set_fd(ssl, fd) != 1) throw EServerError(failure + "o TLS não pôde ser iniciado.");
    in6_addr address{};
    const bool isAddress = ::inet_pton(AF_INET, host.c_str(), &address) == 1 || ::inet_pton(AF_INET6, host.c_str(), &address) == 1;
    if (isAddress) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), host.c_str());
    } else {
        SSL_set_tlsext_host_name(ssl, host.c_str());
        SSL_set1_host(ssl, host.c_str());
    }
    if (SSL_connect(ssl) != 1) {
        const long verified = SSL_get_verify_result(ssl);
        ERR_clear_error();
        if (verified != X509_V_OK) throw EServerError(failure + refusalOf(verified) + ".");
        throw EServerError(failure + "o servidor não respondeu com TLS.");
    }
}

TlsSession::~TlsSession() = default;

long TlsSession::write(const char* data, std::size_t size) {
    const int n = SSL_write(h_->ssl.get(), data, static_cast<int>(size));
    if (n > 0) return n;
    ERR_clear_error();
    return -1;
}

long TlsSession::read(char* data, std::size_t size) {
    const int n = SSL_read(h_->ssl.get(), data, static_cast<int>(size));
    if (n > 0) return n;
    const int error = SSL_get_error(h_->ssl.get(), n);
    ERR_clear_error();
    if (error == SSL_ERROR_ZERO_RETURN) return 0;
    if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) errno = EAGAIN;  // the time limit passed
    return -1;
}

bool TlsSession::pending() const { return SSL_pending(h_->ssl.get()) > 0; }

}  // namespace fw
