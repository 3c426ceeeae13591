#pragma once
// The main window's two timers of the view: the roaming view that drifts on after a pan, and the
// bouncing marker of the symbol demonstration.
#include <functional>

namespace movra {

struct App;

// A uniform random number in [0, 1).
using RandomSource = std::function<double()>;

// One tick of the roaming view: the window moves by the last pan's offset, turning back on an
// axis when it has drifted more than 20 m outwards beyond the drawing's extents; then a redraw.
// Ends silently on a failure.
void RoamingTick(App& app);

// Sets the demonstration marker going from near the top of the canvas, 0.5 m right and 0.5 m down
// a tick, draws it there and starts Timer3 at 30 ms.
void StartDemoMarker(App& app);

// One tick of the demonstration: the marker is erased, bounces off the canvas's edges (each bounce
// 10 % faster, a new random size and the next symbol code, shown in Text2), moves on and is drawn
// again. A failure ends the tick and sets the code back to 0.
void DemoMarkerTick(App& app, const RandomSource& random);

// The marker at (x, y) in the inverting pen, so that a second drawing erases it: the point symbol
// or line type of the marker's code while a symbol standard is loaded, else two filled circles.
// Ends silently on a failure.
void DrawAnimatedMarker(App& app, float& x, float& y);

}  // namespace movra
