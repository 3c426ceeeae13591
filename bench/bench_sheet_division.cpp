// How long dividing a map into sheets takes, against opening and saving the same map.
//
// One map of 100,000, 300,000 and 1,000,000 records at 1:500 over the same hundred sheets of
// 250 m (so the sheet lines stay the same and only the density grows), in layers of 25,000 records
// as a map file holds them. Each round opens the map's compact file and saves it again (the
// baseline: the same records read and written once, the simplest honest whole-map job), then opens
// it again and divides it: the frame template, the extent, the cut along every sheet line and the
// writing of every sheet file. Rounds alternate between the two so that a busy machine slows both
// alike. Reported: min and median of both, wall and CPU time of all threads, the division's parts
// (`cut_*` the cut along the sheet lines, `write_*` the sheet files), `x_min` and `x_median`
// (division over open+save), `x_cut_cpu_median` (the cut's processor time over open+save's),
// `x_write_median` (the writing of the sheets over open+save), and `growth`, `cut_cpu_growth` and
// `write_growth` (the median division time, the cut's processor time and the median writing time
// over those of the next smaller map, whose records are `records_ratio` times fewer). BM_CutByLayerSize times
// the cut alone on 100,000 records in layers of 5,000 and of 25,000 records.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "App.h"
#include "BenchRecords.h"
#include "BenchTiming.h"
#include "document/ColorTable.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "platform/fake/FakePlatform.h"
#include "sheets/SheetFrameTemplate.h"
#include "sheets/gzfenfufrm.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

constexpr int RecordsPerLayer = 25000;
constexpr double Origin = 500000, Span = 2500;  // ten sheets each way at 1:500
constexpr int Rounds = 5;

struct BenchApp {
    explicit BenchApp(const std::string& folder) : fake(folder, folder), app(fake), form1(app) {
        app.form1 = &form1;
        form1.Picture1.SetScale(Origin, Origin + Span, Origin + Span, Origin);
        FillColorAndFontTables(app);
    }
    FakePlatform fake;
    App app;
    stForm1 form1;
};

