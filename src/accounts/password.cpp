#include "accounts/password.h"

#include <sodium.h>

#include <stdexcept>

namespace appserver {

namespace {

void startSodium() {
    if (sodium_init() < 0) throw std::runtime_error("libsodium could not start");
}

}  // namespace

std::string hashPassword(std::string_view password) {
    startSodium();
    // The interactive costs: some 64 MiB and a tenth of a second a sign-in on this kind of machine.
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("not enough memory to hash a password");
    return hash;
}

bool passwordMatches(const std::string& hash, std::string_view password) {
    startSodium();
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace appserver
