#pragma once

#include "document/CoordinateReductionState.h"

namespace movra {

struct App;

// Widens the extents by the first vertex of one record, as ComputeDrawingExtents does for each
// record in layer and slot order (the order matters: a far-off point west of what was met so far
// does not move the west edge).
inline void WidenDrawingExtents(DrawingExtents& e, double x, double y) {
    if (x == 0 || y == 0) return;
    if (x > e.ExtentMaxX) e.ExtentMaxX = x;
    // A far-off stray point west of the map does not stretch the view to it.
    if (x < e.ExtentMinX && x > 0.5 * e.ExtentMaxX) e.ExtentMinX = x;
    if (y > e.ExtentMaxY) e.ExtentMaxY = y;
}

// Widens the drawing extents by the first vertex of every record of the layers that are on, and
// fits the canvas to them. The extents read from a file header are the starting point.
void ComputeDrawingExtents(App& app);
// The steps of ComputeDrawingExtents after the widening, for a reader that widened the extents
// record by record as it stored them, in the order ComputeDrawingExtents would have.
void FitDrawingExtents(App& app);

// Whether nothing has set the extents yet: a new map's, until its extents are computed.
inline bool AreEmptyExtents(const DrawingExtents& e) {
    return e.ExtentMinX == 0 && e.ExtentMinY == 0 && e.ExtentMaxX == 0 && e.ExtentMaxY == 0;
}

// Extents that show every position of the drawing (the records of the layers that are on) with a
// margin, shaped as the canvas is, at least MinimumShownWidth wide; empty extents when no position
// lies off the axes. A new map's file takes them: widened from empty extents by first vertices
// only, a map at survey coordinates would open stretched from x = 0 to it.
DrawingExtents ExtentsShowingTheDrawing(const App& app);
inline constexpr double MinimumShownWidth = 100;
// The map's extents, or, while nothing has set them, ExtentsShowingTheDrawing: what the map's own
// files, the exports' extents and the whole-drawing view take.
DrawingExtents ExtentsToShow(const App& app);

// The height of the main window's canvas per unit of its width, in pixels (the screen's aspect while
// there is no canvas). A ground window whose height is its width times this shows one metre as
// the same number of pixels across and down; the screen's own aspect differs from the canvas's.
double CanvasAspect(const App& app);

// Shows the ground window whose upper-left corner is (left, top), `width` wide and `height` high,
// on the main window's canvas.
void ShowGroundWindow(App& app, double left, double top, double width, double height);

// The scroll bars back at 0 after a new window; their change handlers do nothing for 0.
void ResetScrollBars(App& app);

}  // namespace movra
