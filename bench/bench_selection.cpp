// The selection and the copy buffer on a map of 300,000 line records in 40 layers over 10 km by
// 10 km, on the Qt canvas: a window over half the map (it stops at the selection's limit of
// 31,999 records), a point pick that misses through all its passes, and a paste of 30,000 records.
#include <benchmark/benchmark.h>

#include <random>

#include "App.h"
#include "BenchCanvas.h"
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
