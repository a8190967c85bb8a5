// The server's TLS: its certificate chain and key, TLS 1.2 and up.
#pragma once
#include <asio/ssl/context.hpp>
#include <memory>
#include <string>

namespace appserver {

// Throws std::runtime_error naming the file that cannot be read or does not fit.
std::unique_ptr<asio::ssl::context> makeServerTls(const std::string& certFile, const std::string& keyFile);

}  // namespace appserver
