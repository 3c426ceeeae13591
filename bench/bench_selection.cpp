// The selection and the copy buffer on a map of 300,000 line records in 40 layers over 10 km by
// 10 km, on the Qt canvas: a window over half the map (it stops at the selection's limit of
// 31,999 records), a window over a strip that selects some 25,000 records, below the limit, timed
// by turns against a plain loop that finds the same records and draws them (bench/BenchTiming.h),
// a point pick that misses through all its passes, and a paste of 30,000 records.
#include <benchmark/benchmark.h>

#include <QImage>

#include <random>
#include <vector>

#include "App.h"
#include "BenchCanvas.h"
#include "BenchTiming.h"
#include "editing/CopyPaste.h"
#include "editing/SelectionTools.h"
#include "shell/stForm1.h"

namespace {

using namespace movra;

constexpr int kRecords = 300000;
constexpr int kLayers = 40;

void MakeMap(App& app) {
    RecordStore& store = app.store;
    store.DimensionEmpty(kLayers);
    store.LayerCount = kLayers;
    store.LayerCapacity = 32767;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> at(1, 10000), step(-10, 10);
    for (int l = 1; l <= kLayers; ++l) {
        store.LayerOnFlag[l] = -1;
        const int count = kRecords / kLayers;
        for (int slot = 0; slot < count; ++slot) {
            MapRecord& r = store.At(l, slot);
            r.RecordType = 4;
            r.RecordPen = 8;
            r.RecordX1 = at(random), r.RecordY1 = at(random);
            r.RecordX2 = r.RecordX1 + step(random), r.RecordY2 = r.RecordY1 + step(random);
            r.RecordX3 = r.RecordX2 + step(random), r.RecordY3 = r.RecordY2 + step(random);
            r.RecordX4 = r.RecordX3 + step(random), r.RecordY4 = r.RecordY3 + step(random);
        }
        store.Count(l) = count;
    }
}

struct Fixture {
    QtCanvasPlatform platform;
    App app{platform};
    stForm1 form1{app};
    Fixture() {
        app.form1 = &form1;
        form1.Picture1.surface().Resize(1920, 1080);
        form1.Picture1.SetScale(0, 10000, 10000, -10000);
        app.view.ScaleFactor = 0.5;
        MakeMap(app);
    }
};

void BM_SelectInWindowHalfMap(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_selection");
    Fixture f;
    for (auto _ : state) SelectInWindow(f.app, 0, 10000, 5000, 0);
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_SelectInWindowHalfMap)->Unit(benchmark::kMillisecond);

// The records with a vertex strictly inside the window (left, top)-(right, bottom), listed and
// their segments written as thin lines into an image of the canvas's size: what the window
// selection does, in the plainest way.
int SelectPlainly(const RecordStore& store, double left, double top, double right, double bottom,
                  std::vector<SelectedRecord>& selected, QImage& image) {
    selected.clear();
    const auto px = [&](double x) { return static_cast<int>(x * image.width() / 10000); };
    const auto py = [&](double y) { return static_cast<int>((10000 - y) * image.height() / 10000); };
    for (int l = 1; l <= store.LayerCount; ++l) {
        for (int s = 0; s < store.Count(l); ++s) {
            const MapRecord& r = store.Get(l, s);
            const double xs[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
            const double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
            bool inside = false;
            for (int k = 0; k < 4 && !inside; ++k) inside = xs[k] > left && xs[k] < right && ys[k] < top && ys[k] > bottom;
            if (!inside) continue;
            selected.push_back({l, s});
            for (int k = 0; k < 3; ++k)
                bench::WriteLinePixels(image, px(xs[k]), py(ys[k]), px(xs[k + 1]), py(ys[k + 1]), 0xFFFF00FFu);
        }
    }
    return static_cast<int>(selected.size());
}

void BM_SelectInWindowUnderTheLimit(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_selection");
    Fixture f;
    constexpr double Left = 0, Top = 10000, Right = 10000, Bottom = 9200;
    std::vector<SelectedRecord> selected;
    QImage image(1920, 1080, QImage::Format_RGB32);
    int plain = 0;
    bench::Interleave(
        state, 7, [&] { SelectInWindow(f.app, Left, Top, Right, Bottom); },
        [&] { plain = SelectPlainly(f.app.store, Left, Top, Right, Bottom, selected, image); });
    const int ours = f.app.tool.SelectionCount - 1;
    state.counters["selected"] = ours;
    if (ours != plain || ours >= 31999) state.SkipWithError("the two selections differ, or the limit was reached");
}
BENCHMARK(BM_SelectInWindowUnderTheLimit)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_PickAtPointMiss(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_selection");
    Fixture f;
    f.app.selection.SelectTolerance = 0.25f;
    for (auto _ : state) PickAtPoint(f.app, -5000, -5000);
    if (f.app.selection.SelectionList[0].Layer != 1) state.SkipWithError("the pick found a record");
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_PickAtPointMiss)->Unit(benchmark::kMillisecond);

void BM_Paste30000(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_selection");
    Fixture f;
    auto& list = f.app.selection.SelectionList;
    list.assign(30002, SelectedRecord{});
    list[0].Layer = 30001;
    for (int k = 1; k <= 30000; ++k) list[k] = {1 + (k - 1) / 5000, (k - 1) % 5000};
    CopySelection(f.app);
    for (auto _ : state) {
        state.PauseTiming();
        for (int l = 1; l <= kLayers; ++l) f.app.store.Count(l) = kRecords / kLayers;
        state.ResumeTiming();
        PasteCopyBuffer(f.app, 0);
    }
    state.SetItemsProcessed(state.iterations() * 30000);
}
BENCHMARK(BM_Paste30000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
