#pragma once
// The one parameter by which the screen and the printed page share their figure drawers.
#include <optional>
#include <string>

#include "basic/Errors.h"
#include "platform/Surface.h"

namespace movra {

struct App;

// The canvas Picture1 of the main window, on which every screen drawer draws.
Surface& MainCanvas(App& app);
// Clears the main canvas for a drawing from scratch. The snap marker goes with the pixels, so the
// next hover draws it afresh rather than "erasing" one that is no longer there.
void ClearMainCanvas(App& app, Surface& canvas);
// The guard of the main window's drawers: the error description followed directly by its
// number in the message line Text2.
void ReportOnMessageLine(App& app, const RuntimeError& error);

// Where a figure drawer puts its strokes. Every drawer of symbols, line types, special lines,
// marks and shapes is written once against a sink and a size factor (ground units per paper
// millimetre): the screen draws straight onto its canvas at `ScaleFactor`, the printed page
// clips its lines to the page cell, draws its symbols at print sizes and uses its own factor.
class LineSink {
public:
    virtual ~LineSink() = default;
    // The surface whose pen (draw width, style, fill) the drawers set and whose circles they draw.
    virtual Surface& Canvas() = 0;
    // A straight line in the colour, at the canvas's current width, style and mode.
    virtual void Line(double x1, double y1, double x2, double y2, Rgb color) = 0;
    // A single point of the current draw width.
    virtual void Dot(double x, double y, Rgb color) = 0;
    // A point symbol of the symbol standard at (x, y), its top turned towards (dx, dy).
    virtual void Symbol(double x, double y, const std::string& code, double dx, double dy,
                        Rgb color) = 0;

    // The part of the drawing the sink shows, in ground units, when it knows it: a drawer whose
    // work grows with the size of its figure (a band fill) bounds it by what can be seen.
    struct Area {
        double minX = 0, minY = 0, maxX = 0, maxY = 0;
    };
    virtual std::optional<Area> Visible() const { return std::nullopt; }
};

// The stretch [t0, t1] of the segment from (x1, y1) to (x2, y2), as parts of its length from the
// first end, that lies inside the area (grown by `margin` on every side); false when none does.
bool SegmentPartInside(const LineSink::Area& area, double margin, double x1, double y1, double x2, double y2,
                       double& t0, double& t1);

// The screen: the main window's canvas, unclipped, coordinates handed over in single precision
// as the canvas takes them; symbols through DrawPointSymbol (its square and message on failure).
class ScreenSink final : public LineSink {
public:
    explicit ScreenSink(App& app);
    Surface& Canvas() override { return canvas_; }
    void Line(double x1, double y1, double x2, double y2, Rgb color) override;
    void Dot(double x, double y, Rgb color) override;
    void Symbol(double x, double y, const std::string& code, double dx, double dy,
                Rgb color) override;
    // The canvas's user scale.
    std::optional<Area> Visible() const override;

private:
    App& app_;
    Surface& canvas_;
};

}  // namespace movra
