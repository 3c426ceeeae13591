// One preview pair of the move and rotate tools (the last picture taken off, the next drawn) for a
// selection of 10,000 line records on a 1920 x 1080 canvas.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "App.h"
#include "BenchCanvas.h"
#include "editing/SelectionPreviews.h"
#include "shell/stForm1.h"

namespace {

using namespace movra;

constexpr int kSelected = 10000;

struct Fixture {
    QtCanvasPlatform platform;
    App app{platform};
    stForm1 form1{app};
    Fixture() {
        app.form1 = &form1;
        Surface& canvas = form1.Picture1.surface();
        canvas.Resize(1920, 1080);
        canvas.SetBackColor(MakeRgb(255, 255, 255));
        canvas.Cls();
        canvas.SetDrawMode(DrawModeNotXorPen);
        form1.Picture1.SetScale(0, 1080, 1920, -1080);
        app.view.ScaleFactor = 0.5;
        RecordStore& store = app.store;
        store.DimensionEmpty(1);
        store.LayerCount = 1;
        store.LayerCapacity = 32767;
        store.LayerOnFlag[1] = -1;
        std::mt19937 random(5);
        std::uniform_int_distribution<int> at(100, 1800), step(-15, 15);
        auto& list = app.selection.SelectionList;
        list.assign(kSelected + 2, SelectedRecord{});
        list[0].Layer = kSelected + 1;
        for (int slot = 0; slot < kSelected; ++slot) {
            MapRecord& r = store.At(1, slot);
            r.RecordType = 4;
            r.RecordColor = MakeRgb(0, 0, 200);
            r.RecordX1 = at(random), r.RecordY1 = at(random) % 1000 + 40;
            r.RecordX2 = r.RecordX1 + step(random), r.RecordY2 = r.RecordY1 + step(random);
            r.RecordX3 = r.RecordX2 + step(random), r.RecordY3 = r.RecordY2 + step(random);
            r.RecordX4 = r.RecordX3 + step(random), r.RecordY4 = r.RecordY3 + step(random);
            list[slot + 1] = {1, slot};
        }
        store.Count(1) = kSelected;
    }
};

void BM_MovePreviewPair(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_transform_previews");
    Fixture f;
    double x = 500;
    PreviewMove(f.app, x, 500, 0, 0, 1);
    for (auto _ : state) {
        PreviewMove(f.app, x, 500, 0, 0, 0);
        x += 3;
        PreviewMove(f.app, x, 500, 0, 0, 1);
    }
    bench::SaveBenchPicture(f.form1.Picture1.surface());
    state.SetItemsProcessed(state.iterations() * kSelected);
}
BENCHMARK(BM_MovePreviewPair)->Unit(benchmark::kMillisecond);

void BM_RotationPreviewPair(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_transform_previews");
    Fixture f;
    const MapRecord& first = f.app.store.Get(1, 0);
    const double px = first.RecordX1, py = first.RecordY1;
    double angle = 0.1;
    PreviewRotation(f.app, px, py + 100, px + 100 * std::sin(angle), py + 100 * std::cos(angle), 1);
    for (auto _ : state) {
        PreviewRotation(f.app, px, py + 100, px + 100 * std::sin(angle), py + 100 * std::cos(angle), 0);
        angle += 0.01;
        PreviewRotation(f.app, px, py + 100, px + 100 * std::sin(angle), py + 100 * std::cos(angle), 1);
    }
    state.SetItemsProcessed(state.iterations() * kSelected);
}
BENCHMARK(BM_RotationPreviewPair)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
