#pragma once
// The production run of the dialog on a worker thread. The worker calls the core's
// RunProduction and hands what the dialog shows back to the GUI thread through queued calls:
// the latest progress texts and the latest preview frame are kept in one slot each, and a
// delivery is posted only when none is pending, so a fast encoder never floods the event loop
// and the GUI thread never waits for the worker.

#include <QImage>
#include <QObject>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

#include "production/ProductionRun.h"

namespace velmora::ui {

class TProductionWorker : public QObject {
    Q_OBJECT
public:
    /// A worker for one run of the store's current album; nothing starts before Start().
    /// The store must not change until Finished() has been emitted.
    TProductionWorker(const TAlbumStore& store, TProductionSettings settings,
                      QObject* parent = nullptr);
    /// Asks a running conversion to stop and waits for the thread (only when the owner is
    /// destroyed during a run, e.g. at program exit).
    ~TProductionWorker() override;
    TProductionWorker(const TProductionWorker&) = delete;
    TProductionWorker& operator=(const TProductionWorker&) = delete;

    /// Starts the run on its own thread.
    void Start();
    /// Asks the run to stop; the conversion ends at its next progress call with a playable
    /// file. Never blocks.
    void Stop() noexcept { FStopRequested.store(true); }
    /// What the run did; valid once Finished() has been emitted.
    const TProductionReport& Report() const noexcept { return FReport; }

Q_SIGNALS:
    /// The newest texts of the progress label and the time label.
    void ProgressChanged(const QString& progress, const QString& time);
    /// The newest preview frame (a copy at frame size, 24-bit).
    void PreviewFrame(const QImage& frame);
    /// The run has ended and its thread is joined; Report() holds the outcome.
    void Finished();

private:
    void Run() noexcept;
    void PostProgress(const TProgressInfo& info);
    void PostPreview(const Bitmap& frame);
    // Called on the GUI thread through queued calls by name: the call's event is then made and
    // freed inside Qt alone, and the handover of our data is the lock and the atomics below.
    Q_INVOKABLE void DeliverProgress();
    Q_INVOKABLE void DeliverPreview();
    Q_INVOKABLE void DeliverFinished();

    const TAlbumStore& FStore;
    const TProductionSettings FSettings;
    std::thread FThread;
    std::atomic<bool> FStopRequested{false};
    TProductionReport FReport;

    // The slots the worker fills and the GUI thread empties.
    std::mutex FLock;
    QString FProgressText;
    QString FTimeText;
    QImage FFrame;
    std::atomic<bool> FProgressPending{false};
    std::atomic<bool> FPreviewPending{false};
};

}  // namespace velmora::ui
