#include "appserver/request_handler.h"

#include <asio/executor_work_guard.hpp>
#include <asio/post.hpp>
#include <random>
#include <vector>

#include "appserver/messages.h"
#include "appserver/sign_in.h"
#include "appserver/write_queue.h"
#include "store/out_of_descriptors.h"
#include "wire/jsonrpc.h"
#include "wire/message_scan.h"

namespace appserver {

using Clock = std::chrono::steady_clock;
using nlohmann::json;
namespace rpc = wire::rpc;

namespace {

// Deeper nesting than this is refused before parsing, so no message can exhaust the stack.
constexpr std::size_t kMaxDepth = 256;

// What the log shows of a text that came from a client: enough to find it, never a megabyte,
// and on one line, so that no client can write log lines of its own.
std::string shown(std::string_view text, std::size_t most = 80) {
    std::string out(text.substr(0, most));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return out;
}

double millisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The id to answer a request object with, as JSON text: as the request wrote it when it is a
// string or a number (2^64 comes back as sent, not as 1.8446744073709552e+19), else null.
std::string idText(const json& message, std::string_view sent) {
    if (!message.is_object()) return "null";
    const auto it = message.find("id");
    if (it == message.end() || !(it->is_string() || it->is_number())) return "null";
    return sent.empty() ? rpc::toLine(*it) : std::string(sent);
}

unsigned long long firstReference() {
    // Random, so that references from different runs of the server do not repeat.
    std::random_device seed;
    return 100'000'000ull + seed() % 800'000'000ull;
}

}  // namespace

// The requests of one line, answered in order; kept alive while a change log of it is with the
// write queue, and resumed on the connection's executor when the queue is done with it.
class RequestHandler::Job : public std::enable_shared_from_this<Job> {
public:
    Job(const RequestHandler& handler, json message, std::size_t lineBytes, std::vector<std::string> sentIds,
        std::vector<bool> hugeNumbers, Session& session, const asio::any_io_executor& ex, Done done)
        : handler_(handler),
          lineBytes_(lineBytes),
          session_(session),
          message_(std::move(message)),
          sentIds_(std::move(sentIds)),
          hugeNumbers_(std::move(hugeNumbers)),
          batch_(message_.is_array()),
          ex_(ex),
          done_(std::move(done)) {
        current_.start = Clock::now();
        if (batch_) reserveRoom();
    }

    // Answers the requests from the next one on, until one waits for the write queue or all are done.
    void run() {
        if (next_ == 0 && batch_ && room_.front() + 2 > handler_.limits_.maxMessageBytes) {
            done_(handler_.lineError(rpc::InvalidRequest,
                                     "Invalid Request: the replies to this batch could pass the limit of " +
                                         std::to_string(handler_.limits_.maxMessageBytes) + " bytes; send fewer requests at once",
                                     lineBytes_, current_.start));
            return;
        }
        try {
            const std::size_t count = batch_ ? message_.size() : 1;
            for (; next_ < count; ++next_)
                if (!answer(batch_ ? message_[next_] : message_, next_ < sentIds_.size() ? sentIds_[next_] : "",
                            next_ < hugeNumbers_.size() && hugeNumbers_[next_]))
                    return;
        } catch (...) {  // gathering the replies ran out of memory: one error for the whole line
            const Failure f = handler_.describe(std::current_exception(), "(line)", "", current_.start);
            done_(rpc::errorLineFor("null", f.code, f.message));
            return;
        }
        finish();
    }

private:
    // room_[i]: the bytes the errors to the requests from i on would take at most, had each of
    // them a reply too large; kept free, so that every call that runs is answered.
    void reserveRoom() {
        room_.assign(message_.size() + 1, 0);
        const std::string tooLarge = msg::respostaGrandeDemais(handler_.limits_.maxMessageBytes);
        for (std::size_t i = message_.size(); i-- > 0;) {
            const json& m = message_[i];
            const std::size_t error =
                rpc::isNotification(m) ? 0
                                       : rpc::errorLineFor(idText(m, i < sentIds_.size() ? sentIds_[i] : ""),
                                                           rpc::ApplicationError, tooLarge)
                                                 .size() + 1;
            room_[i] = room_[i + 1] + error;
        }
    }

    struct Current {
        std::string id;  // as JSON text
        std::string method;
        bool notification = false;
        Clock::time_point start;
    };

