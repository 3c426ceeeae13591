// The panels at start-up: the pictures of the 350 point-symbol buttons drawn from a loaded
// standard, and the main window bound to real widgets with its 760 panel buttons. Target: under
// 0.5 s together.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "App.h"
#include "platform/qt/Binder.h"
#include "qt/QtCanvasPlatform.h"
#include "shell/stForm1.h"
#include "symbols/LoadSymbolStandard.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

void EnsureApplication() {
    static QApplication* application = nullptr;
    if (application) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static char name[] = "bench_method_panel";
    static int argc = 1;
    static char* argv[] = {name, nullptr};
    application = new QApplication(argc, argv);
}

// A started main window over pixel canvases, with the shipped standard loaded and its point
// symbols repeated up to code 349, so that every picture button has a symbol to show.
struct StartedWindow {
    QTemporaryDir folder;
    fs::path program = fs::path(folder.path().toStdString()) / "program";
    fs::path work = fs::path(folder.path().toStdString()) / "work";
    std::unique_ptr<QtCanvasPlatform> platform;
    std::unique_ptr<App> app;
    std::unique_ptr<stForm1> form;

    StartedWindow() {
        fs::create_directories(program);
        fs::create_directories(work);
        fs::copy_file(fs::path(MOVRA_BENCH_PROGRAM_DIR) / "电子图式.tus", program / "电子图式.tus",
                      fs::copy_options::overwrite_existing);
        platform = std::make_unique<QtCanvasPlatform>(program.string(), work.string());
        app = std::make_unique<App>(*platform);
        form = std::make_unique<stForm1>(*app);
        form->Load();
        LoadSymbolStandard(*app);
        SymbolStandard& st = app->symbolStandard;
        int shipped = 0;
        while (shipped <= MaxSymbolIndex && st.SymbolElementCount.At(shipped) >= 0 && !st.SymbolNames.At(shipped).empty())
            ++shipped;
        for (int s = shipped; shipped > 0 && s <= MaxSymbolIndex; ++s) {
            const int from = s % shipped;
            st.SymbolNames.At(s) = st.SymbolNames.At(from);
            st.SymbolElementCount.At(s) = st.SymbolElementCount.At(from);
            for (int e = 0; e <= MaxSymbolElementIndex; ++e)
                for (int v = 0; v <= MaxSymbolVertexIndex; ++v) {
                    st.SymbolX.At(s, e, v) = st.SymbolX.At(from, e, v);
                    st.SymbolY.At(s, e, v) = st.SymbolY.At(from, e, v);
                }
        }
    }
};

void BM_SymbolButtonPictures(benchmark::State& state) {
    EnsureApplication();
    StartedWindow started;
    for (auto _ : state) started.form->RefreshSymbolPictures();
    int drawn = 0;
    for (int i = 0; i < 350; ++i) drawn += started.form->Command5(i).ButtonPicture().Empty() ? 0 : 1;
    state.counters["pictures"] = drawn;
}
BENCHMARK(BM_SymbolButtonPictures)->Unit(benchmark::kMillisecond);

void BM_BindMainWindowWithPanels(benchmark::State& state) {
    EnsureApplication();
    StartedWindow started;
    for (auto _ : state) {
        Binder binder(*started.platform);
        benchmark::DoNotOptimize(binder.Bind(*started.form));
        QApplication::processEvents();
    }
    state.counters["buttons"] = started.form->Command5.Count() + started.form->Command8.Count();
}
BENCHMARK(BM_BindMainWindowWithPanels)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace movra
