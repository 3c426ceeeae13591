// The query dialog's scan over a map of 1,000,000 records in 40 layers on the Qt canvas: a search
// that finds nothing (every slot compared), and one that finds 30,000 texts and highlights each
// on the canvas as it finds it.
#include <benchmark/benchmark.h>

#include <random>

#include "App.h"
#include "BenchCanvas.h"
#include "shell/InstallSeams.h"
#include "shell/stForm1.h"
#include "symbols/chaxunfrm.h"

namespace {

using namespace movra;

constexpr int kRecords = 1000000;
constexpr int kLayers = 40;
constexpr int kHitEvery = kRecords / 30000;

void MakeMap(App& app) {
    RecordStore& store = app.store;
    store.DimensionEmpty(kLayers);
    store.LayerCount = kLayers;
    store.LayerCapacity = 32767;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> at(1, 10000), step(-10, 10);
    int n = 0;
    for (int l = 1; l <= kLayers; ++l) {
        store.LayerOnFlag[l] = -1;
        const int count = kRecords / kLayers;
        for (int slot = 0; slot < count; ++slot, ++n) {
            MapRecord& r = store.At(l, slot);
            r.RecordX1 = at(random), r.RecordY1 = at(random);
            if (n % 3 == 0) {
                r.RecordType = 25;
                r.RecordText = n % kHitEvery == 0 && n < 30000 * kHitEvery ? "宗地" : "宗地1";
                r.RecordX2 = 3, r.RecordY2 = 0.7;
                r.RecordFont = "宋体";
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
    chaxunfrm dialog{app};
    Fixture() {
        app.form1 = &form1;
        InstallRedrawSeams(app);
        form1.Picture1.surface().Resize(1920, 1080);
        form1.Picture1.SetScale(0, 10000, 10000, -10000);
        app.view.ScaleFactor = 0.5;
        app.current.CurrentColor = MakeRgb(255, 255, 0);
        MakeMap(app);
        dialog.Load();
    }
};

void Scan(benchmark::State& state, const char* text, int expected) {
    bench::EnsureGuiApplication("bench_query");
    Fixture f;
    f.dialog.Text1.SetText(text);
    for (auto _ : state) f.dialog.Command1_Click();
    if (f.app.selection.SelectionList[0].Layer != expected + 1) state.SkipWithError("unexpected hits");
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_QueryNoHit(benchmark::State& state) { Scan(state, "没有", 0); }
BENCHMARK(BM_QueryNoHit)->Unit(benchmark::kMillisecond);

void BM_Query30000Hits(benchmark::State& state) { Scan(state, "宗地", 30000); }
BENCHMARK(BM_Query30000Hits)->Unit(benchmark::kMillisecond);

}  // namespace
