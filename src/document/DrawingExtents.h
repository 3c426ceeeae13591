#pragma once

namespace movra {

struct App;

// Widens the drawing extents by the first vertex of every record of the layers that are on, and
// fits the canvas to them. The extents read from a file header are the starting point.
void ComputeDrawingExtents(App& app);

// Shows the ground window whose upper-left corner is (left, top), `width` wide and `height` high,
// on the main window's canvas.
void ShowGroundWindow(App& app, double left, double top, double width, double height);

// The scroll bars back at 0 after a new window; their change handlers do nothing for 0.
void ResetScrollBars(App& app);

}  // namespace movra
