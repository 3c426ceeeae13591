#pragma once

namespace movra {

struct App;

// The staged restore zoom: each call moves the view one stage on (the map's scale, the whole
// drawing, 1:10000, 1:50000, the whole drawing again), chosen by the scale shown now.
void ZoomToExtents(App& app);

}  // namespace movra
