#include "accounts/users.h"

#include <algorithm>
#include <stdexcept>

#include "store/refusals.h"
#include "accounts/password.h"
#include "store/store.h"
#include "store/schema.h"

namespace appserver {

namespace {

// Names go into the log and the history: printable, one word, of a sensible length.
void checkName(const std::string& name) {
    if (name.empty() || name.size() > 40 ||
        !std::all_of(name.begin(), name.end(), [](unsigned char c) { return c > 0x20 && c != 0x7f; }))
        throw std::invalid_argument("a user name is 1 to 40 characters, without spaces or control characters");
}

void checkPassword(std::string_view password) {
    if (password.size() < 8) throw std::invalid_argument("a password has at least 8 characters");
    if (password.size() > 1024) throw std::invalid_argument("a password has at most 1024 characters");
}

// The branch as CDFILIAL holds it: up to four characters, digits.
void checkBranch(const std::string& branch) {
    if (branch.empty() || branch.size() > 4 ||
        !std::all_of(branch.begin(), branch.end(), [](unsigned char c) { return c >= '0' && c <= '9'; }))
        throw std::invalid_argument("a branch is a code of 1 to 4 digits, as 0001");
}

}  // namespace

const char* roleWord(Role r) { return r == Role::Editor ? "editor" : "viewer"; }

Role roleFromWord(const std::string& word) {
    if (word == "editor") return Role::Editor;
    if (word == "viewer") return Role::Viewer;
    throw std::invalid_argument("a role is editor or viewer, not \"" + word + "\"");
}

Users::Users(const std::string& store) : store_(store) {
    if (pg::isUri(store)) db_ = std::make_unique<pg::Connection>(store);
    else db_ = std::make_unique<sqlite::Database>(store);
    std::visit([](auto& db) { schema::prepare(*db); }, db_);
}

template <class Work>
auto Users::withDb(Work work) {
    std::lock_guard lock(mutex_);
    for (int run = 1;; ++run) {
        auto* pg = std::get_if<std::unique_ptr<pg::Connection>>(&db_);
        try {
            if (pg && (!*pg || !(*pg)->usable())) *pg = std::make_unique<pg::Connection>(store_);
            return std::visit([&](auto& db) { return work(*db); }, db_);
        } catch (const pg::Error& e) {
            // PostgreSQL restarted or cut the connection: once more on a new one, then say so.
            if (!e.connectionLost()) throw;
            pg->reset();
            if (run == 2) throw Refusal(msg::kBancoIndisponivel);
        }
    }
}

void Users::add(const User& user, std::string_view password) {
    checkName(user.name);
    checkBranch(user.branch);
    checkPassword(password);
    const std::string hash = hashPassword(password);  // outside the lock: it takes a while
    withDb([&](auto& db) {
        auto taken = db.query("SELECT 1 FROM USUARIO WHERE NMUSUARIO = ?");
        taken.bindText(1, user.name);
        if (taken.step()) throw std::invalid_argument("the user " + user.name + " exists already");
        auto q = db.query("INSERT INTO USUARIO (NMUSUARIO, IDPAPEL, CDFILIAL, DSSENHA) VALUES (?, ?, ?, ?)");
        q.bindText(1, user.name).bindText(2, roleWord(user.role)).bindText(3, user.branch).bindText(4, hash);
        q.step();
    });
}

void Users::setPassword(const std::string& name, std::string_view password) {
    if (!find(name)) throw std::invalid_argument("no user named " + name);
    checkPassword(password);
    const std::string hash = hashPassword(password);
    withDb([&](auto& db) {
        auto q = db.query("UPDATE USUARIO SET DSSENHA = ? WHERE NMUSUARIO = ?");
        q.bindText(1, hash).bindText(2, name);
        q.step();
    });
}

void Users::remove(const std::string& name) {
    if (!find(name)) throw std::invalid_argument("no user named " + name);
    withDb([&](auto& db) {
        auto q = db.query("DELETE FROM USUARIO WHERE NMUSUARIO = ?");
        q.bindText(1, name);
        q.step();
    });
}

std::vector<User> Users::list() {
    return withDb([](auto& db) {
        auto q = db.query("SELECT NMUSUARIO, IDPAPEL, CDFILIAL FROM USUARIO ORDER BY NMUSUARIO");
        std::vector<User> users;
        while (q.step())
            users.push_back({std::get<std::string>(q.column(0, wire::FieldType::String)),
                             roleFromWord(std::get<std::string>(q.column(1, wire::FieldType::String))),
                             std::get<std::string>(q.column(2, wire::FieldType::String))});
        return users;
    });
}

bool Users::any() {
    return withDb([](auto& db) {
        auto q = db.query("SELECT EXISTS (SELECT 1 FROM USUARIO)");
        return q.step() && q.columnInt(0) != 0;
    });
}

std::optional<std::pair<User, std::string>> Users::find(const std::string& name) {
    return withDb([&](auto& db) -> std::optional<std::pair<User, std::string>> {
        auto q = db.query("SELECT NMUSUARIO, IDPAPEL, CDFILIAL, DSSENHA FROM USUARIO WHERE NMUSUARIO = ?");
        q.bindText(1, name);
        if (!q.step()) return std::nullopt;
        User user{std::get<std::string>(q.column(0, wire::FieldType::String)),
                  roleFromWord(std::get<std::string>(q.column(1, wire::FieldType::String))),
                  std::get<std::string>(q.column(2, wire::FieldType::String))};
        return std::make_pair(std::move(user), std::get<std::string>(q.column(3, wire::FieldType::String)));
    });
}

}  // namespace appserver