    // False when the request went to the write queue; written() goes on from there.
    bool answer(const json& message, std::string_view sentId, bool hugeNumber) {
        current_ = Current{};
        current_.start = Clock::now();
        rpc::Request request;
        try {
            if (hugeNumber) throw rpc::RpcError(rpc::InvalidParams, "Invalid params: a number too large for a double");
            request = rpc::parseRequest(message);
        } catch (const rpc::RpcError&) {
            current_.notification = rpc::isNotification(message);  // never answered, whatever is wrong with it
            current_.id = idText(message, sentId);
            failed(std::current_exception());
            return true;
        }
        current_.notification = request.notification;
        current_.id = idText(message, sentId);
        current_.method = request.method;
        try {
            if (request.method == "Login" && handler_.signIn_) {
                login(request.params);
                return false;
            }
            if (session_.access == Session::Access::LocalOnly) throw Refusal(msg::kSomenteLocal);
            if (session_.access == Session::Access::SignInRequired && !session_.user) throw Refusal(msg::kEntreAntes);
            auto outcome = handler_.dispatcher_.call(request.method, request.params);
            if (const auto* result = std::get_if<std::string>(&outcome)) {
                answered(*result);
                return true;
            }
            if (session_.user && session_.user->role != Role::Editor) throw Refusal(msg::kSomenteConsulta);
            if (auto* task = std::get_if<Dispatcher::Task>(&outcome)) {
                handler_.writes_.submit(
                    [run = std::move(*task), author = session_.author()] { return run(author); },
                    [self = shared_from_this(), work = asio::make_work_guard(ex_)](std::exception_ptr failure,
                                                                                  std::string result) {
                        asio::post(work.get_executor(), [self, failure, result = std::move(result)] {
                            self->ran(failure, result);
                        });
                    });
                return false;
            }
            auto& write = std::get<Dispatcher::Write>(outcome);
            handler_.writes_.submit(
                write.list, std::move(write.log),
                [self = shared_from_this(), work = asio::make_work_guard(ex_)](std::exception_ptr failure) {
                    asio::post(work.get_executor(), [self, failure] { self->written(failure); });
                },
                session_.author());
            return false;
        } catch (...) {
            failed(std::current_exception());
            return true;
        }
    }

    // Login(NAME, PASSWORD): the connection's user from now on, when the password is right.
    void login(const json& params) {
        if (params.size() != 2 || !params[0].is_string() || !params[1].is_string())
            throw rpc::RpcError(rpc::InvalidParams, "Invalid params: expected 2 strings, the name and the password");
        handler_.signIn_->login(session_.peer, params[0].get<std::string>(), params[1].get<std::string>(), ex_,
                                [self = shared_from_this()](std::exception_ptr failure, const User& user) {
                                    // A failed Login leaves nobody signed in on the connection.
                                    if (failure) self->session_.user.reset();
                                    else self->session_.user = user;
                                    self->signedIn(failure, user);
                                });
    }

    void signedIn(std::exception_ptr failure, const User& user) {
        if (failure) {
            written(failure);
            return;
        }
        json result = {{"branch", user.branch}, {"role", roleWord(user.role)}};
        resumed([&] { answered(rpc::toLine(result)); });
    }

    void written(std::exception_ptr failure) {
        resumed([&] {
            if (failure) failed(failure);
            else answered("null");
        });
    }

    void ran(std::exception_ptr failure, const std::string& result) {
        resumed([&] {
            if (failure) failed(failure);
            else answered(result);
        });
    }

    // Answers the request that waited, then goes on with the rest of the line.
    template <class Answer>
    void resumed(Answer answer) {
        try {
            answer();
        } catch (...) {
            const Failure f = handler_.describe(std::current_exception(), "(line)", "", current_.start);
            done_(rpc::errorLineFor("null", f.code, f.message));
            return;
        }
        ++next_;
        run();
    }

    void answered(std::string_view result) {
        if (handler_.log_.should_log(spdlog::level::debug))
            handler_.log_.debug("{} {} answered in {:.2f} ms", shown(current_.id), shown(current_.method),
                                millisSince(current_.start));
        if (!current_.notification) add(rpc::resultLineFor(current_.id, result));
    }

    void failed(std::exception_ptr thrown) {
        const Failure f =
            handler_.describe(thrown, current_.notification ? "(notification)" : current_.id, current_.method, current_.start);
        if (!current_.notification) add(rpc::errorLineFor(current_.id, f.code, f.message));
    }

