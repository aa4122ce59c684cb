#include "production/ui/MakeWorker.h"

#include <exception>

#include "production/ui/MakeTexts.h"

namespace velmora::ui {

TProductionWorker::TProductionWorker(const TAlbumStore& store, TProductionSettings settings,
                                     QObject* parent)
    : QObject(parent), FStore(store), FSettings(std::move(settings)) {}

TProductionWorker::~TProductionWorker() {
    Stop();
    if (FThread.joinable()) FThread.join();
}

void TProductionWorker::Start() {
    FStopRequested.store(false);
    FThread = std::thread([this] { Run(); });
}

void TProductionWorker::Run() noexcept {
    TProductionHooks hooks;
    hooks.OnProgress = [this](const TProgressInfo& info) { PostProgress(info); };
    hooks.OnPreview = [this](const Bitmap& frame) { PostPreview(frame); };
    hooks.ShouldStop = [this] { return FStopRequested.load(); };
    TProductionReport report;
    try {
        report = RunProduction(FStore, FSettings, hooks);
    } catch (const std::exception& error) {
        // A run that could not start or broke off outside the conversion is a failed run
        // with the error's text as its reason.
        report.Success = false;
        report.Text = RunFailureText;
        report.FailureDetail = error.what();
        report.OutputPath = FSettings.OutputPath;
    } catch (...) {
        report.Success = false;
        report.Text = RunFailureText;
        report.FailureDetail = "unknown failure";
        report.OutputPath = FSettings.OutputPath;
    }
    FReport = std::move(report);
    // The last thing the thread does; the GUI thread joins it when this call arrives.
    QMetaObject::invokeMethod(this, "DeliverFinished", Qt::QueuedConnection);
}

void TProductionWorker::PostProgress(const TProgressInfo& info) {
    {
        const std::lock_guard<std::mutex> guard(FLock);
        // Translation only reads the installed translators, which stay put during a run.
        FProgressText = RunText(info.Texts.Progress);
        FTimeText = RunText(info.Texts.Time);
    }
    if (!FProgressPending.exchange(true)) {
        QMetaObject::invokeMethod(this, "DeliverProgress", Qt::QueuedConnection);
    }
}

void TProductionWorker::PostPreview(const Bitmap& frame) {
    // A deep copy: the run draws the next frame into the same bitmap at once.
    QImage copy = frame.ToQImage().copy();
    {
        const std::lock_guard<std::mutex> guard(FLock);
        FFrame = std::move(copy);
    }
    if (!FPreviewPending.exchange(true)) {
        QMetaObject::invokeMethod(this, "DeliverPreview", Qt::QueuedConnection);
    }
}

void TProductionWorker::DeliverProgress() {
    QString progress;
    QString time;
    {
        const std::lock_guard<std::mutex> guard(FLock);
        FProgressPending.store(false);
        progress = FProgressText;
        time = FTimeText;
    }
    Q_EMIT ProgressChanged(progress, time);
}

void TProductionWorker::DeliverPreview() {
    QImage frame;
    {
        const std::lock_guard<std::mutex> guard(FLock);
        FPreviewPending.store(false);
        frame = std::move(FFrame);
        FFrame = QImage();
    }
    if (!frame.isNull()) Q_EMIT PreviewFrame(frame);
}

void TProductionWorker::DeliverFinished() {
    if (FThread.joinable()) FThread.join();
    Q_EMIT Finished();
}

}  // namespace velmora::ui
