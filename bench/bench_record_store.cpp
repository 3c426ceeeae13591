// How fast the store takes records and how much memory it holds for them.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>

#include "App.h"
#include "document/ColorTable.h"
#include "document/Layers.h"
#include "document/StoreRecord.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

// A line of /proc/self/status in megabytes ("VmHWM", "VmRSS").
double StatusMegabytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1)) / 1024.0;
    }
    return 0;
}

// Bytes the store holds for its records and texts, with the text blocks records own themselves.
double StoreMegabytes(const RecordStore& store) {
    double bytes = static_cast<double>(store.ReservedBytes());
    auto owned = [](const auto& text) { return !text.IsInline() && !text.IsShared() && !text.empty(); };
    for (int layer = 0; layer <= store.LayerDimension(); ++layer) {
        const int slots = store.AllocatedSlots(layer);
        for (int slot = 0; slot < slots; ++slot) {
            const MapRecord& r = store.Get(layer, slot);
            if (owned(r.RecordText)) bytes += static_cast<double>(r.RecordText.size()) + 4;
            if (owned(r.RecordExtra)) bytes += static_cast<double>(r.RecordExtra.size()) + 4;
        }
    }
    return bytes / (1024.0 * 1024.0);
}

struct Map {
    FakePlatform fake;
    App app{fake};
    Map() {
        FillColorAndFontTables(app);
        NewDocument(app);
    }
};

// A map of 255 drawing layers holding 100 records each, dimensioned as a file reader does.
// Registered first, so the process's memory growth is this map's.
void BM_Map255LayersOf100(benchmark::State& state) {
    double rssGrowth = 0, storeMb = 0;
    for (auto _ : state) {
        const double rssBefore = StatusMegabytes("VmRSS");
        auto map = std::make_unique<Map>();
        App& app = map->app;
        app.store.LayerCount = 255;
        新建层(app);
        for (int layer = 1; layer <= 255; ++layer) {
            app.store.CurrentLayer = static_cast<std::uint8_t>(layer);
            for (int i = 0; i < 100; ++i)
                StoreRecord(app, StoreFromFile, 2, i, i, i + 1, i, i + 1, i + 1, i, i + 1, "道路");
        }
        rssGrowth = std::max(rssGrowth, StatusMegabytes("VmRSS") - rssBefore);
        storeMb = StoreMegabytes(app.store);
        benchmark::DoNotOptimize(app.store.Count(255));
    }
    state.counters["store_MB"] = storeMb;
    state.counters["rss_growth_MB"] = rssGrowth;
}
BENCHMARK(BM_Map255LayersOf100)->Unit(benchmark::kMillisecond)->Iterations(3);

// One million records through StoreRecord across 40 layers, growing the capacity as the canvas
// does before each record (when the count plus 5 passes it): 5000 to 26000 on the way.
void BM_AppendMillionRecords(benchmark::State& state) {
    constexpr int layers = 40;
    constexpr int perLayer = 25000;
    int growths = 0;
    double storeMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto map = std::make_unique<Map>();
        App& app = map->app;
        app.store.NextLayerIndex = layers + 1;
        AddLayer(app);
        state.ResumeTiming();
        growths = 0;
        for (int layer = 1; layer <= layers; ++layer) {
            app.store.CurrentLayer = static_cast<std::uint8_t>(layer);
            for (int i = 0; i < perLayer; ++i) {
                if (app.store.Count(layer) + 5 > app.store.LayerCapacity) {
                    GrowLayerCapacity(app);
                    ++growths;
                }
                const double x = i * 0.5;
                StoreRecord(app, StoreFull, 2, x, 1, x + 1, 2, x + 2, 3, x + 3, 4, "350");
            }
        }
        state.PauseTiming();
        if (app.store.Count(layers) != perLayer) state.SkipWithError("records were refused");
        storeMb = StoreMegabytes(app.store);
        map.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * layers * perLayer);
    state.counters["growth_steps"] = growths;
    state.counters["store_MB"] = storeMb;
    state.counters["peak_VmHWM_MB"] = StatusMegabytes("VmHWM");
}
BENCHMARK(BM_AppendMillionRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace movra
