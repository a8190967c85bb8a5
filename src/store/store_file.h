// The database file, claimed for one server: a plain file path, a file readable by its owner
// only when new, and an exclusive lock held for the server's life.
#pragma once
#include <stdexcept>
#include <string>

namespace appserver {

// A reason the server cannot use the file, worded for whoever starts it.
class StoreFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class StoreFile {
public:
    // Refuses what is not a file path (empty, ":memory:", an SQLite "file:" name) and a folder
    // that does not exist, unless `createFolder` (the default location's own folder); creates a
    // missing file with mode 0600 and locks it, refusing when another server holds it. Throws
    // StoreFileError. Must outlive every SQLite connection to the file: the lock is an flock on
    // a descriptor of its own, and closing any descriptor of the file ends SQLite's locks.
    StoreFile(const std::string& path, bool createFolder);
    ~StoreFile();
    StoreFile(const StoreFile&) = delete;
    StoreFile& operator=(const StoreFile&) = delete;

    bool created() const { return created_; }
    bool createdFolder() const { return createdFolder_; }

private:
    int fd_ = -1;
    bool created_ = false;
    bool createdFolder_ = false;
};

}  // namespace appserver
