// The window clip over a map of 1,000,000 records (31 layers of pen lines, chains, line-type
// lines, circles, symbols and texts spread over 10 km by 10 km): once with a window that holds
// about 30,000 buffer items, once with a window beside the map that holds nothing.
#include <benchmark/benchmark.h>

#include <random>

#include "App.h"
#include "geomops/WindowClip.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

constexpr int kRecords = 1000000;
constexpr int kLayers = 31;
constexpr double kSide = 10000;

struct Map {
    FakePlatform fake;
    App app{fake};
    Map() {
        RecordStore& store = app.store;
        const int perLayer = (kRecords + kLayers - 1) / kLayers;
        store.DimensionEmpty(kLayers);
        store.LayerCount = kLayers;
        store.LayerCapacity = static_cast<std::int16_t>(perLayer + 10);
        std::mt19937 random(3);
        std::uniform_real_distribution<double> coord(0, kSide), step(-15, 15);
        int made = 0;
        for (int l = 1; l <= kLayers; ++l) {
            store.LayerOnFlag[l] = -1;
            int slot = 0;
            double chainX = -1;  // where the chain of the slot before goes on
            double chainY = 0;
            for (; slot < perLayer && made < kRecords; ++slot, ++made) {
                MapRecord& r = store.At(l, slot);
                const int kind = slot % 10;
                // A chain (5) goes on into the 3 after it.
                static const int types[] = {2, 4, 5, 3, 12, 7, 15, 25, 44, 6};
                r.RecordType = static_cast<std::uint8_t>(types[kind]);
                r.RecordColor = 0x2080C0;
                r.RecordPen = 8;
                r.RecordX1 = chainX >= 0 ? chainX : coord(random);
                r.RecordY1 = chainX >= 0 ? chainY : coord(random);
                chainX = -1;
                r.RecordX2 = r.RecordX1 + step(random);
                r.RecordY2 = r.RecordY1 + step(random);
                r.RecordX3 = r.RecordX2 + step(random);
                r.RecordY3 = r.RecordY2 + step(random);
                r.RecordX4 = r.RecordX3 + step(random);
                r.RecordY4 = r.RecordY3 + step(random);
                if (r.RecordType == 5) chainX = r.RecordX4 + step(random), chainY = r.RecordY4 + step(random);
                if (r.RecordType == 25) r.RecordText = "河流";
                if (r.RecordType == 12 || r.RecordType == 44) r.RecordText = "351";
            }
            store.Count(l) = slot;
        }
    }
};

Map& TheMap() {
    static Map map;
    return map;
}

void ClipOnce(benchmark::State& state, float left, float top, float right, float bottom) {
    App& app = TheMap().app;
    for (auto _ : state) {
        ClipWindow(app, left, top, right, bottom);
        benchmark::DoNotOptimize(app.clip.ClipBufferCount);
    }
    state.counters["items"] = app.clip.ClipBufferCount;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_ClipWindowAbout30000Items(benchmark::State& state) { ClipOnce(state, 4000, 5600, 5600, 4000); }
void BM_ClipWindowEmpty(benchmark::State& state) { ClipOnce(state, 20000, 30000, 30000, 20000); }

BENCHMARK(BM_ClipWindowAbout30000Items)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClipWindowEmpty)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace movra
