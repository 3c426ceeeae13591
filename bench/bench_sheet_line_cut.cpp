// How fast a map is cut along sheet lines: a map of 200,000 records over seven layers, cut along
// ten vertical and ten horizontal sheet lines, reported as time per line and records gone
// through per second.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "App.h"
#include "BenchRecords.h"
#include "document/ColorTable.h"
#include "document/Layers.h"
#include "platform/fake/FakePlatform.h"
#include "sheets/SheetLineCut.h"

namespace movra {
namespace {

constexpr int Records = 200000;
constexpr int Layers = 7;
constexpr double Side = 10000;  // metres: a map of 20 x 20 sheets of 500 m
constexpr int LinesEachWay = 10;

struct Map {
    FakePlatform fake;
    App app{fake};

    // Short lines of the pen, line-type and wide families, chains, quadrilaterals, circles, arcs,
    // symbol rows and points, spread over the map.
    Map() {
        FillColorAndFontTables(app);
        NewDocument(app);
        RecordStore& store = app.store;
        store.DimensionKeep(Layers);
        store.LayerCount = Layers;
        store.LayerCapacity = 30000;
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> at(0, Side), step(-40, 40);
        const int perLayer = Records / Layers;
        for (int layer = 1; layer <= Layers; ++layer) {
            store.LayerOnFlag[layer] = -1;
            for (int slot = 0; slot < perLayer; ++slot) {
                MapRecord& r = store.At(layer, slot);
                r.RecordColor = 255;
                r.RecordPen = 8;
                const double x = at(rng), y = at(rng);
                r.RecordX1 = x;
                r.RecordY1 = y;
                switch (slot % 10) {
                    case 0: case 1: case 2:  // a line of 2 to 4 vertices
                        r.RecordType = static_cast<std::uint8_t>((slot % 3) * 40 + 2 + slot % 3);
                        bench::WalkFromFirstVertex(r, rng, step);
                        break;
                    case 3:  // a chain record going on to the next
                        r.RecordType = 5;
                        bench::WalkFromFirstVertex(r, rng, step);
                        break;
                    case 4: {  // ... and its end, where the chain record left off
                        const MapRecord& before = store.Get(layer, slot - 1);
                        r.RecordType = 2;
                        r.RecordX1 = before.RecordX4 + step(rng); r.RecordY1 = before.RecordY4 + step(rng);
                        r.RecordX2 = r.RecordX1 + step(rng); r.RecordY2 = r.RecordY1 + step(rng);
                        break;
                    }
                    case 5:
                        r.RecordType = 6;
                        r.RecordX2 = x + 30; r.RecordY2 = y;
                        r.RecordX3 = x + 30; r.RecordY3 = y + 20;
                        r.RecordX4 = x; r.RecordY4 = y + 20;
                        break;
                    case 6:
                        r.RecordType = 7;
                        r.RecordX2 = 15; r.RecordY2 = 1;
                        break;
                    case 7:
                        r.RecordType = 8;
                        r.RecordX2 = 15; r.RecordY2 = 1; r.RecordX3 = 0.5; r.RecordY3 = 4;
                        break;
                    case 8:
                        r.RecordType = 87;
                        r.RecordZ1 = 30;
                        r.RecordText = "12";
                        break;
                    default:  // a point symbol, which no line cuts
                        r.RecordType = 15;
                        r.RecordText = "3";
                        break;
                }
            }
            store.Count(layer) = perLayer;
        }
    }
};

void BM_CutAlongTwentySheetLines(benchmark::State& state) {
    std::int64_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto map = std::make_unique<Map>();
        state.ResumeTiming();
        for (int k = 1; k <= LinesEachWay; ++k) {
            const double c = Side * k / (LinesEachWay + 1);
            CutFeaturesAlongLine(map->app, c, -1, c, Side + 1);
        }
        for (int k = 1; k <= LinesEachWay; ++k) {
            const double c = Side * k / (LinesEachWay + 1);
            CutFeaturesAlongLine(map->app, -1, c, Side + 1, c);
        }
        state.PauseTiming();
        for (int layer = 1; layer <= Layers; ++layer) added += map->app.store.Count(layer) - Records / Layers;
        map.reset();
        state.ResumeTiming();
    }
    const double lines = 2.0 * LinesEachWay * static_cast<double>(state.iterations());
    state.counters["s_per_line"] = benchmark::Counter(lines, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["records_per_s"] = benchmark::Counter(lines * Records, benchmark::Counter::kIsRate);
    state.counters["pieces_added"] = static_cast<double>(added) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CutAlongTwentySheetLines)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace movra
