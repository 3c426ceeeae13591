#include "display/PointSymbols.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "display/LineSink.h"
#include "document/Geometry.h"
#include "platform/Surface.h"
#include "symbols/SymbolStandard.h"

namespace movra {

namespace {

struct Offset {
    double dx;
    double dy;
};

// How far the direction turns the symbol clockwise: 0 for (0, 1), a half turn for (0, 0).
double TurnOfDirection(double dx, double dy) {
    if (dx == 0 && dy == 1) return 0;
    return Azimuth(dx, dy, 0, 0) - Pi;
}

double NormalisedAngle(double angle) {
    while (angle < 0) angle += TwoPi;
    while (angle >= TwoPi) angle -= TwoPi;
    return angle;
}

float Single(double v) { return static_cast<float>(v); }

}  // namespace

void DrawSymbolElements(Surface& canvas, const SymbolStandard& standard, int symbol, double x,
                        double y, double dx, double dy, Rgb color, double positionScale,
                        double radiusScale) {
    const float count = standard.SymbolElementCount.At(symbol);
    if (count < 0) return;
    // Positions stay in double precision: a symbol a few millimetres across at survey
    // coordinates (millions of metres) would be bent by single-precision vertices. Radii are
    // small numbers and keep their single precision.
    const int last = ToInt32(count);
    auto place = [&](int element, int vertex) {
        const PolarTurn o = PolarOffset(standard.SymbolX.At(symbol, element, vertex),
                                        standard.SymbolY.At(symbol, element, vertex), dx, dy,
                                        positionScale);
        return Offset{x + o.dx, y + o.dy};
    };
    for (int e = 0; e <= last; ++e) {
        const double kind = standard.SymbolX.At(symbol, e, 0);
        if (kind == SymbolSegment) {
            const Offset a = place(e, 1);
            const Offset b = place(e, 2);
            canvas.Line(a.dx, a.dy, b.dx, b.dy, color);
        } else if (kind == SymbolPolyline) {
            const int points = ToInt32(standard.SymbolY.At(symbol, e, 0));
            for (int j = 1; j <= points - 1; ++j) {
                const Offset a = place(e, j);
                const Offset b = place(e, j + 1);
                canvas.Line(a.dx, a.dy, b.dx, b.dy, color);
            }
        } else if (kind == SymbolCircle) {
            const Offset c = place(e, 1);
            canvas.Circle(c.dx, c.dy, Single(radiusScale * standard.SymbolX.At(symbol, e, 2)), color);
        } else if (kind == SymbolArc) {
            const double cx = standard.SymbolX.At(symbol, e, 1);
            const double cy = standard.SymbolY.At(symbol, e, 1);
            const double sx = standard.SymbolX.At(symbol, e, 2);
            const double sy = standard.SymbolY.At(symbol, e, 2);
            const double ex = standard.SymbolX.At(symbol, e, 3);
            const double ey = standard.SymbolY.At(symbol, e, 3);
            // The arc turns as the whole symbol does, wherever its centre lies; turning the angles
            // by the turned centre's own azimuth would swing arcs off the symbol's other strokes.
            const double turn = TurnOfDirection(dx, dy);
            const Offset c = place(e, 1);
            const double start = NormalisedAngle(DirectionAngle(cx, cy, sx, sy) - turn);
            const double end = NormalisedAngle(DirectionAngle(cx, cy, ex, ey) - turn);
            canvas.Circle(c.dx, c.dy, Single(radiusScale * Dist(cx, cy, sx, sy)),
                          color, true, start, end, 1.0);
        } else if (kind == SymbolPoint) {
            const Offset p = place(e, 1);
            canvas.PSet(p.dx, p.dy, color);
        }
    }
}

double SymbolReach(const SymbolStandard& standard, int symbol) {
    double reach = 0;
    try {
        const float count = standard.SymbolElementCount.At(symbol);
        for (int e = 0; e <= ToInt32(count); ++e) {
            const double kind = standard.SymbolX.At(symbol, e, 0);
            const auto from = [&](int vertex) {
                return std::hypot(standard.SymbolX.At(symbol, e, vertex), standard.SymbolY.At(symbol, e, vertex));
            };
            if (kind == SymbolSegment) {
                reach = std::max({reach, from(1), from(2)});
            } else if (kind == SymbolPolyline) {
                const int points = ToInt32(standard.SymbolY.At(symbol, e, 0));
                for (int j = 1; j <= points; ++j) reach = std::max(reach, from(j));
            } else if (kind == SymbolCircle) {
                reach = std::max(reach, from(1) + std::fabs(standard.SymbolX.At(symbol, e, 2)));
            } else if (kind == SymbolArc) {
                const double radius =
                    Dist(standard.SymbolX.At(symbol, e, 1), standard.SymbolY.At(symbol, e, 1),
                         standard.SymbolX.At(symbol, e, 2), standard.SymbolY.At(symbol, e, 2));
                reach = std::max(reach, from(1) + radius);
            } else if (kind == SymbolPoint) {
                reach = std::max(reach, from(1));
            }
        }
    } catch (const RuntimeError&) {
        // What was measured before the bad element stands.
    }
    return std::isfinite(reach) ? reach : 0;
}

void LaySymbolRow(LineSink& sink, double x, double y, float length, float spacing,
                  const std::string& code, Rgb color) {
    ForEachSymbolRowPlace(x, y, length, spacing,
                          [&](double px, double py) { sink.Symbol(px, py, code, 0, 1, color); });
}

void ForEachSymbolRowPlace(double x, double y, float length, float spacing,
                           const std::function<void(double x, double y)>& place) {
    // The bound in double precision, so a row has as many symbols at survey coordinates as
    // near the origin.
    const double limit = x + length - spacing / 4.0f;
    while (x < limit) {
        place(x, y);
        const double next = x + spacing;
        // A row that cannot advance has drawn all it can.
        if (!(next > x)) return;
        x = next;
        y += spacing;
    }
}

void LaySymbolsAlongSegment(LineSink& sink, double x1, double y1, double x2, double y2,
                            Rgb color, const std::string& code, float stepX, float stepY,
                            double sizeFactor) {
    const bool firstIsLeft = x1 < x2;
    double x = (firstIsLeft ? x1 : x2) + sizeFactor;
    double y = (firstIsLeft ? y1 : y2) + sizeFactor;
    double limit = (firstIsLeft ? x2 : x1) - sizeFactor;
    // A row reaching far off what the sink shows: the steps before the part seen are passed over
    // whole and the row ends after it, so a far vertex costs only the symbols seen.
    if (const std::optional<LineSink::Area> area = sink.Visible(); area && stepX > 0) {
        const double margin = 20 * std::fabs(sizeFactor) + stepX;
        const double skipped = std::floor((area->minX - margin - x) / stepX);
        if (skipped > 0) {
            x += skipped * stepX;
            y += skipped * stepY;
        }
        limit = std::min(limit, area->maxX + margin);
    }
    while (x < limit) {
        sink.Symbol(x, y, code, 0, 1, color);
        const double next = x + stepX;
        if (!(next > x)) return;
        x = next;
        y += stepY;
    }
}

int SymbolNumberOfCode(const std::string& code) {
    const int c = ToInt32(Val(code));
    return c >= 349 ? c - 349 : c;
}

void DrawPointSymbol(App& app, double x, double y, const std::string& code, double dx, double dy,
                     Rgb color) {
    Surface& canvas = MainCanvas(app);
    canvas.SetDrawWidth(1);
    canvas.SetDrawStyle(DrawStyleSolid);
    const double scale = app.view.ScaleFactor;
    try {
        DrawSymbolElements(canvas, app.symbolStandard, SymbolNumberOfCode(code), x, y, dx, dy,
                           color, scale, scale);
    } catch (const RuntimeError& error) {
        // The square marks where a symbol should stand, so a missing one is not overlooked.
        canvas.Line(Single(x), Single(y), Single(x + scale), Single(y - scale), color,
                    LineShape::FilledBox);
        ReportOnMessageLine(app, error);
    }
}

void DrawSymbolRow(App& app, std::uint8_t layer, std::int16_t slot, std::uint8_t k) {
    try {
        const MapRecord& record = app.store.Get(layer, slot);
        const float spacing = Single(Val(record.RecordExtra));
        MainCanvas(app).SetDrawWidth(1);
        double x = 0, y = 0;
        float length = 0;
        switch (k) {
            case 1: x = record.RecordX1; y = record.RecordY1; length = record.RecordZ1; break;
            case 2: x = record.RecordX2; y = record.RecordY2; length = record.RecordZ2; break;
            case 3: x = record.RecordX3; y = record.RecordY3; length = record.RecordZ3; break;
            case 4: x = record.RecordX4; y = record.RecordY4; length = record.RecordZ4; break;
            default: return;
        }
        ScreenSink sink(app);
        LaySymbolRow(sink, x, y, length, spacing, record.RecordText, record.RecordColor);
    } catch (const RuntimeError&) {
        // The row ends quietly; what it drew stays.
    }
}

void RepeatSymbolAlongSegment(App& app, double x1, double y1, double x2, double y2, Rgb color,
                              const std::string& code, float stepX, float stepY) {
    try {
        ScreenSink sink(app);
        LaySymbolsAlongSegment(sink, x1, y1, x2, y2, color, code, stepX, stepY,
                               app.view.ScaleFactor);
    } catch (const RuntimeError&) {
    }
}

}  // namespace movra
