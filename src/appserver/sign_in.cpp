#include "appserver/sign_in.h"

#include <asio/post.hpp>
#include <asio/steady_timer.hpp>
#include <memory>

#include "appserver/messages.h"
#include "accounts/password.h"
#include "store/store.h"

namespace appserver {

using Clock = std::chrono::steady_clock;

namespace {

// Addresses a failing client could spread its attempts over are few per machine; still, the
// table is kept from growing without end by dropping entries that no longer lock anyone out.
constexpr std::size_t kMaxTracked = 100'000;

// A name as the log shows it: short, on one line, so that no client can write log lines of its own.
std::string shownName(const std::string& name) {
    std::string out = name.substr(0, 40);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return out;
}

}  // namespace

SignIn::SignIn(Users& users, const SignInOptions& options, spdlog::logger& log)
    : users_(users), options_(options), log_(log), dummyHash_(hashPassword("not the password of anyone")) {}

SignIn::~SignIn() { checks_.join(); }

Session SignIn::open(const asio::ip::address& peer) {
    Session s;
    s.peer = peer;
    if (users_.any()) s.access = Session::Access::SignInRequired;
    else s.access = peer.is_loopback() ? Session::Access::Open : Session::Access::LocalOnly;
    return s;
}

std::exception_ptr SignIn::lockedOut(const std::string& peer) {
    std::lock_guard lock(mutex_);
    const auto it = failures_.find(peer);
    if (it == failures_.end() || it->second.lockedUntil <= Clock::now()) return nullptr;
    const auto left = std::chrono::duration_cast<std::chrono::seconds>(it->second.lockedUntil - Clock::now()).count();
    return std::make_exception_ptr(Refusal(msg::bloqueado((left + 59) / 60)));
}

void SignIn::failed(const std::string& peer) {
    std::lock_guard lock(mutex_);
    if (failures_.size() >= kMaxTracked)
        std::erase_if(failures_, [now = Clock::now()](const auto& f) { return f.second.lockedUntil <= now; });
    Failures& f = failures_[peer];
    if (++f.count >= options_.maxFailures) {
        f.count = 0;
        f.lockedUntil = Clock::now() + options_.lockout;
        log_.warn("sign-in from {} shut out for {} s after {} failures", peer,
                  std::chrono::duration_cast<std::chrono::seconds>(options_.lockout).count(), options_.maxFailures);
    }
}

void SignIn::succeeded(const std::string& peer) {
    std::lock_guard lock(mutex_);
    failures_.erase(peer);
}

void SignIn::login(const asio::ip::address& peer, std::string name, std::string password,
                   const asio::any_io_executor& ex, Done done) {
    const std::string from = peer.to_string();
    if (auto refusal = lockedOut(from)) {
        log_.info("sign-in of {} from {} refused: shut out", shownName(name), from);
        asio::post(ex, [done = std::move(done), refusal] { done(refusal, User{}); });
        return;
    }
    asio::post(checks_, [this, from, name = std::move(name), password = std::move(password), ex, done = std::move(done)] {
        std::exception_ptr failure;
        User user;
        try {
            const auto found = users_.find(name);
            const bool ok = passwordMatches(found ? found->second : dummyHash_, password) && found;
            if (ok) {
                user = found->first;
                succeeded(from);
                log_.info("{} signed in from {} ({}, branch {})", user.name, from, roleWord(user.role), user.branch);
            } else {
                failed(from);
                log_.info("sign-in of {} from {} refused: wrong name or password", shownName(name), from);
                failure = std::make_exception_ptr(Refusal(msg::kUsuarioOuSenha));
            }
        } catch (...) {
            failure = std::current_exception();
        }
        if (!failure) {
            asio::post(ex, [done, user] { done(nullptr, user); });
            return;
        }
        // A wrong password is answered only after the delay, whichever part of it was wrong.
        auto timer = std::make_shared<asio::steady_timer>(ex, options_.failureDelay);
        timer->async_wait([timer, done, failure](const asio::error_code&) { done(failure, User{}); });
    });
}

}  // namespace appserver
