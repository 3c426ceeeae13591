#pragma once
// The smoothing of the curve tool, shared with its tests.

namespace movra {

struct App;

// Rebuilds CurveX/CurveY from the points in ScratchXY (x, y pairs; at least three points) and
// draws the curve on the canvas in CurrentColor, in the draw mode the canvas has: the first
// point, six points around each inner point, the last point.
void SmoothWorkingCurve(App& app);

// Appends six points of the smoothed span about (x1, y1), between (x0, y0) and (x2, y2), to
// CurveX/CurveY and draws them on from the curve's last point: the quadratic Bézier curve on the
// three points, moved so that its middle falls on (x1, y1).
void SmoothSpan(App& app, double x0, double y0, double x1, double y1, double x2, double y2);

}  // namespace movra
