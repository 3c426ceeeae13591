// Exporting a map of 1,000,000 records in 40 layers in each of the three export forms, against
// writing the same bytes (the export's own file, read beforehand) through the same safe file writer,
// the two timed by turns in one run (bench/BenchTiming.h: min and median of both, `x_*` the
// export's time over the plain write's). For the release-12 form ezdxf also adds and writes the
// same entities, as a peer (`ezdxf_s`, and `ezdxf_x`, ezdxf's time over the export's median; needs
// python3-ezdxf).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <unistd.h>

#include "App.h"
#include "BenchTiming.h"
#include "basic/Files.h"
#include "document/Layers.h"
#include "exchange/ExportCoordinateText.h"
#include "exchange/ExportDxfOwnDialect.h"
#include "exchange/ExportDxfR12.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"


namespace movra {
namespace {

// The source tree, for the ezdxf script.
const std::string SourceDir = MOVRA_BENCH_SOURCE_DIR;

constexpr int Layers = 40;
constexpr int RecordsPerLayer = 25000;

constexpr int Rounds = 5;

// A file of the run's own temporary folder, removed at the end.
std::string Temp(const std::string& name) {
    static QTemporaryDir folder;
    return folder.path().toStdString() + "/" + name;
}

// The built program folder holds the DXF header template the exports read.
struct BenchApp {
    BenchApp() : folder(Temp("work")), platform(MOVRA_BENCH_PROGRAM_DIR, folder), app(platform), form1(app) {
        std::filesystem::create_directories(folder);
    }
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

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The bytes written through the same writer the exports use, in pieces of a megabyte.
void PlainWrite(const std::string& bytes, const std::string& path) {
    AtomicFileWriter out(path);
    constexpr std::size_t Piece = 1u << 20;
    for (std::size_t at = 0; at < bytes.size(); at += Piece) out.Write(std::string_view(bytes).substr(at, Piece));
    out.Commit();
}

template <bool (*Export)(App&, const std::string&)>
void BM_Export(benchmark::State& state, const char* name, bool withEzdxf) {
    BenchApp& source = SourceMap();
    const std::string path = Temp(name), plainPath = Temp("plain");
    bool exported = Export(source.app, path);
    const std::string bytes = ReadWhole(path);
    bench::Interleave(
        state, Rounds, [&] { exported = Export(source.app, path) && exported; }, [&] { PlainWrite(bytes, plainPath); });
    if (!exported) state.SkipWithError("the export failed");
    std::filesystem::remove(plainPath);
    state.counters["records"] = Layers * RecordsPerLayer;
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
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
        const double ours = state.counters["ours_median_ms"] / 1e3;
        state.counters["entities"] = static_cast<double>(entities);
        state.counters["ezdxf_s"] = ezdxf;
        state.counters["ezdxf_x"] = ours > 0 ? ezdxf / ours : 0;
        if (ezdxf == 0) state.SkipWithError("ezdxf did not run (python3-ezdxf missing?)");
    }
    std::filesystem::remove(path);
}

void BM_ExportDxfR12(benchmark::State& state) { BM_Export<ExportDxfR12>(state, "r12.dxf", true); }
void BM_ExportDxfOwnDialect(benchmark::State& state) { BM_Export<ExportDxfOwnDialect>(state, "own.dxf", false); }
void BM_ExportCoordinateText(benchmark::State& state) { BM_Export<ExportCoordinateText>(state, "text.txt", false); }

BENCHMARK(BM_ExportDxfR12)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_ExportDxfOwnDialect)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_ExportCoordinateText)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
}  // namespace movra
