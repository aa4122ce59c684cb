// The production dialog against the command line: renders the same DVD album (8 photos made by
// ImageMagick, 2 s dwell, random effects, titles, one MP3) through `velmora-cli make` and from
// the production dialog (offscreen, its run on the worker thread), three times each in turn, and
// prints the best wall times and their ratio. During the dialog's runs it also measures how long
// the GUI thread was ever unable to repaint (the longest gap between ticks of a 5 ms timer) and
// the longest gap between the dialog's actual repaints.
// Goals: dialog speed >= 0.95 x the command line's; the GUI thread never held > 100 ms.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchChild.h"
#include "production/ui/UnitMake.h"
#include "store/Pub.h"
#include "widgets/AppFont.h"
#include "widgets/Services.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

constexpr int PictureCount = 8;
constexpr int Dwell = 2;
constexpr int SongSeconds = 30;
constexpr int Rounds = 3;

/// Runs argv with its output discarded; returns the wall time in seconds, or -1 on failure.
double RunQuiet(const std::vector<std::string>& argv) {
    const bench::TChildRun run = bench::RunChild(argv);
    return bench::Succeeded(run) ? run.Seconds : -1;
}

/// A store with one album "Bench": photos, one song, records.
TAlbumStore MakeBenchStore(const fs::path& root) {
    TAlbumStore store;
    store.RootPath = root.string() + "/";
    store.Albums.resize(1);
    store.Albums[0].Name.SetText("Bench");
    store.AlbumCount = 1;
    store.AlbumIndex = 0;
    store.AlbumPath = store.RootPath + "Bench/";
    fs::create_directories(store.AlbumPath);
    const char* patterns[] = {"plasma:fractal", "gradient:red-blue", "gradient:green-yellow",
                              "plasma:tomato-steelblue"};
    for (int i = 0; i < PictureCount; ++i) {
        const std::string name = "P" + std::to_string(i) + ".jpg";
        const std::string size = i % 3 == 2 ? "1200x1600" : "1600x1200";
        if (RunQuiet({"convert", "-size", size, patterns[i % 4], "-quality", "90",
                      store.AlbumPath + name}) < 0) {
            throw std::runtime_error("ImageMagick's convert failed");
        }
        TPicInfo pic;
        pic.Dwell = Dwell;
        pic.Effect = 0;
        pic.Title.SetText("第" + std::to_string(i + 1) + "张");
        pic.StoredName.SetText(name);
        store.Pics.push_back(pic);
    }
    if (RunQuiet({"ffmpeg", "-y", "-f", "lavfi", "-i",
                  "sine=frequency=440:duration=" + std::to_string(SongSeconds), "-ac", "2", "-ar",
                  "44100", "-c:a", "libmp3lame", "-b:a", "128k", store.AlbumPath + "M0.mp3"}) < 0) {
        throw std::runtime_error("ffmpeg failed to make the song");
    }
    TMusicInfo music;
    music.PlayTime = SongSeconds;
    music.StoredName.SetText("M0.mp3");
    store.Musics.push_back(music);
    store.PicCount = PictureCount;
    store.MusicCount = 1;
    store.SaveRecords("");
    return store;
}

/// Answers every box with No: the completion question opens nothing.
class TQuietServices : public ui::TServices {
public:
    QMessageBox::StandardButton Prompt(QWidget*, const ui::TPrompt&) override {
        return QMessageBox::No;
    }
    QStringList OpenFiles(QWidget*, const ui::TFileRequest&) override { return {}; }
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override { return std::nullopt; }
    bool OpenUrl(const QUrl&) override { return false; }
};

/// Records the longest gap between paint events of any widget it watches.
class TPaintWatch : public QObject {
public:
    explicit TPaintWatch(QElapsedTimer& clock) : FClock(clock) {}
    qint64 LongestGap = 0;
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const qint64 now = FClock.elapsed();
            if (Paints > 0) LongestGap = std::max(LongestGap, now - FLast);
            FLast = now;
            ++Paints;
        }
        return false;
    }

