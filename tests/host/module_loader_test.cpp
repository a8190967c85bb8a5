// Loading the screen module: its three exported symbols, and a clear failure otherwise.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "host/module_loader.h"
#include "support/test_paths.h"

namespace host {
namespace {

TEST(ModuleLoaderTest, FindsTheEntryAndVariablesOfTheScreenModule) {
    LoadedModule module(testsupport::binDir() + "/libktr52300.so");
    ScreenModule bound = module.bindings();
    ASSERT_TRUE(bound.open);
    // Nothing created while only loaded.
    EXPECT_FALSE(bound.created());
    EXPECT_EQ(bound.form(), nullptr);
}

TEST(ModuleLoaderTest, AMissingModuleOrSymbolIsReportedWithThePath) {
    try {
        LoadedModule module("/nonexistent/libnothing.so");
        FAIL() << "loaded a module that does not exist";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/libnothing.so"), std::string::npos) << e.what();
    }
    // A real library without the screen's entry.
    const std::string other = testsupport::binDir() + "/libbackoffice.so";
    try {
        LoadedModule module(other);
        FAIL() << "a library without IniProc was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("IniProc"), std::string::npos) << e.what();
    }
}

TEST(ModuleLoaderTest, TheDefaultModuleSitsBesideTheExecutable) {
    const std::filesystem::path path = defaultModulePath();
    EXPECT_EQ(path.filename(), "libktr52300.so");
    EXPECT_EQ(path.parent_path(), std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

TEST(ModuleLoaderTest, AnInstalledHostFindsTheModuleInTheLibraryFolder) {
    // No module beside /usr/bin/backoffice: the packages put it in /usr/lib/ktr52300.
    EXPECT_EQ(moduleFor("/nonexistent/usr/bin/backoffice"), "/nonexistent/usr/lib/ktr52300/libktr52300.so");
}

}  // namespace
}  // namespace host
