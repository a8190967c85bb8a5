// What the client programs' command lines share: CLI11 underneath, one `--server HOST:PORT`.
#pragma once
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace host {

struct ServerAddress {
    std::string host;  // a name (resolved on connecting), an IPv4 address or an IPv6 address
    int port = 0;
};

// The refusal of a malformed address, from the text given and what is wrong with it.
using BadServerText = std::string (*)(const std::string& text, const std::string& why);

// `--server HOST:PORT` (an IPv6 address in brackets: "[::1]:52300"), read into `address`.
CLI::Option* addServerOption(CLI::App& app, ServerAddress& address, const std::string& description, BadServerText bad);

// `--version`, printing the program's name and the project's version.
void addVersionFlag(CLI::App& app, const std::string& description);

enum class Asked { Run, Help, Version };

// Parses `args` (without the program's name): what the user asked for (--help and --version
// run nothing); throws CLI::ParseError for anything wrong.
Asked parseArguments(CLI::App& app, const std::vector<std::string>& args);

// Throws std::invalid_argument naming, in Portuguese, the first option or argument the app left
// unread (an app that allows extras refuses them here).
void refuseRemaining(const CLI::App& app);

// "NAME VERSION", a line.
std::string versionLine(const std::string& program);

}  // namespace host
