// What one connection may do: open (a store without users, from this machine), only after
// signing in, or nothing at all; and who has signed in on it. Touched on the connection's thread only.
#pragma once
#include <asio/ip/address.hpp>
#include <optional>

#include "store/author.h"
#include "accounts/users.h"

namespace appserver {

struct Session {
    enum class Access {
        Open,            // no users: everyone from this machine may read and write
        SignInRequired,  // every call but Login waits for a sign-in
        LocalOnly,       // no users and a client from elsewhere: every call is refused
    };
    Access access = Access::Open;
    asio::ip::address peer;
    std::optional<User> user;

    // Who the store records for this connection's changes, and the branch they are held to.
    Author author() const {
        if (!user) return {};
        return {user->name, user->branch, {}};
    }
};

}  // namespace appserver
