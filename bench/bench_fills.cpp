// Solid (type 11) fills of 10,000 areas of 20 vertices drawn by the display's hatch fill on the Qt
// canvas of 1920 x 1080 pixels, against the same polygons filled by a bare QPainter (even-odd)
// on an image of the same size.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "App.h"
#include "display/AreaFills.h"
#include "display/LineSink.h"
#include "platform/fake/FakePlatform.h"
#include "platform/qt/QtSurface.h"
#include "shell/stForm1.h"
#include "BenchCanvas.h"

namespace {

using namespace movra;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kAreas = 10000;
constexpr int kVertices = 20;
constexpr int kLayers = 4;
constexpr int kSlotsPerArea = 1 + kVertices / 4 + 1;  // head, five boundary records, one spare

using Polygon = std::vector<std::pair<double, double>>;

// Star-shaped areas 4 to 16 ground units across over a view of 960 x 540 units (2 pixels to the
// unit), each vertex at a random radius around its centre.
const std::vector<Polygon>& Areas() {
    static const std::vector<Polygon> areas = [] {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> x(10, 950), y(10, 530), radius(2, 8), jitter(0.5, 1.0);
        std::vector<Polygon> list;
        list.reserve(kAreas);
        for (int i = 0; i < kAreas; ++i) {
            const double cx = x(random), cy = y(random), r = radius(random);
            Polygon p;
            for (int k = 0; k < kVertices; ++k) {
                const double a = 2 * 3.14159265358979 * k / kVertices;
                const double rk = r * jitter(random);
                p.emplace_back(cx + rk * std::cos(a), cy + rk * std::sin(a));
            }
            list.push_back(std::move(p));
        }
        return list;
    }();
    return areas;
}

void EnsureGuiApplication() { bench::EnsureGuiApplication("bench_fills"); }

// The areas as fill groups of the store, spread over four layers.
void StoreAreas(App& app) {
    RecordStore& store = app.store;
    store.DimensionEmpty(kLayers);
    store.LayerCount = kLayers;
    store.LayerCapacity = static_cast<std::int16_t>(kAreas / kLayers * kSlotsPerArea + 10);
    const auto& areas = Areas();
    for (int i = 0; i < kAreas; ++i) {
        const int layer = 1 + i % kLayers;
        const int head = 1 + (i / kLayers) * kSlotsPerArea;
        double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
        for (auto [px, py] : areas[i]) {
            minX = std::min(minX, px), maxX = std::max(maxX, px);
            minY = std::min(minY, py), maxY = std::max(maxY, py);
        }
        for (int r = 0; r < kVertices / 4; ++r) {
            MapRecord& b = store.At(layer, head + 1 + r);
            b.RecordType = r + 1 < kVertices / 4 ? 30 : 29;
            const auto& p = areas[i];
            b.RecordX1 = p[4 * r].first, b.RecordY1 = p[4 * r].second;
            b.RecordX2 = p[4 * r + 1].first, b.RecordY2 = p[4 * r + 1].second;
            b.RecordX3 = p[4 * r + 2].first, b.RecordY3 = p[4 * r + 2].second;
            b.RecordX4 = p[4 * r + 3].first, b.RecordY4 = p[4 * r + 3].second;
        }
        MapRecord& h = store.At(layer, head);
        h.RecordType = 11;
        h.RecordColor = MakeRgb(40 * (i % 6), 90, 200 - 30 * (i % 5));
        h.RecordX1 = minX, h.RecordY1 = maxY, h.RecordX2 = maxX, h.RecordY2 = maxY;
        h.RecordX3 = maxX, h.RecordY3 = minY, h.RecordX4 = minX, h.RecordY4 = minY;
        h.RecordZ4 = kVertices / 4 + 1;
    }
}

void BM_HatchFillAreas(benchmark::State& state) {
    EnsureGuiApplication();
    QtCanvasPlatform platform;
    App app(platform);
    stForm1 form1(app);
    Surface& canvas = form1.Picture1.surface();
    canvas.Resize(kWidth, kHeight);
    canvas.SetScale(0, 540, 960, -540);
    canvas.SetBackColor(MakeRgb(255, 255, 255));
    app.view.ScaleFactor = 1;   // 1:1000
    app.view.DisplayZoom = 1;   // scan lines 0.4 units (0.8 pixels) apart
    app.clip.ClipXMin = 0;
    app.clip.ClipXMax = 960;
    app.clip.ClipYMin = 0;
    app.clip.ClipYMax = 540;
    StoreAreas(app);
    for (auto _ : state) {
        for (int i = 0; i < kAreas; ++i) {
            const std::uint8_t layer = static_cast<std::uint8_t>(1 + i % kLayers);
            const std::int16_t slot = static_cast<std::int16_t>(1 + (i / kLayers) * kSlotsPerArea);
            DrawHatchFill(app, layer, slot);
        }
        canvas.Refresh();
    }
    state.SetItemsProcessed(state.iterations() * kAreas);
    bench::SaveBenchPicture(canvas);
}
BENCHMARK(BM_HatchFillAreas)->Unit(benchmark::kMillisecond);

// The scan alone: the same outlines and scan lines, the strokes counted instead of drawn.
void BM_HatchScanOnly(benchmark::State& state) {
    EnsureGuiApplication();
    QtCanvasPlatform platform;
    App app(platform);
    stForm1 form1(app);
    StoreAreas(app);
    bench::CountingSink sink(form1.Picture1.surface());
    auto inside = [](double, double) { return true; };
    for (auto _ : state) {
        for (int i = 0; i < kAreas; ++i) {
            const int layer = 1 + i % kLayers;
            const int slot = 1 + (i / kLayers) * kSlotsPerArea;
            const FillOutline outline = GatherFillOutline(app.store, layer, slot, OutlineProbe::HatchVertex, inside);
            const MapRecord& head = app.store.Get(layer, slot);
            HatchScan scan;
            scan.bottom = head.RecordY4;
            scan.top = head.RecordY1;
            scan.guideX = (head.RecordX1 + head.RecordX2) / 2;
            scan.step = 0.4f;
            ScanHatchLines(app, outline, scan, sink, head.RecordColor);
        }
    }
    state.SetItemsProcessed(state.iterations() * kAreas);
    state.counters["lines_per_area"] = static_cast<double>(sink.lines) / state.iterations() / kAreas;
}
BENCHMARK(BM_HatchScanOnly)->Unit(benchmark::kMillisecond);

void BM_PlainQPainterPolygons(benchmark::State& state) {
    EnsureGuiApplication();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    const auto& areas = Areas();
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < kAreas; ++i) {
            QPolygonF polygon;
            for (auto [x, y] : areas[i]) polygon << QPointF(x * 2, (540 - y) * 2);
            painter.setBrush(QColor(40 * (i % 6), 90, 200 - 30 * (i % 5)));
            painter.drawPolygon(polygon, Qt::OddEvenFill);
        }
    }
    state.SetItemsProcessed(state.iterations() * kAreas);
}
BENCHMARK(BM_PlainQPainterPolygons)->Unit(benchmark::kMillisecond);

}  // namespace
