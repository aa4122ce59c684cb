// Speed of the picture editor's preview: how long one tick of the 50 ms preview timer takes
// through the real window (the effect draws the frame, ImgShow takes the copy and repaints at
// once), for every one of the 105 effects, on an album of two photographs. Prints the
// milliseconds per frame of a few effects, the mean of all and the worst frame, against the
// goal of at most 5 ms per frame. The goal is checked on the processor time of the GUI thread
// (what the frame costs, free of the pauses a busy machine imposes); wall-clock figures are
// printed beside it. Offscreen platform.

#include <QApplication>
#include <QListWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "effects/EffectRandom.h"
#include "effects/EffectTable.h"
#include "effects/ui/EditPHost.h"
#include "effects/ui/UnitEditP.h"
#include "imaging/Bitmap.h"
#include "imaging/JpegCodec.h"
#include "store/Catalogue.h"
#include "store/PictureImport.h"
#include "widgets/AppFont.h"
#include "widgets/ImageView.h"
#include "widgets/Services.h"

namespace {

using namespace velmora;
using Clock = std::chrono::steady_clock;

constexpr double GoalMs = 5.0;
constexpr int Runs = 3;  // previews per effect

// The editor asks nothing of a main window here.
class TQuietHost : public ui::TEditPHost {
public:
    void RefreshPictureRow(int) override {}
    void SetPictureDwellText(int, const QString&) override {}
    void SelectPicture(int) override {}
    void ShowHelp() override {}
};

// No message box may appear during a measurement; one that would is reported and counted.
class TQuietServices : public ui::TServices {
public:
    int Prompts = 0;
    QMessageBox::StandardButton Prompt(QWidget*, const ui::TPrompt& prompt) override {
        std::fprintf(stderr, "unexpected message: %s\n", prompt.Text.toUtf8().constData());
        ++Prompts;
        return QMessageBox::Ok;
    }
    QStringList OpenFiles(QWidget*, const ui::TFileRequest&) override { return {}; }
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override { return {}; }
    bool OpenUrl(const QUrl&) override { return false; }
};

// A 1600 x 1200 photograph-like picture: gradients crossed by fine detail.
Bitmap Photo(int variant) {
    Bitmap b(1600, 1200);
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            const int r = (x / 7 + variant * 90) & 0xFF;
            const int g = (y / 5 + ((x ^ y) & 31)) & 0xFF;
            const int bl = ((x + y) / 11 + variant * 50) & 0xFF;
            b.SetRgb(x, y, std::uint32_t(r << 16 | g << 8 | bl));
        }
    }
    return b;
}

// A store with one album of two imported photographs, in a fresh temporary folder.
TAlbumStore MakeStore(const std::filesystem::path& root) {
    TAlbumStore store;
    store.RootPath = root.string() + "/";
    CreateAlbum(store, "Bench");
    store.OpenAlbum(0);
    std::vector<std::string> files;
    for (int i = 0; i < 2; ++i) {
        const std::string path = (root / ("photo" + std::to_string(i) + ".jpg")).string();
        WriteJpegFile(Photo(i), path);
        files.push_back(path);
    }
    ImportPictures(store, files);
    store.PicIndex = 1;  // the preview runs from picture 0 to picture 1
    return store;
}

struct TFigure {
    int Effect = 0;
    double MeanMs = 0;   ///< processor time per frame
    double WorstMs = 0;  ///< processor time of the slowest frame
    double WallMeanMs = 0;
    double WallWorstMs = 0;
};

// Processor time of the calling thread, in milliseconds.
double ThreadMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Runs Runs whole previews of one effect; every tick is timed with the repaint it causes.
TFigure MeasureEffect(ui::TFrmEditP& form, int effect) {
    TFigure figure{effect};
    int frames = 0;
    form.LbXG->setCurrentRow(effect);
    for (int run = 0; run < Runs; ++run) {
        form.BtnLookXGClick();
        form.HoldTimerTimeout();
        while (form.Timer1().isActive()) {
            const Clock::time_point start = Clock::now();
            const double cpuStart = ThreadMs();
            form.Timer1Timer();
            form.ImgShow->repaint();
            const double cpu = ThreadMs() - cpuStart;
            const double wall =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            figure.MeanMs += cpu;
            figure.WorstMs = std::max(figure.WorstMs, cpu);
            figure.WallMeanMs += wall;
            figure.WallWorstMs = std::max(figure.WallWorstMs, wall);
            ++frames;
        }
    }
    figure.MeanMs /= frames;
    figure.WallMeanMs /= frames;
    return figure;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setFont(ui::SongFont(12));
    char pattern[] = "/tmp/velmora-editor-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const std::filesystem::path root(pattern);
    int status = 0;
    {
        TAlbumStore store = MakeStore(root);
        TQuietServices services;
        TQuietHost host;
        const TScopedSeed seed(2024);
        ui::TFrmEditP form(store, services, host);
        form.SetTimerIntervals(3600 * 1000, 3600 * 1000);  // ticks are driven here
        form.show();
        QApplication::processEvents();

        std::vector<TFigure> figures;
        for (int effect = 1; effect <= EffectCount; ++effect) {
            figures.push_back(MeasureEffect(form, effect));
        }
        std::printf("Picture editor preview, 185 x 153, one tick = effect frame + repaint\n");
        std::printf("%-6s %-46s %9s %9s %9s %9s\n", "effect", "name", "cpu mean", "cpu worst",
                    "wall mean", "wall worst");
        for (const int effect : {1, 4, 13, 40, 47, 63, 73, 89, 91, 101, 102, 105}) {
            const TFigure& f = figures[std::size_t(effect - 1)];
            std::printf("%-6d %-46s %9.3f %9.3f %9.3f %9.3f\n", effect, Effects[effect].Name,
                        f.MeanMs, f.WorstMs, f.WallMeanMs, f.WallWorstMs);
        }
        const auto worst = std::max_element(
            figures.begin(), figures.end(),
            [](const TFigure& a, const TFigure& b) { return a.WorstMs < b.WorstMs; });
        double mean = 0;
        double wallMean = 0;
        double wallWorst = 0;
        for (const TFigure& f : figures) {
            mean += f.MeanMs;
            wallMean += f.WallMeanMs;
            wallWorst = std::max(wallWorst, f.WallWorstMs);
        }
        mean /= double(figures.size());
        wallMean /= double(figures.size());
        std::printf(
            "all 105 effects, processor time: mean %.3f ms per frame; worst frame %.3f ms "
            "(effect %d, %s)\n",
            mean, worst->WorstMs, worst->Effect, Effects[worst->Effect].Name);
        std::printf("all 105 effects, wall clock: mean %.3f ms per frame; worst frame %.3f ms\n",
                    wallMean, wallWorst);
        std::printf("goal <= %.1f ms per frame: worst / goal = %.2f -> %s\n", GoalMs,
                    worst->WorstMs / GoalMs, worst->WorstMs <= GoalMs ? "met" : "NOT met");
        if (services.Prompts > 0) status = 1;
    }
    std::filesystem::remove_all(root);
    return status;
}
