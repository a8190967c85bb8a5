#include "host/module_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>

namespace host {
namespace {

void* symbol(void* handle, const char* name, const std::string& path) {
    dlerror();
    void* sym = dlsym(handle, name);
    if (!sym) {
        const char* why = dlerror();
        throw std::runtime_error(path + ": no symbol " + name + (why ? std::string(" (") + why + ")" : std::string()));
    }
    return sym;
}

}  // namespace

LoadedModule::LoadedModule(const std::string& path) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = dlerror();
        throw std::runtime_error("cannot load " + path + ": " + (why ? why : "unknown reason"));
    }
    try {
        iniProc_ = reinterpret_cast<void (*)()>(symbol(handle_, "IniProc", path));
        created_ = static_cast<const bool*>(symbol(handle_, "boIdCriado", path));
        form_ = static_cast<tk::TForm* const*>(symbol(handle_, "frmComissao", path));
    } catch (...) {
        dlclose(handle_);
        throw;
    }
}

LoadedModule::~LoadedModule() { dlclose(handle_); }

ScreenModule LoadedModule::bindings() const {
    return ScreenModule{
        [entry = iniProc_] { entry(); },
        [form = form_] { return *form; },
        [created = created_] { return *created; },
    };
}

std::string defaultModulePath() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "libktr52300.so";
    return moduleFor(exe);
}

std::string moduleFor(const std::filesystem::path& executable) {
    const std::filesystem::path beside = executable.parent_path() / "libktr52300.so";
    std::error_code ec;
    if (std::filesystem::exists(beside, ec)) return beside.string();
    return (executable.parent_path().parent_path() / "lib" / "ktr52300" / "libktr52300.so").string();
}

}  // namespace host
