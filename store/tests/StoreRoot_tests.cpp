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

TEST(StoreRoot, StoreOptionIsMadeAbsoluteWithATrailingSlash) {
    test::TempDir dir;
    EXPECT_EQ(ResolveStoreRoot(dir.Path().string()), dir.Dir());
    EXPECT_EQ(ResolveStoreRoot(dir.Dir() + "./x/../"), dir.Dir());
    const fs::path cwd = fs::current_path();
    EXPECT_EQ(ResolveStoreRoot("rel"), (cwd / "rel").string() + "/");
}

}  // namespace
}  // namespace velmora
