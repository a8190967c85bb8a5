#include "appserver/user_command.h"

#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "store/pg_db.h"
#include "store/store_file.h"
#include "accounts/users.h"

namespace appserver {

namespace {

// One line of `in`; at a terminal, asked for without echo.
std::string readPassword(std::istream& in, std::ostream& err) {
    const bool terminal = &in == &std::cin && ::isatty(STDIN_FILENO);
    termios saved{};
    if (terminal && ::tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        err << "Password: " << std::flush;
    }
    std::string line;
    std::getline(in, line);
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        err << '\n';
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

void addUserCommand(CLI::App& app, UserCommand& command) {
    auto* user = app.add_subcommand("user", "manage who may sign in (the password is read from standard input), then exit");
    user->require_subcommand(1);
    auto* add = user->add_subcommand("add", "add a user");
    add->add_option("NAME", command.name, "the user's name")->required();
    add->add_option("--role", command.role, "editor (reads and changes) or viewer (reads only)")
        ->required()
        ->check(CLI::IsMember({"editor", "viewer"}).description(""));
    add->add_option("--branch", command.branch, "the branch (CDFILIAL) whose tables the user may change")->required();
    add->callback([&command] { command.verb = "add"; });
    user->add_subcommand("list", "list the users: name, role, branch")->callback([&command] { command.verb = "list"; });
    auto* remove = user->add_subcommand("remove", "remove a user");
    remove->add_option("NAME", command.name, "the user's name")->required();
    remove->callback([&command] { command.verb = "remove"; });
    auto* passwd = user->add_subcommand("passwd", "set a user's password");
    passwd->add_option("NAME", command.name, "the user's name")->required();
    passwd->callback([&command] { command.verb = "passwd"; });
}

int runUserCommand(const UserCommand& command, const std::string& dbPath, bool createFolder, std::istream& in,
                   std::ostream& out, std::ostream& err) {
    try {
        // A new store is made as the server would make it; an existing one may be in use by a
        // running server, which sees the change at its next sign-in.
        if (!pg::isUri(dbPath) && !std::filesystem::exists(dbPath)) StoreFile made(dbPath, createFolder);
        Users users(dbPath);
        if (command.verb == "list") {
            for (const auto& u : users.list()) out << u.name << ' ' << roleWord(u.role) << ' ' << u.branch << '\n';
        } else if (command.verb == "remove") {
            users.remove(command.name);
        } else if (command.verb == "add") {
            users.add({command.name, roleFromWord(command.role), command.branch}, readPassword(in, err));
        } else {
            users.setPassword(command.name, readPassword(in, err));
        }
        return 0;
    } catch (const std::exception& e) {
        err << "ktr52300-server: user " << command.verb << ": " << e.what() << '\n';
        return 1;
    }
}

}  // namespace appserver
