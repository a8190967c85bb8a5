// A screen module loaded with dlopen: its entry and its two exported variables.
#pragma once
#include <filesystem>
#include <string>

#include "host/script_player.h"

namespace host {

class LoadedModule {
public:
    // Loads `path` (RTLD_NOW | RTLD_LOCAL) and finds IniProc, boIdCriado and frmComissao.
    // Throws std::runtime_error with the loader's message when any is missing.
    explicit LoadedModule(const std::string& path);
    // Unloads the module; every form it created must be gone by then.
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    // Bindings for the player; valid while this object lives.
    ScreenModule bindings() const;

private:
    void* handle_ = nullptr;
    void (*iniProc_)() = nullptr;
    const bool* created_ = nullptr;
    // The module's screen variable; the screen type derives from TForm as its first base.
    tk::TForm* const* form_ = nullptr;
};

// moduleFor() the running executable.
std::string defaultModulePath();
// libktr52300.so beside `executable` when it is there (the build folder), else where the
// packages put it: ../lib/ktr52300/ from the executable's folder.
std::string moduleFor(const std::filesystem::path& executable);

}  // namespace host
