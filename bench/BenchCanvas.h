#pragma once
// What the canvas benchmarks share: the offscreen Qt application, the pixel canvas platform, a sink
// that only counts strokes, and the picture of a run for a look (MOVRA_BENCH_PICTURE=file.png).
#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "display/LineSink.h"
#include "platform/Surface.h"
#include "qt/QtCanvasPlatform.h"

namespace movra::bench {

// One Qt application per program, made on first use; `program` names it. It is never destroyed:
// destroying it among the other statics at exit, after parts of Qt are gone, crashes the program.
inline void EnsureGuiApplication(const char* program) {
    static QGuiApplication* application = nullptr;
    if (application) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt keeps argv for the application's life, which ends after every other static.
    static char name[64];
    std::snprintf(name, sizeof name, "%s", program);
    static int argc = 1;
    static char* argv[] = {name, nullptr};
    application = new QGuiApplication(argc, argv);
}

// Counts the strokes a drawer lays instead of drawing them.
class CountingSink final : public LineSink {
public:
    explicit CountingSink(Surface& canvas) : canvas_(canvas) {}
    Surface& Canvas() override { return canvas_; }
    void Line(double, double, double, double, Rgb) override { ++lines; }
    void Dot(double, double, Rgb) override {}
    void Symbol(double, double, const std::string&, double, double, Rgb) override {}
    long lines = 0;

private:
    Surface& canvas_;
};

// One thin line into the image's pixels by a Bresenham walk, clipped pixel by pixel.
inline void WriteLinePixels(QImage& image, int x0, int y0, int x1, int y1, std::uint32_t value) {
    const int w = image.width(), h = image.height();
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        if (static_cast<unsigned>(x0) < static_cast<unsigned>(w) && static_cast<unsigned>(y0) < static_cast<unsigned>(h))
            reinterpret_cast<std::uint32_t*>(bits + y0 * stride)[x0] = value;
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * error;
        if (e2 >= dy) error += dy, x0 += sx;
        if (e2 <= dx) error += dx, y0 += sy;
    }
}

// Saves the canvas to the file MOVRA_BENCH_PICTURE names, when it names one.
inline void SaveBenchPicture(Surface& canvas) {
    const char* out = std::getenv("MOVRA_BENCH_PICTURE");
    if (!out) return;
    const Picture picture = canvas.Snapshot();
    QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                 picture.width * 4, QImage::Format_ARGB32);
    image.save(out);
}

}  // namespace movra::bench
