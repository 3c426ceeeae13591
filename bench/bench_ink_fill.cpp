// One ink fill at 1:500 bounded by 2,500 segments, the most line work a fill gathers: a parcel of
// 80 m by 80 m round the seed whose sides are drawn in 1 m pieces (the right side's pieces half
// a metre off the left side's, so that no corner rule ends a pass early), and short upright
// pieces of other line work beside it inside the window. Every scan line (about 400) tests every
// segment. The spans go to a layer of their own, emptied before each fill; no canvas is drawn on.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "App.h"
#include "geomops/InkFill.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

constexpr int kSegments = 2500;
constexpr double kCentre = 500000;
constexpr double kHalf = 40;

struct Parcel {
    FakePlatform fake;
    App app{fake};
    int segments = 0;

    void Piece(double xa, double ya, double xb, double yb) {
        MapRecord& r = app.store.At(1, segments++);
        r.RecordType = 2;
        r.RecordX1 = kCentre + xa;
        r.RecordY1 = kCentre + ya;
        r.RecordX2 = kCentre + xb;
        r.RecordY2 = kCentre + yb;
    }

    Parcel() {
        RecordStore& store = app.store;
        store.DimensionEmpty(2);
        store.LayerCount = 2;
        store.LayerOnFlag[1] = store.LayerOnFlag[2] = -1;
        store.CurrentLayer = 2;
        app.view.ScaleFactor = 0.5;
        Piece(-kHalf, -kHalf, kHalf, -kHalf);
        Piece(-kHalf, kHalf, kHalf, kHalf);
        for (double y = -kHalf; y < kHalf; y += 1) Piece(-kHalf, y, -kHalf, y + 1);
        Piece(kHalf, -kHalf, kHalf, -kHalf + 0.5);
        for (double y = -kHalf + 0.5; y < kHalf; y += 1) Piece(kHalf, y, kHalf, std::min(y + 1, kHalf));
        for (int k = 0; segments < kSegments; ++k) {
            const double x = (k % 2 ? 1 : -1) * (41 + (k / 2) % 8);
            const double y = -kHalf + (k / 16) % 80;
            Piece(x, y, x, y + 1);
        }
        store.Count(1) = segments;
    }
};

void BM_InkFillBoundedBy2500Segments(benchmark::State& state) {
    static Parcel parcel;
    RecordStore& store = parcel.app.store;
    for (auto _ : state) {
        store.Count(2) = 0;
        store.ClearFrom(2, 0);
        墨水填充(parcel.app, static_cast<std::int32_t>(kCentre), static_cast<std::int32_t>(kCentre), 1);
        benchmark::DoNotOptimize(store.Count(2));
    }
    state.counters["segments"] = parcel.segments;
    state.counters["records"] = store.Count(2);
    if (store.Count(2) == 0) state.SkipWithError("the fill stored no spans");
}

BENCHMARK(BM_InkFillBoundedBy2500Segments)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace movra
