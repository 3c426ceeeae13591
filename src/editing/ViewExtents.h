#pragma once

namespace movra {

struct App;

// Widens the drawing extents by the first vertex of every record of the layers that are on, and
// fits the canvas to them. The extents read from a file header are the starting point.
void ComputeDrawingExtents(App& app);

// The staged restore zoom: each call moves the view one stage on (the map's scale, the whole
// drawing, 1:10000, 1:50000, the whole drawing again), chosen by the scale shown now.
void ZoomToExtents(App& app);

}  // namespace movra
