// The program's start on a store: the lock is taken for the program's life, and a store that
// another program holds is left alone with one clear message.

#include <gtest/gtest.h>

#include <QDir>

#include "app/StartUp.h"
#include "tests/FakeServices.h"
#include "tests/TestSupport.h"

namespace velmora::test {
namespace {

TEST(StartUp, TakesTheStoreLockForTheProgramsLife) {
    TempDir dir;
    TFakeServices services;
    std::string root;
    auto lock = ui::OpenStore(dir.Dir(), root, services, std::chrono::milliseconds(0));
    ASSERT_NE(lock, nullptr);
    EXPECT_EQ(root, dir.Dir());
    EXPECT_TRUE(services.Prompts.isEmpty());
    // While it is held, a second program is refused.
    std::string second;
    EXPECT_EQ(ui::OpenStore(dir.Dir(), second, services, std::chrono::milliseconds(0)), nullptr);
    lock.reset();
    EXPECT_NE(ui::OpenStore(dir.Dir(), second, services, std::chrono::milliseconds(0)), nullptr);
}

TEST(StartUp, BusyStoreIsToldAndLeftUnchanged) {
    TempDir dir;
    const TStoreLock held(dir.Dir());
    const QStringList before =
        QDir(QString::fromStdString(dir.Dir()))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    TFakeServices services;
    std::string root;
    EXPECT_EQ(ui::OpenStore(dir.Dir(), root, services, std::chrono::milliseconds(0)), nullptr);
    ASSERT_EQ(services.Prompts.size(), 1);
    EXPECT_EQ(services.Prompts[0].Caption, "Velmora");
    EXPECT_EQ(services.Prompts[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(services.Prompts[0].Text.startsWith("相册库正被另一个 Velmora 程序使用"));
    EXPECT_EQ(QDir(QString::fromStdString(dir.Dir()))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              before);
}

TEST(StartUp, StoreThatCannotBeMadeIsReported) {
    TempDir dir;
    WriteText(dir / "file", "x");
    TFakeServices services;
    std::string root;
    EXPECT_EQ(ui::OpenStore(dir.Dir() + "file/store", root, services), nullptr);
    ASSERT_EQ(services.Prompts.size(), 1);
    EXPECT_EQ(services.Prompts[0].Icon, QMessageBox::Critical);
}

}  // namespace
}  // namespace velmora::test
