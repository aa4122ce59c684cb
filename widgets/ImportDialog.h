#pragma once
// The progress dialog that picture and music import share: a caption per file
// ("正在导入文件：（i/N）"), the file's path, a progress bar and "取消". The import starts
// from a one-second timer after the dialog is shown and runs inside that one tick on the GUI
// thread, with pending events processed between files; a click on "取消" is seen at the
// start of the file after the one during which it was handled. Neither Esc nor Enter ends
// the dialog, and closing it while the import runs waits for the import's end. The subclass
// runs its subsystem's import loop in RunImport.
//
// Test hooks: Timer1Timer() is the timer's handler and may be called directly (it switches
// the timer off first); AfterEventsForTests runs after each file's events were processed,
// while that file is being imported, so a test can queue a click there.

#include <QDialog>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace velmora::ui {

class TServices;

/// What one import did, as the dialog reports it after closing.
struct TImportOutcome {
    bool Result = false;  ///< the list held at least one file
    int Imported = 0;
    QStringList Skipped;  ///< files that could not be imported, in list order
    bool Cancelled = false;
};

class TImportDialog : public QDialog {
    Q_OBJECT

public:
    ~TImportDialog() override;

    /// The start timer's handler: runs the whole import, then closes the dialog.
    void Timer1Timer();
    /// The cancel request ("取消"'s tag: 0 at creation, 1 after a click).
    int CancelTag() const noexcept { return FCancelTag; }
    bool Running() const noexcept { return FRunning; }
    const TImportOutcome& Outcome() const noexcept { return FOutcome; }
    /// The full path of the file being imported (Label2 may show it shortened).
    const QString& CurrentPath() const noexcept { return FCurrentPath; }

    /// Called after each file's pending events were processed, with its number from 1.
    std::function<void(int position)> AfterEventsForTests;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Button1 = nullptr;
    QTimer* Timer1 = nullptr;

public Q_SLOTS:
    void done(int result) override;

protected:
    TImportDialog(const QString& caption, TServices& services, const QStringList& files,
                  QWidget* parent);

    /// Runs the subsystem's import loop over Files(), reporting each file through
    /// ShowPass and asking CancelRequested before each one. Throws what the loop throws.
    virtual TImportOutcome RunImport() = 0;

    /// Shows file `position` of `count` and processes pending events.
    void ShowPass(int position, int count, const std::string& path);
    bool CancelRequested() const noexcept { return FCancelTag == 1; }
    /// The files as the core takes them (local 8-bit file names).
    const std::vector<std::string>& Files() const noexcept { return FFiles; }
    TServices& Services() noexcept { return FServices; }
    /// A core file name back as text.
    static QString DecodeName(const std::string& path);
    /// The dialog's outcome of an import loop's result: its Result, Imported and Cancelled,
    /// and its Skipped paths as text.
    template <typename TLoopResult>
    static TImportOutcome OutcomeOf(const TLoopResult& result) {
        TImportOutcome outcome;
        outcome.Result = result.Result;
        outcome.Imported = result.Imported;
        outcome.Cancelled = result.Cancelled;
        for (const std::string& path : result.Skipped) outcome.Skipped.append(DecodeName(path));
        return outcome;
    }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();

    TServices& FServices;
    std::vector<std::string> FFiles;
    QString FCurrentPath;
    TImportOutcome FOutcome;
    int FCancelTag = 0;
    bool FRunning = false;
    bool FFinishing = false;
    bool FStarted = false;
};

/// The one notice listing the files an import skipped; nothing when none were skipped.
void ShowSkippedFiles(QWidget* parent, TServices& services, const QStringList& skipped);

/// Shows the import dialog modally, then the notice of the files it skipped (over parent);
/// returns the number of files imported.
int ExecImport(TImportDialog& dialog, QWidget* parent, TServices& services);

/// Its text: the count and the paths, one a line (at most `shown`, then how many more).
QString SkippedFilesText(const QStringList& skipped, int shown = 15);

}  // namespace velmora::ui
