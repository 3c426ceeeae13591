// Line-type segments laid through the display's drawer on the Qt canvas, against the same
// segments drawn as plain lines by a bare QPainter on an image of the same size.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "App.h"
#include "display/LineSink.h"
#include "display/LineTypes.h"
#include "platform/fake/FakePlatform.h"
#include "platform/qt/QtSurface.h"
#include "shell/stForm1.h"
#include "BenchCanvas.h"

namespace {

using namespace movra;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kSegments = 100000;

struct Segment {
    double x1, y1, x2, y2;
};

// Segments 5 to 60 ground units long over a view 960 x 540 units (2 pixels to the unit).
const std::vector<Segment>& Segments() {
    static const std::vector<Segment> segments = [] {
        std::mt19937 random(42);
        std::uniform_real_distribution<double> x(0, 960), y(0, 540), length(5, 60), angle(0, 6.283);
        std::vector<Segment> list;
        list.reserve(kSegments);
        for (int i = 0; i < kSegments; ++i) {
            const double ax = x(random), ay = y(random), l = length(random), a = angle(random);
            list.push_back({ax, ay, ax + l * std::cos(a), ay + l * std::sin(a)});
        }
        return list;
    }();
    return segments;
}

void EnsureGuiApplication() { bench::EnsureGuiApplication("bench_line_types"); }

void BM_LineTypeSegments(benchmark::State& state) {
    EnsureGuiApplication();
    QtCanvasPlatform platform;
    App app(platform);
    stForm1 form1(app);
    Surface& canvas = form1.Picture1.surface();
    canvas.Resize(kWidth, kHeight);
    canvas.SetScale(0, 540, 960, -540);
    app.view.ScaleFactor = 1;
    app.view.ProjectParams[0] = 1000;
    SymbolStandard& s = app.symbolStandard;
    s.LineTypeWidth.Dimension(318, 1);
    s.LineTypePattern.Dimension(318, 17, 1);
    s.SymbolStandardLoaded = -1;
    // Type 2: dash 4, gap 1, dash 1, gap 1 (a dash-dot line), one pixel wide.
    s.LineTypeWidth.At(2, 0) = 1;
    s.LineTypeWidth.At(2, 1) = 1;
    const float pattern[][2] = {{6, 4}, {7, 1}, {6, 1}, {7, 1}};
    for (int i = 0; i < 4; ++i) {
        s.LineTypePattern.At(2, i + 1, 0) = pattern[i][0];
        s.LineTypePattern.At(2, i + 1, 1) = pattern[i][1];
    }
    s.LineTypePattern.At(2, 0, 0) = 4;
    s.LineTypePattern.At(2, 0, 1) = 7;
    const auto& segments = Segments();
    for (auto _ : state) {
        for (const Segment& g : segments) DrawLineTypeSegment(app, g.x1, g.y1, g.x2, g.y2, "351");
        canvas.Refresh();
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
    // The strokes the pattern lays, to put the two timings side by side per stroke.
    bench::CountingSink counter(canvas);
    for (const Segment& g : segments) {
        const double l = std::hypot(g.x2 - g.x1, g.y2 - g.y1);
        LayLineType(counter, s, 2, g.x1, g.y1, g.x2, g.y2, (g.x2 - g.x1) / l, (g.y2 - g.y1) / l, l, 1, 0);
    }
    state.counters["strokes_per_segment"] = static_cast<double>(counter.lines) / kSegments;
}
BENCHMARK(BM_LineTypeSegments)->Unit(benchmark::kMillisecond);

void BM_PlainQPainterLines(benchmark::State& state) {
    EnsureGuiApplication();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    const auto& segments = Segments();
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setPen(QPen(Qt::black, 1));
        for (const Segment& g : segments) {
            painter.drawLine(QPointF(g.x1 * 2, (540 - g.y1) * 2), QPointF(g.x2 * 2, (540 - g.y2) * 2));
        }
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(BM_PlainQPainterLines)->Unit(benchmark::kMillisecond);

}  // namespace
