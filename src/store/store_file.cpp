#include "store/store_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace appserver {

namespace {

bool startsWithFileScheme(const std::string& path) {
    if (path.size() < 5) return false;
    std::string head = path.substr(0, 5);
    for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return head == "file:";
}

}  // namespace

StoreFile::StoreFile(const std::string& path, bool createFolder) {
    if (path.empty()) throw StoreFileError("--db needs a file path; it is empty");
    if (path == ":memory:") throw StoreFileError("--db needs a file path: \":memory:\" would keep nothing");
    if (startsWithFileScheme(path))
        throw StoreFileError("--db needs a plain file path, not an SQLite \"file:\" name: \"" + path + "\"");
    const std::filesystem::path file(path);
    const auto folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        if (!createFolder) throw StoreFileError("the folder of the database, " + folder.string() + ", does not exist");
        std::filesystem::create_directories(folder, ec);
        if (ec) throw StoreFileError("cannot create the folder " + folder.string() + ": " + ec.message());
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
        createdFolder_ = true;
    }
    fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0 && errno == ENOENT) {
        // SQLite gives its journal files the mode of the database file, so they follow.
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
        created_ = fd_ >= 0;
    }
    if (fd_ < 0) throw StoreFileError("cannot open the database " + path + ": " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        throw StoreFileError("the database " + path + " is not a regular file");
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd_);
        if (err == EWOULDBLOCK) throw StoreFileError("another server is using the database " + path);
        throw StoreFileError("cannot lock the database " + path + ": " + std::strerror(err));
    }
}

StoreFile::~StoreFile() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace appserver
