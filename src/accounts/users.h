// The people who may sign in to the server, kept in the store's file: name, role, branch and
// the Argon2id hash of their password.
#pragma once
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "store/pg_db.h"
#include "store/sqlite_db.h"

namespace appserver {

enum class Role { Editor, Viewer };
const char* roleWord(Role r);  // "editor", "viewer"
// Throws std::invalid_argument for any other word.
Role roleFromWord(const std::string& word);

struct User {
    std::string name;
    Role role = Role::Viewer;
    std::string branch;  // CDFILIAL: the one branch whose tables the user may change
};

// Thread-safe. Names are compared exactly; each method is one statement on its own connection.
class Users {
public:
    // Opens the store (a file, or a PostgreSQL URI), creating its tables when missing; throws
    // sqlite::Error or pg::Error.
    explicit Users(const std::string& store);

    // Throw std::invalid_argument with the reason (a name taken or unknown, a malformed name,
    // branch or password) and change nothing.
    void add(const User& user, std::string_view password);
    void setPassword(const std::string& name, std::string_view password);
    void remove(const std::string& name);

    std::vector<User> list();
    bool any();
    // The user and the stored hash, when the name is known.
    std::optional<std::pair<User, std::string>> find(const std::string& name);

private:
    // Runs `work` with the connection, opening it again after PostgreSQL dropped it.
    template <class Work>
    auto withDb(Work work);

    const std::string store_;
    std::mutex mutex_;
    std::variant<std::unique_ptr<sqlite::Database>, std::unique_ptr<pg::Connection>> db_;  // guarded by mutex_
};

}  // namespace appserver
