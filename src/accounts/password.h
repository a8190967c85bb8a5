// Passwords kept as Argon2id hashes (libsodium's string form, salt and cost inside), never in clear.
#pragma once
#include <string>
#include <string_view>

namespace appserver {

// Throws std::runtime_error when libsodium cannot start or runs out of memory.
std::string hashPassword(std::string_view password);
// True when `password` is the one `hash` was made from; false for a malformed hash.
bool passwordMatches(const std::string& hash, std::string_view password);

}  // namespace appserver
