// Importing a point-group text file of 1,000,000 points (the menu "控制点群") into a new map, with
// the window system's real message loop behind the import's yields, against opening the compact
// map file that holds the same points (`open_ms`, `x_open` the import's time over it) and against
// awk summing two columns of the file (`awk_ms`, `x_awk`).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "App.h"
#include "basic/Files.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "exchange/PointGroupImport.h"
#include "exchange/wbxxFrm.h"
#include "platform/fake/FakePlatform.h"
#include "platform/qt/QtBasicServices.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

constexpr int Points = 1000000;

void EnsureApplication() {
    static QApplication* application = nullptr;
    if (application) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static char name[] = "bench_point_group";
    static int argc = 1;
    static char* argv[] = {name, nullptr};
    application = new QApplication(argc, argv);
}

// The fake platform answers the dialogs; the message loop is Qt's.
class QtLoopPlatform : public FakePlatform {
public:
    using FakePlatform::FakePlatform;
    Events& events() override { return loop_; }

private:
    QtEvents loop_;
};

std::string Temp(const std::string& name) {
    static QTemporaryDir folder;
    return folder.path().toStdString() + "/" + name;
}

double Seconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Name, north, east, elevation and grade, as a total station's download gives them.
std::string WritePoints() {
    const std::string path = Temp("points.txt");
    std::string text;
    text.reserve(static_cast<size_t>(Points) * 48);
    char line[128];
    for (int i = 0; i < Points; ++i) {
        const int n = std::snprintf(line, sizeof line, "P%d %.3f %.3f %.2f %d\r\n", i, 3456000.0 + (i / 1000) * 0.75,
                                    512000.0 + (i % 1000) * 1.25, 40.0 + (i % 97) * 0.1, i % 9);
        text.append(line, static_cast<size_t>(n));
    }
    WriteWholeFile(path, text);
    return path;
}

int PointsHeld(const App& app) {
    int held = 0;
    for (int l = 1; l <= app.store.LayerCount; ++l)
        for (int s = 0; s < app.store.Count(l); ++s) held += app.store.Get(l, s).RecordType == 50;
    return held;
}

struct BenchApp {
    explicit BenchApp(const std::string& name) : folder(Temp(name)), platform(folder, folder), app(platform), form1(app) {
        std::filesystem::create_directories(folder);
        form1.Load();
        platform.promptScript.defaultAnswer = AnswerOk;
    }
    std::string folder;
    QtLoopPlatform platform;
    App app;
    stForm1 form1;
};

void BM_ImportPointGroup(benchmark::State& state) {
    EnsureApplication();
    const std::string points = WritePoints();
    BenchApp b("import");
    double import = 0;
    std::int64_t runs = 0;
    for (auto _ : state) {
        NewDocument(b.app);
        SetPointGroupFormat(b.app, "2,3,4,5,6");
        b.platform.dialogScript.QueueFile(points, 2);
        import += Seconds([&] { ImportPointGroupText(b.app, "50"); });
        ++runs;
    }
    import /= static_cast<double>(runs);
    const int held = PointsHeld(b.app);
    if (held != Points) state.SkipWithError("the import did not store every point");

    const std::string map = Temp("points.jdx");
    WriteJdxFile(b.app, map);
    BenchApp opened("open");
    double open = 0;
    for (int i = 0; i < 3; ++i) open += Seconds([&] { ReadJdxFile(opened.app, map); }) / 3;
    if (PointsHeld(opened.app) != Points) state.SkipWithError("the map did not open whole");

    const double awk = Seconds([&] {
        const std::string command = "awk '{ n += $2 + $3 } END { print n }' '" + points + "' > /dev/null";
        if (std::system(command.c_str()) != 0) state.SkipWithError("awk did not run");
    });
    state.counters["points"] = held;
    state.counters["layers"] = b.app.store.LayerCount;
    state.counters["import_ms"] = import * 1e3;
    state.counters["open_ms"] = open * 1e3;
    state.counters["x_open"] = open > 0 ? import / open : 0;
    state.counters["awk_ms"] = awk * 1e3;
    state.counters["x_awk"] = awk > 0 ? import / awk : 0;
}

BENCHMARK(BM_ImportPointGroup)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace movra
