// The canvas tool engine on big maps: the hover search for a snap vertex that finds nothing (the
// whole store is scanned at every mouse move while snapping is on), and a pan of ten moves with
// its release on the Qt canvas of 1920 x 1080 pixels.
#include <benchmark/benchmark.h>

#include <random>

#include "App.h"
#include "BenchCanvas.h"
#include "editing/Snapping.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace {

using namespace movra;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Line records of four vertices on whole metres, `records` of them over `layers` layers, spread
// over a square of `side` metres; every second record has its later vertices within `spread` of
// its first, the others a short chain of 10 m steps.
void MakeMap(App& app, int records, int layers, double side, int spread) {
    RecordStore& store = app.store;
    store.DimensionEmpty(layers);
    store.LayerCount = static_cast<std::uint8_t>(layers);
    store.LayerCapacity = static_cast<std::int16_t>(records / layers + 10);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> at(1, static_cast<int>(side)), step(-10, 10), far(-spread, spread);
    for (int l = 1; l <= layers; ++l) {
        store.LayerOnFlag[l] = -1;
        const int count = records / layers;
        for (int slot = 0; slot < count; ++slot) {
            MapRecord& r = store.At(l, slot);
            r.RecordType = 4;
            r.RecordColor = MakeRgb(40, 90, 160);
            r.RecordX1 = at(random), r.RecordY1 = at(random);
            auto& d = slot % 2 ? step : far;
            r.RecordX2 = r.RecordX1 + d(random), r.RecordY2 = r.RecordY1 + d(random);
            r.RecordX3 = r.RecordX2 + d(random), r.RecordY3 = r.RecordY2 + d(random);
            r.RecordX4 = r.RecordX3 + d(random), r.RecordY4 = r.RecordY3 + d(random);
        }
        store.Count(l) = count;
    }
}

// 300,000 records in 40 layers; the cursor stands between whole metres, a quarter metre from any
// vertex at most, so no vertex is within reach and every record is looked at.
void BM_SnapSearchMiss(benchmark::State& state) {
    FakePlatform platform;
    App app(platform);
    stForm1 form1(app);
    MakeMap(app, 300000, 40, 10000, 3000);
    app.view.GroundPerScreenMm = 0.25;
    app.tool.SnapVertex = {};
    for (auto _ : state) FindSnapVertex(app, 5000.5, 5000.5);
    if (app.tool.SnapVertex.Vertex != 0) state.SkipWithError("the search found a vertex");
    state.SetItemsProcessed(state.iterations() * 300000);
}
BENCHMARK(BM_SnapSearchMiss)->Unit(benchmark::kMillisecond);

// 100,000 records in 4 layers over the view at zoom 1: press, ten moves of a metre each west (two
// thinned redraws) and the release (work buffer and full redraw).
void BM_PanTenMoves(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_canvas_tools");
    QtCanvasPlatform platform;
    App app(platform);
    stForm1 form1(app);
    MakeMap(app, 100000, 4, kHeight, 10);
    Surface& canvas = form1.Picture1.surface();
    canvas.Resize(kWidth, kHeight);
    canvas.SetBackColor(MakeRgb(255, 255, 255));
    app.view.ScaleFactor = 1;
    app.view.DisplayZoom = 1;
    app.tool.SnapOn = 0;
    for (auto _ : state) {
        canvas.SetScale(0, kHeight, kWidth, -kHeight);
        app.tool.CommandMode = ModePan;
        app.tool.ViewRedrawCounter = 0;
        form1.Picture1.MouseDown(LeftButton, 0, 900, 500);
        for (int move = 1; move <= 10; ++move)
            form1.Picture1.MouseMove(LeftButton, 0, form1.Picture1.ScaleLeft() + 900 - move,
                                     form1.Picture1.ScaleTop() - 580);
        form1.Picture1.MouseUp(LeftButton, 0, form1.Picture1.ScaleLeft() + 890, form1.Picture1.ScaleTop() - 580);
    }
    state.SetItemsProcessed(state.iterations() * 100000);
    bench::SaveBenchPicture(canvas);
}
BENCHMARK(BM_PanTenMoves)->Unit(benchmark::kMillisecond);

}  // namespace
