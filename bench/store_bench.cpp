// Album store figures: loading and saving a large picture list (the save includes the flush to
// the disk that makes it atomic), and the GB18030 -> UTF-8 conversion that filling a list does
// for every text field. The reference for the conversion is a plain byte copy of the same text.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "store/Pub.h"
#include "store/TextCodec.h"

namespace {

namespace fs = std::filesystem;
using namespace velmora;

/// A store in a fresh temporary folder with one album of `count` pictures.
struct BenchStore {
    fs::path Root;
    TAlbumStore Store;

    explicit BenchStore(int count) {
        Root = fs::temp_directory_path() / ("velmora-bench-" + std::to_string(::getpid()));
        fs::create_directories(Root / "A");
        Store.RootPath = Root.string() + "/";
        Store.AlbumPath = Store.RootPath + "A/";
        for (int i = 0; i < count; ++i) {
            TPicInfo pic;
            pic.Dwell = 3;
            pic.Title.SetText("海边的日落 " + std::to_string(i));
            pic.Remark.SetText("IMG_" + std::to_string(i) + ".jpg");
            pic.StoredName.SetText("P" + std::to_string(i) + ".jpg");
            Store.Pics.push_back(pic);
        }
        Store.PicCount = count;
        Store.SaveRecords("P");
    }
    ~BenchStore() {
        std::error_code ignored;
        fs::remove_all(Root, ignored);
    }
};

void BM_LoadPicInfo(benchmark::State& state) {
    BenchStore bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TAlbumStore store;
        store.AlbumPath = bench.Store.AlbumPath;
        store.LoadRecords("P");
        benchmark::DoNotOptimize(store.PicCount);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadPicInfo)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_SavePicInfo(benchmark::State& state) {
    BenchStore bench(static_cast<int>(state.range(0)));
    for (auto _ : state) bench.Store.SaveRecords("P");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SavePicInfo)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

/// Every text of every picture as UTF-8, as filling the picture list does.
void BM_PicTextsToUtf8(benchmark::State& state) {
    BenchStore bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::size_t total = 0;
        for (const TPicInfo& pic : bench.Store.Pics) {
            total +=
                pic.Title.Text().size() + pic.Remark.Text().size() + pic.StoredName.Text().size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PicTextsToUtf8)->Arg(10000)->Unit(benchmark::kMillisecond);

/// The reference: the same fields copied as bytes without conversion.
void BM_PicTextsCopied(benchmark::State& state) {
    BenchStore bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::size_t total = 0;
        for (const TPicInfo& pic : bench.Store.Pics) {
            total += std::string(pic.Title.Bytes()).size() +
                     std::string(pic.Remark.Bytes()).size() +
                     std::string(pic.StoredName.Bytes()).size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PicTextsCopied)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
