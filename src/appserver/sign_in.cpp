#include "appserver/sign_in.h"

#include <asio/post.hpp>
#include <asio/steady_timer.hpp>
#include <algorithm>
#include <asio/execution/outstanding_work.hpp>
#include <asio/prefer.hpp>
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
    : users_(users),
      options_(options),
      log_(log),
      dummyHash_(hashPassword("not the password of anyone")),
      checks_(std::max(options.checkThreads, 1u)) {}

SignIn::~SignIn() { checks_.join(); }

Session SignIn::open(const asio::ip::address& peer) {
    Session s;
    s.peer = peer;
    if (users_.any()) s.access = Session::Access::SignInRequired;
    else s.access = peer.is_loopback() ? Session::Access::Open : Session::Access::LocalOnly;
    return s;
}

std::exception_ptr SignIn::admit(const std::string& peer) {
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    if (failures_.size() >= kMaxTracked)
        std::erase_if(failures_, [now](const auto& f) { return f.second.lockedUntil <= now && f.second.checking == 0; });
    Failures& f = failures_[peer];
    auto left = f.lockedUntil - now;
    // Attempts under way may all prove wrong: one more than the failures allowed is never tried.
    if (left <= Clock::duration::zero() && f.count + f.checking >= options_.maxFailures) left = options_.lockout;
    if (left > Clock::duration::zero()) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left).count();
        return std::make_exception_ptr(Refusal(msg::bloqueado((seconds + 59) / 60)));
    }
    ++f.checking;
    return nullptr;
}

void SignIn::failed(const std::string& peer) {
    std::lock_guard lock(mutex_);
    Failures& f = failures_[peer];
    if (f.checking > 0) --f.checking;
    if (++f.count >= options_.maxFailures && f.lockedUntil <= Clock::now()) {
        f.count = 0;
        f.lockedUntil = Clock::now() + options_.lockout;
        log_.warn("sign-in from {} shut out for {} s after {} failures", peer,
                  std::chrono::duration_cast<std::chrono::seconds>(options_.lockout).count(), options_.maxFailures);
    }
}

void SignIn::succeeded(const std::string& peer) {
    std::lock_guard lock(mutex_);
    Failures& f = failures_[peer];
    if (f.checking > 0) --f.checking;
    f.count = 0;
    if (f.checking == 0 && f.lockedUntil <= Clock::now()) failures_.erase(peer);
}

void SignIn::login(const asio::ip::address& peer, std::string name, std::string password,
                   const asio::any_io_executor& ex, Done done) {
    const std::string from = peer.to_string();
    if (auto refusal = admit(from)) {
        log_.info("sign-in of {} from {} refused: shut out", shownName(name), from);
        // After the delay too: a shut-out address that asks again at once must not take the
        // threads everyone's requests are answered on.
        auto timer = std::make_shared<asio::steady_timer>(ex, options_.failureDelay);
        timer->async_wait([timer, done = std::move(done), refusal](const asio::error_code&) { done(refusal, User{}); });
        return;
    }
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back(Attempt{from, std::move(name), std::move(password),
                                   asio::prefer(ex, asio::execution::outstanding_work.tracked), std::move(done)});
    }
    asio::post(checks_, [this] { checkNext(); });
}

void SignIn::checkNext() {
    Attempt a;
    bool quiet = false;
    {
        std::lock_guard lock(mutex_);
        if (waiting_.empty()) return;
        auto best = waiting_.begin();
        unsigned fewest = ~0u;
        for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
            const Failures& f = failures_[it->from];
            if (f.count + f.checking < fewest) {
                fewest = f.count + f.checking;
                best = it;
            }
        }
        // One thread is kept for quiet addresses (no failure, nothing else under way), so that a
        // crowd never has every thread and a good sign-in waits only for its own check. The
        // crowd's check under way posts again when it ends.
        quiet = fewest <= 1;
        const unsigned threads = std::max(options_.checkThreads, 1u);
        if (!quiet && threads > 1 && crowdChecks_ >= threads - 1) return;
        if (!quiet) ++crowdChecks_;
        a = std::move(*best);
        waiting_.erase(best);
    }
    check(a);
    std::lock_guard lock(mutex_);
    if (!quiet) --crowdChecks_;
    if (!waiting_.empty()) asio::post(checks_, [this] { checkNext(); });
}

void SignIn::check(Attempt& a) {
    std::exception_ptr failure;
    User user;
    try {
        const auto found = users_.find(a.name);
        const bool ok = passwordMatches(found ? found->second : dummyHash_, a.password) && found;
        if (ok) {
            user = found->first;
            succeeded(a.from);
            log_.info("{} signed in from {} ({}, branch {})", user.name, a.from, roleWord(user.role), user.branch);
        } else {
            failed(a.from);
            log_.info("sign-in of {} from {} refused: wrong name or password", shownName(a.name), a.from);
            failure = std::make_exception_ptr(Refusal(msg::kUsuarioOuSenha));
        }
    } catch (...) {
        failure = std::current_exception();
        std::lock_guard lock(mutex_);
        if (auto& f = failures_[a.from]; f.checking > 0) --f.checking;
    }
    if (!failure) {
        asio::post(a.ex, [done = std::move(a.done), user] { done(nullptr, user); });
        return;
    }
    // A wrong password is answered only after the delay, whichever part of it was wrong.
    auto timer = std::make_shared<asio::steady_timer>(a.ex, options_.failureDelay);
    timer->async_wait([timer, done = std::move(a.done), failure](const asio::error_code&) { done(failure, User{}); });
}

}  // namespace appserver
