// Copying every row of one store into an empty other (SQLite or PostgreSQL, either way), numbers kept.
#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace appserver {

// A copy that cannot be made or would not be faithful; the target is as it was before.
class CopyRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CopiedTable {
    std::string table;
    std::size_t rows = 0;
    long long lastNumber = 0;  // the highest number the copy's store has given or will skip; 0: none
};

// Copies the lists, the history and the users of the store `from` into the store `to` (each a
// file path or a postgresql:// URI), both first brought to the current tables. One transaction on
// the target: the target must hold no row, every row keeps its number, every table is read back
// and compared value by value before the commit, and the key counters carry over so that no
// number given by the source is given again. An SQLite file is claimed as a server claims it, so
// no server runs on it meanwhile. Throws CopyRefused, schema::TooNew, StoreFileError,
// sqlite::Error or pg::Error.
std::vector<CopiedTable> copyStore(const std::string& from, const std::string& to);

}  // namespace appserver
