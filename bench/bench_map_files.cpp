// Writing and reading a map of 1,000,000 records in 40 layers as a compact and as a full map file,
// each against a baseline doing the same work the simplest way, timed by turns in one run
// (bench/BenchTiming.h: min and median of both, `x_*` ours over base, processor time of all
// threads):
//
// - BM_Write*: saving the map against writing the same number of bytes with write() and making
//   them durable with fsync(), as the program's save does.
// - BM_Read*: reading the file into the open program a second time (the process holds the memory
//   of a map) against reading its bytes with read() in the same process; `first_ms` is the first
//   read of the process, which also pays for fresh memory pages for the whole store.
// - BM_OpenProcess*: a whole process that opens the map and leaves (bench/map_file_process)
//   against a whole `cat file > /dev/null`; processor time is that of the children.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "App.h"
#include "BenchTiming.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "document/WtwFile.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

constexpr int Layers = 40;
constexpr int RecordsPerLayer = 25000;
constexpr int Rounds = 5;

// The folder every file of the run goes into, removed at the end.
const std::string& Folder() {
    static QTemporaryDir folder;
    static const std::string path = folder.path().toStdString();
    return path;
}

struct BenchApp {
    BenchApp() : platform(Folder(), Folder()), app(platform), form1(app) {}
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

std::string FilePath(const std::string& name) { return Folder() + "/" + name; }

BenchApp& SourceMap() {
    static std::unique_ptr<BenchApp> source = [] {
        auto b = std::make_unique<BenchApp>();
        FillMap(b->app);
        return b;
    }();
    return *source;
}

// The file's bytes through read() into a buffer, as a reader without any parsing would take them.
void PlainRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    std::vector<char> buffer(1 << 20);
    while (::read(fd, buffer.data(), buffer.size()) > 0) {
    }
    ::close(fd);
}

// `bytes` bytes written with write() and made durable, as a save that only copies would do.
void PlainWrite(const std::string& path, std::size_t bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    std::vector<char> buffer(1 << 20, 'm');
    for (std::size_t done = 0; done < bytes;) {
        const std::size_t n = std::min(buffer.size(), bytes - done);
        if (::write(fd, buffer.data(), n) != static_cast<ssize_t>(n)) break;
        done += n;
    }
    ::fsync(fd);
    ::close(fd);
}

template <void (*Write)(App&, const std::string&)>
void BM_Write(benchmark::State& state, const char* extension) {
    BenchApp& source = SourceMap();
    const std::string path = FilePath(std::string("map") + extension), plain = FilePath("plain");
    Write(source.app, path);
    const std::size_t bytes = std::filesystem::file_size(path);
    bench::Interleave(state, Rounds, [&] { Write(source.app, path); }, [&] { PlainWrite(plain, bytes); });
    state.counters["records"] = Layers * RecordsPerLayer;
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    std::filesystem::remove(path);
    std::filesystem::remove(plain);
}

template <void (*Write)(App&, const std::string&), bool (*Read)(App&, const std::string&)>
void BM_Read(benchmark::State& state, const char* extension) {
    const std::string path = FilePath(std::string("map") + extension);
    Write(SourceMap().app, path);
    BenchApp target;
    const bench::Stopwatch first;
    Read(target.app, path);
    const double firstSeconds = first.Wall();
    bench::Interleave(state, Rounds, [&] { Read(target.app, path); }, [&] { PlainRead(path); });
    // The open slot the writer adds to each layer is not read back as a record.
    if (target.app.store.Count(Layers) != RecordsPerLayer) state.SkipWithError("the map did not come back");
    state.counters["first_ms"] = firstSeconds * 1e3;
    std::filesystem::remove(path);
}

// Processor time of the children that ended so far.
double ChildrenCpu() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

template <void (*Write)(App&, const std::string&)>
void BM_OpenProcess(benchmark::State& state, const char* extension) {
    const std::string path = FilePath(std::string("map") + extension);
    Write(SourceMap().app, path);
    const std::string open = std::string(MOVRA_BENCH_PROGRAM_DIR) + "/map_file_process open '" + path + "'";
    const std::string cat = "cat '" + path + "' > /dev/null";
    bench::Times ours, base;
    bool failed = false;
    const auto run = [&](const std::string& command, bench::Times& times) {
        const double cpu = ChildrenCpu();
        const bench::Stopwatch watch;
        failed = std::system(command.c_str()) != 0 || failed;
        times.wall.push_back(watch.Wall());
        times.cpu.push_back(ChildrenCpu() - cpu);
    };
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            run(open, ours);
            run(cat, base);
        }
        state.SetIterationTime(bench::Median(ours.wall));
    }
    bench::ReportTimes(state, "ours", ours);
    bench::ReportTimes(state, "base", base);
    bench::ReportRatio(state, ours, base);
    if (failed) state.SkipWithError("a process failed");
    std::filesystem::remove(path);
}

void BM_WriteJdx(benchmark::State& state) { BM_Write<WriteJdxFile>(state, ".jdx"); }
void BM_ReadJdx(benchmark::State& state) { BM_Read<WriteJdxFile, ReadJdxFile>(state, ".jdx"); }
void BM_OpenProcessJdx(benchmark::State& state) { BM_OpenProcess<WriteJdxFile>(state, ".jdx"); }
void BM_WriteWtw(benchmark::State& state) { BM_Write<WriteWtwFile>(state, ".wtw"); }
void BM_ReadWtw(benchmark::State& state) { BM_Read<WriteWtwFile, ReadWtwFile>(state, ".wtw"); }
void BM_OpenProcessWtw(benchmark::State& state) { BM_OpenProcess<WriteWtwFile>(state, ".wtw"); }

BENCHMARK(BM_WriteJdx)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_ReadJdx)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_OpenProcessJdx)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_WriteWtw)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_ReadWtw)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_OpenProcessWtw)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
}  // namespace movra