    // Joins a reply to the line's reply, keeping the line within the message limit: a reply that
    // would pass it is replaced by an error.
    void add(std::string reply) {
        const std::size_t most = handler_.limits_.maxMessageBytes;
        const std::size_t framing = batch_ ? 2 : 0;  // the '[' or ',' before it and the closing ']'
        const std::size_t later = batch_ && next_ + 1 < room_.size() ? room_[next_ + 1] : 0;
        if (replies_.size() + reply.size() + framing + later > most) {
            handler_.log_.info("{} {}: a reply of {} bytes would pass the limit of {}", shown(current_.id),
                               shown(current_.method), reply.size(), most);
            reply = rpc::errorLineFor(current_.id, rpc::ApplicationError, msg::respostaGrandeDemais(most));
            if (replies_.size() + reply.size() + framing > most) {
                overflow_ = true;
                return;
            }
        }
        if (!batch_) {
            replies_ = std::move(reply);
            return;
        }
        replies_ += replies_.empty() ? '[' : ',';
        replies_ += reply;
    }

    void finish() {
        std::optional<std::string> reply;
        if (overflow_) {
            reply = rpc::errorLineFor("null", rpc::ApplicationError, msg::respostaGrandeDemais(handler_.limits_.maxMessageBytes));
        } else if (!replies_.empty()) {
            if (batch_) replies_ += ']';
            reply = std::move(replies_);
        }
        done_(std::move(reply));
    }

    const RequestHandler& handler_;
    const std::size_t lineBytes_;
    Session& session_;
    const json message_;
    const std::vector<std::string> sentIds_;  // the ids' text as sent, by request; "" where unknown
    const std::vector<bool> hugeNumbers_;     // by request: it held a number no double can hold
    const bool batch_;
    const asio::any_io_executor ex_;
    Done done_;
    std::size_t next_ = 0;
    Current current_;
    std::string replies_;  // a batch's replies so far, or the one reply
    std::vector<std::size_t> room_;  // see reserveRoom()
    bool overflow_ = false;
};

RequestHandler::RequestHandler(const Dispatcher& dispatcher, WriteQueue& writes, const RequestLimits& limits,
                               spdlog::logger& log, SignIn* signIn)
    : dispatcher_(dispatcher),
      writes_(writes),
      limits_(limits),
      maxValues_(32 * (limits.maxBatch + limits.maxChanges) + 4096),
      log_(log),
      signIn_(signIn),
      nextReference_(firstReference()) {}

Session RequestHandler::openSession(const asio::ip::address& peer) const {
    if (signIn_) return signIn_->open(peer);
    Session open;
    open.peer = peer;
    return open;
}

std::string RequestHandler::failureReply(std::exception_ptr thrown) const {
    const Failure f = describe(thrown, "(connection)", "", Clock::now());
    return rpc::errorLineFor("null", f.code, f.message);
}

std::string RequestHandler::tooLongReply(std::size_t maxBytes) const {
    const std::string message = "Invalid Request: message longer than " + std::to_string(maxBytes) + " bytes";
    log_.info("a line refused, the connection closes: {} {}", int{rpc::InvalidRequest}, message);
    return rpc::errorLineFor("null", rpc::InvalidRequest, message);
}

std::string RequestHandler::incompleteReply(std::chrono::milliseconds limit) const {
    const std::string message =
        "Invalid Request: message not complete within " +
        std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) + " s";
    log_.info("a line refused, the connection closes: {} {}", int{rpc::InvalidRequest}, message);
    return rpc::errorLineFor("null", rpc::InvalidRequest, message);
}

