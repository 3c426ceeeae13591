// The redraw of the Qt canvas of 1920 x 1080 pixels, each case timed against a baseline in the
// same run, the two by turns (bench/BenchTiming.h: min and median of both, `x_*` ours over base):
//
// - BM_TownMapAgainstQPainter: a map of 100,000 records (pen lines and chains, texts, point symbols
//   and solid fills in the proportions of a town survey sheet) against a bare QPainter drawing the
//   same segments, texts and polygons. QPainter strokes thin lines its own way, more slowly than
//   the canvas writes them, so this ratio flatters the renderer; the next two do not.
// - BM_ThinLinesAgainstPixelWrites: 100,000 thin pen lines against a loop that writes the same
//   lines' pixels straight into an image the way the canvas does (a Bresenham walk per segment):
//   the renderer's overhead over the pixel work itself.
// - BM_ZoomedInMillionAgainstPixelWrites: a map of 1,000,000 thin lines ten views wide and ten
//   high, shown zoomed in on one view, against the same loop, which also goes through every record
//   and draws only those whose box meets the view.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "App.h"
#include "display/Redraw.h"
#include "platform/fake/FakePlatform.h"
#include "platform/qt/QtSurface.h"
#include "shell/stForm1.h"
#include "support/PictureTestHelpers.h"
#include "BenchCanvas.h"
#include "BenchRecords.h"
#include "BenchTiming.h"

