// One ink fill at 1:500 inside a parcel whose outline is 2,500 two-vertex lines (a ring of
// radius 40 m round the seed), the most line work a fill gathers: every scan line tests every
// segment. The spans are stored into a layer of their own, emptied again before each fill; no
// canvas is drawn on.
#include <benchmark/benchmark.h>

#include <cmath>

#include "App.h"
#include "geomops/InkFill.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

constexpr int kSegments = 2500;
constexpr double kRadius = 40;
constexpr double kCentre = 500000;

struct Parcel {
    FakePlatform fake;
    App app{fake};
    Parcel() {
        RecordStore& store = app.store;
        store.DimensionEmpty(2);
        store.LayerCount = 2;
        store.LayerOnFlag[1] = store.LayerOnFlag[2] = -1;
        store.CurrentLayer = 2;
        app.view.ScaleFactor = 0.5;
        for (int k = 0; k < kSegments; ++k) {
            const double a = 2 * M_PI * k / kSegments, b = 2 * M_PI * (k + 1) / kSegments;
            MapRecord& r = store.At(1, k);
            r.RecordType = 2;
            r.RecordX1 = kCentre + kRadius * std::cos(a);
            r.RecordY1 = kCentre + kRadius * std::sin(a);
            r.RecordX2 = kCentre + kRadius * std::cos(b);
            r.RecordY2 = kCentre + kRadius * std::sin(b);
        }
        store.Count(1) = kSegments;
    }
};

void BM_InkFillInsideRingOf2500(benchmark::State& state) {
    static Parcel parcel;
    RecordStore& store = parcel.app.store;
    for (auto _ : state) {
        store.Count(2) = 0;
        store.ClearFrom(2, 0);
        墨水填充(parcel.app, static_cast<std::int32_t>(kCentre), static_cast<std::int32_t>(kCentre), 1);
        benchmark::DoNotOptimize(store.Count(2));
    }
    state.counters["records"] = store.Count(2);
}

BENCHMARK(BM_InkFillInsideRingOf2500)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace movra