RequestHandler::Failure RequestHandler::describe(std::exception_ptr thrown, std::string_view id,
                                                 std::string_view method, Clock::time_point start) const {
    const double ms = millisSince(start);
    std::string detail;
    try {
        std::rethrow_exception(thrown);
    } catch (const rpc::RpcError& e) {
        log_.info("{} {} refused in {:.2f} ms: {} {}", shown(id), shown(method), ms, e.code(), shown(e.what(), 300));
        return {e.code(), e.what()};
    } catch (const Refusal& e) {
        log_.info("{} {} refused in {:.2f} ms: {} {}", shown(id), shown(method), ms, int{rpc::ApplicationError}, e.what());
        return {rpc::ApplicationError, e.what()};
    } catch (const BadChangeLog& e) {
        log_.info("{} {} refused in {:.2f} ms: {} {}", shown(id), shown(method), ms, int{rpc::InvalidParams},
                  shown(e.what(), 300));
        return {rpc::InvalidParams, std::string("Invalid params: ") + e.what()};
    } catch (const OutOfDescriptors& e) {
        log_.warn("{} {} refused in {:.2f} ms: out of file descriptors: {}", shown(id), shown(method), ms, e.what());
        return {rpc::ApplicationError, msg::kSemArquivos};
    } catch (const std::bad_alloc&) {
        detail = "out of memory";
    } catch (const std::exception& e) {
        detail = e.what();
    } catch (...) {
        detail = "unknown failure";
    }
    // Statements and storage errors stay here; the client gets a reference to them.
    const unsigned long long reference = nextReference_++;
    log_.error("{} {} failed in {:.2f} ms, reference {}: {}", shown(id), shown(method), ms, reference, detail);
    return {rpc::InternalError, msg::erroInterno(reference)};
}

std::string RequestHandler::lineError(int code, const std::string& message, std::size_t lineBytes,
                                      Clock::time_point start) const {
    log_.info("a line of {} bytes refused in {:.2f} ms: {} {}", lineBytes, millisSince(start), code, message);
    return rpc::errorLineFor("null", code, message);
}

void RequestHandler::handleLine(std::string_view line, Session& session, const asio::any_io_executor& ex,
                                Done done) const {
    const auto start = Clock::now();
    lines_.fetch_add(1, std::memory_order_relaxed);
    std::optional<std::string> reply;
    std::shared_ptr<Job> job;
    try {
        const wire::MessageScan scan = wire::scanMessage(line, kMaxDepth, limits_.maxBatch);
        if (scan.verdict == wire::MessageScan::Verdict::NulByte) {
            reply = lineError(rpc::ParseError, "Parse error: a NUL byte inside the message", line.size(), start);
        } else if (scan.verdict == wire::MessageScan::Verdict::TooDeep) {
            reply = lineError(rpc::ParseError, "Parse error: nesting deeper than " + std::to_string(kMaxDepth) + " levels",
                              line.size(), start);
        } else if (scan.batch && scan.batchSize > limits_.maxBatch) {
            reply = lineError(rpc::InvalidRequest,
                              "Invalid Request: a batch holds at most " + std::to_string(limits_.maxBatch) +
                                  " requests, this one has " + std::to_string(scan.batchSize),
                              line.size(), start);
        } else if (scan.values > maxValues_) {
            reply = lineError(rpc::InvalidRequest,
                              "Invalid Request: a message holds at most " + std::to_string(maxValues_) +
                                  " values, this one has " + std::to_string(scan.values),
                              line.size(), start);
        } else {
            // A number no double holds is the request's fault, not the line's: it is parsed as 0
            // and the request holding it refused with its id.
            std::string patched;
            std::vector<bool> hugeNumbers;
            if (!scan.hugeNumbers.empty()) {
                patched.assign(line);
                for (auto it = scan.hugeNumbers.rbegin(); it != scan.hugeNumbers.rend(); ++it) {
                    patched.replace(it->offset, it->length, "0");
                    if (hugeNumbers.size() <= it->element) hugeNumbers.resize(it->element + 1);
                    hugeNumbers[it->element] = true;
                }
            }
            json message;
            try {
                message = json::parse(patched.empty() ? line : std::string_view(patched));
            } catch (const json::parse_error& e) {
                reply = lineError(rpc::ParseError, "Parse error: invalid JSON at byte " + std::to_string(e.byte),
                                  line.size(), start);
            }
            if (!reply && message.is_array() && message.empty())
                reply = lineError(rpc::InvalidRequest, "Invalid Request: empty batch", line.size(), start);
            if (!reply)  // `done` moves into the job only once nothing else can throw
                job = std::make_shared<Job>(*this, std::move(message), line.size(),
                                            std::vector<std::string>(scan.ids.begin(), scan.ids.end()),
                                            std::move(hugeNumbers), session, ex, std::move(done));
        }
    } catch (...) {  // memory ran out while reading the line
        const Failure f = describe(std::current_exception(), "(line)", "", start);
        reply = rpc::errorLineFor("null", f.code, f.message);
    }
    if (job) job->run();
    else done(std::move(reply));
}

}  // namespace appserver
