#include "appserver/connection.h"

#include "appserver/connection_manager.h"

namespace appserver {

Connection::Connection(asio::ip::tcp::socket socket, const RequestHandler& handler, ConnectionManager& manager,
                       std::chrono::milliseconds idleTimeout)
    : socket_(std::move(socket)),
      timer_(socket_.get_executor()),
      handler_(handler),
      manager_(manager),
      idleTimeout_(idleTimeout) {}

void Connection::start() {
    asio::dispatch(socket_.get_executor(), [self = shared_from_this()] {
        asio::error_code ignored;
        self->socket_.set_option(asio::ip::tcp::no_delay(true), ignored);
        self->lastActivity_ = std::chrono::steady_clock::now();
        self->armTimer();
        self->doRead();
    });
}

void Connection::stop() {
    asio::post(socket_.get_executor(), [self = shared_from_this()] {
        if (self->writing_) self->closeAfterWrite_ = true;
        else self->close();
    });
}

void Connection::armTimer() {
    timer_.expires_at(lastActivity_ + idleTimeout_);
    timer_.async_wait([self = shared_from_this()](const asio::error_code& ec) {
        if (ec || self->closed_) return;  // cancelled by close()
        if (std::chrono::steady_clock::now() >= self->lastActivity_ + self->idleTimeout_) self->close();
        else self->armTimer();  // bytes came in meanwhile
    });
}

void Connection::doRead() {
    if (closed_) return;
    socket_.async_read_some(asio::buffer(input_), [self = shared_from_this()](const asio::error_code& ec, std::size_t n) {
        self->onRead(ec, n);
    });
}

void Connection::onRead(const asio::error_code& ec, std::size_t n) {
    if (ec || closed_) {
        close();  // the client went away, possibly in the middle of a request: nothing to answer
        return;
    }
    lastActivity_ = std::chrono::steady_clock::now();
    framer_.feed(std::string_view(input_.data(), n));
    std::string line;
    for (;;) {
        const auto status = framer_.next(line);
        if (status == wire::LineFramer::Status::NeedMore) break;
        if (status == wire::LineFramer::Status::TooLong) {
            output_ += RequestHandler::tooLongReply() + "\n";
            closeAfterWrite_ = true;
            break;
        }
        if (auto reply = handler_.handleLine(line)) {
            output_ += *reply;
            output_ += '\n';
        }
    }
    if (!output_.empty()) doWrite();
    else doRead();
}

void Connection::doWrite() {
    writing_ = true;
    asio::async_write(socket_, asio::buffer(output_), [self = shared_from_this()](const asio::error_code& ec, std::size_t) {
        self->writing_ = false;
        self->output_.clear();
        if (ec || self->closeAfterWrite_) {
            self->close();
            return;
        }
        self->doRead();
    });
}

void Connection::close() {
    if (closed_) return;
    closed_ = true;
    asio::error_code ignored;
    timer_.cancel();
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    manager_.remove(shared_from_this());
}

}  // namespace appserver
