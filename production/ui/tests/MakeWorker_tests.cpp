// The dialog's production worker without the dialog: its run happens on its own thread while
// the GUI thread receives progress, preview frames and the end through queued calls only. These
// tests also run under ThreadSanitizer (make tsan), where any unsynchronised handover between
// the two threads is a failure.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "production/ui/MakeWorker.h"
#include "production/ui/tests/MakeFixtures.h"

namespace velmora::ui {
namespace {

/// A generous limit for a run of a few seconds on a busy machine.
constexpr int RunLimitMs = 120000;

class MakeWorker : public ::testing::Test {
protected:
    /// Runs the worker until Finished() arrives (or the limit passes); false on the limit.
    bool RunToEnd(TProductionWorker& worker) {
        QEventLoop loop;
        bool finished = false;
        QObject::connect(&worker, &TProductionWorker::Finished, &loop, [&] {
            finished = true;
            loop.quit();
        });
        QTimer::singleShot(RunLimitMs, &loop, &QEventLoop::quit);
        worker.Start();
        loop.exec();
        return finished;
    }

    TProductionSettings Settings() const {
        TProductionSettings settings;
        settings.OutputType = TOutputType::VCD;
        settings.OutputPath = (FOut / "out.mpg").string();
        return settings;
    }

    test::TempDir FRoot;
    test::TempDir FOut;
};

TEST_F(MakeWorker, HandsProgressPreviewsAndTheReportToTheGuiThread) {
    const TAlbumStore store = test::MakeAlbumStore(
        FRoot.Dir(),
        {{1, 5, "一", 160, 120, "gradient:red-blue"}, {1, 9, "二", 120, 160, "plasma:"}},
        {{3, true}});
    TProductionWorker worker(store, Settings());
    int progressCalls = 0;
    bool sawText = false;
    int previews = 0;
    bool allOnGuiThread = true;
    QObject::connect(
        &worker, &TProductionWorker::ProgressChanged, [&](const QString& text, const QString&) {
            ++progressCalls;
            allOnGuiThread &= QThread::currentThread() == QCoreApplication::instance()->thread();
            sawText |= !text.isEmpty();
        });
    QObject::connect(&worker, &TProductionWorker::PreviewFrame, [&](const QImage& frame) {
        ++previews;
        allOnGuiThread &= QThread::currentThread() == QCoreApplication::instance()->thread();
        EXPECT_EQ(frame.size(), QSize(320, 288));
    });

    ASSERT_TRUE(RunToEnd(worker));
    EXPECT_TRUE(worker.Report().Success) << worker.Report().FailureDetail;
    EXPECT_FALSE(worker.Report().Stopped);
    EXPECT_GE(worker.Report().FramesWritten, worker.Report().TotalFrames);
    EXPECT_TRUE(std::filesystem::exists(Settings().OutputPath));
    EXPECT_GT(progressCalls, 0);
    EXPECT_TRUE(sawText);
    EXPECT_GT(previews, 0);
    EXPECT_TRUE(allOnGuiThread);
}

TEST_F(MakeWorker, StopEndsTheRunEarlyAndDestroyingAWorkerMidRunJoinsIt) {
    const TAlbumStore store = test::MakeAlbumStore(
        FRoot.Dir(), {{4, 5, "一", 160, 120, "gradient:red-blue"}, {4, 9, "", 120, 160, "plasma:"}},
        {{10, true}});
    TProductionWorker worker(store, Settings());
    QObject::connect(&worker, &TProductionWorker::ProgressChanged, [&] { worker.Stop(); });
    ASSERT_TRUE(RunToEnd(worker));
    EXPECT_TRUE(worker.Report().Stopped);
    EXPECT_LT(worker.Report().FramesWritten, worker.Report().TotalFrames);

    // A second worker destroyed while its run is under way stops it and waits for its thread.
    TProductionSettings other = Settings();
    other.OutputPath = (FOut / "other.mpg").string();
    auto running = std::make_unique<TProductionWorker>(store, other);
    running->Start();
    running.reset();
    QCoreApplication::processEvents();
}

}  // namespace
}  // namespace velmora::ui
