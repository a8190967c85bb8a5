// TLS on a connected socket, for the hosts: the server's certificate checked against the
// authority's certificate and against the name or address the server was reached by.
#pragma once
#include <cstddef>
#include <memory>
#include <string>

namespace fw {

class TlsSession {
public:
    // Shakes hands on the connected socket `fd` (blocking, within the socket's timeouts); throws
    // EServerError with the reason in Portuguese, naming `where` (HOST:PORT).
    TlsSession(int fd, const std::string& caFile, const std::string& host, const std::string& where);
    ~TlsSession();
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    // As send and recv: the bytes moved, 0 at the end of the stream, -1 on a failure (errno
    // EAGAIN when the socket's time limit passed).
    long write(const char* data, std::size_t size);
    long read(char* data, std::size_t size);
    // Bytes already received and decrypted, not yet read.
    bool pending() const;

private:
    struct Handles;
    std::unique_ptr<Handles> h_;
};

}  // namespace fw