// Short lines, quadrilaterals, texts and point symbols spread evenly over the hundred sheets.
void FillMap(App& app, int records, int perLayer = RecordsPerLayer) {
    NewDocument(app);
    RecordStore& store = app.store;
    const int layers = (records + perLayer - 1) / perLayer;
    store.DimensionKeep(layers);
    store.LayerCount = static_cast<std::uint8_t>(layers);
    store.NextLayerIndex = static_cast<std::uint8_t>(layers + 1);
    store.LayerCapacity = 32000;
    app.view.ProjectParams[0] = 500;
    app.view.ScaleFactor = 0.5;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> at(Origin + 1, Origin + Span - 1), step(-30, 30);
    for (int layer = 1; layer <= layers; ++layer) {
        store.LayerOnFlag[layer] = -1;
        store.LayerNames[layer] = "层" + std::to_string(layer);
        const int held = std::min(perLayer, records - (layer - 1) * perLayer);
        for (int slot = 0; slot < held; ++slot) {
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
                    bench::WalkFromFirstVertex(r, rng, step);
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
        store.Count(layer) = held;
    }
}

struct Medians {
    double division = 0, cutCpu = 0, write = 0;
};
std::map<int, Medians>& DivisionMedians() {
    static std::map<int, Medians> medians;
    return medians;
}

void BM_DivideAgainstOpenAndSave(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    QTemporaryDir temp;
    if (!temp.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string folder = temp.path().toStdString();
    const std::string mapPath = folder + "/map.jdx", savedPath = folder + "/saved.jdx";
    const std::filesystem::path sheetFolder = std::filesystem::path(folder) / "sheets";
    {
        BenchApp source(folder);
        FillMap(source.app, records);
        WriteJdxFile(source.app, mapPath);
    }

    bench::Times base, division, cutting, writing;
    int sheets = 0, failed = 0, cutRecords = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            {
                BenchApp b(folder);
                const bench::Stopwatch watch;
                const bool read = ReadJdxFile(b.app, mapPath);
                WriteJdxFile(b.app, savedPath);
                base.Add(watch);
                if (!read) state.SkipWithError("the map did not open");
            }
            {
                std::filesystem::remove_all(sheetFolder);
                std::filesystem::create_directories(sheetFolder);
                BenchApp b(folder);
                if (!ReadJdxFile(b.app, mapPath)) state.SkipWithError("the map did not open");
                gzfenfufrm window(b.app);
                window.Load();
                b.app.sheets.SheetOutputFolder = sheetFolder.string() + "/";
                const bench::Stopwatch watch;
                BuildSheetFrameTemplate(b.app, SheetFrameTexts{});
                window.ComputeMapExtent();
                const bench::Stopwatch cut;
                window.CutAlongSheetGrid();
                cutting.Add(cut);
                const bench::Stopwatch write;
                window.SaveAllSheets();
                writing.Add(write);
                division.Add(watch);
                sheets = window.outcome.written;
                failed = window.outcome.failed;
                cutRecords = 0;
                for (int layer = 1; layer <= b.app.store.LayerCount; ++layer) cutRecords += b.app.store.Count(layer);
                window.Unload();
            }
        }
        state.SetIterationTime(bench::Median(division.wall));
    }
    state.counters["records"] = records;
    state.counters["records_after_cut"] = cutRecords;
    state.counters["sheets"] = sheets;
    bench::ReportTimes(state, "base", base);
    bench::ReportTimes(state, "div", division);
    bench::ReportTimes(state, "cut", cutting);
    bench::ReportTimes(state, "write", writing);
    state.counters["x_cut_cpu_median"] = bench::Median(cutting.cpu) / bench::Median(base.cpu);
    state.counters["x_write_median"] = bench::Median(writing.wall) / bench::Median(base.wall);
    bench::ReportRatio(state, division, base);
    DivisionMedians()[records] = {bench::Median(division.wall), bench::Median(cutting.cpu), bench::Median(writing.wall)};
    // Against the next smaller map: how the time grew for how many more records.
    const auto& medians = DivisionMedians();
    if (auto smaller = medians.lower_bound(records); smaller != medians.begin()) {
        --smaller;
        state.counters["growth"] = bench::Median(division.wall) / smaller->second.division;
        state.counters["cut_cpu_growth"] = bench::Median(cutting.cpu) / smaller->second.cutCpu;
        state.counters["write_growth"] = bench::Median(writing.wall) / smaller->second.write;
        state.counters["records_ratio"] = static_cast<double>(records) / smaller->first;
    }
    if (failed > 0 || sheets == 0) state.SkipWithError("sheets failed to be written, or none were");
}
BENCHMARK(BM_DivideAgainstOpenAndSave)
    ->Arg(100000)
    ->Arg(300000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

// The cut alone on a map of 100,000 records, in layers of 5,000 and of 25,000 records: splitting a
// record must not cost more in a fuller layer. `x_over_first` is the median processor time over
// that of the first case.
void BM_CutByLayerSize(benchmark::State& state) {
    const int perLayer = static_cast<int>(state.range(0));
    QTemporaryDir temp;
    const std::string folder = temp.path().toStdString();
    bench::Times cutting;
    int records = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            BenchApp b(folder);
            FillMap(b.app, 100000, perLayer);
            gzfenfufrm window(b.app);
            window.Load();
            BuildSheetFrameTemplate(b.app, SheetFrameTexts{});
            window.ComputeMapExtent();
            const bench::Stopwatch watch;
            window.CutAlongSheetGrid();
            cutting.Add(watch);
            records = 0;
            for (int layer = 1; layer <= b.app.store.LayerCount; ++layer) records += b.app.store.Count(layer);
            window.Unload();
        }
        state.SetIterationTime(bench::Median(cutting.wall));
    }
    bench::ReportTimes(state, "cut", cutting);
    state.counters["records_after_cut"] = records;
    static double first = 0;
    if (first == 0) first = bench::Median(cutting.cpu);
    state.counters["x_over_first"] = bench::Median(cutting.cpu) / first;
}
BENCHMARK(BM_CutByLayerSize)->Arg(5000)->Arg(25000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
}  // namespace movra
