// Speed of every effect through a whole video transition: 50 frames at progress 2, 4, ...,
// 100 on a 720 x 576 (DVD) frame, each drawn over the previous one. Prints milliseconds per
// frame for each effect, the slowest effect and the mean, against the goals of at most 2 ms
// per frame for every effect and 0.5 ms on average. The figures are processor time of the
// benchmark's thread (wall time is in Google Benchmark's own table).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "effects/EffectRandom.h"
#include "effects/EffectTable.h"
#include "imaging/Bitmap.h"

namespace {

using namespace velmora;

constexpr int Width = 720;
constexpr int Height = 576;
constexpr int Frames = 50;
constexpr double GoalSlowestMs = 2.0;
constexpr double GoalMeanMs = 0.5;

// Two pictures with detail everywhere: smooth gradients crossed by a fine pattern.
Bitmap TestPicture(int variant) {
    Bitmap b(Width, Height);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const int r = (x * 255 / Width + variant * 90) & 0xFF;
            const int g = (y * 255 / Height + ((x ^ y) & 15)) & 0xFF;
            const int bl = ((x + y) * 3 + variant * 50) & 0xFF;
            b.SetRgb(x, y, std::uint32_t(r << 16 | g << 8 | bl));
        }
    }
    return b;
}

void RunTransition(benchmark::State& state, int index) {
    static const Bitmap from = TestPicture(0);
    static const Bitmap to = TestPicture(1);
    const TScopedSeed seed(2024);
    const TRect frame{0, 0, Width, Height};
    Bitmap display = from;
    for (auto _ : state) {
        display = from;
        for (int k = 1; k <= Frames; ++k) Effects[index].Proc(display, to, frame, 5, 2 * k);
        benchmark::DoNotOptimize(display.Bits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * Frames);
}

// Keeps each effect's milliseconds per frame for the summary, and prints the usual table.
class TSummaryReporter : public benchmark::ConsoleReporter {
public:
    std::vector<std::pair<int, double>> MsPerFrame;
    std::vector<double> WallMsPerFrame;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.iterations == 0) continue;
            const int index =
                std::stoi(run.benchmark_name().substr(run.benchmark_name().find('/') + 1));
            // Processor time: the machine may be shared, and wall time then counts the waits.
            const double seconds = run.cpu_accumulated_time / double(run.iterations);
            MsPerFrame.push_back({index, seconds * 1000.0 / Frames});
            WallMsPerFrame.push_back(run.real_accumulated_time / double(run.iterations) * 1000.0 /
                                     Frames);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void PrintSummary(const std::vector<std::pair<int, double>>& figures,
                  const std::vector<double>& wall) {
    if (figures.empty()) return;
    std::printf("\n%-5s %-56s %9s %9s\n", "index", "effect", "ms/frame", "wall ms");
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const auto& [index, ms] = figures[i];
        std::printf("%5d %-56s %9.3f %9.3f%s\n", index, Effects[index].Name, ms, wall[i],
                    ms > GoalSlowestMs ? "  over the goal" : "");
    }
    const auto slowest = std::max_element(figures.begin(), figures.end(),
                                          [](auto& a, auto& b) { return a.second < b.second; });
    const double mean = std::accumulate(figures.begin(), figures.end(), 0.0,
                                        [](double sum, auto& f) { return sum + f.second; }) /
                        double(figures.size());
    std::printf("\nslowest: effect %d \"%s\" %.3f ms/frame (goal %.1f, ratio %.2f)\n",
                slowest->first, Effects[slowest->first].Name, slowest->second, GoalSlowestMs,
                slowest->second / GoalSlowestMs);
    std::printf("mean over %zu effects: %.3f ms/frame (goal %.1f, ratio %.2f)\n", figures.size(),
                mean, GoalMeanMs, mean / GoalMeanMs);
    std::printf("goals %s\n",
                slowest->second <= GoalSlowestMs && mean <= GoalMeanMs ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv) {
    for (int index = 1; index <= EffectCount; ++index) {
        benchmark::RegisterBenchmark(("effect/" + std::to_string(index)).c_str(), RunTransition,
                                     index)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.1);
    }
    benchmark::Initialize(&argc, argv);
    TSummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter.MsPerFrame, reporter.WallMsPerFrame);
    benchmark::Shutdown();
    return 0;
}