private:
    QElapsedTimer& FClock;
    qint64 FLast = 0;
};

struct TDialogRun {
    double Seconds = -1;
    qint64 LongestStallMs = 0;
    qint64 LongestPaintGapMs = 0;
    int Paints = 0;
    bool Success = false;
};

TDialogRun RunFromDialog(TAlbumStore& store) {
    TQuietServices services;
    ui::TFrmMake dialog(store, services);
    dialog.findChild<QRadioButton*>(QStringLiteral("RGOutTypeDVD"))->click();
    dialog.show();
    QElapsedTimer clock;
    clock.start();
    TPaintWatch watch(clock);
    for (QWidget* widget : dialog.findChildren<QWidget*>()) widget->installEventFilter(&watch);

    TDialogRun run;
    qint64 lastTick = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        run.LongestStallMs = std::max(run.LongestStallMs, now - lastTick);
        lastTick = now;
    });
    QEventLoop loop;
    QObject::connect(&dialog, &ui::TFrmMake::RunFinished, &loop, &QEventLoop::quit);
    QApplication::processEvents();

    clock.restart();
    ticker.start();
    dialog.findChild<QPushButton*>(QStringLiteral("SbtnMake"))->click();
    loop.exec();
    run.Seconds = clock.nsecsElapsed() / 1e9;
    ticker.stop();
    run.LongestPaintGapMs = watch.LongestGap;
    run.Paints = watch.Paints;
    run.Success = dialog.LastReport().Success;
    std::error_code ignored;
    fs::remove(dialog.LastReport().OutputPath, ignored);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const fs::path root =
        fs::temp_directory_path() / ("velmora-gui-make-bench-" + std::to_string(::getpid()));
    fs::create_directories(root / "home");
    // The dialog proposes its output in the home folder.
    ::setenv("HOME", (root / "home").c_str(), 1);
    QApplication app(argc, argv);
    QApplication::setFont(ui::SongFont(12));

    int status = 0;
    try {
        TAlbumStore store = MakeBenchStore(root / "store");
        store.OpenAlbum(0);
        const std::string cliOut = (root / "home" / "cli.mpg").string();
        double bestCli = 1e9;
        TDialogRun best;
        qint64 stall = 0;
        qint64 paintGap = 0;
        for (int round = 0; round < Rounds; ++round) {
            const double cli = RunQuiet({VELMORA_CLI_PATH, "--store", store.RootPath, "make",
                                         "Bench", "--preset", "dvd", "--out", cliOut});
            if (cli < 0) throw std::runtime_error("velmora-cli make failed");
            bestCli = std::min(bestCli, cli);
            const TDialogRun run = RunFromDialog(store);
            if (!run.Success) throw std::runtime_error("the dialog's run failed");
            if (best.Seconds < 0 || run.Seconds < best.Seconds) best = run;
            stall = std::max(stall, run.LongestStallMs);
            paintGap = std::max(paintGap, run.LongestPaintGapMs);
        }
        const int frames = PictureCount * (51 + Dwell * 25) + 2;
        std::printf("gui_make: DVD, %d pictures, %d frames, best of %d\n", PictureCount, frames,
                    Rounds);
        std::printf("  velmora-cli make      %8.2f s  (%6.1f frames/s)\n", bestCli,
                    frames / bestCli);
        std::printf("  production dialog     %8.2f s  (%6.1f frames/s)\n", best.Seconds,
                    frames / best.Seconds);
        std::printf("  speed ratio dialog/cli %7.3f  (goal >= 0.95)\n", bestCli / best.Seconds);
        std::printf("  longest GUI-thread stall during a run  %lld ms  (goal <= 100)\n",
                    static_cast<long long>(stall));
        std::printf("  longest gap between repaints           %lld ms  (%d repaints)\n",
                    static_cast<long long>(paintGap), best.Paints);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gui_make_bench: %s\n", error.what());
        status = 1;
    }
    std::error_code ignored;
    fs::remove_all(root, ignored);
    return status;
}
