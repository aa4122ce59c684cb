#include "app/Screenshots.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/UnitMain.h"
#include "effects/ui/UnitEditP.h"
#include "production/ui/UnitMake.h"
#include "widgets/ImportDialog.h"

namespace velmora::ui {

namespace {

// Starts a preview in the open picture editor and draws `ticks` of its frames at once, so the
// picture shows the same frame on every machine (its timers are given intervals that never
// elapse before the screenshot).
void ShowEditorPreview(int ticks) {
    auto* editor = qobject_cast<TFrmEditP*>(QApplication::activeModalWidget());
    if (editor == nullptr) return;
    constexpr int Never = 3600 * 1000;
    editor->SetTimerIntervals(Never, Never);
    editor->BtnLookXGClick();
    editor->HoldTimerTimeout();
    for (int k = 0; k < ticks; ++k) editor->Timer1Timer();
}

/// The production dialog caught during a DVD run. The run starts as soon as the dialog is up
/// and writes into a temporary folder that goes when the dialog has gone (the dialog stops
/// and joins its run when the screenshot ends the program).
void ShowMakeRunning(TFrmMain& w) {
    QTemporaryDir output;
    QTimer::singleShot(300, &w, [&output] {
        auto* make = qobject_cast<TFrmMake*>(QApplication::activeModalWidget());
        if (make == nullptr) return;
        make->findChild<QRadioButton*>(QStringLiteral("RGOutTypeDVD"))->click();
        make->findChild<QLineEdit*>(QStringLiteral("EdtOut"))
            ->setText(output.filePath(QStringLiteral("DVD-0.mpg")));
        make->findChild<QPushButton*>(QStringLiteral("SbtnMake"))->click();
    });
    w.BtnBeginMakeClick();
}

/// The import dialog on top has reached file `position`.
bool ImportAt(int position) {
    auto* import = qobject_cast<TImportDialog*>(QApplication::activeModalWidget());
    return import != nullptr && import->ProgressBar1->value() >= position;
}

/// The production dialog on top is running and has done at least `percent` of the work, as its
/// progress label ("完成进度：12%") says.
bool MakeAt(int percent) {
    auto* make = qobject_cast<TFrmMake*>(QApplication::activeModalWidget());
    if (make == nullptr) return false;
    const auto* stop = make->findChild<QPushButton*>(QStringLiteral("SbtnStop"));
    const auto* progress = make->findChild<QLabel*>(QStringLiteral("Lguage"));
    if (stop == nullptr || progress == nullptr || !stop->isEnabled()) return false;
    static const QRegularExpression number(QStringLiteral("(\\d+)%"));
    const QRegularExpressionMatch match = number.match(progress->text());
    return match.hasMatch() && match.captured(1).toInt() >= percent;
}

}  // namespace

const std::vector<TScreenshot>& Screenshots() {
    static const std::vector<TScreenshot> all = {
        {"main-empty", [](TFrmMain&) {}},
        {"main-pictures",
         [](TFrmMain& w) {
             w.PageButtonClick(PagePictures);
             if (w.LvwP->model()->rowCount() > 2) TFrmMain::SelectRow(w.LvwP, 2);
         }},
        {"main-songs",
         [](TFrmMain& w) {
             w.PageButtonClick(PageSongs);
             TFrmMain::SelectRow(w.LvwM, 0);
             w.SbtPlayClick();
         }},
        {"create-album", [](TFrmMain& w) { w.SbtNewAblmClick(); }},
        {"import-pictures",
         [](TFrmMain& w) {
             w.PageButtonClick(PagePictures);
             w.BtnAddPClick();
         },
         [] { return ImportAt(2); }},
        {"import-music",
         [](TFrmMain& w) {
             w.PageButtonClick(PageSongs);
             w.BtnAddPClick();
         },
         [] { return ImportAt(3); }},
        {"about", [](TFrmMain& w) { w.PnlRegClick(); }},
        {"edit-picture", [](TFrmMain& w) { w.BtnEditPClick(); }},
        {"edit-picture-preview",
         [](TFrmMain& w) {
             // The third picture, previewed from the second: its own effect half-way through.
             w.PageButtonClick(PagePictures);
             if (w.LvwP->model()->rowCount() > 2) TFrmMain::SelectRow(w.LvwP, 2);
             QTimer::singleShot(0, &w, [] { ShowEditorPreview(12); });
             w.BtnEditPClick();
         }},
        {"make", [](TFrmMain& w) { w.BtnBeginMakeClick(); }},
        {"make-run", [](TFrmMain& w) { ShowMakeRunning(w); }, [] { return MakeAt(5); }},
    };
    return all;
}

bool StartScreenshot(TFrmMain& window, const TScreenshotOptions& options) {
    const TScreenshot* chosen = nullptr;
    for (const TScreenshot& shot : Screenshots()) {
        if (options.Name == QLatin1String(shot.Name)) chosen = &shot;
    }
    if (chosen == nullptr) {
        std::fprintf(stderr, "velmora: no screenshot named %s\n", qPrintable(options.Name));
        return false;
    }
    const QString out = options.OutFile;
    const auto ready = chosen->Ready;
    auto* poll = new QTimer(&window);
    poll->setInterval(20);
    auto polls = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, out, ready, poll, polls] {
        // A state that never comes (a run that ended before the delay) still gets its picture
        // after some 30 s, with a warning.
        constexpr int MaxPolls = 1500;
        ++*polls;
        if (ready && !ready() && *polls < MaxPolls) return;
        if (*polls >= MaxPolls)
            std::fprintf(stderr, "velmora: %s taken unready\n", qPrintable(out));
        poll->stop();
        QWidget* top = QApplication::activeModalWidget();
        if (top == nullptr) top = &window;
        if (!top->grab().save(out))
            std::fprintf(stderr, "velmora: cannot write %s\n", qPrintable(out));
        // Ends every event loop, the modal window's included.
        QCoreApplication::exit(0);
    });
    QTimer::singleShot(options.DelayMs, poll, qOverload<>(&QTimer::start));
    const auto show = chosen->Show;
    QTimer::singleShot(0, &window, [&window, show] { show(window); });
    return true;
}

}  // namespace velmora::ui