namespace {

using namespace movra;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRecords = 100000;
constexpr int kLayers = 4;
constexpr double kZoom = 0.75;  // one pixel to the ground unit, in points

void EnsureGuiApplication() { bench::EnsureGuiApplication("bench_redraw"); }

// Symbol 1: a post with a ring, three elements.
void MakeStandard(App& app) {
    SymbolStandard& s = app.symbolStandard;
    DimensionEmptyStandard(s);
    SetSymbolElement(s, 1, 0, 1, {{0, 0}, {0, 3}});
    SetSymbolElement(s, 1, 1, 2, {{-1, 2}, {0, 3}, {1, 2}});
    SetSymbolElement(s, 1, 2, 3, {{0, 0}, {0.5, 0}});
}

// The map: per 20 records 10 pen lines (half of them chained), 4 texts, 4 symbols and one fill
// (head and boundary).
void MakeMap(App& app) {
    RecordStore& store = app.store;
    store.DimensionEmpty(kLayers);
    store.LayerCount = kLayers;
    store.LayerCapacity = kRecords / kLayers + 10;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(0, kWidth), y(0, kHeight), step(-12, 12);
    for (int l = 1; l <= kLayers; ++l) {
        store.LayerOnFlag[l] = -1;
        int slot = 0;
        bool chained = false;  // the record before goes on to this one's P1
        double chainX = 0, chainY = 0;
        while (slot < kRecords / kLayers - 1) {
            const int kind = slot % 20;
            MapRecord& r = store.At(l, slot);
            r.RecordColor = MakeRgb(30 * (slot % 7), 60 * (l % 4), 120);
            double x0 = x(random), y0 = y(random);
            if (chained) x0 = chainX, y0 = chainY;
            chained = false;
            if (kind < 10) {
                r.RecordType = kind % 2 ? 5 : 4;
                r.RecordPen = kind % 3 == 0 ? 8 : 0;
                r.RecordX1 = x0, r.RecordY1 = y0;
                bench::WalkFromFirstVertex(r, random, step);
                chained = r.RecordType == 5;
                chainX = r.RecordX4 + step(random), chainY = r.RecordY4 + step(random);
            } else if (kind < 14) {
                r.RecordType = 25;
                r.RecordX1 = x0, r.RecordY1 = y0, r.RecordX2 = 3;
                r.RecordText = kind % 2 ? "居民地" : "1024.5";
                r.RecordFont = "宋体";
            } else if (kind < 18) {
                r.RecordType = 15;
                r.RecordX1 = x0, r.RecordY1 = y0, r.RecordX2 = 0, r.RecordY2 = 1;
                r.RecordText = "1";
            } else if (kind == 18) {
                r.RecordType = 11;
                r.RecordX1 = x0, r.RecordY1 = y0 + 8, r.RecordX2 = x0 + 8, r.RecordY2 = y0 + 8;
                r.RecordX3 = x0 + 8, r.RecordY3 = y0, r.RecordX4 = x0, r.RecordY4 = y0;
                r.RecordZ4 = 2;
                MapRecord& b = store.At(l, slot + 1);
                b.RecordType = 29;
                b.RecordX1 = x0, b.RecordY1 = y0, b.RecordX2 = x0 + 8, b.RecordY2 = y0 + 1;
                b.RecordX3 = x0 + 7, b.RecordY3 = y0 + 8, b.RecordX4 = x0 + 1, b.RecordY4 = y0 + 7;
                ++slot;
            }
            ++slot;
        }
        store.Count(l) = slot;
    }
}

// The canvas of kWidth x kHeight pixels on white, showing the ground from (0, 0) at one pixel a
// ground unit.
void ShowFirstViewAtOnePixelPerUnit(App& app, stForm1& form1) {
    Surface& canvas = form1.Picture1.surface();
    canvas.Resize(kWidth, kHeight);
    canvas.SetScale(0, kHeight, kWidth, -kHeight);
    canvas.SetBackColor(MakeRgb(255, 255, 255));
    app.view.ScaleFactor = 1;
    app.view.DisplayZoom = kZoom;
}

struct Map {
    Map() : app(platform), form1(app) {
        app.form1 = &form1;
        MakeStandard(app);
        MakeMap(app);
        ShowFirstViewAtOnePixelPerUnit(app, form1);
    }
    QtCanvasPlatform platform;
    App app;
    stForm1 form1;
};

// The same map with one solid band (type 10) and one dashed line-type line (type 42) added on
// the canvas: with arg 1 one vertex of each lies 1e7 m away. The band fill and the line type lay
// only what the canvas shows, so both redraw within a small factor of each other (before, the far
// vertex made the fill walk 38 million lines and the dashes two million).
void BM_FullRedrawWithAFarSolid(benchmark::State& state) {
    EnsureGuiApplication();
    Map map;
    RecordStore& store = map.app.store;
    const int slot = store.Count(1);
    store.LayerCapacity = static_cast<std::int16_t>(std::max<int>(store.LayerCapacity, slot + 10));
    MapRecord& band = store.At(1, slot);
    band.RecordType = 10;
    band.RecordColor = MakeRgb(200, 40, 40);
    const double far = state.range(0) != 0 ? 1e7 : 900;
    band.RecordX1 = 500, band.RecordY1 = 600, band.RecordX2 = 500, band.RecordY2 = 500;
    band.RecordX3 = far, band.RecordY3 = 500, band.RecordX4 = 800, band.RecordY4 = 600;
    MapRecord& dashed = store.At(1, slot + 1);
    dashed.RecordType = 42;
    dashed.RecordText = "351";
    dashed.RecordColor = MakeRgb(40, 40, 200);
    // The renderer culls this type by its second end: the far one is the first.
    dashed.RecordX1 = state.range(0) != 0 ? -1e7 : 300, dashed.RecordY1 = 300;
    dashed.RecordX2 = 900, dashed.RecordY2 = 350;
    SetLineTypeElements(map.app.symbolStandard, 2, 2, {{LineDash, 4}, {LineGap, 1}});
    map.app.view.ProjectParams[0] = 1000;  // scale factor 1, as the dashes are laid
    store.Count(1) = slot + 2;
    for (auto _ : state) 刷新(map.app);
    state.SetItemsProcessed(state.iterations() * (kRecords + 2));
    bench::SaveBenchPicture(map.form1.Picture1.surface());
}
BENCHMARK(BM_FullRedrawWithAFarSolid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The figures of the town map straight through QPainter: the pen line segments, the symbol's
// segments and ring, the texts and the fill polygons, with a pen or font change where the records
// change it.
void PaintWithQPainter(const RecordStore& store, QImage& image) {
    auto px = [](double x) { return x; };
    auto py = [](double y) { return kHeight - y; };
    {
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font("宋体");
        font.setPointSizeF(static_cast<int>(kZoom * 3) + 1);
        painter.setFont(font);
        for (int l = 1; l <= kLayers; ++l) {
            for (int s = 0; s < store.Count(l); ++s) {
                const MapRecord& r = store.Get(l, s);
                const QColor c(RedOf(r.RecordColor), GreenOf(r.RecordColor), BlueOf(r.RecordColor));
                switch (r.RecordType) {
                    case 4: case 5: {
                        painter.setPen(QPen(c, r.RecordPen == 8 ? 2 : 1));
                        const QPointF p[4] = {{px(r.RecordX1), py(r.RecordY1)}, {px(r.RecordX2), py(r.RecordY2)},
                                              {px(r.RecordX3), py(r.RecordY3)}, {px(r.RecordX4), py(r.RecordY4)}};
                        painter.drawPolyline(p, 4);
                        if (r.RecordType == 5) {
                            const MapRecord& n = store.Get(l, s + 1);
                            painter.drawLine(p[3], QPointF(px(n.RecordX1), py(n.RecordY1)));
                        }
                        break;
                    }
                    case 25:
                        painter.setPen(c);
                        painter.drawText(QPointF(px(r.RecordX1), py(r.RecordY1) + 4), QString::fromStdString(r.RecordText));
                        break;
                    case 15: {
                        painter.setPen(QPen(c, 1));
                        const double x = px(r.RecordX1), y = py(r.RecordY1);
                        painter.drawLine(QPointF(x, y), QPointF(x, y - 3));
                        const QPointF a[3] = {{x - 1, y - 2}, {x, y - 3}, {x + 1, y - 2}};
                        painter.drawPolyline(a, 3);
                        painter.drawEllipse(QPointF(x, y), 0.5, 0.5);
                        break;
                    }
                    case 11: {
                        const MapRecord& b = store.Get(l, s + 1);
                        QPolygonF polygon;
                        polygon << QPointF(px(b.RecordX1), py(b.RecordY1)) << QPointF(px(b.RecordX2), py(b.RecordY2))
                                << QPointF(px(b.RecordX3), py(b.RecordY3)) << QPointF(px(b.RecordX4), py(b.RecordY4));
                        painter.setPen(Qt::NoPen);
                        painter.setBrush(c);
                        painter.drawPolygon(polygon, Qt::OddEvenFill);
                        painter.setBrush(Qt::NoBrush);
                        ++s;
                        break;
                    }
                    default: break;
                }
            }
        }
    }
}

void BM_TownMapAgainstQPainter(benchmark::State& state) {
    EnsureGuiApplication();
    Map map;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    bench::Interleave(state, 7, [&] { 刷新(map.app); }, [&] { PaintWithQPainter(map.app.store, image); });
    state.counters["records"] = kRecords;
    bench::SaveBenchPicture(map.form1.Picture1.surface());
}
BENCHMARK(BM_TownMapAgainstQPainter)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// A map of thin pen lines of three segments, in the colours of the town map, spread over a ground
// of `viewsAcross` views each way; the canvas shows the first view at one pixel a ground unit.
struct LinesMap {
    LinesMap(int records, int viewsAcross) : app(platform), form1(app) {
        app.form1 = &form1;
        RecordStore& store = app.store;
        const int perLayer = 25000;
        const int layers = (records + perLayer - 1) / perLayer;
        store.DimensionEmpty(layers);
        store.LayerCount = static_cast<std::uint8_t>(layers);
        store.LayerCapacity = perLayer + 10;
        std::mt19937 random(12);
        std::uniform_real_distribution<double> x(0, kWidth * viewsAcross), y(0, kHeight * viewsAcross), step(-12, 12);
        for (int l = 1; l <= layers; ++l) {
            store.LayerOnFlag[l] = -1;
            const int held = std::min(perLayer, records - (l - 1) * perLayer);
            for (int slot = 0; slot < held; ++slot) {
                MapRecord& r = store.At(l, slot);
                r.RecordType = 4;
                r.RecordColor = MakeRgb(30 * (slot % 7), 60 * (l % 4), 120);
                r.RecordX1 = x(random), r.RecordY1 = y(random);
                bench::WalkFromFirstVertex(r, random, step);
            }
            store.Count(l) = held;
        }
        ShowFirstViewAtOnePixelPerUnit(app, form1);
    }
    QtCanvasPlatform platform;
    App app;
    stForm1 form1;
};

// Every record of the map whose box meets the first view, its three segments written as pixels.
void WriteLinesAsPixels(const RecordStore& store, QImage& image) {
    image.fill(Qt::white);
    const auto px = [](double x) { return static_cast<int>(std::floor(x + 0.5)); };
    const auto py = [](double y) { return static_cast<int>(std::floor(kHeight - y + 0.5)); };
    for (int l = 1; l <= store.LayerCount; ++l) {
        for (int s = 0; s < store.Count(l); ++s) {
            const MapRecord& r = store.Get(l, s);
            const double xs[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
            const double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
            if (*std::max_element(xs, xs + 4) < 0 || *std::min_element(xs, xs + 4) > kWidth ||
                *std::max_element(ys, ys + 4) < 0 || *std::min_element(ys, ys + 4) > kHeight)
                continue;
            const std::uint32_t value = 0xFF000000u | (static_cast<std::uint32_t>(RedOf(r.RecordColor)) << 16) |
                                        (static_cast<std::uint32_t>(GreenOf(r.RecordColor)) << 8) | BlueOf(r.RecordColor);
            for (int k = 0; k < 3; ++k)
                bench::WriteLinePixels(image, px(xs[k]), py(ys[k]), px(xs[k + 1]), py(ys[k + 1]), value);
        }
    }
}

void LinesAgainstPixelWrites(benchmark::State& state, int records, int viewsAcross) {
    EnsureGuiApplication();
    LinesMap map(records, viewsAcross);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    bench::Interleave(state, 7, [&] { 刷新(map.app); }, [&] { WriteLinesAsPixels(map.app.store, image); });
    state.counters["records"] = records;
    bench::SaveBenchPicture(map.form1.Picture1.surface());
}

void BM_ThinLinesAgainstPixelWrites(benchmark::State& state) { LinesAgainstPixelWrites(state, 100000, 1); }
BENCHMARK(BM_ThinLinesAgainstPixelWrites)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_ZoomedInMillionAgainstPixelWrites(benchmark::State& state) { LinesAgainstPixelWrites(state, 1000000, 10); }
BENCHMARK(BM_ZoomedInMillionAgainstPixelWrites)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
