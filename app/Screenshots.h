#pragma once
// Screenshot mode of the program (`make screenshots`): `velmora --screenshot NAME --screenshot-out
// FILE [--screenshot-delay MS] [--screenshot-file PATH ...]` shows the main window, brings it
// into the state NAME names (which may open a modal window), and after MS milliseconds saves
// the window on top (the modal one, else the main window) as FILE and ends the program. A window
// caught at work (an import, a production run) also waits until its progress has come far
// enough, so the picture does not depend on the machine's speed.
//
// Adding a window takes one line in Screenshots.cpp: a name and what to do with the main window
// to show it, e.g. {"make", [](TFrmMain& w) { w.BtnBeginMakeClick(); }}.

#include <QStringList>
#include <functional>
#include <vector>

#include "widgets/Services.h"

namespace velmora::ui {

class TFrmMain;

/// One state of the program that a screenshot shows.
struct TScreenshot {
    const char* Name;
    std::function<void(TFrmMain&)> Show;
    /// Empty, or what must hold before the picture is taken: checked every 20 ms after the
    /// delay, also between the files of an import.
    std::function<bool()> Ready;
};

/// Every state that the screenshot mode knows.
const std::vector<TScreenshot>& Screenshots();

/// The options of one screenshot run.
struct TScreenshotOptions {
    QString Name;
    QString OutFile;
    int DelayMs = 1500;
    QStringList Files;  ///< what the file choosers answer
};

/// The desktop services, except that file choosers answer with the given files and no URL is
/// opened (closing the window opens no browser during screenshots).
class TScreenshotServices : public TDesktopServices {
public:
    explicit TScreenshotServices(QStringList files) : FFiles(std::move(files)) {}
    QStringList OpenFiles(QWidget*, const TFileRequest&) override { return FFiles; }
    bool OpenUrl(const QUrl&) override { return true; }

private:
    QStringList FFiles;
};

/// Schedules the screenshot on a shown main window. False (and a line on stderr) for an
/// unknown name.
bool StartScreenshot(TFrmMain& window, const TScreenshotOptions& options);

}  // namespace velmora::ui
