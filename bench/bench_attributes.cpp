// The attribute hover on a map of 500,000 records in 20 layers over 10 km by 10 km, one in fifty
// an attribute record, on the Qt canvas. Every mouse move of the attribute viewer scans every slot
// of every visible layer: a move far from any record, a move beside the record already shown
// (passed over, so the scan also runs to its end), and moves that switch between two near records
// (each erases one popup and prints another).
#include <benchmark/benchmark.h>

#include <random>

#include "App.h"
#include "BenchCanvas.h"
#include "shell/stForm1.h"
#include "symbols/Attributes.h"

namespace {

using namespace movra;

constexpr int kRecords = 500000;
constexpr int kLayers = 20;

void MakeMap(App& app) {
    RecordStore& store = app.store;
    store.DimensionEmpty(kLayers);
    store.LayerCount = kLayers;
    store.LayerCapacity = 32767;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> at(1, 10000), step(-10, 10);
    int n = 0;
    for (int l = 1; l <= kLayers; ++l) {
        store.LayerOnFlag[l] = -1;
        const int count = kRecords / kLayers;
        for (int slot = 0; slot < count; ++slot, ++n) {
            MapRecord& r = store.At(l, slot);
            r.RecordX1 = at(random), r.RecordY1 = at(random);
            if (n % 50 == 0) {
                r.RecordType = 53;
                r.RecordText = "张三";
                r.RecordX3 = 86.5;
            } else {
                r.RecordType = 2;
                r.RecordX2 = r.RecordX1 + step(random), r.RecordY2 = r.RecordY1 + step(random);
            }
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
        app.view.DisplayZoomInverse = 0.5;
        app.view.GroundPerScreenMm = 2;
        app.current.CurrentColor = MakeRgb(255, 255, 0);
        MakeMap(app);
    }
    // Two attribute records of the last layer near each other, for the switching moves.
    void PutPair() {
        for (int k = 0; k < 2; ++k) {
            MapRecord& r = app.store.At(kLayers, 100 + k);
            r.RecordType = 54;
            r.RecordText = "值";
            r.RecordX1 = -500 + k;
            r.RecordY1 = -500;
        }
    }
};

void BM_HoverMiss(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_attributes");
    Fixture f;
    for (auto _ : state) ShowAttributeHover(f.app, -5000, -5000);
    if (f.app.attributes.PickedLayer != 0) state.SkipWithError("the hover picked a record");
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_HoverMiss)->Unit(benchmark::kMillisecond);

void BM_HoverBesideShownRecord(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_attributes");
    Fixture f;
    const MapRecord& last = f.app.store.Get(kLayers, (kRecords / kLayers) - 50);
    const double x = last.RecordX1, y = last.RecordY1;
    ShowAttributeHover(f.app, x, y);
    if (f.app.attributes.PickedLayer == 0) state.SkipWithError("the hover found no record");
    for (auto _ : state) ShowAttributeHover(f.app, x + 0.1, y);
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_HoverBesideShownRecord)->Unit(benchmark::kMillisecond);

void BM_HoverSwitchingPopups(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_attributes");
    Fixture f;
    f.PutPair();
    for (auto _ : state) ShowAttributeHover(f.app, -499.5, -500);
    if (f.app.attributes.PickedLayer != kLayers) state.SkipWithError("the hover found no record");
}
BENCHMARK(BM_HoverSwitchingPopups)->Unit(benchmark::kMillisecond);

}  // namespace
