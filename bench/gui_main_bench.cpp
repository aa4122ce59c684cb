// Main window figures on an album of 1,000 pictures and 100 songs: start until the window is
// shown, selecting a row whose picture is a 24-megapixel JPEG until the preview shows, opening
// an album of 10,000 pictures (the list fill), a playing song with its spectrum (processor
// time over a span of wall-clock time, as a share of one core) and the idle window's resident
// memory. Each figure is printed with its goal.

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTableView>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Artwork.h"
#include "app/PicturePreview.h"
#include "app/UnitMain.h"
#include "audio/BassEngine.h"
#include "audio/KivMp3Play.h"
#include "imaging/Bitmap.h"
#include "imaging/JpegCodec.h"
#include "store/Catalogue.h"
#include "store/Pub.h"
#include "widgets/AppFont.h"
#include "widgets/Services.h"

namespace {

namespace fs = std::filesystem;
using namespace velmora;

/// Answers every box with its default and opens nothing.
class TQuietServices : public ui::TServices {
public:
    int Prompts = 0;
    QMessageBox::StandardButton Prompt(QWidget*, const ui::TPrompt& prompt) override {
        ++Prompts;
        std::fprintf(stderr, "box: %s\n", qPrintable(prompt.Text));
        return QMessageBox::Ok;
    }
    QStringList OpenFiles(QWidget*, const ui::TFileRequest&) override { return {}; }
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override { return {}; }
    bool OpenUrl(const QUrl&) override { return true; }
};

double ThreadCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double ProcessCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

double LoadAverage() {
    double load[1] = {0};
    return ::getloadavg(load, 1) == 1 ? load[0] : -1;
}

void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

/// An album of `pics` pictures (hard links to one 1600 x 1200 JPEG; row `bigRow` is a
/// 6000 x 4000 JPEG) and `songs` songs (links to one 3-minute MP3).
void MakeAlbum(TAlbumStore& store, const fs::path& sources, const std::string& name, int pics,
               int songs, int bigRow) {
    CreateAlbum(store, name);
    store.OpenAlbum(store.AlbumCount - 1);
    for (int i = 0; i < pics; ++i) {
        const std::string file = "P" + std::to_string(i) + ".jpg";
        fs::create_hard_link(sources / (i == bigRow ? "big.jpg" : "photo.jpg"),
                             store.AlbumPath + file);
        TPicInfo pic;
        pic.Dwell = 3;
        pic.Effect = i % 106;
        pic.Title.SetText("海边的日落 " + std::to_string(i));
        pic.Remark.SetText("IMG_" + std::to_string(i) + ".jpg");
        pic.StoredName.SetText(file);
        store.Pics.push_back(pic);
    }
    store.PicCount = pics;
    for (int i = 0; i < songs; ++i) {
        const std::string file = "M" + std::to_string(i) + ".mp3";
        fs::create_hard_link(sources / "song.mp3", store.AlbumPath + file);
        TMusicInfo song;
        song.PlayTime = 180;
        song.SongName.SetText("歌曲 " + std::to_string(i) + ".mp3");
        song.StoredName.SetText(file);
        store.Musics.push_back(song);
    }
    store.MusicCount = songs;
    store.SaveRecords("P");
    store.SaveRecords("M");
}

/// Lets the program run its timers for `ms` milliseconds (the loop sleeps between events).
void RunEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Shown(QWidget& window) {
    window.show();
    QApplication::processEvents();
    window.repaint();
}

void Report(const char* what, double value, const char* unit, double goal) {
    std::printf("%-58s %9.1f %-3s goal <= %6.1f  ratio %.2f  %s\n", what, value, unit, goal,
                value / goal, value <= goal ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    QElapsedTimer startClock;
    startClock.start();
    const double startCpu = ThreadCpuMs();
    QApplication app(argc, argv);
    ui::ApplyVelmoraLook();
    QApplication::setFont(ui::SongFont(12));
    const double appMs = double(startClock.nsecsElapsed()) / 1e6;
    const double appCpuMs = ThreadCpuMs() - startCpu;

    char pattern[] = "/tmp/velmora-main-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const fs::path root(pattern);
    const fs::path sources = root / "sources";
    fs::create_directories(sources);
    Run("convert -size 400x300 -seed 3 plasma:fractal -resize 1600x1200! -quality 90 '" +
        (sources / "photo.jpg").string() + "'");
    Run("convert -size 600x400 -seed 5 plasma:fractal -resize 6000x4000! -quality 90 '" +
        (sources / "big.jpg").string() + "'");
    Run("ffmpeg -v error -y -f lavfi -i 'sine=f=440:d=180' -c:a libmp3lame -b:a 160k '" +
        (sources / "song.mp3").string() + "'");
    const fs::path storeRoot = root / "store";
    fs::create_directories(storeRoot);
    {
        TAlbumStore maker;
        maker.RootPath = storeRoot.string() + "/";
        MakeAlbum(maker, sources, "旅行", 1000, 100, 500);
        MakeAlbum(maker, sources, "大相册", 10000, 0, -1);
    }

    int status = 0;
    {
        TAlbumStore store;
        store.RootPath = storeRoot.string() + "/";
        TQuietServices services;
        TBassEngine& bass = BassEngine();
        QElapsedTimer clock;
        clock.start();
        const double windowCpu = ThreadCpuMs();
        ui::TFrmMain window(store, services, bass);
        Shown(window);
        const double windowMs = double(clock.nsecsElapsed()) / 1e6;
        const double windowCpuMs = ThreadCpuMs() - windowCpu;
        std::printf("Main window, album of 1,000 pictures and 100 songs (offscreen)\n");
        std::printf(
            "  load average now %.1f on %ld processors: wall-clock figures include waiting "
            "for a processor\n",
            LoadAverage(), ::sysconf(_SC_NPROCESSORS_ONLN));
        std::printf("  application, style and font: %.1f ms wall, %.1f ms processor\n", appMs,
                    appCpuMs);
        std::printf("  window created and shown:     %.1f ms wall, %.1f ms processor\n", windowMs,
                    windowCpuMs);
        Report("start to main window shown, wall clock", appMs + windowMs, "ms", 300);
        Report("start to main window shown, processor time", appCpuMs + windowCpuMs, "ms", 300);

        // A 24-megapixel picture, always decoded afresh (a small one is shown in between).
        double worstBig = 0, sumBig = 0, sumBigCpu = 0, worstBigCpu = 0;
        const int runs = 10;
        for (int i = 0; i < runs; ++i) {
            ui::TFrmMain::SelectRow(window.LvwP, 499);
            QApplication::processEvents();
            clock.restart();
            const double cpu = ThreadCpuMs();
            ui::TFrmMain::SelectRow(window.LvwP, 500);
            window.PreviewPage->ImgPicShow()->repaint();
            const double ms = double(clock.nsecsElapsed()) / 1e6;
            const double cpuMs = ThreadCpuMs() - cpu;
            sumBig += ms;
            worstBig = std::max(worstBig, ms);
            sumBigCpu += cpuMs;
            worstBigCpu = std::max(worstBigCpu, cpuMs);
        }
        std::printf(
            "  24-megapixel preview over %d selections: wall mean %.1f ms, worst %.1f ms; "
            "processor mean %.1f ms\n",
            runs, sumBig / runs, worstBig, sumBigCpu / runs);
        Report("select a 24-megapixel picture until shown, wall mean", sumBig / runs, "ms", 80);
        Report("select a 24-megapixel picture until shown, processor worst", worstBigCpu, "ms", 80);

        clock.restart();
        const double fillCpu = ThreadCpuMs();
        ui::TFrmMain::SelectRow(window.LvwA, 1);
        window.LvwP->repaint();
        const double fillMs = double(clock.nsecsElapsed()) / 1e6;
        const double fillCpuMs = ThreadCpuMs() - fillCpu;
        if (window.LvwP->model()->rowCount() != 10000) status = 1;
        Report("open an album of 10,000 pictures (load, fill, show), wall", fillMs, "ms", 100);
        Report("open an album of 10,000 pictures, processor time", fillCpuMs, "ms", 100);
        ui::TFrmMain::SelectRow(window.LvwA, 0);
        QApplication::processEvents();

        // Idle: the ticker runs, nothing else.
        const double idleCpuStart = ProcessCpuMs();
        clock.restart();
        RunEventLoop(5000);
        std::printf("  idle window (the ticker running): %.2f %% of a core\n",
                    100.0 * (ProcessCpuMs() - idleCpuStart) / double(clock.elapsed()));
        Report("idle window resident memory", double(ResidentKb()) / 1024.0, "MB", 150);

        window.PageButtonClick(ui::PageSongs);
        ui::TFrmMain::SelectRow(window.LvwM, 0);
        window.SbtPlayClick();
        const double cpuStart = ProcessCpuMs();
        clock.restart();
        RunEventLoop(10000);
        const double cpuShare = 100.0 * (ProcessCpuMs() - cpuStart) / double(clock.elapsed());
        window.SbtStopClick();
        std::printf("  driver: %s; spectrum frames shown: %s\n", bass.DriverName().c_str(),
                    window.Player()->FrameShown() ? "yes" : "no");
        Report("a song playing with its spectrum, processor time (% of a core)", cpuShare, "%", 3);
        if (services.Prompts > 0) status = 1;
    }
    fs::remove_all(root);
    return status;
}
