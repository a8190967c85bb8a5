// Read-only access to the host's local SQLite database (the host's database module).
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "wire/packet.h"

struct sqlite3;

namespace fw {

class TLocalDatabase {
public:
    // Opens read-only; throws std::runtime_error with SQLite's message on failure.
    explicit TLocalDatabase(const std::string& path);
    ~TLocalDatabase();
    TLocalDatabase(const TLocalDatabase&) = delete;
    TLocalDatabase& operator=(const TLocalDatabase&) = delete;

    // Runs `sql` with named text parameters (":NAME") and returns the rows shaped by
    // `fields` (columns matched by name; values converted to each field's type).
    wire::DataPacket Query(const std::string& sql,
                           const std::vector<std::pair<std::string, std::string>>& params,
                           const std::vector<wire::FieldDef>& fields);

private:
    sqlite3* db_ = nullptr;
};

}  // namespace fw
