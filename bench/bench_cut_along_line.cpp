// The preview pass of cutting along a line over a map of 500,000 records (16 layers of 31,250:
// lines of two to four vertices, chains, quadrilaterals, circles, arcs, symbols and texts spread
// over 10 km by 10 km), with a cutting line 20 m long: the pass reads every slot and judges the
// few records near the line.
#include <benchmark/benchmark.h>

#include <random>

#include "App.h"
#include "geomops/CutAlongLine.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

constexpr int kRecords = 500000;
constexpr int kLayers = 16;
constexpr double kSide = 10000;

struct Map {
    FakePlatform fake;
    App app{fake};
    Map() {
        RecordStore& store = app.store;
        const int perLayer = kRecords / kLayers;
        store.DimensionEmpty(kLayers);
        store.LayerCount = kLayers;
        store.LayerCapacity = static_cast<std::int16_t>(perLayer + 10);
        std::mt19937 random(5);
        std::uniform_real_distribution<double> coord(0, kSide), step(-15, 15);
        for (int l = 1; l <= kLayers; ++l) {
            store.LayerOnFlag[l] = -1;
            for (int slot = 0; slot < perLayer; ++slot) {
                MapRecord& r = store.At(l, slot);
                static const int types[] = {2, 4, 5, 3, 42, 7, 8, 6, 15, 10};
                r.RecordType = static_cast<std::uint8_t>(types[slot % 10]);
                r.RecordX1 = coord(random);
                r.RecordY1 = coord(random);
                r.RecordX2 = r.RecordX1 + step(random);
                r.RecordY2 = r.RecordY1 + step(random);
                r.RecordX3 = r.RecordX2 + step(random);
                r.RecordY3 = r.RecordY2 + step(random);
                r.RecordX4 = r.RecordX3 + step(random);
                r.RecordY4 = r.RecordY3 + step(random);
                if (r.RecordType == 7 || r.RecordType == 8) {
                    r.RecordX2 = 3;
                    r.RecordY2 = 1;
                    r.RecordX3 = 0.5;
                    r.RecordY3 = 2.5;
                }
            }
            store.Count(l) = perLayer;
        }
    }
};

void BM_CutPreviewShortLine(benchmark::State& state) {
    static Map map;
    for (auto _ : state) {
        CutLinesAndAreas(map.app, 5000, 5000, 5014, 5014, CutPreview);
        benchmark::DoNotOptimize(map.app.geometry.ScratchXY.data());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

BENCHMARK(BM_CutPreviewShortLine)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace movra
