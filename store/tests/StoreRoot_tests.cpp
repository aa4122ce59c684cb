// Where the store lives without --store, and how --store is taken.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "store/StoreRoot.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

/// Sets an environment variable for the scope of a test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : FName(name) {
        if (const char* old = ::getenv(name)) FOld = old;
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (FOld) {
            ::setenv(FName, FOld->c_str(), 1);
        } else {
            ::unsetenv(FName);
        }
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

TEST(StoreRoot, ProgramFolderIsTheFolderOfTheRunningFile) {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(ProgramFolder(), self.parent_path().string() + "/");
    // The test program's folder is writable, so it is the default store.
    EXPECT_EQ(DefaultStoreRoot(), ProgramFolder());
}

TEST(StoreRoot, UserFolderFollowsXdgDataHome) {
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv xdg("XDG_DATA_HOME", "/data/me");
        EXPECT_EQ(UserStoreFolder(), "/data/me/velmora/");
    }
    for (const char* ignored : {"", "relative/path"}) {
        ScopedEnv xdg("XDG_DATA_HOME", ignored);
        EXPECT_EQ(UserStoreFolder(), "/home/someone/.local/share/velmora/") << ignored;
    }
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(UserStoreFolder(), "/home/someone/.local/share/velmora/");
}

TEST(StoreRoot, InstalledCopyKeepsItsStoreInTheUserDataFolder) {
    test::TempDir prefix;
    test::TempDir data;
    fs::create_directories(prefix / "bin");
    const std::string bin = prefix.Dir() + "bin/";
    ScopedEnv xdg("XDG_DATA_HOME", data.Path().c_str());
    // A writable folder without installed data is a portable copy: the store stands beside it.
    EXPECT_FALSE(IsInstalledProgram(bin));
    EXPECT_EQ(DefaultStoreRootFor(bin), bin);
    // Once share/velmora stands beside bin/, the copy is installed: even a writable bin/ (root
    // running the program) never receives albums; the user's folder is created.
    fs::create_directories(prefix / "share/velmora");
    EXPECT_TRUE(IsInstalledProgram(bin));
    EXPECT_EQ(DefaultStoreRootFor(bin), data.Dir() + "velmora/");
    EXPECT_TRUE(fs::is_directory(data / "velmora"));
    EXPECT_TRUE(fs::is_empty(prefix / "bin"));
}

TEST(StoreRoot, StoreOptionIsMadeAbsoluteWithATrailingSlash) {
    test::TempDir dir;
    EXPECT_EQ(ResolveStoreRoot(dir.Path().string()), dir.Dir());
    EXPECT_EQ(ResolveStoreRoot(dir.Dir() + "./x/../"), dir.Dir());
    const fs::path cwd = fs::current_path();
    EXPECT_EQ(ResolveStoreRoot("rel"), (cwd / "rel").string() + "/");
}

}  // namespace
}  // namespace velmora
