// A file written beside its name and put in its place only once complete: a failed or
// interrupted run leaves no half file and never replaces a good one.
#pragma once
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace batch {

class PartFile {
public:
    // Creates the file beside `path`; throws std::runtime_error (in Portuguese) when it cannot.
    explicit PartFile(std::string path);
    // Removes the file beside unless it was put in place.
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    void write(std::string_view text);
    // Writes everything out and closes; throws when the disk refused any of it.
    void finish();
    // Puts the finished file in place of `path`.
    void commit();

    const std::string& path() const { return path_; }

private:
    struct Close {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::string path_, part_;
    std::unique_ptr<std::FILE, Close> file_;
    bool failed_ = false, placed_ = false;
};

}  // namespace batch
