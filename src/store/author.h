// Who sends a change log: the name its history records and the one branch its changes may touch.
#pragma once
#include <optional>
#include <string>

namespace appserver {

struct Author {
    std::string user;                   // empty: a local client of a store without users
    std::optional<std::string> branch;  // the only CDFILIAL it may change; none: any
    std::string origin;                 // where the rows it inserts come from ("Cópia da tabela 3"); the
                                        // history writes it as their row before; empty: none
};

}  // namespace appserver
