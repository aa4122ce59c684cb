// One writer per store: a second lock on the same root is refused with a clear message,
// and the lock is free again once its holder is gone.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "store/StoreLock.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using namespace std::chrono_literals;

TEST(StoreLock, SecondWriterIsRefusedUntilTheFirstLetsGo) {
    test::TempDir root;
    {
        TStoreLock first(root.Dir());
        EXPECT_TRUE(std::filesystem::exists(root / TStoreLock::FileName));
        try {
            TStoreLock second(root.Dir(), 0ms);
            FAIL() << "a second lock was granted";
        } catch (const StoreBusy& busy) {
            EXPECT_NE(std::string(busy.what()).find("in use by another Velmora program"),
                      std::string::npos);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(root / TStoreLock::FileName));
    EXPECT_NO_THROW(TStoreLock again(root.Dir(), 0ms));
}

TEST(StoreLock, UnwritableRootIsAnIoError) {
    EXPECT_THROW(TStoreLock lock("/proc/velmora-no-such-root/", 0ms), IoError);
}

}  // namespace
}  // namespace velmora
