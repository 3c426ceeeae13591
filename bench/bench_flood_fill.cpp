// The flood fill of the fill tool's first click on the Qt canvas of 1920 x 1080 pixels: the whole
// canvas inside a one-pixel frame (the largest region a click can flood), and the inside of a
// maze of boxes, whose many short runs are the scanline fill's hardest case.
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include "BenchCanvas.h"
#include "platform/qt/QtSurface.h"

namespace {

using namespace movra;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr Rgb kBorder = MakeRgb(200, 0, 0);

void Prepare(QtSurface& surface) {
    surface.SetScale(0, 0, kWidth, kHeight);
    surface.Line(0, 0, kWidth - 1, kHeight - 1, kBorder, LineShape::Box);
    surface.SetFillStyle(FillStyleSolid);
}

void BM_FloodFillWholeCanvas(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_flood_fill");
    QtSurface surface(kWidth, kHeight);
    Prepare(surface);
    int colour = 0;
    for (auto _ : state) {
        // A new fill colour each time, so every run floods the whole region again.
        surface.SetFillColor(MakeRgb(0, 0, ++colour & 0xFF));
        surface.FloodFill(kWidth / 2, kHeight / 2, kBorder, FloodFillBorder);
    }
    if (surface.Point(kWidth / 2, kHeight / 2) != surface.FillColor()) state.SkipWithError("nothing was filled");
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_FloodFillWholeCanvas)->Unit(benchmark::kMillisecond);

void BM_FloodFillAroundBoxes(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_flood_fill");
    QtSurface surface(kWidth, kHeight);
    Prepare(surface);
    for (int x = 10; x + 12 < kWidth; x += 24)
        for (int y = 10; y + 12 < kHeight; y += 24) surface.Line(x, y, x + 12, y + 12, kBorder, LineShape::Box);
    int colour = 0;
    for (auto _ : state) {
        surface.SetFillColor(MakeRgb(0, ++colour & 0xFF, 0));
        surface.FloodFill(5, 5, kBorder, FloodFillBorder);
    }
    if (surface.Point(5, 5) != surface.FillColor()) state.SkipWithError("nothing was filled");
}
BENCHMARK(BM_FloodFillAroundBoxes)->Unit(benchmark::kMillisecond);

}  // namespace
