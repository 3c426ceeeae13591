// Writing and reading a map of 1,000,000 records in 40 layers as a compact and as a full map file,
// side by side with reading the same file's bytes through `cat file > /dev/null`. The read
// benchmarks report `x_raw`: their time per read divided by the time of the raw read, once the
// process holds the memory of a map (a second open); `first_ms` and `first_x_raw` give the first
// read of the process, which also pays for fresh memory pages for the whole store.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "App.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "document/WtwFile.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

constexpr int Layers = 40;
constexpr int RecordsPerLayer = 25000;

struct BenchApp {
    BenchApp() : platform(Folder(), Folder()), app(platform), form1(app) {}
    static std::string Folder() { return std::filesystem::temp_directory_path().string(); }
    FakePlatform platform;
    App app;
    stForm1 form1;
};

// A map of 40 layers of 25,000 records, texts mostly short and Latin, every tenth a Chinese
// annotation with its font.
void FillMap(App& app) {
    auto& store = app.store;
    store.LayerCount = Layers;
    store.LayerCapacity = RecordsPerLayer + 1000;
    store.NextLayerIndex = Layers + 1;
    新建层(app);
    for (int layer = 1; layer <= Layers; ++layer) {
        store.LayerNames[static_cast<std::size_t>(layer)] = "层" + std::to_string(layer);
        for (int i = 0; i < RecordsPerLayer; ++i) {
            MapRecord& r = store.At(layer, i);
            r.RecordType = static_cast<std::uint8_t>(1 + i % 60);
            r.RecordColor = 0x00102030 + i;
            r.RecordPen = static_cast<std::uint8_t>(i % 12);
            r.RecordX1 = 3412345.125 + i;
            r.RecordY1 = 512345.5 + layer;
            r.RecordX2 = r.RecordX1 + 3.5;
            r.RecordY2 = r.RecordY1 - 2.25;
            r.RecordZ1 = static_cast<float>(i % 100);
            if (i % 10 == 0) {
                r.RecordText = "居民地注记" + std::to_string(i);
                r.RecordFont = "宋体";
            } else {
                r.RecordText = std::to_string(i);
            }
        }
        store.Count(layer) = RecordsPerLayer;
    }
}

std::string FilePath(const char* extension) {
    return (std::filesystem::temp_directory_path() / ("movra-bench-" + std::to_string(::getpid()) + extension)).string();
}

BenchApp& SourceMap() {
    static std::unique_ptr<BenchApp> source = [] {
        auto b = std::make_unique<BenchApp>();
        FillMap(b->app);
        return b;
    }();
    return *source;
}

double SecondsOfCat(const std::string& path) {
    const std::string command = "cat '" + path + "' > /dev/null";
    const int rounds = 5;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        if (std::system(command.c_str()) != 0) return 0;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

template <void (*Write)(App&, const std::string&)>
void BM_Write(benchmark::State& state, const char* extension) {
    BenchApp& source = SourceMap();
    const std::string path = FilePath(extension);
    for (auto _ : state) Write(source.app, path);
    state.counters["records"] = Layers * RecordsPerLayer;
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

template <void (*Write)(App&, const std::string&), bool (*Read)(App&, const std::string&)>
void BM_Read(benchmark::State& state, const char* extension) {
    const std::string path = FilePath(extension);
    Write(SourceMap().app, path);
    BenchApp target;
    const auto first = std::chrono::steady_clock::now();
    Read(target.app, path);
    const double firstSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();
    double total = 0;
    std::int64_t reads = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        Read(target.app, path);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++reads;
    }
    // The open slot the writer adds to each layer is not read back as a record.
    if (target.app.store.Count(Layers) != RecordsPerLayer) state.SkipWithError("the map did not come back");
    const double cat = SecondsOfCat(path);
    state.counters["cat_ms"] = cat * 1e3;
    state.counters["x_raw"] = cat > 0 ? (total / static_cast<double>(reads)) / cat : 0;
    state.counters["first_ms"] = firstSeconds * 1e3;
    state.counters["first_x_raw"] = cat > 0 ? firstSeconds / cat : 0;
    std::filesystem::remove(path);
}

void BM_WriteJdx(benchmark::State& state) { BM_Write<WriteJdxFile>(state, ".jdx"); }
void BM_ReadJdx(benchmark::State& state) { BM_Read<WriteJdxFile, ReadJdxFile>(state, ".jdx"); }
void BM_WriteWtw(benchmark::State& state) { BM_Write<WriteWtwFile>(state, ".wtw"); }
void BM_ReadWtw(benchmark::State& state) { BM_Read<WriteWtwFile, ReadWtwFile>(state, ".wtw"); }

BENCHMARK(BM_WriteJdx)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadJdx)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WriteWtw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadWtw)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace movra
