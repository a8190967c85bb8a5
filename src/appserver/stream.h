// A connection's byte stream: the TCP socket itself, or TLS over it.
#pragma once
#include <asio.hpp>
#include <asio/ssl.hpp>
#include <variant>

namespace appserver {

class Stream {
public:
    using Socket = asio::ip::tcp::socket;
    using Tls = asio::ssl::stream<Socket>;

    explicit Stream(Socket socket) : stream_(std::move(socket)) {}
    Stream(Socket socket, asio::ssl::context& tls) : stream_(std::in_place_type<Tls>, std::move(socket), tls) {}

    bool tls() const { return std::holds_alternative<Tls>(stream_); }
    // The TCP socket under it, for options, shutdown and close.
    Socket& socket() {
        if (auto* t = std::get_if<Tls>(&stream_)) return t->next_layer();
        return std::get<Socket>(stream_);
    }
    asio::any_io_executor get_executor() { return socket().get_executor(); }

    template <class Handler>
    void asyncHandshake(Handler&& handler) {
        std::get<Tls>(stream_).async_handshake(asio::ssl::stream_base::server, std::forward<Handler>(handler));
    }
    template <class Buffer, class Handler>
    void asyncReadSome(const Buffer& buffer, Handler&& handler) {
        std::visit([&](auto& s) { s.async_read_some(buffer, std::forward<Handler>(handler)); }, stream_);
    }
    template <class Buffer, class Handler>
    void asyncWrite(const Buffer& buffer, Handler&& handler) {
        std::visit([&](auto& s) { asio::async_write(s, buffer, std::forward<Handler>(handler)); }, stream_);
    }

private:
    std::variant<Socket, Tls> stream_;
};

}  // namespace appserver
