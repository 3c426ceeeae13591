#pragma once
// Shapes built from the four vertices of a record by a rule: the rotated ellipse (type 9), the
// filled band (10), the shaded tube (14), grid paper (36) and the two strip shapes (58, 59).
#include <cstdint>
#include <functional>
#include <optional>

#include "display/LineSink.h"
#include "platform/Color.h"

namespace movra {

struct App;
struct MapRecord;

// P1 to P4 of a record.
struct ShapeCorners {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
};
ShapeCorners CornersOf(const MapRecord& record);

// ---- Shared by the screen and the printed page. They draw at the pen the caller set unless
// said otherwise and raise RuntimeError where a step cannot be formed.

// The ellipse about (cx, cy) with semi-axis a along the azimuth `rotation` (radians, clockwise
// from north) and b across it, as 36 chords.
void DrawRotatedEllipse(LineSink& sink, double cx, double cy, float a, float b, float rotation,
                        Rgb color);

// Dense parallel lines joining the side P1-P4 to the side P2-P3, `spacing` apart along the larger
// extent of P2-P3. Each line's colour grows by `colorStep` after it (0 for one colour). Gives the
// colour after the last line. Raises when P2 equals P3; a P2-P3 shorter than one spacing draws
// nothing.
struct BandResult {
    bool drawn = false;  // false: fewer than one spacing along P2-P3, nothing laid
    std::int32_t steps = 0;
    Rgb colorAfter = 0;
};
// The step count alone, for callers that derive a colour step from it.
std::int32_t BandStepCount(const ShapeCorners& p, float spacing);
BandResult LayBandLines(LineSink& sink, const ShapeCorners& p, float spacing, Rgb color,
                        std::int32_t colorStep);

// The grid of the grid-paper rectangle (P1 top left, P2 top right, P4 bottom left), `spacing`
// apart, every tenth line of each family at width 2 and the width set back to 1 after it. A
// spacing of 0 or below draws nothing.
void LayGridLines(LineSink& sink, const ShapeCorners& p, float spacing, Rgb color);
// The lines LayGridLines lays, rows then columns, each with its number in its family (a tenth is
// bold); when `visible` is given, only those that can cross it.
void ForEachGridLine(const ShapeCorners& p, float spacing, const std::optional<LineSink::Area>& visible,
                     const std::function<void(int k, double x1, double y1, double x2, double y2)>& line);

// The fan strip: the open path P1-P2-P3 moved (j + 1/2) / n of the way towards P4, the first at
// width 2, the others at width 5, the colour growing by 1 from path to path.
void LayFanStrip(LineSink& sink, const ShapeCorners& p, float n, Rgb color);
// The ladder strip: rungs from P1 + (j + 1/2)(P4 - P1) / n to P2 + (j + 1/2)(P3 - P2) / n.
void LayLadderRungs(LineSink& sink, const ShapeCorners& p, float n, Rgb color);

// ---- The screen: the main window's canvas at ScaleFactor and DisplayZoom. Each ends silently
// on a failure; what it drew stays.

void DrawRotatedEllipse(App& app, double cx, double cy, float a, float b, float rotation,
                        Rgb color);
// For layer 0 these read work-buffer item `slot`, otherwise the record store.
void RenderRecord(App& app, std::uint8_t layer, std::int16_t slot);   // filled band, type 10
void RenderRecord2(App& app, std::uint8_t layer, std::int16_t slot);  // grid paper, type 36
void RenderRecord3(App& app, std::uint8_t layer, std::int16_t slot);  // shaded tube, type 14
void DrawStripShape(App& app, std::uint8_t layer, std::int16_t slot);   // fan strip, type 59
void DrawStripShape2(App& app, std::uint8_t layer, std::int16_t slot);  // ladder strip, type 58

}  // namespace movra
