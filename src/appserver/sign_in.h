// Login: checks a name and password against the users on a few threads of its own (an Argon2id
// check takes a tenth of a second and much memory, which the threads answering requests must
// not spend), answers a wrong password only after a fixed delay, and shuts out, for a while,
// an address that keeps failing. Attempts still being checked count as failures until they are
// known, so parallel connections cannot try more than the allowed number; and the checks waiting
// for a thread go in order of their address's failures, so that a crowd of wrong passwords
// delays only the addresses it comes from, one thread staying free for quiet addresses.
#pragma once
#include <asio/any_io_executor.hpp>
#include <asio/thread_pool.hpp>
#include <chrono>
#include <exception>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <spdlog/logger.h>
#include <string>

#include "appserver/session.h"
#include "accounts/users.h"

namespace appserver {

struct SignInOptions {
    std::chrono::milliseconds failureDelay = std::chrono::seconds(1);
    unsigned maxFailures = 5;  // in a row from one address, before it is shut out
    std::chrono::milliseconds lockout = std::chrono::minutes(5);
    unsigned checkThreads = 2;  // password checks at once
};

class SignIn {
public:
    // The users and the log outlive the service.
    SignIn(Users& users, const SignInOptions& options, spdlog::logger& log);
    // Waits for the checks under way.
    ~SignIn();

    // What a new connection from `peer` may do (one look at the users: a user added later counts
    // from the next connection on).
    Session open(const asio::ip::address& peer);

    // Called on `ex`: with the user once signed in, else with a Refusal (a wrong name or password,
    // after the delay; a shut-out address, at once) or another failure.
    using Done = std::function<void(std::exception_ptr failure, const User& user)>;
    void login(const asio::ip::address& peer, std::string name, std::string password, const asio::any_io_executor& ex,
               Done done);

private:
    struct Failures {
        unsigned count = 0;
        unsigned checking = 0;  // attempts from there not yet known to be right or wrong
        std::chrono::steady_clock::time_point lockedUntil;
    };
    struct Attempt {
        std::string from;
        std::string name;
        std::string password;
        asio::any_io_executor ex;  // tracks work: its loop runs until the attempt is answered
        Done done;
    };

    // Counts the attempt as one under way; the refusal for an address shut out now (or that
    // already has as many attempts under way as it may fail), if it is.
    std::exception_ptr admit(const std::string& peer);
    // Checks the waiting attempt whose address has the fewest failures and attempts under way
    // now, the earliest of those.
    void checkNext();
    // Checks the password and answers the attempt on its executor.
    void check(Attempt& a);
    void failed(const std::string& peer);
    void succeeded(const std::string& peer);

    Users& users_;
    const SignInOptions options_;
    spdlog::logger& log_;
    const std::string dummyHash_;  // checked for unknown names, so that they take as long as known ones
    std::mutex mutex_;
    std::map<std::string, Failures> failures_;  // by address; guarded by mutex_
    std::list<Attempt> waiting_;                // in arrival order; guarded by mutex_
    unsigned crowdChecks_ = 0;                  // checks under way for addresses not quiet; guarded by mutex_
    asio::thread_pool checks_;                  // last: its threads stop before the rest goes
};

}  // namespace appserver
