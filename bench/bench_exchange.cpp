// Exporting a map of 1,000,000 records in 40 layers in each of the three export forms, side by
// side with writing as many bytes through the same safe file writer in the same run (`x_raw`, the
// export's time over the raw write's), and for the release-12 form with ezdxf adding and writing
// the same entities (`ezdxf_s` and `ezdxf_x`, ezdxf's time over the export's; needs python3-ezdxf).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <iterator>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "App.h"
#include "basic/Files.h"
#include "document/Layers.h"
#include "exchange/ExportCoordinateText.h"
#include "exchange/ExportDxfOwnDialect.h"
#include "exchange/ExportDxfR12.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"


namespace movra {
namespace {

// The source tree, for the header template and the ezdxf script.
const std::string SourceDir = std::filesystem::path(__FILE__).parent_path().parent_path().string();

constexpr int Layers = 40;
constexpr int RecordsPerLayer = 25000;

std::string Temp(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("movra-bench-" + std::to_string(::getpid()) + "-" + name)).string();
}

struct BenchApp {
    BenchApp() : folder(Temp("program")), platform(folder, folder), app(platform), form1(app) {
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(SourceDir + "/resources/dxf头文档.txt", folder + "/dxf头文档.txt",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    ~BenchApp() { std::filesystem::remove_all(folder); }
    std::string folder;
    FakePlatform platform;
    App app;
    stForm1 form1;
};

// The kinds of record the exports write, in the proportions of a typical large-scale map: lines
// and chains, circles, symbols, texts with Chinese annotations, images, points.
constexpr std::uint8_t Kinds[] = {2, 2, 3, 4, 5, 1, 6, 7, 12, 42, 43, 44, 45, 41, 15, 16, 65, 66, 70, 31, 47, 8};

void FillMap(App& app) {
    auto& store = app.store;
    store.LayerCount = Layers;
    store.LayerCapacity = RecordsPerLayer + 1000;
    store.NextLayerIndex = Layers + 1;
    新建层(app);
    app.extents = DrawingExtents{3412345.125, 512345.5, 3437345.125, 512385.5};
    for (int layer = 1; layer <= Layers; ++layer) {
        store.LayerNames[static_cast<std::size_t>(layer)] = "层" + std::to_string(layer);
        for (int i = 0; i < RecordsPerLayer; ++i) {
            MapRecord& r = store.At(layer, i);
            r.RecordType = Kinds[static_cast<std::size_t>(i) % std::size(Kinds)];
            r.RecordColor = 0x00102030 + i;
            r.RecordPen = static_cast<std::uint8_t>(i % 12);
            r.RecordX1 = 3412345.125 + i;
            r.RecordY1 = 512345.5 + layer;
            r.RecordX2 = r.RecordType >= 65 && r.RecordType <= 68 ? 8.5 : r.RecordX1 + 3.5;
            r.RecordY2 = r.RecordType >= 65 && r.RecordType <= 68 ? 1 : r.RecordY1 - 2.25;
            r.RecordX3 = r.RecordX1 + 1.75, r.RecordY3 = r.RecordY1 + 0.5;
            r.RecordX4 = r.RecordX1 - 0.25, r.RecordY4 = r.RecordY1 + 1.5;
            r.RecordZ1 = static_cast<float>(i % 100) / 4;
            r.RecordText = i % 10 == 0 ? "居民地注记" + std::to_string(i) : std::to_string(i % 400);
            if (r.RecordType == 66) r.RecordFont = "宋体";
        }
        store.Count(layer) = RecordsPerLayer;
    }
}

BenchApp& SourceMap() {
    static std::unique_ptr<BenchApp> source = [] {
        auto b = std::make_unique<BenchApp>();
        FillMap(b->app);
        return b;
    }();
    return *source;
}

double Seconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Writing `bytes` bytes in lines of 12 through the same writer the exports use.
double SecondsOfRawWrite(std::uintmax_t bytes, const std::string& path) {
    const std::string line = "  1234.5678\r";
    return Seconds([&] {
        AtomicFileWriter out(path);
        std::string chunk;
        for (std::uintmax_t written = 0; written < bytes; written += line.size()) {
            chunk += line;
            if (chunk.size() >= (1u << 20)) {
                out.Write(chunk);
                chunk.clear();
            }
        }
        out.Write(chunk);
        out.Commit();
    });
}

template <bool (*Export)(App&, const std::string&)>
void BM_Export(benchmark::State& state, const char* name, bool withEzdxf) {
    BenchApp& source = SourceMap();
    const std::string path = Temp(name);
    double total = 0;
    std::int64_t runs = 0;
    for (auto _ : state) {
        total += Seconds([&] {
            if (!Export(source.app, path)) state.SkipWithError("the export failed");
        });
        ++runs;
    }
    const double perRun = total / static_cast<double>(runs);
    const auto bytes = std::filesystem::file_size(path);
    const std::string rawPath = Temp("raw");
    double raw = 0;
    for (int i = 0; i < 3; ++i) raw += SecondsOfRawWrite(bytes, rawPath) / 3;
    std::filesystem::remove(rawPath);
    state.counters["records"] = Layers * RecordsPerLayer;
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["raw_ms"] = raw * 1e3;
    state.counters["x_raw"] = raw > 0 ? perRun / raw : 0;
    if (withEzdxf) {
        const std::string out = Temp("ezdxf.dxf");
        const std::string command = "/usr/bin/python3 '" + SourceDir +
                                    "/bench/exchange_ezdxf_write.py' '" + path + "' '" + out + "'";
        FILE* pipe = popen(command.c_str(), "r");
        double ezdxf = 0;
        long entities = 0;
        if (pipe) {
            if (std::fscanf(pipe, "entities %ld seconds %lf", &entities, &ezdxf) != 2) ezdxf = 0;
            pclose(pipe);
        }
        std::filesystem::remove(out);
        state.counters["entities"] = static_cast<double>(entities);
        state.counters["ezdxf_s"] = ezdxf;
        state.counters["ezdxf_x"] = perRun > 0 ? ezdxf / perRun : 0;
        if (ezdxf == 0) state.SkipWithError("ezdxf did not run (python3-ezdxf missing?)");
    }
    std::filesystem::remove(path);
}

void BM_ExportDxfR12(benchmark::State& state) { BM_Export<ExportDxfR12>(state, "r12.dxf", true); }
void BM_ExportDxfOwnDialect(benchmark::State& state) { BM_Export<ExportDxfOwnDialect>(state, "own.dxf", false); }
void BM_ExportCoordinateText(benchmark::State& state) { BM_Export<ExportCoordinateText>(state, "text.txt", false); }

BENCHMARK(BM_ExportDxfR12)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportDxfOwnDialect)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportCoordinateText)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace movra
