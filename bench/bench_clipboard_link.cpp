// A batch of 1,000 points arriving through the clipboard link into a map of 100,000 records, on
// the Qt canvas of 1920 x 1080 pixels: the time from the release of the batch until every point
// is stored and the canvas shows the last of them (each stored point redraws the map).
#include <benchmark/benchmark.h>
#include <random>
#include <string>

#include "App.h"
#include "BenchCanvas.h"
#include "shell/ClipboardLink.h"
#include "shell/stForm1.h"

namespace {

using namespace movra;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRecords = 100000;
constexpr int kLayers = 4;
constexpr int kBatch = 1000;

// Two-vertex pen lines in four layers, spread over the view.
struct Map {
    Map() : app(platform), form1(app) {
        app.form1 = &form1;
        RecordStore& store = app.store;
        store.DimensionEmpty(kLayers);
        store.LayerCount = kLayers;
        store.LayerCapacity = kRecords / kLayers + kBatch + 10;
        std::mt19937 random(108);
        std::uniform_real_distribution<double> x(0, kWidth), y(0, kHeight), step(-12, 12);
        for (int l = 1; l <= kLayers; ++l) {
            store.LayerOnFlag[l] = -1;
            for (int s = 0; s < kRecords / kLayers; ++s) {
                MapRecord& r = store.At(l, s);
                r.RecordType = 2;
                r.RecordColor = MakeRgb(40 * (s % 6), 60 * l, 120);
                r.RecordX1 = x(random), r.RecordY1 = y(random);
                r.RecordX2 = r.RecordX1 + step(random), r.RecordY2 = r.RecordY1 + step(random);
            }
            store.Count(l) = kRecords / kLayers;
        }
        store.CurrentLayer = 1;
        Surface& canvas = form1.Picture1.surface();
        canvas.Resize(kWidth, kHeight);
        canvas.SetScale(0, kHeight, kWidth, -kHeight);
        app.view.ScaleFactor = 1;
        app.view.DisplayZoom = 0.75;
        form1.link.ClipboardLinkFormat = "x,y,z";
        // One text of the whole batch, points inside the view.
        for (int k = 0; k < kBatch; ++k)
            batch += std::to_string(x(random)) + "," + std::to_string(y(random)) + "," + std::to_string(k) + "'";
    }
    QtCanvasPlatform platform;
    App app;
    stForm1 form1;
    std::string batch;
};

void BM_LinkBatchOf1000Points(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_clipboard_link");
    Map map;
    const int before = map.app.store.Count(1);
    for (auto _ : state) {
        state.PauseTiming();
        map.app.store.Count(1) = before;
        map.form1.link.LastLinkText.clear();
        ReceiveLinkText(map.app, map.batch);
        state.ResumeTiming();
        ReceiveLinkText(map.app, map.batch);  // unchanged for one poll: the batch is released
    }
    if (map.app.store.Count(1) != before + kBatch) state.SkipWithError("the batch was not stored whole");
    state.SetItemsProcessed(state.iterations() * kBatch);
    bench::SaveBenchPicture(map.form1.Picture1.surface());
}
BENCHMARK(BM_LinkBatchOf1000Points)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
