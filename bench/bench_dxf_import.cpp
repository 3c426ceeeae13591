// Importing DXF files.
//
// BM_ImportDxf: a release-2000 file of 1,000,000 entities (half LINEs, half closed LWPOLYLINEs of
// four vertices) in 40 layers, read into a new document. Beside it in the same run: reading the
// same file line by line and doing nothing with the lines (`lines_ms`, `x_lines` the import's time
// over it), and GDAL's `ogrinfo -ro -al -so`, which reads every feature to count them
// (`ogrinfo_s`, `x_ogrinfo` ogrinfo's time over the import's; needs gdal-bin).
//
// BM_ImportDxfFullLayers: 1,000,000 entities evenly over 10 layers (lines, closed polylines of
// five vertices and texts, tests/exchange/LayeredDxfFile.h): every layer overflows, each time inside
// a polyline, and is cut into spill layers several times. `records` counts what the store holds.
//
// BM_ImportDxfSpill: 200,000 LINEs on one layer, which overflows the slot dimension and is cut
// into spill layers several times. `peak_MB` is the process's peak resident size after the run:
// run this benchmark alone (--benchmark_filter=Spill) for a figure of its own.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "App.h"
#include "basic/Files.h"
#include "document/Layers.h"
#include "exchange/ImportDxf.h"
#include "exchange/LayeredDxfFile.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

std::string Temp(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("movra-bench-" + std::to_string(::getpid()) + "-" + name)).string();
}

double Seconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

// A release-2000 file: the layers named in the table, then `entities` entities; entity i goes to
// layer i mod `layers`, even ones LINEs, odd ones closed LWPOLYLINEs (or LINEs only).
std::string WriteFile(const std::string& name, int layers, int entities, bool linesOnly) {
    const std::string path = Temp(name);
    std::string f = exchange_test::LayeredDxfHead(layers);
    char buffer[512];
    for (int i = 0; i < entities; ++i) {
        const double x = 500000 + (i % 1000) * 1.25;
        const double y = 3000000 + (i / 1000) * 0.75;
        const std::string head = "5\r\n" + std::to_string(i + 100) + "\r\n100\r\nAcDbEntity\r\n8\r\nL" +
                                 std::to_string(i % layers) + "\r\n";
        if (linesOnly || i % 2 == 0) {
            std::snprintf(buffer, sizeof buffer,
                          "0\r\nLINE\r\n%s100\r\nAcDbLine\r\n10\r\n%.4f\r\n20\r\n%.4f\r\n30\r\n0.0\r\n11\r\n%.4f\r\n21\r\n"
                          "%.4f\r\n31\r\n0.0\r\n",
                          head.c_str(), x, y, x + 1, y + 0.5);
        } else {
            std::snprintf(buffer, sizeof buffer,
                          "0\r\nLWPOLYLINE\r\n%s100\r\nAcDbPolyline\r\n90\r\n4\r\n70\r\n1\r\n43\r\n0.0\r\n10\r\n%.4f\r\n"
                          "20\r\n%.4f\r\n10\r\n%.4f\r\n20\r\n%.4f\r\n10\r\n%.4f\r\n20\r\n%.4f\r\n10\r\n%.4f\r\n20\r\n%.4f\r\n",
                          head.c_str(), x, y, x + 1, y, x + 1, y + 0.5, x, y + 0.5);
        }
        f += buffer;
    }
    f += "0\r\nENDSEC\r\n0\r\nEOF\r\n";
    WriteWholeFile(path, f);
    return path;
}

struct BenchApp {
    BenchApp() : folder(Temp("program")), platform(folder, folder), app(platform) {
        std::filesystem::create_directories(folder);
    }
    ~BenchApp() { std::filesystem::remove_all(folder); }
    std::string folder;
    FakePlatform platform;
    App app;
};

// Imports `path` into a new document and checks that it was read to its end.
void Import(benchmark::State& state, App& app, const std::string& path) {
    NewDocument(app);
    const DxfImportOutcome out = ImportDxf(app, path);
    if (out.failed || out.result != -1) state.SkipWithError(("the import failed: " + out.failureText).c_str());
}

int RecordsHeld(const App& app) {
    int records = 0;
    for (int l = 1; l <= app.store.LayerCount; ++l) records += app.store.Count(l);
    return records;
}

void BM_ImportDxf(benchmark::State& state) {
    constexpr int entities = 1000000;
    const std::string path = WriteFile("1m.dxf", 40, entities, false);
    BenchApp b;
    double total = 0;
    std::int64_t runs = 0;
    for (auto _ : state) {
        total += Seconds([&] { Import(state, b.app, path); });
        ++runs;
    }
    const double perRun = total / static_cast<double>(runs);

    double lines = 0;
    long lineCount = 0;
    for (int i = 0; i < 3; ++i) {
        lines += Seconds([&] {
            TextLineReader reader = TextLineReader::FromFile(path);
            std::string line;
            lineCount = 0;
            while (reader.ReadLine(line)) ++lineCount;
        }) / 3;
    }
    const double ogrinfo = Seconds([&] {
        const std::string command = "ogrinfo -ro -al -so '" + path + "' > /dev/null 2>&1";
        if (std::system(command.c_str()) != 0) state.SkipWithError("ogrinfo did not run (gdal-bin missing?)");
    });
    state.counters["entities"] = entities;
    state.counters["records"] = RecordsHeld(b.app);
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["lines"] = static_cast<double>(lineCount);
    state.counters["lines_ms"] = lines * 1e3;
    state.counters["x_lines"] = lines > 0 ? perRun / lines : 0;
    state.counters["ogrinfo_s"] = ogrinfo;
    state.counters["x_ogrinfo"] = perRun > 0 ? ogrinfo / perRun : 0;
    state.counters["peak_MB"] = PeakMegabytes();
    std::filesystem::remove(path);
}

void BM_ImportDxfSpill(benchmark::State& state) {
    constexpr int lines = 200000;
    const std::string path = WriteFile("spill.dxf", 1, lines, true);
    BenchApp b;
    for (auto _ : state) Import(state, b.app, path);
    state.counters["records"] = RecordsHeld(b.app);
    state.counters["layers"] = b.app.store.LayerCount;
    state.counters["messages"] = static_cast<double>(b.platform.promptScript.questions.size());
    state.counters["peak_MB"] = PeakMegabytes();
    std::filesystem::remove(path);
}

void BM_ImportDxfFullLayers(benchmark::State& state) {
    constexpr int layers = 10, entities = 1000000;
    const std::string path = Temp("layers.dxf");
    exchange_test::WriteLayeredDxf(path, layers, entities);
    BenchApp b;
    for (auto _ : state) Import(state, b.app, path);
    state.counters["entities"] = entities;
    state.counters["records"] = RecordsHeld(b.app);
    state.counters["layers"] = b.app.store.LayerCount;
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["peak_MB"] = PeakMegabytes();
    std::filesystem::remove(path);
}

BENCHMARK(BM_ImportDxf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportDxfFullLayers)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportDxfSpill)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace movra
