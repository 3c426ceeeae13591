// How long dividing a map into sheets takes: 200,000 records at 1:500 over about a hundred sheets
// of 250 m, reported as the time of the extent pass, of cutting along the sheet grid and of writing
// the sheet files.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <random>

#include "App.h"
#include "document/ColorTable.h"
#include "document/Layers.h"
#include "platform/fake/FakePlatform.h"
#include "sheets/SheetFrameTemplate.h"
#include "sheets/gzfenfufrm.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

constexpr int Records = 200000;
constexpr int Layers = 8;
constexpr double Origin = 500000, Span = 2500;  // ten sheets each way at 1:500

struct Map {
    FakePlatform fake{std::filesystem::temp_directory_path().string(), std::filesystem::temp_directory_path().string()};
    App app{fake};
    stForm1 form1{app};

    // Short lines, chains' ends, quadrilaterals, texts and point symbols spread evenly.
    Map() {
        app.form1 = &form1;
        form1.Picture1.SetScale(Origin, Origin + Span, Origin + Span, Origin);
        FillColorAndFontTables(app);
        NewDocument(app);
        RecordStore& store = app.store;
        store.DimensionKeep(Layers);
        store.LayerCount = Layers;
        store.LayerCapacity = 32000;
        app.view.ProjectParams[0] = 500;
        app.view.ScaleFactor = 0.5;
        std::mt19937 rng(11);
        std::uniform_real_distribution<double> at(Origin + 1, Origin + Span - 1), step(-30, 30);
        const int perLayer = Records / Layers;
        for (int layer = 1; layer <= Layers; ++layer) {
            store.LayerOnFlag[layer] = -1;
            store.LayerNames[layer] = "层" + std::to_string(layer);
            for (int slot = 0; slot < perLayer; ++slot) {
                MapRecord& r = store.At(layer, slot);
                r.RecordColor = 255;
                r.RecordPen = 8;
                r.RecordFont = "宋体";
                const double x = at(rng), y = at(rng);
                r.RecordX1 = x;
                r.RecordY1 = y;
                switch (slot % 5) {
                    case 0: case 1:
                        r.RecordType = 4;
                        r.RecordX2 = x + step(rng); r.RecordY2 = y + step(rng);
                        r.RecordX3 = r.RecordX2 + step(rng); r.RecordY3 = r.RecordY2 + step(rng);
                        r.RecordX4 = r.RecordX3 + step(rng); r.RecordY4 = r.RecordY3 + step(rng);
                        break;
                    case 2:
                        r.RecordType = 6;
                        r.RecordX2 = x + 12; r.RecordY2 = y;
                        r.RecordX3 = x + 12; r.RecordY3 = y + 8;
                        r.RecordX4 = x; r.RecordY4 = y + 8;
                        break;
                    case 3:
                        r.RecordType = 65;
                        r.RecordX2 = 3; r.RecordY2 = 1;
                        r.RecordText = "地名";
                        break;
                    default:
                        r.RecordType = 15;
                        r.RecordText = "3";
                        break;
                }
            }
            store.Count(layer) = perLayer;
        }
    }
};

void BM_DivideIntoSheets(benchmark::State& state) {
    double extentS = 0, cutS = 0, writeS = 0, sheets = 0, failed = 0;
    const auto folder = std::filesystem::temp_directory_path() / "movra-bench-sheets";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        auto map = std::make_unique<Map>();
        gzfenfufrm window(map->app);
        window.Text1.SetText(folder.string() + "/");
        window.Load();
        BuildSheetFrameTemplate(map->app, SheetFrameTexts{});
        state.ResumeTiming();
        using Clock = std::chrono::steady_clock;
        const auto t0 = Clock::now();
        window.ComputeMapExtent();
        const auto t1 = Clock::now();
        window.CutAlongSheetGrid();
        const auto t2 = Clock::now();
        map->app.sheets.SheetOutputFolder = folder.string() + "/";
        window.SaveAllSheets();
        const auto t3 = Clock::now();
        state.PauseTiming();
        extentS += std::chrono::duration<double>(t1 - t0).count();
        cutS += std::chrono::duration<double>(t2 - t1).count();
        writeS += std::chrono::duration<double>(t3 - t2).count();
        sheets += window.outcome.written;
        failed += window.outcome.failed;
        window.Unload();
        map.reset();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["extent_ms"] = extentS / n * 1000;
    state.counters["cut_ms"] = cutS / n * 1000;
    state.counters["write_ms"] = writeS / n * 1000;
    state.counters["sheets"] = sheets / n;
    state.counters["failed"] = failed / n;
    std::filesystem::remove_all(folder);
    if (failed > 0 || sheets == 0) state.SkipWithError("sheets failed to be written, or none were");
}
BENCHMARK(BM_DivideIntoSheets)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace movra
