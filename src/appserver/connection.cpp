#include "appserver/connection.h"

#include "appserver/connection_manager.h"
#include "appserver/messages.h"
#include "wire/jsonrpc.h"

namespace appserver {

namespace {

Stream makeStream(asio::ip::tcp::socket socket, asio::ssl::context* tls) {
    if (tls) return Stream(std::move(socket), *tls);
    return Stream(std::move(socket));
}

}  // namespace

Connection::Connection(asio::ip::tcp::socket socket, asio::ssl::context* tls, const asio::ip::address& peer,
                       const RequestHandler& handler, ConnectionManager& manager, InputBudget& inputBudget,
                       const ServerOptions& options)
    : stream_(makeStream(std::move(socket), tls)),
      timer_(stream_.get_executor()),
      peer_(peer),
      handler_(handler),
      manager_(manager),
      inputBudget_(inputBudget),
      options_(options),
      framer_(options.maxMessageBytes) {}

void Connection::start() {
    asio::dispatch(stream_.get_executor(), [self = shared_from_this()] {
        asio::error_code ignored;
        self->stream_.socket().set_option(asio::ip::tcp::no_delay(true), ignored);
        self->lastActivity_ = Clock::now();
        try {
            self->session_ = self->handler_.openSession(self->peer_);
        } catch (const std::exception&) {  // the users cannot be read: nobody is let in unchecked
            self->close();
            return;
        }
        if (self->stream_.tls()) self->startTls();
        else self->pump();
    });
}

void Connection::startTls() {
    // A handshake gets the time a request gets.
    armedFor_ = Clock::now() + options_.requestTimeout;
    timer_.expires_at(armedFor_);
    timer_.async_wait([self = shared_from_this()](const asio::error_code& ec) {
        if (!ec && !self->closed_) self->close();
    });
    // A TLS client's first byte opens a handshake record (22); anything else is a client
    // speaking plain text, which is told so in plain text.
    stream_.socket().async_wait(asio::socket_base::wait_read, [self = shared_from_this()](const asio::error_code& ec) {
        if (self->closed_) return;
        unsigned char first = 0;
        asio::error_code peekError;
        if (ec || self->stream_.socket().receive(asio::buffer(&first, 1), asio::socket_base::message_peek, peekError) != 1) {
            self->close();
            return;
        }
        if (first != 22) {
            self->sendAndDrop(wire::rpc::errorLineFor("null", wire::rpc::ApplicationError, msg::kSomenteTls));
            self->close();
            return;
        }
        self->stream_.asyncHandshake([self](const asio::error_code& failed) {
            if (self->closed_) return;
            if (failed) {  // a certificate the client refused, a protocol it lacks: nothing to answer
                self->close();
                return;
            }
            self->timer_.cancel();
            self->armedFor_ = Clock::time_point::max();
            self->lastActivity_ = Clock::now();
            self->pump();
        });
    });
}

void Connection::refuse(const std::string& text) {
    closed_ = true;
    sendAndDrop(wire::rpc::errorLineFor("null", wire::rpc::ApplicationError, text));
    asio::error_code ignored;
    stream_.socket().close(ignored);
}

void Connection::sendAndDrop(const std::string& errorLine) {
    asio::error_code ignored;
    auto& socket = stream_.socket();
    const std::string line = errorLine + "\n";
    socket.non_blocking(true, ignored);
    socket.write_some(asio::buffer(line), ignored);  // a fresh socket's send buffer takes one short line
    socket.shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
    // Closing with unread bytes would reset the connection, which can destroy the line before
    // the client reads it: take what has arrived so far.
    for (int i = 0; i < 16 && socket.read_some(asio::buffer(input_), ignored) > 0; ++i) {
    }
}

void Connection::stop() {
    asio::post(stream_.get_executor(), [self = shared_from_this()] {
        if (self->closed_) return;
        self->closing_ = true;
        self->farewell_ = true;
        const auto by = Clock::now() + self->options_.shutdownGrace;
        if (!self->closeBy_ || by < *self->closeBy_) self->closeBy_ = by;
        self->pump();
    });
}

void Connection::pump() {
    if (closed_ || pumping_) return;
    pumping_ = true;
    bool wantInput = false;
    while (!busy_ && !closing_ && unsent() <= options_.outputHighWater) {
        const auto status = framer_.next(line_);
        if (status == wire::LineFramer::Status::NeedMore) {
            wantInput = true;
            break;
        }
        if (status == wire::LineFramer::Status::TooLong) {
            finish(handler_.tooLongReply(options_.maxMessageBytes));
            break;
        }
        partialSince_.reset();
        busy_ = true;
        try {
            // A reply given at once comes back through deliver() before this returns.
            handler_.handleLine(line_, session_, stream_.get_executor(),
                                [self = shared_from_this()](std::optional<std::string> reply) { self->deliver(std::move(reply)); });
        } catch (const std::exception&) {  // the handler never throws; memory may still run out on the way
            pumping_ = false;
            close();
            return;
        }
    }
    wire::emptyBuffer(line_);
    if (wantInput && framer_.buffered() == 0) partialSince_.reset();
    else if (wantInput && !partialSince_) partialSince_ = Clock::now();
    countInput();
    if (farewell_ && !busy_) {  // whatever the client sent since, or sends now, is answered by this
        farewell_ = false;
        pending_ += wire::rpc::errorLineFor("null", wire::rpc::ApplicationError, msg::kEncerrando);
        pending_ += '\n';
    }
    if (!writing_ && !pending_.empty()) startWrite();
    pumping_ = false;
    if (closing_ || peerDone_) {
        if (!busy_ && !writing_ && pending_.empty()) {
            close();
            return;
        }
    } else if (wantInput && !reading_) {
        startRead();
    }
    armTimer();
}

void Connection::deliver(std::optional<std::string> reply) {
    busy_ = false;
    if (closed_) return;
    // When stopping, the grace for the replies runs from the end of the request in flight.
    if (closing_ && closeBy_) closeBy_ = std::max(*closeBy_, Clock::now() + options_.shutdownGrace);
    if (reply) {
        try {
            pending_ += *reply;
            pending_ += '\n';
        } catch (const std::bad_alloc&) {
            close();
            return;
        }
    }
    pump();
}

void Connection::startRead() {
    reading_ = true;
    stream_.asyncReadSome(asio::buffer(input_), [self = shared_from_this()](const asio::error_code& ec, std::size_t n) {
        self->reading_ = false;
        if (self->closed_) return;
        if (ec == asio::error::eof) {
            // The client has sent all it will; what it asked for is still answered, and a request
            // left incomplete never will be.
            self->peerDone_ = true;
            self->framer_.clear();
            self->partialSince_.reset();
            self->pump();
            return;
        }
        if (ec) {
            self->close();  // reset: nobody left to answer
            return;
        }
        if (self->closing_) return;  // no more requests are taken
        self->lastActivity_ = Clock::now();
        try {
            self->framer_.feed(std::string_view(self->input_.data(), n));
        } catch (const std::bad_alloc&) {
            self->finish(self->handler_.failureReply(std::current_exception()));
        }
        self->pump();
    });
}

void Connection::startWrite() {
    writing_ = true;
    sending_.swap(pending_);
    stream_.asyncWrite(asio::buffer(sending_), [self = shared_from_this()](const asio::error_code& ec, std::size_t) {
        self->writing_ = false;
        wire::emptyBuffer(self->sending_);
        if (self->closed_) return;
        if (ec) {
            self->close();
            return;
        }
        self->pump();
    });
}

void Connection::finish(const std::string& lastLine) {
    pending_ += lastLine;
    pending_ += '\n';
    closing_ = true;
    framer_.clear();
    partialSince_.reset();
    const auto by = Clock::now() + options_.shutdownGrace;
    if (!closeBy_ || by < *closeBy_) closeBy_ = by;
}

void Connection::countInput() {
    const std::size_t now = framer_.buffered();
    if (now <= held_) {
        inputBudget_.give(held_ - now);
        held_ = now;
    } else if (inputBudget_.take(now - held_)) {
        held_ = now;
    } else {
        finish(wire::rpc::errorLineFor("null", wire::rpc::ApplicationError, msg::kSemMemoriaParaRequisicoes));
        inputBudget_.give(held_);
        held_ = 0;
    }
}

Connection::Clock::time_point Connection::deadline() const {
    auto at = Clock::time_point::max();
    if (!busy_) at = lastActivity_ + options_.idleTimeout;  // a client waiting for its reply is not idle
    if (partialSince_) at = std::min(at, *partialSince_ + options_.requestTimeout);
    if (closeBy_ && !busy_) at = std::min(at, *closeBy_);
    return at;
}

void Connection::armTimer() {
    const auto at = deadline();
    if (at >= armedFor_) return;
    armedFor_ = at;
    timer_.expires_at(at);
    timer_.async_wait([self = shared_from_this()](const asio::error_code& ec) {
        if (ec || self->closed_) return;  // replaced by a nearer deadline, or closed
        self->armedFor_ = Clock::time_point::max();
        self->onTimer();
    });
}

void Connection::onTimer() {
    const auto now = Clock::now();
    if (closeBy_ && !busy_ && now >= *closeBy_) {
        close();  // the client did not take its replies in time
        return;
    }
    if (partialSince_ && now >= *partialSince_ + options_.requestTimeout) {
        finish(handler_.incompleteReply(options_.requestTimeout));
        pump();
        return;
    }
    if (!busy_ && now >= lastActivity_ + options_.idleTimeout) {
        close();
        return;
    }
    armTimer();
}

void Connection::close() {
    if (closed_) return;
    closed_ = true;
    asio::error_code ignored;
    timer_.cancel();
    if (closing_) {
        // Closing on unread requests would reset the connection, which can destroy the last
        // line before the client reads it: take what has arrived.
        auto& socket = stream_.socket();
        socket.shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
        socket.non_blocking(true, ignored);
        for (int i = 0; i < 16 && socket.read_some(asio::buffer(input_), ignored) > 0; ++i) {
        }
    }
    stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    stream_.socket().close(ignored);
    framer_.clear();
    inputBudget_.give(held_);
    held_ = 0;
    wire::emptyBuffer(pending_);
    manager_.remove(shared_from_this());
}

}  // namespace appserver
