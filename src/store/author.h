// Who sends a change log: the name its history records and the one branch its changes may touch.
#pragma once
#include <optional>
#include <string>

namespace appserver {

struct Author {
    std::string user;                   // empty: a local client of a store without users
    std::optional<std::string> branch;  // the only CDFILIAL it may change; none: any
};

}  // namespace appserver
