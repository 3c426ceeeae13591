// Printing a generated map of 100,000 records (pen lines and chains, texts, point symbols, fills)
// over 20 pages to a PDF file through Qt's printer, side by side with the full redraw of the same
// map on the Qt canvas of 1920 x 1080 pixels. The second argument adds the printer's special
// kinds (bank lines, walls, dashed lines, ellipses, strips, symbol rows, land-use marks) in place
// of a part of the plain lines. The ratio print / redraw is what one printed copy costs against
// one look at the map. Symbol rows are laid only on the pages their extent reaches.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "App.h"
#include "BenchCanvas.h"
#include "display/Redraw.h"
#include "platform/qt/QtPrinter.h"
#include "printing/dayinfrm.h"
#include "shell/stForm1.h"
#include "support/PictureTestHelpers.h"

namespace {

using namespace movra;

constexpr int kRecords = 100000;
constexpr int kLayers = 4;
// 800 m by 900 m: at 1:1000 on A4 portrait five pages across and four down.
constexpr double kMapWidth = 800, kMapHeight = 900;
constexpr int kCanvasWidth = 1920, kCanvasHeight = 1080;

class PdfBenchPlatform : public QtCanvasPlatform {
public:
    explicit PdfBenchPlatform(const std::string& pdf) : pdf_(pdf, false) {}
    Printer& printer() override { return pdf_; }

private:
    QtPrinter pdf_;
};

void MakeStandard(App& app) {
    SymbolStandard& s = app.symbolStandard;
    DimensionEmptyStandard(s);
    SetSymbolElement(s, 1, 0, 1, {{0, 0}, {0, 3}});
    SetSymbolElement(s, 1, 1, 2, {{-1, 2}, {0, 3}, {1, 2}});
    SetSymbolElement(s, 1, 2, 3, {{0, 0}, {0.5, 0}});
}

// Per 20 records: 10 pen lines (half of them chained), 4 texts, 4 symbols and one fill (head and
// boundary). With the special kinds, 5 of the 10 lines are special kinds instead.
void MakeMap(App& app, bool special) {
    RecordStore& store = app.store;
    store.DimensionEmpty(kLayers);
    store.LayerCount = kLayers;
    store.LayerCapacity = kRecords / kLayers + 10;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(0, kMapWidth), y(0, kMapHeight), step(-8, 8);
    static const char* const codes[] = {"1090", "1091", "1092", "1093"};
    for (int l = 1; l <= kLayers; ++l) {
        store.LayerOnFlag[l] = -1;
        int slot = 1;
        bool chained = false;
        double chainX = 0, chainY = 0;
        while (slot < kRecords / kLayers - 1) {
            const int kind = slot % 20;
            MapRecord& r = store.At(l, slot);
            r.RecordColor = MakeRgb(30 * (slot % 7), 60 * (l % 4), 120);
            double x0 = x(random), y0 = y(random);
            if (chained) x0 = chainX, y0 = chainY;
            chained = false;
            r.RecordX1 = x0, r.RecordY1 = y0;
            r.RecordX2 = x0 + step(random), r.RecordY2 = y0 + step(random);
            r.RecordX3 = r.RecordX2 + step(random), r.RecordY3 = r.RecordY2 + step(random);
            r.RecordX4 = r.RecordX3 + step(random), r.RecordY4 = r.RecordY3 + step(random);
            if (special && kind < 5) {
                static const int types[] = {93, 9, 58, 87, 16};
                r.RecordType = static_cast<std::uint8_t>(types[kind]);
                r.RecordPen = 0;
                r.RecordText = kind == 3 ? "1" : codes[(slot / 20) % 4];
                r.RecordZ1 = r.RecordZ2 = 4;
                r.RecordZ3 = 3, r.RecordZ4 = 1;
                r.RecordExtra = "1.5";
                if (kind == 1) r.RecordX2 = 3, r.RecordY2 = 1.5, r.RecordX3 = 0.7;
                if (kind == 2) r.RecordZ4 = 2;
            } else if (kind < 10) {
                r.RecordType = kind % 2 ? 5 : 4;
                r.RecordPen = kind % 3 == 0 ? 8 : 0;
                chained = r.RecordType == 5;
                chainX = r.RecordX4 + step(random), chainY = r.RecordY4 + step(random);
            } else if (kind < 14) {
                r.RecordType = 65;
                r.RecordX2 = 3;
                r.RecordText = kind % 2 ? "居民地" : "1024.5";
                r.RecordFont = "宋体";
            } else if (kind < 18) {
                r.RecordType = 15;
                r.RecordX2 = 0, r.RecordY2 = 1;
                r.RecordText = "1";
            } else if (kind == 18) {
                r.RecordType = 11;
                r.RecordZ4 = 2;
                MapRecord& b = store.At(l, slot + 1);
                b.RecordType = 29;
                b.RecordX1 = x0, b.RecordY1 = y0, b.RecordX2 = x0 + 8, b.RecordY2 = y0 + 1;
                b.RecordX3 = x0 + 7, b.RecordY3 = y0 + 8, b.RecordX4 = x0 + 1, b.RecordY4 = y0 + 7;
                ++slot;
            } else {
                r.RecordType = 2;
            }
            ++slot;
        }
        store.Count(l) = slot;
    }
}

// 10,000 hatched areas of 20 vertices each (a ragged ring about 8 m across), in the same extent.
void MakeHatchedAreas(App& app) {
    RecordStore& store = app.store;
    store.DimensionEmpty(kLayers);
    store.LayerCount = kLayers;
    store.LayerCapacity = kRecords / kLayers + 10;
    std::mt19937 random(5);
    std::uniform_real_distribution<double> x(0, kMapWidth), y(0, kMapHeight), radius(2.5, 4);
    constexpr int areas = 10000;
    for (int l = 1; l <= kLayers; ++l) {
        store.LayerOnFlag[l] = -1;
        int slot = 1;
        for (int a = 0; a < areas / kLayers; ++a) {
            const double cx = x(random), cy = y(random);
            double px[20], py[20];
            double minX = cx, maxX = cx, minY = cy, maxY = cy;
            for (int k = 0; k < 20; ++k) {
                const double angle = k * 2 * 3.14159265358979 / 20, r = radius(random);
                px[k] = cx + r * std::cos(angle), py[k] = cy + r * std::sin(angle);
                minX = std::min(minX, px[k]), maxX = std::max(maxX, px[k]);
                minY = std::min(minY, py[k]), maxY = std::max(maxY, py[k]);
            }
            MapRecord& head = store.At(l, slot);
            head.RecordType = 11;
            head.RecordColor = MakeRgb(0, 100 + a % 100, 60);
            head.RecordX1 = minX, head.RecordY1 = maxY, head.RecordX2 = maxX, head.RecordY2 = maxY;
            head.RecordX3 = maxX, head.RecordY3 = minY, head.RecordX4 = minX, head.RecordY4 = minY;
            head.RecordZ4 = 5;
            head.RecordText = "5";
            for (int b = 0; b < 5; ++b) {
                MapRecord& r = store.At(l, slot + 1 + b);
                r.RecordType = 29;
                r.RecordX1 = px[4 * b], r.RecordY1 = py[4 * b], r.RecordX2 = px[4 * b + 1], r.RecordY2 = py[4 * b + 1];
                r.RecordX3 = px[4 * b + 2], r.RecordY3 = py[4 * b + 2], r.RecordX4 = px[4 * b + 3], r.RecordY4 = py[4 * b + 3];
            }
            slot += 6;
        }
        store.Count(l) = slot;
    }
}

struct Map {
    explicit Map(bool special, bool hatched = false) : platform(pdfPath), app(platform), form1(app) {
        app.form1 = &form1;
        for (int i = 0; i < 256; ++i) app.tables.ColorPalette[i] = MakeRgb(i, 255 - i, 7);
        app.tables.ColorPalette[0] = 0;
        app.tables.ColorPalette[7] = MakeRgb(255, 255, 255);
        app.view.ProjectParams[0] = 1000;
        app.view.ScaleFactor = 1;
        app.view.PointMarkRadius = 0.4;
        app.work.ScreenTwipsPerMetre = 56700;
        MakeStandard(app);
        if (hatched) {
            MakeHatchedAreas(app);
        } else {
            MakeMap(app, special);
        }
        Surface& canvas = form1.Picture1.surface();
        canvas.Resize(kCanvasWidth, kCanvasHeight);
        // The whole map in view: 1,000 m down the canvas.
        canvas.SetScale(-50, kMapHeight + 50, 1000.0 * kCanvasWidth / kCanvasHeight, -1000);
        canvas.SetBackColor(MakeRgb(255, 255, 255));
        app.view.DisplayZoom = kCanvasHeight * 0.75 / 1000;
    }
    // The whole drawing in colour at 1:1000, the dialog's way; gives the pages printed.
    int Print() {
        dayinfrm& d = PrintDialog(app);
        d.Load();
        d.List1.SetListIndex(0);
        d.List1.DblClick();
        d.Option6.Click();
        d.Option10.Click();
        d.Option5.Click();
        d.Text5.UserTyped("1000", 0);
        platform.dialogScript.QueueFile(pdfPath);  // the PDF printer asks where to write
        d.Command3.Click();
        return std::atoi(platform.promptScript.LastText().c_str());
    }
    QTemporaryDir folder;
    std::string pdfPath = folder.path().toStdString() + "/print.pdf";
    PdfBenchPlatform platform;
    App app;
    stForm1 form1;
};

void BM_PrintToPdf(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_print");
    Map map(state.range(0) != 0);
    int pages = 0;
    for (auto _ : state) pages = map.Print();
    if (pages != 20) state.SkipWithError(("printed " + std::to_string(pages) + " pages, not 20").c_str());
    state.counters["pages"] = pages;
    state.counters["s_per_page"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate |
                                                                  benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_PrintToPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// 10,000 hatched areas of 20 vertices over the 20 pages.
void BM_PrintHatchedAreas(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_print");
    Map map(false, true);
    int pages = 0;
    for (auto _ : state) pages = map.Print();
    if (pages != 20) state.SkipWithError(("printed " + std::to_string(pages) + " pages, not 20").c_str());
    state.counters["s_per_page"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate |
                                                                 benchmark::Counter::kInvert);
}
BENCHMARK(BM_PrintHatchedAreas)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ScreenRedraw(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_print");
    Map map(state.range(0) != 0);
    for (auto _ : state) 刷新(map.app);
    state.SetItemsProcessed(state.iterations() * kRecords);
    bench::SaveBenchPicture(map.form1.Picture1.surface());
}
BENCHMARK(BM_ScreenRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
