#include "batch/part_file.h"

#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace batch {

PartFile::PartFile(std::string path)
    : path_(std::move(path)), part_(path_ + "." + std::to_string(::getpid()) + ".part"),
      file_(std::fopen(part_.c_str(), "wb")) {
    if (!file_) throw std::runtime_error("Não foi possível criar o arquivo " + path_ + ".");
    std::setvbuf(file_.get(), nullptr, _IOFBF, 1 << 20);
}

PartFile::~PartFile() {
    file_.reset();
    if (!placed_) {
        std::error_code ignored;
        std::filesystem::remove(part_, ignored);
    }
}

void PartFile::write(std::string_view text) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size()) failed_ = true;
}

void PartFile::finish() {
    // Not forced to disk: the run can be made again from its input, and forcing a payroll's
    // files would cost it more than paying every sale does.
    if (std::fflush(file_.get()) != 0) failed_ = true;
    if (std::fclose(file_.release()) != 0) failed_ = true;
    if (failed_) throw std::runtime_error("Não foi possível gravar o arquivo " + path_ + ".");
}

void PartFile::commit() {
    std::error_code error;
    std::filesystem::rename(part_, path_, error);
    if (error) throw std::runtime_error("Não foi possível gravar o arquivo " + path_ + ".");
    placed_ = true;
}

}  // namespace batch
